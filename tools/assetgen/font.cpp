// The fixed-pitch font: DejaVu Sans Mono from the system, shipped as xf1.pta.
#include <fstream>
#include <iterator>
#include "assetgen.h"

bool generateFont(const std::string &dataDir) {
  const char *candidates[] = {"/usr/share/fonts/truetype/dejavu/DejaVuSansMono.ttf",
                              "/usr/share/fonts/dejavu/DejaVuSansMono.ttf"};
  for (const char *path : candidates) {
    std::ifstream in(path, std::ios::binary);
    if (in) {
      std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)),
                                 std::istreambuf_iterator<char>());
      return writeIfChanged(dataDir + "/xf1.pta", bytes);
    }
  }
  return false;
}
