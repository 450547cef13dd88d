// Fuzzes the replay reader: any text is either a replay whose frames run in
// order and which, written out again, reads back as the same text, or a
// one-line error; never more than the limits.
#include "replay/replay_file.h"
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  std::istringstream in(std::string(reinterpret_cast<const char *>(data), size));
  ScriptLimits limits;
  limits.maxEvents = 64;
  limits.maxLineLength = 256;
  limits.maxBytes = 16384;
  Replay replay;
  std::string error;
  const bool parsed = parseReplay(in, replay, error, limits);
  if (parsed == !error.empty() || error.find('\n') != std::string::npos) {
    std::abort();
  }
  if (!parsed) {
    return 0;
  }
  if (replay.keys.size() + replay.saves.size() + replay.checks.size() >= limits.maxEvents) {
    std::abort();
  }
  uint64_t last = 1;
  for (const KeyEvent &e : replay.keys) {
    if (e.frame < last || e.frame > replay.end.frame) {
      std::abort();
    }
    last = e.frame;
  }
  const std::string text = formatReplay(replay);
  std::istringstream again(text);
  Replay reread;
  if (!parseReplay(again, reread, error) || formatReplay(reread) != text) {
    std::abort();
  }
  return 0;
}
