// Fuzzes the record decoder on any 33 characters, and checks that any ten
// bytes without a zero come back from encoding unchanged.
#include "common/random.h"
#include "persistence/record_code.h"
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  uint8_t out[RECORD_DATA_LENGTH];
  if (size >= static_cast<size_t>(RECORD_TEXT_LENGTH)) {
    decodeRecord(reinterpret_cast<const char *>(data), out);
  }
  if (size >= static_cast<size_t>(RECORD_DATA_LENGTH + 4)) {
    uint8_t plain[RECORD_DATA_LENGTH];
    for (int i = 0; i < RECORD_DATA_LENGTH; ++i) {
      plain[i] = data[i] == 0 ? 1 : data[i];
    }
    uint32_t seed = 0;
    std::memcpy(&seed, data + RECORD_DATA_LENGTH, 4);
    gameSrand(seed);
    char text[RECORD_TEXT_LENGTH];
    encodeRecord(plain, text);
    if (!decodeRecord(text, out) || std::memcmp(out, plain, RECORD_DATA_LENGTH) != 0) {
      std::abort();
    }
  }
  return 0;
}
