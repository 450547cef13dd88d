// The picture check that runs before the decoder sees a file.
#include "presentation/picture_header.h"
#include "common/files.h"
#include <cstring>
#include <vector>

namespace {
uint32_t readBe32(const uint8_t *p) {
  return uint32_t(p[0]) << 24 | uint32_t(p[1]) << 16 | uint32_t(p[2]) << 8 | uint32_t(p[3]);
}
} // namespace

bool readPngSize(const uint8_t *bytes, size_t size, uint32_t *width, uint32_t *height) {
  static const uint8_t SIGNATURE[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  if (size < PNG_HEADER_LENGTH || std::memcmp(bytes, SIGNATURE, 8) != 0 ||
      readBe32(bytes + 8) != 13 || std::memcmp(bytes + 12, "IHDR", 4) != 0) {
    return false;
  }
  *width = readBe32(bytes + 16);
  *height = readBe32(bytes + 20);
  return true;
}

bool pictureFileFits(const char *path, std::string &why) {
  std::vector<uint8_t> start;
  if (!readFileStart(path, start, PNG_HEADER_LENGTH)) {
    why = readFailureText(errno);
    return false;
  }
  uint32_t width = 0;
  uint32_t height = 0;
  if (!readPngSize(start.data(), start.size(), &width, &height)) {
    why = "not a PNG picture";
    return false;
  }
  if (width == 0 || height == 0 || width > MAX_PICTURE_SIDE || height > MAX_PICTURE_SIDE) {
    why = std::to_string(width) + " x " + std::to_string(height) + " pixels, more than " +
          std::to_string(MAX_PICTURE_SIDE) + " a side";
    return false;
  }
  return true;
}
