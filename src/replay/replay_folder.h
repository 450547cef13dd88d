// Where replays are kept: numbered files in one folder, the newest 50 of them
// and no more than 100 MiB, written while the game is played.
#pragma once
#include <cstdint>
#include <string>

// What the folder keeps: a new replay removes the oldest of the game's own
// beyond these (a variable, so a test can make it small).
struct ReplayFolderLimits {
  size_t count = 50;
  uint64_t bytes = uint64_t(100) << 20;
};
extern ReplayFolderLimits replayFolderLimits;
// Free space kept on the disk of the replays: below it they stop being
// written, so the top ten and settings written at the end still fit.
constexpr uint64_t RESERVED_FREE_BYTES = uint64_t(4) << 20;
// Free bytes an unprivileged writer has on the file system of `fd` (the
// system's answer; a test puts a full disk here).
extern uint64_t (*freeBytesOf)(int fd);

// The folder of the replay files, beside the player's other files.
const char *replayFolder();
// "game-000042.replay" for 42; 0 for a name that is not a replay's.
std::string replayFileName(uint64_t number);
uint64_t replayFileNumber(const std::string &name);

// A replay being written: lines gather in `pending` and go to the file at
// each flush, so a killed or crashed game leaves all but its last moments.
struct ReplayStream {
  int fd = -1;
  std::string path; // relative to the per-user root
  std::string pending;
  uint64_t written = 0;
};
// Creates the next numbered replay (never over a file) and writes `header`;
// then removes the oldest of the game's own replays beyond the limits.
// False, after one line on stderr naming the file and the reason, when it
// cannot (nothing is removed then).
bool openReplayStream(ReplayStream &stream, const std::string &header);
// Writes what is pending, made durable when asked. False, after one line on
// stderr with the reason, when the disk is down to RESERVED_FREE_BYTES or a
// write fails: the stream is closed then, and its file keeps what was
// written (a replay cut short, still checked up to its last check line).
bool flushReplayStream(ReplayStream &stream, bool durable);
// Flushes durably and closes; false as flushReplayStream.
bool closeReplayStream(ReplayStream &stream);
// A whole replay as the next numbered file; the path written, empty when it
// could not be (a partial file is removed again).
std::string storeReplay(const std::string &text);
