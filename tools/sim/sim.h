// The deterministic simulator: plays the game screen from a seed and a key
// script without a window or sound, and prints the game state as JSON lines.
#pragma once
#include "common/checksum.h"
#include "replay/key_script.h"
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
  std::string keysPath; // empty: no key is ever pressed; "-": standard input
};

// Exit code of a run refused for bad arguments or a bad script.
constexpr int SIM_USAGE_ERROR = 2;

// False with a one-line message in `error` for anything but a valid command line.
bool parseSimArguments(const std::vector<std::string> &args, SimOptions &options,
                       std::string &error);
// The state after frame `frame`, as one JSON object without a line break.
std::string simStateLine(uint64_t frame);
// Runs the frames and prints the state lines; the game screen must be set up
// to be entered (see simMain).
void runSimulation(const SimOptions &options, const std::vector<KeyEvent> &events,
                   std::ostream &out);
// The whole program: arguments, script, run. Returns the exit code.
int simMain(const std::vector<std::string> &args, std::istream &in, std::ostream &out,
            std::ostream &err);
