// Recording: the keys sampled once at the start of every game frame (and held
// for the whole frame, so the rules read exactly what is written), the save
// outcomes, and the state at level changes and at the end. Steady frames
// only compare twelve keys; the lists are reserved when a game starts.
#include "common/files.h"
#include "common/start_values.h"
#include "persistence/saved_game.h"
#include "replay/frames.h"
#include "replay/game_values.h"
#include "replay/replay.h"
#include "replay/replay_folder.h"
#include "state/screen_state.h"

uint8_t recordingEnabled = 0;

namespace {
// Some hours of busy play; beyond that the list doubles, rarely.
constexpr size_t RESERVED_KEY_CHANGES = 65536;
constexpr size_t RESERVED_CHECKS = 256;

// A game too long to be kept is given up until its screen is left.
enum class Recorder : uint8_t { Idle, Recording, GivenUp };
Recorder recorder = Recorder::Idle;
uint64_t recordedFrames = 0;
Replay recorded;
std::string lastPath;

void startRecording() {
  recorder = Recorder::Recording;
  recordedFrames = 0;
  recorded.start = currentReplayStart();
  recorded.keys.clear();
  recorded.keys.reserve(RESERVED_KEY_CHANGES);
  recorded.saves.clear();
  recorded.saves.reserve(RESERVED_CHECKS);
  recorded.checks.clear();
  recorded.checks.reserve(RESERVED_CHECKS);
  releaseFrameKeys();
}

void stopRecording(Recorder next) {
  recorder = next;
  setKeyStateOverride(nullptr);
}

void writeRecording() {
  recorded.end = currentCheck(recordedFrames, whitesAtFrameStart);
  lastPath = storeReplay(formatReplay(recorded));
  stopRecording(Recorder::Idle);
}

// A game too long to be read back is not kept (years of play, or millions
// of key changes): the file would be refused anyway.
bool roomForMore() {
  const uint64_t lines = recorded.keys.size() + recorded.saves.size() + recorded.checks.size();
  if (lines + 2 < ScriptLimits{}.maxEvents && recordedFrames < MAX_REPLAY_FRAMES) {
    return true;
  }
  reportOnce("this game is too long for a replay; it is not recorded further");
  stopRecording(Recorder::GivenUp);
  return false;
}
} // namespace

void beginRecordedFrame() {
  if (recorder == Recorder::Idle) {
    startRecording();
  }
  if (recorder != Recorder::Recording || !roomForMore()) {
    return;
  }
  ++recordedFrames;
  for (int key : SCRIPT_KEYS) {
    const int16_t state = keyboardState(key) < 0 ? int16_t(0x8000) : int16_t(0);
    if (state != frameKeys.state[key]) {
      frameKeys.state[key] = state;
      recorded.keys.push_back(KeyEvent{recordedFrames, key, state != 0});
    }
  }
  setKeyStateOverride(&frameKeys);
}

void endRecordedFrame() {
  if (recorder != Recorder::Recording) {
    recorder = screenState == Game ? recorder : Recorder::Idle;
  } else if (screenState != Game) {
    writeRecording();
  } else if (screenEntryPending != 0) {
    // A new level (or a new game) is set up in the next frame.
    recorded.checks.push_back(currentCheck(recordedFrames, whitesAtFrameStart));
  }
}

void finishRecording() {
  if (recorder == Recorder::Recording) {
    writeRecording();
  }
}

bool recordingActive() { return recorder == Recorder::Recording; }

const std::string &lastReplayPath() { return lastPath; }

bool saveGame() {
  if (playbackActive()) {
    return replayedSave();
  }
  const bool written = writeSavedGame();
  if (recorder == Recorder::Recording) {
    recorded.saves.push_back(ReplaySave{recordedFrames, written});
  }
  return written;
}

// The globals above with the values they start with, for resetGameState.
namespace {
[[maybe_unused]] const bool startValuesKept = keepStartValues(
    recordingEnabled, recorder, recordedFrames, recorded, lastPath);
} // namespace
