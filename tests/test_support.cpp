// Headless start-up for tests, mirroring the program's own order.
#include "test_support.h"
#include "common/files.h"
#include "common/notices.h"
#include "persistence/file_patch.h"
#include "presentation/assets.h"
#include "presentation/text_draw.h"
#include "presentation/video_modes.h"
#include "shell/shell.h"
#include "state/reset.h"
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <unistd.h>

namespace {
std::vector<std::string> tempRoots;

// Every scratch folder goes when the test program ends.
void removeTempRoots() {
  std::error_code ignored;
  for (const auto &root : tempRoots) {
    std::filesystem::remove_all(root, ignored);
  }
}
} // namespace

std::string makeTempRoot() {
  if (tempRoots.empty()) {
    std::atexit(removeTempRoots);
  }
  char pattern[] = "/tmp/pelta-test-XXXXXX";
  char *dir = mkdtemp(pattern);
  std::string root = dir ? dir : "/tmp";
  if (dir != nullptr) {
    tempRoots.push_back(root);
  }
  setUserRoot(root);
  stopLeavingFilesAlone();
  takePlayerNotices();
  setDataFolder(root + "/data");
  makeDirectory("data");
  return root;
}

// The scratch data folder holds no pictures, and the game says so once per
// folder on stderr: as many lines as tests, none of them news.
struct QuietStandardError {
  int saved;
  QuietStandardError() : saved(dup(2)) {
    std::fflush(stderr);
    const int null = ::open("/dev/null", O_WRONLY);
    if (null >= 0) {
      dup2(null, 2);
      close(null);
    }
  }
  ~QuietStandardError() {
    std::fflush(stderr);
    if (saved >= 0) {
      dup2(saved, 2);
      close(saved);
    }
  }
};

void startHeadless() {
  resetGameState();
  headless::reset();
  makeTempRoot();
  {
    QuietStandardError quiet;
    startDeviceAndSprites("");
    setUpSubsystems();
  }
  applyRenderScale(renderScale);
  screenState = MainMenu;
  screenEntryPending = 1;
  keyLatch = 0;
  appActive = 1;
  headless::clearDrawLog();
}

void runFrames(int n) {
  for (int i = 0; i < n; ++i) {
    runFrame();
  }
}

void pressKey(int vk) { headless::keyEvent(vk, true); }
void releaseKey(int vk) { headless::keyEvent(vk, false); }

void tapKey(int vk, int holdFrames) {
  pressKey(vk);
  runFrames(holdFrames);
  releaseKey(vk);
  runFrames(1);
}

std::vector<std::string> textsDrawn() { return headless::drawnTexts(); }

bool textWasDrawn(const std::string &text) {
  auto texts = textsDrawn();
  return std::find(texts.begin(), texts.end(), text) != texts.end();
}
