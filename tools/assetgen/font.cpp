// The fixed-pitch font: the DejaVu Sans Mono file the build found (fontconfig
// or PELTA_FONT_FILE), shipped unchanged as xf1.pta.
#include <cstdio>
#include <fstream>
#include <iterator>
#include "assetgen.h"

bool generateFont(const std::string &dataDir, const std::string &fontFile) {
  std::ifstream in(fontFile, std::ios::binary);
  if (fontFile.empty() || !in) {
    std::fprintf(stderr, "assetgen: cannot read the font \"%s\"\n", fontFile.c_str());
    return false;
  }
  std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  return writeIfChanged(dataDir + "/xf1.pta", bytes);
}
