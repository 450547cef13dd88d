// Writes the game's pictures: the sprite sheet, the title logo, the empty
// playfield and the window icon.
#include "pictures.h"
#include "assetgen.h"

namespace {
bool writePicture(const std::string &path, const Image &image) {
  return writeIfChanged(path, encodePng(image.px, image.width, image.height));
}
} // namespace

bool generatePictures(const std::string &dataDir) {
  bool ok = writePicture(dataDir + "/game.pta", makePlayfield());
  ok = writePicture(dataDir + "/primitives.pta", makeSpriteSheet()) && ok;
  ok = writePicture(dataDir + "/pta.pta", makeLogo()) && ok;
  ok = writePicture(dataDir + "/icon.pta", makeWindowIcon()) && ok;
  return ok;
}
