// Key scripts: one key change per line, "FRAME KEY +" (down from that frame
// on) or "FRAME KEY -" (up from that frame on). pelta-sim plays them, and a
// replay holds its keys in the same lines, read by the same code.
#pragma once
#include <cstddef>
#include <cstdint>
#include <iosfwd>
#include <string>
#include <vector>

struct KeyEvent {
  uint64_t frame; // from 1
  int virtualKey;
  bool down;
};

// What a key script may hold: far more than any real game, and little enough
// that an endless script (a pipe that never closes, /dev/zero) ends in a clear
// refusal instead of filling the memory.
struct ScriptLimits {
  uint64_t maxEvents = 10000000;
  uint64_t maxBytes = uint64_t(100) << 20;
  size_t maxLineLength = 4096;
};

// The keys a script may name: every key the game screen and the volume keys
// read in a game frame.
constexpr int SCRIPT_KEY_COUNT = 12;
extern const int SCRIPT_KEYS[SCRIPT_KEY_COUNT];
// A key's name in scripts ("UP", "PAGEDOWN"); nullptr for any other key.
const char *scriptKeyName(int virtualKey);

// One script being read: the stream, its limits, and how far it got. `what`
// names the text in messages about its size.
struct ScriptReading {
  std::istream &in;
  ScriptLimits limits;
  const char *what = "the key script";
  uint64_t lineNumber = 0;
  uint64_t bytesRead = 0;
  uint64_t events = 0;
  int readError = 0;        // errno of a failed read, 0 when none was seen
  bool lineUnended = false; // the last line read ended with the text, not a line break
};

// The words of the next line that holds any, '#' comments left out. False at
// the end of the text with `error` empty, or with a one-line `error` when a
// limit is passed or the stream cannot be read.
bool nextScriptWords(ScriptReading &reading, std::vector<std::string> &words, std::string &error);
// "line N: ", the prefix of every message about the line just read.
std::string scriptLineLabel(const ScriptReading &reading);
// Counts one more event line; false with `error` once there are too many.
bool countScriptEvent(ScriptReading &reading, std::string &error);
// The three words of a key change, at `lastFrame` or later; the error names
// no line.
bool parseKeyEventWords(const std::vector<std::string> &words, uint64_t lastFrame, KeyEvent &event,
                        std::string &error);
// Plain decimal digits within [low, high]; a leading '-' too for the signed one.
bool parseScriptNumber(const std::string &text, uint64_t low, uint64_t high, uint64_t &value);
bool parseSignedScriptNumber(const std::string &text, int64_t low, int64_t high, int64_t &value);

// A whole key script into events in frame order; false with a one-line error.
bool parseKeyScript(std::istream &script, std::vector<KeyEvent> &events, std::string &error,
                    const ScriptLimits &limits = ScriptLimits{});
