/* SPDX-License-Identifier: MIT */
/* zlib's crc32_z for the browser build, byte by byte from one table. */
#include "zlib.h"
#include <stdint.h>

static uint32_t table[256];

static void makeTable(void) {
  for (uint32_t n = 0; n < 256; ++n) {
    uint32_t c = n;
    for (int k = 0; k < 8; ++k) {
      c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
    }
    table[n] = c;
  }
}

uLong crc32_z(uLong crc, const unsigned char *buf, z_size_t len) {
  if (buf == Z_NULL) {
    return 0;
  }
  if (table[1] == 0) {
    makeTable();
  }
  uint32_t c = (uint32_t)crc ^ 0xFFFFFFFFu;
  for (z_size_t i = 0; i < len; ++i) {
    c = table[(c ^ buf[i]) & 0xFFu] ^ (c >> 8);
  }
  return c ^ 0xFFFFFFFFu;
}
