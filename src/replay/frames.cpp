// The frame hooks: a replay being played takes every frame; otherwise a game
// screen frame is recorded when the program records.
#include "replay/frames.h"
#include "common/start_values.h"
#include "playfield/enemies.h"
#include "replay/key_script.h"
#include "replay/replay.h"
#include "state/screen_state.h"

KeyStateOverride frameKeys;
uint32_t whitesAtFrameStart = 0;

void releaseFrameKeys() {
  for (int key : SCRIPT_KEYS) {
    frameKeys.replaced[key] = true;
    frameKeys.state[key] = 0;
  }
}

void beginReplayFrame() {
  whitesAtFrameStart = whiteEnemiesInPlay();
  if (playbackActive()) {
    beginPlayedFrame();
  } else if (recordingEnabled != 0 && screenState == Game) {
    beginRecordedFrame();
  }
}

void endReplayFrame() {
  if (playbackActive()) {
    endPlayedFrame();
  } else if (recordingEnabled != 0) {
    endRecordedFrame();
  }
}

// The globals above with the values they start with, for resetGameState.
namespace {
[[maybe_unused]] const bool startValuesKept = keepStartValues(
    frameKeys, whitesAtFrameStart);
} // namespace
