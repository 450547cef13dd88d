// The font and the pictures, loaded at start; a missing file is reported once
// and the game goes on without it.
#include "presentation/assets.h"
#include "common/files.h"
#include "platform/text.h"
#include "presentation/picture_header.h"
#include "presentation/text_draw.h"
#include <cerrno>
#include <vector>

TextureId primitivesTexture = 0;
TextureId logoTexture = 0;

namespace {
void reportPicture(const std::string &path, const std::string &why) {
  reportOnce("cannot load picture " + path + (why.empty() ? "" : " (" + why + ")"));
}
} // namespace

TextureId loadPicture(const char *name) {
  // The header is checked first: a huge picture is refused before decoding.
  const std::string path = dataPath(name);
  std::string why;
  TextureId t = pictureFileFits(path.c_str(), why) ? loadTexture(path.c_str()) : 0;
  if (t == 0) {
    reportPicture(path, why);
  }
  return t;
}

std::string iconPath() {
  const std::string path = dataPath(ICON_FILE);
  std::string why;
  if (!pictureFileFits(path.c_str(), why)) {
    reportPicture(path, why);
    return "";
  }
  return path;
}

void loadAssets() {
  const std::string font = dataPath(FONT_FILE);
  // The font library opens whatever it is given: a FIFO would block the
  // start for good, so only a regular file is handed over.
  std::vector<uint8_t> start;
  if (!readFileStart(font.c_str(), start, 4)) {
    reportOnce("cannot load font " + font + " (" + readFailureText(errno) + ")");
  } else if (!registerFontFile(font.c_str())) {
    reportOnce("cannot load font " + font);
  }
  setFontHeight(20);
  if (primitivesTexture != 0) {
    releaseTexture(primitivesTexture);
  }
  primitivesTexture = loadPicture(PRIMITIVES_FILE);
  if (logoTexture != 0) {
    releaseTexture(logoTexture);
  }
  logoTexture = loadPicture(LOGO_FILE);
}

void releaseAssets() {
  releaseTexture(primitivesTexture);
  releaseTexture(logoTexture);
  primitivesTexture = 0;
  logoTexture = 0;
}
