// Recording: the keys sampled once at the start of every game frame (and held
// for the whole frame, so the rules read exactly what is written), the save
// outcomes, and the state at level changes, every few seconds and at the
// end. Each line goes to the file as the game goes (written at every check
// and at least every FLUSH_EVERY_MS), so a game killed or crashed leaves a
// replay checked up to its last check. Steady frames only compare twelve
// keys; the lists are reserved when a game starts.
#include "common/files.h"
#include "platform/timer.h"
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
// A check every 200 frames (3 s of play at 15 ms): what a killed game leaves
// is checked to within that. Each costs one pass over the playfield.
constexpr uint64_t CHECK_EVERY_FRAMES = 200;
// The pending lines reach the file at least this often (Caps Lock's slow
// frames included).
constexpr uint32_t FLUSH_EVERY_MS = 2000;

// A game too long to be kept is given up until its screen is left.
enum class Recorder : uint8_t { Idle, Recording, GivenUp };
Recorder recorder = Recorder::Idle;
uint64_t recordedFrames = 0;
Replay recorded;
std::string lastPath;
ReplayStream stream;
uint64_t lastCheckFrame = 0;
uint32_t lastFlushMs = 0;

void stopRecording(Recorder next) {
  recorder = next;
  setKeyStateOverride(nullptr);
}

// Sends what is pending to the file; a stream that failed (said why) ends
// the recording, and the file keeps what it holds.
void flushLines(bool durable) {
  lastFlushMs = timeGetTime();
  if (!flushReplayStream(stream, durable)) {
    lastPath = stream.path;
    stopRecording(Recorder::GivenUp);
  }
}

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
  lastCheckFrame = 0;
  lastFlushMs = timeGetTime();
  if (!openReplayStream(stream, formatReplayHeader(recorded.start))) {
    stopRecording(Recorder::GivenUp);
  }
}

void writeRecording() {
  recorded.end = currentCheck(recordedFrames, whitesAtFrameStart);
  stream.pending += formatCheckLine("end", recorded.end);
  lastPath = closeReplayStream(stream) ? stream.path : "";
  stopRecording(Recorder::Idle);
}

// A game longer than a replay may be (a day of play, millions of key
// changes, the size a reader accepts) is kept up to here: a replay cut short.
bool roomForMore() {
  const uint64_t lines = recorded.keys.size() + recorded.saves.size() + recorded.checks.size();
  const uint64_t bytes = stream.written + stream.pending.size() + 4096;
  if (lines + 2 < ScriptLimits{}.maxEvents && recordedFrames < MAX_REPLAY_FRAMES &&
      bytes < ScriptLimits{}.maxBytes) {
    return true;
  }
  reportOnce("this game is too long for a replay; it is kept up to frame " +
             std::to_string(recordedFrames) + ", as a replay cut short");
  lastPath = closeReplayStream(stream) ? stream.path : "";
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
      stream.pending += formatKeyLine(recorded.keys.back());
    }
  }
  setKeyStateOverride(&frameKeys);
}

void endRecordedFrame() {
  if (recorder != Recorder::Recording) {
    recorder = screenState == Game ? recorder : Recorder::Idle;
  } else if (screenState != Game) {
    writeRecording();
  } else if (screenEntryPending != 0 || recordedFrames - lastCheckFrame >= CHECK_EVERY_FRAMES) {
    // A new level (or a new game) is set up in the next frame, or some
    // seconds went by: the state is checked here, and the file catches up.
    recorded.checks.push_back(currentCheck(recordedFrames, whitesAtFrameStart));
    stream.pending += formatCheckLine("check", recorded.checks.back());
    lastCheckFrame = recordedFrames;
    flushLines(true);
  } else if (timeGetTime() - lastFlushMs >= FLUSH_EVERY_MS) {
    flushLines(false);
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
    stream.pending += formatSaveLine(recorded.saves.back());
  }
  return written;
}

// The globals above with the values they start with, for resetGameState.
namespace {
[[maybe_unused]] const bool startValuesKept = keepStartValues(
    recordingEnabled, recorder, recordedFrames, recorded, lastPath, stream, lastCheckFrame,
    lastFlushMs);
} // namespace
