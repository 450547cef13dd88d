// Test entry: every test starts from a reset headless platform and from every
// global at its start value, so the tests pass in any order in one process.
// What a test writes to stderr is shown only when it fails: the reports the
// tests provoke on purpose (a missing picture in a scratch folder, a refused
// write) are no news in a passing run.
#include "platform/headless/headless.h"
#include "state/reset.h"
#include <csignal>
#include <cstdio>
#include <gtest/gtest.h>
#include <unistd.h>

extern "C" void __sanitizer_set_death_callback(void (*callback)()) __attribute__((weak));

namespace {
int realStderr = -1;
int captured = -1; // this test's stderr so far

// Async-signal-safe: also called as a sanitizer report or a signal ends the run.
void showCaptured() {
  if (captured < 0 || realStderr < 0) {
    return;
  }
  char buffer[4096];
  lseek(captured, 0, SEEK_SET);
  for (ssize_t n; (n = read(captured, buffer, sizeof buffer)) > 0;) {
    if (write(realStderr, buffer, static_cast<size_t>(n)) < 0) {
      break;
    }
  }
}

void onFatalSignal(int signal) {
  showCaptured();
  std::signal(signal, SIG_DFL);
  std::raise(signal);
}

class PerTest : public ::testing::EmptyTestEventListener {
  void OnTestStart(const ::testing::TestInfo &) override {
    resetGameState();
    std::fflush(stderr);
    std::FILE *file = std::tmpfile();
    if (file != nullptr) {
      captured = dup(fileno(file));
      std::fclose(file);
      dup2(captured, 2);
    }
  }
  void OnTestEnd(const ::testing::TestInfo &info) override {
    std::fflush(stderr);
    if (captured < 0) {
      return;
    }
    dup2(realStderr, 2);
    if (info.result()->Failed()) {
      showCaptured();
    }
    close(captured);
    captured = -1;
  }
};
} // namespace

int main(int argc, char **argv) {
  ::testing::InitGoogleTest(&argc, argv);
  headless::reset();
  realStderr = dup(2);
  if (__sanitizer_set_death_callback != nullptr) {
    __sanitizer_set_death_callback(showCaptured);
  }
  for (int signal : {SIGSEGV, SIGABRT, SIGFPE, SIGBUS, SIGILL}) {
    std::signal(signal, onFatalSignal);
  }
  ::testing::UnitTest::GetInstance()->listeners().Append(new PerTest);
  return RUN_ALL_TESTS();
}
