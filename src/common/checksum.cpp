// CRC-32, table-driven; the table is built on first use.
#include "common/checksum.h"

namespace {
const uint32_t *crcTable() {
  static uint32_t table[256];
  static bool built = false;
  if (!built) {
    for (uint32_t n = 0; n < 256; ++n) {
      uint32_t c = n;
      for (int k = 0; k < 8; ++k) {
        c = (c & 1) != 0 ? 0xEDB88320u ^ (c >> 1) : c >> 1;
      }
      table[n] = c;
    }
    built = true;
  }
  return table;
}
} // namespace

uint32_t crc32(const uint8_t *data, size_t length) {
  const uint32_t *table = crcTable();
  uint32_t c = 0xFFFFFFFFu;
  for (size_t i = 0; i < length; ++i) {
    c = table[(c ^ data[i]) & 0xFFu] ^ (c >> 8);
  }
  return c ^ 0xFFFFFFFFu;
}
