// SPDX-License-Identifier: MIT
// The single-instance guard between real processes: a second start is kept
// out and raises the first; a holder that never answers, or a socket left by
// a dead copy, neither hangs a start nor leaves it without its quit handlers.
#include "platform/system.h"
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <string>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {
std::string scratchGuard() {
  char folder[] = "/tmp/pelta-guard-XXXXXX";
  EXPECT_NE(mkdtemp(folder), nullptr);
  return std::string(folder) + "/guard";
}

// Drains the events; true when a raise request was among them.
bool raiseAsked() {
  bool raised = false;
  for (int i = 0; i < 50; ++i) {
    for (WindowEvent e = pollWindowEvent(); e != WindowEvent::None; e = pollWindowEvent()) {
      raised = raised || e == WindowEvent::RaiseRequest;
    }
    if (raised) {
      break;
    }
    usleep(10000);
  }
  return raised;
}

// A socket listening at `path` that never accepts, its queue filled.
int deafListener(const std::string &path) {
  sockaddr_un addr{};
  addr.sun_family = AF_UNIX;
  path.copy(addr.sun_path, sizeof addr.sun_path - 1);
  int s = socket(AF_UNIX, SOCK_STREAM, 0);
  EXPECT_EQ(bind(s, reinterpret_cast<sockaddr *>(&addr), sizeof addr), 0);
  EXPECT_EQ(listen(s, 0), 0);
  for (int i = 0; i < 8; ++i) {
    int c = socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK, 0);
    connect(c, reinterpret_cast<sockaddr *>(&addr), sizeof addr); // kept open: the queue fills
  }
  return s;
}

// A second start in a child process: its exit status is 1 when it got in.
int secondStart(const std::string &guard) {
  const pid_t child = fork();
  if (child == 0) {
    _exit(acquireSingleInstance(guard.c_str()) ? 1 : 0);
  }
  int status = 0;
  waitpid(child, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}
} // namespace

TEST(SdlGuard, SecondStartIsKeptOutAndRaisesTheFirst) {
  const std::string guard = scratchGuard();
  ASSERT_TRUE(acquireSingleInstance(guard.c_str()));
  EXPECT_EQ(secondStart(guard), 0);
  EXPECT_TRUE(raiseAsked());
  releaseSingleInstance();
  EXPECT_EQ(secondStart(guard), 1); // released: the next start gets in
}

TEST(SdlGuard, AHolderThatNeverAnswersDoesNotHangAStart) {
  const std::string guard = scratchGuard();
  int lock = open((guard + ".lock").c_str(), O_RDWR | O_CREAT, 0600);
  ASSERT_EQ(flock(lock, LOCK_EX), 0);
  deafListener(guard + ".socket");
  const auto start = std::chrono::steady_clock::now();
  testing::internal::CaptureStderr();
  EXPECT_FALSE(acquireSingleInstance(guard.c_str()));
  EXPECT_NE(testing::internal::GetCapturedStderr().find("did not answer"), std::string::npos);
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
  close(lock);
}

// A dead copy's socket (still bound, by anyone) is replaced, and SIGTERM
// then asks for the normal shutdown instead of killing the game.
TEST(SdlGuard, ASocketLeftBehindIsReplacedAndSignalsStillQuit) {
  const std::string guard = scratchGuard();
  const int stale = deafListener(guard + ".socket");
  installQuitHandlers();
  ASSERT_TRUE(acquireSingleInstance(guard.c_str()));
  EXPECT_EQ(secondStart(guard), 0);
  EXPECT_TRUE(raiseAsked());
  raise(SIGTERM);
  EXPECT_EQ(pollWindowEvent(), WindowEvent::Quit);
  releaseSingleInstance();
  close(stale);
}
