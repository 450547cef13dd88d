// Where replays are kept: numbered files in one folder, the newest 50 of them.
#pragma once
#include <cstdint>
#include <string>

constexpr int KEPT_REPLAYS = 50;

// The folder of the replay files, beside the player's other files.
const char *replayFolder();
// "game-000042.replay" for 42; 0 for a name that is not a replay's.
std::string replayFileName(uint64_t number);
uint64_t replayFileNumber(const std::string &name);
// Writes the text as the next numbered replay, crash-safely (a temporary
// file renamed into place), then removes the oldest beyond KEPT_REPLAYS.
// Returns the path written, empty when it could not be (stderr says why).
std::string storeReplay(const std::string &text);
