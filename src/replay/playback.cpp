// Playing a replay: the recorded keys fixed frame by frame, the recorded save
// outcomes, and every recorded state compared after its frame. The first
// difference is kept; play goes on to the end so the rest can be watched.
#include "common/start_values.h"
#include "persistence/saved_game.h"
#include "replay/frames.h"
#include "replay/game_values.h"
#include "replay/replay.h"
#include "state/screen_state.h"

namespace {
enum class Playback : uint8_t { Off, Playing, Ended, Stopped };
Playback playback = Playback::Off;
Replay played;
uint64_t frame = 0;
size_t nextKey = 0;
size_t nextSave = 0;
size_t nextCheck = 0;
uint64_t checksCompared = 0;
uint64_t differenceFrame = 0;
std::string difference;
bool stopAsked = false;

void noteDifference(const std::string &what) {
  if (difference.empty()) {
    differenceFrame = frame;
    difference = what;
  }
}

void compare(const ReplayCheck &want) {
  ++checksCompared;
  noteDifference(checkDifference(currentCheck(frame, whitesAtFrameStart), want));
}

void finish(Playback how) {
  playback = how;
  setKeyStateOverride(nullptr);
}
} // namespace

void startPlayback(const Replay &replay) {
  played = replay;
  playback = Playback::Playing;
  frame = 0;
  nextKey = 0;
  nextSave = 0;
  nextCheck = 0;
  checksCompared = 0;
  differenceFrame = 0;
  difference.clear();
  stopAsked = false;
  releaseFrameKeys();
  applyReplayStart(played.start);
}

bool playbackActive() { return playback == Playback::Playing; }

void stopPlayback() {
  if (playback == Playback::Playing) {
    finish(Playback::Stopped);
  }
}

bool playbackFinished() { return playback == Playback::Ended || playback == Playback::Stopped; }

void beginPlayedFrame() {
  ++frame;
  for (; nextKey < played.keys.size() && played.keys[nextKey].frame == frame; ++nextKey) {
    const KeyEvent &e = played.keys[nextKey];
    frameKeys.state[e.virtualKey] = e.down ? int16_t(0x8000) : int16_t(0);
  }
  // The watcher's own Escape stops watching; the game reads the recorded one.
  if (keyboardState(VK_ESCAPE) < 0) {
    stopAsked = true;
  }
  setKeyStateOverride(&frameKeys);
}

bool replayedSave() {
  uint8_t bytes[SAVED_GAME_LENGTH];
  encodeSavedGame(pointReached(), bytes);
  if (nextSave < played.saves.size() && played.saves[nextSave].frame == frame) {
    return played.saves[nextSave++].written;
  }
  noteDifference("the game was saved here, the recording was not");
  return false;
}

void endPlayedFrame() {
  if (nextSave < played.saves.size() && played.saves[nextSave].frame <= frame) {
    noteDifference("the recording saved the game here, the replay did not");
    ++nextSave;
  }
  for (; nextCheck < played.checks.size() && played.checks[nextCheck].frame <= frame; ++nextCheck) {
    compare(played.checks[nextCheck]);
  }
  if (frame >= played.end.frame) {
    if (!played.cutShort) {
      compare(played.end);
    }
    finish(Playback::Ended);
  } else if (screenState != Game) {
    noteDifference("the game screen was left here, the recording goes on to frame " +
                   std::to_string(played.end.frame));
    finish(Playback::Ended);
  } else if (stopAsked) {
    finish(Playback::Stopped);
  }
}

std::string playbackReport() {
  if (!difference.empty()) {
    return "replay differs at frame " + std::to_string(differenceFrame) + ": " + difference;
  }
  if (playback == Playback::Stopped) {
    return "replay stopped at frame " + std::to_string(frame) + " of " +
           std::to_string(played.end.frame) + "; it matched the recording so far";
  }
  if (played.cutShort) {
    return "replay cut short at frame " + std::to_string(frame) + " (no end line): verified " +
           std::to_string(checksCompared) + " checks up to there";
  }
  return "replay verified: " + std::to_string(checksCompared) + " checks over " +
         std::to_string(frame) + " frames";
}

int playbackExitCode() {
  if (!difference.empty()) {
    return REPLAY_DIFFERS_EXIT;
  }
  return played.cutShort && playback == Playback::Ended ? REPLAY_CUT_SHORT_EXIT : 0;
}

// The globals above with the values they start with, for resetGameState.
namespace {
[[maybe_unused]] const bool startValuesKept = keepStartValues(
    playback, played, frame, nextKey, nextSave, nextCheck, checksCompared, differenceFrame,
    difference, stopAsked);
} // namespace
