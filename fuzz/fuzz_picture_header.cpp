// Fuzzes the picture check that runs before the decoder: the PNG header read
// from bytes and from a file; nothing beyond the limits is ever let through.
#include "common/files.h"
#include "fuzz_scratch.h"
#include "presentation/picture_header.h"
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  fuzzScratchFolder();
  uint32_t width = 0;
  uint32_t height = 0;
  const bool isPng = readPngSize(data, size, &width, &height);
  const bool fitsByBytes =
      isPng && width >= 1 && height >= 1 && width <= MAX_PICTURE_SIDE && height <= MAX_PICTURE_SIDE;
  replaceFileAtomically("data/picture.pta", std::vector<uint8_t>(data, data + size));
  std::string why;
  const bool fits = pictureFileFits("data/picture.pta", why);
  // The file and the bytes agree, and a refusal always says why.
  if (fits != fitsByBytes || fits != why.empty()) {
    std::abort();
  }
  return 0;
}
