// The checksum that names a playfield in state lines and replays.
#pragma once
#include <cstddef>
#include <cstdint>

// CRC-32 with the zlib polynomial (reflected 0xEDB88320), as zlib computes it.
uint32_t crc32(const uint8_t *data, size_t length);
