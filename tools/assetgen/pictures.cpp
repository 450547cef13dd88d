// Writes the game's pictures: the sprite sheet, the title logo, the empty
// playfield, the window icon and the desktop icons.
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

bool generateDesktopIcons(const std::string &iconDir) {
  bool ok = true;
  auto write = [&](int size, const Image &icon) {
    const std::string side = std::to_string(size);
    const std::string folder = iconDir + "/hicolor/" + side + "x" + side + "/apps";
    ok = makeFolders(folder) && writePicture(folder + "/" + APP_ID + ".png", icon) && ok;
  };
  for (int size : SMALL_ICON_SIZES) {
    write(size, makeSmallIcon(size));
  }
  for (int size : {64, 128, 256}) {
    write(size, makeWindowIcon(size));
  }
  return ok;
}
