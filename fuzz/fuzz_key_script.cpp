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
  // Room for long sequences (run-fuzz.sh lets inputs grow to 64 KiB).
  limits.maxEvents = 8192;
  limits.maxLineLength = 256;
  limits.maxBytes = 65536;
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
