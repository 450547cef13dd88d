// The deterministic simulator: plays the game screen from a seed and a key
// script without a window or sound, and prints the game state as JSON lines.
#pragma once
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
  bool help = false;    // --help: the usage on standard output, nothing run
  bool version = false; // --version
};

struct KeyEvent {
  uint64_t frame; // from 1
  int virtualKey;
  bool down;
};

// Exit code of a run refused for bad arguments or a bad script.
constexpr int SIM_USAGE_ERROR = 2;

// False with a one-line message in `error` for anything but a valid command line.
bool parseSimArguments(const std::vector<std::string> &args, SimOptions &options,
                       std::string &error);
// What a key script may hold: far more than any real game, and little enough
// that an endless script (a pipe that never closes, /dev/zero) ends in a clear
// refusal instead of filling the memory.
struct ScriptLimits {
  uint64_t maxEvents = 10000000;
  uint64_t maxBytes = uint64_t(100) << 20;
  size_t maxLineLength = 4096;
};

// One event per line: "FRAME KEY +" or "FRAME KEY -"; '#' starts a comment.
bool parseKeyScript(std::istream &script, std::vector<KeyEvent> &events, std::string &error,
                    const ScriptLimits &limits = ScriptLimits{});
// CRC-32 with the zlib polynomial (reflected 0xEDB88320).
uint32_t crc32(const uint8_t *data, size_t length);
// The state after frame `frame`, as one JSON object without a line break.
std::string simStateLine(uint64_t frame);
// Runs the frames and prints the state lines; the game screen must be set up
// to be entered (see simMain).
void runSimulation(const SimOptions &options, const std::vector<KeyEvent> &events,
                   std::ostream &out);
// The usage text of --help.
std::string simUsageText();
// The whole program: arguments, script, run. Returns the exit code.
int simMain(const std::vector<std::string> &args, std::istream &in, std::ostream &out,
            std::ostream &err);
