// Fuzzes pelta-sim's key-script reader: any text either gives events in frame
// order with known keys, or a one-line error; never more than the limits.
#include "sim.h"
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  std::istringstream script(std::string(reinterpret_cast<const char *>(data), size));
  ScriptLimits limits;
  limits.maxEvents = 64;
  limits.maxLineLength = 256;
  limits.maxBytes = 8192;
  std::vector<KeyEvent> events;
  std::string error;
  const bool parsed = parseKeyScript(script, events, error, limits);
  if (parsed != error.empty() || error.find('\n') != std::string::npos ||
      events.size() > limits.maxEvents) {
    std::abort();
  }
  uint64_t last = 1;
  for (const KeyEvent &e : events) {
    if (e.frame < last || e.virtualKey <= 0) {
      std::abort();
    }
    last = e.frame;
  }
  return 0;
}
