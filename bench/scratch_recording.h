// A game recorded into a scratch user folder for the length of a benchmark:
// the replay is written when the game screen is left, then thrown away with
// the folder, so a benchmark never touches the player's files.
#pragma once
#include "common/files.h"
#include "platform/headless/headless.h"
#include "replay/replay.h"
#include "state/screen_state.h"
#include <cstdlib>
#include <filesystem>
#include <string>

struct ScratchRecording {
  std::string folder = "/tmp/pelta-bench-XXXXXX";
  bool haveFolder = false;

  ScratchRecording() {
    haveFolder = mkdtemp(folder.data()) != nullptr;
    setUserRoot(haveFolder ? folder : "/nonexistent");
  }
  ~ScratchRecording() {
    screenState = MainMenu;
    endReplayFrame();
    recordingEnabled = 0;
    std::error_code ignored;
    if (haveFolder) {
      std::filesystem::remove_all(folder, ignored);
    }
    setUserRoot("");
    headless::releaseAllKeys();
  }
};
