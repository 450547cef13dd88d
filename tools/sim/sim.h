// The deterministic simulator: plays the game screen from a seed and a key
// script without a window or sound, and prints the game state as JSON lines.
#pragma once
#include "common/checksum.h"
#include "replay/key_script.h"
#include "replay/replay_file.h"
#include <cstddef>
#include <cstdint>
#include <iosfwd>
#include <string>
#include <vector>

struct SimOptions {
  uint32_t seed = 0;
  uint32_t level = 1;
  uint64_t frames = 1000;
  uint64_t every = 1;
  std::string keysPath;   // empty: no key is ever pressed; "-": standard input
  std::string replayPath; // a replay file instead of seed, level, frames and keys
  bool help = false;      // --help: the usage on standard output, nothing run
  bool version = false;   // --version
};

// Exit code of a run refused for bad arguments, a bad script or a damaged
// replay; a replay that plays differently from its recording exits with 3.
constexpr int SIM_USAGE_ERROR = 2;

// False with a one-line message in `error` for anything but a valid command line.
bool parseSimArguments(const std::vector<std::string> &args, SimOptions &options,
                       std::string &error);
// The state after frame `frame`, as one JSON object without a line break.
std::string simStateLine(uint64_t frame);
// Runs the frames and prints the state lines: a new game from the options'
// seed and level played with `events`, or the replay with its own keys.
void runSimulation(const SimOptions &options, const std::vector<KeyEvent> &events,
                   std::ostream &out, const Replay *replay = nullptr);
// The usage text of --help.
std::string simUsageText();
// The whole program: arguments, script, run. Returns the exit code.
int simMain(const std::vector<std::string> &args, std::istream &in, std::ostream &out,
            std::ostream &err);
