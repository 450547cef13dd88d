// The replay file: what a game started from, the keys it was played with, the
// outcome of every save, and the state at each level change and at its end.
// A text of lines, so a maintainer can read and cut it; the keys are lines of
// a pelta-sim key script.
#pragma once
#include "persistence/top_ten.h"
#include "replay/key_script.h"
#include "state/game_state.h"
#include <cstdint>
#include <iosfwd>
#include <string>
#include <vector>

constexpr const char *REPLAY_MAGIC = "pelta-replay";
constexpr int REPLAY_FORMAT = 1;
// A day of play at 15 ms a frame: the recorder keeps no more of a game, and a
// replay that goes further is refused, so no file can ask for more work than
// a day's (pelta-sim checks a day in minutes; watching stops on Escape).
constexpr uint64_t MAX_REPLAY_FRAMES = 5760000;

// A row of the top ten as the rank test reads it.
struct TopTenRow {
  uint32_t score;
  uint32_t level;
  int32_t gameId;
};

// What a game frame reads besides the keys: the generator, the game's values
// as the main menu left them, the music and volume settings, and the top ten.
struct ReplayStart {
  std::string program;
  uint32_t seed = 0; // the generator's state at the first game frame
  uint32_t level = 1;
  int32_t lives = START_LIVES;
  uint32_t totalScore = 0;
  int32_t gameId = 0;
  uint8_t gameLoaded = 0;
  uint8_t keyLatch = 0;
  int32_t musicNumber = 1;
  int32_t lastMusicNumber = 1;
  int32_t musicVolume = 0;
  int32_t effectsVolume = 0;
  uint8_t volumeKeyHeld = 0;
  int32_t volumeDisplayFrames = 0;
  int32_t volumeDisplayWhich = 0;
  TopTenRow topTen[TOP_TEN_SIZE] = {};
};

// The state after a frame; `screen` tells whether the game screen was left,
// gridCrc stands for the playfield's cells, and stateCrc for what moves over
// it and what decides where it goes (the generator, the time bonus, the
// player, the enemies, the items) and for the tune and the volumes.
struct ReplayCheck {
  uint64_t frame = 0;
  uint8_t screen = 0;
  uint32_t level = 0;
  int32_t lives = 0;
  uint32_t totalScore = 0;
  uint32_t capturedCells = 0;
  uint32_t gridCrc = 0;
  uint32_t stateCrc = 0;
};

struct ReplaySave {
  uint64_t frame;
  bool written;
};

struct Replay {
  ReplayStart start;
  std::vector<KeyEvent> keys; // in frame order
  std::vector<ReplaySave> saves;
  std::vector<ReplayCheck> checks; // after every frame that set a new level up, and
                                   // every CHECK_EVERY_FRAMES frames of play
  ReplayCheck end;                 // after the last frame
  // The file stops before its end line (the game was killed or crashed while
  // it was written): `end` then holds only the frame of its last line, the
  // replay plays to there and is checked up to its last check line.
  bool cutShort = false;
};

// A whole replay; false with a one-line error naming the line for anything
// damaged, out of order or out of range. A replay whose body stops before
// its end line reads as cut short (a last line torn off in the middle is
// left out); one that stops in its header is refused. Check lines come at
// increasing frames, at most one a frame: each costs a pass over the
// playfield, which a frame affords once.
bool parseReplay(std::istream &in, Replay &replay, std::string &error,
                 const ScriptLimits &limits = ScriptLimits{});
// The replay in a regular file; false with a one-line error.
bool readReplayFile(const std::string &path, Replay &replay, std::string &error);
// The replay as the text parseReplay reads.
std::string formatReplay(const Replay &replay);
// Its pieces, as a recording streams them: the header, then the lines in
// frame order (within a frame keys, then a save, then a check or the end).
std::string formatReplayHeader(const ReplayStart &start);
std::string formatKeyLine(const KeyEvent &event);
std::string formatSaveLine(const ReplaySave &save);
std::string formatCheckLine(const char *kind, const ReplayCheck &check);
// The first field in which `got` differs from the recorded `want`, as
// "capturedCells is 5, the recording says 6"; empty when they agree.
std::string checkDifference(const ReplayCheck &got, const ReplayCheck &want);
