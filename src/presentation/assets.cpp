// The font and the pictures, loaded at start; a missing file is reported once
// and the game goes on without it.
#include "presentation/assets.h"
#include "common/files.h"
#include "platform/text.h"
#include "presentation/picture_header.h"
#include "presentation/text_draw.h"

TextureId primitivesTexture = 0;
TextureId logoTexture = 0;

TextureId loadPicture(const char *path) {
  // The header is checked first: a huge picture is refused before decoding.
  std::string why;
  TextureId t = pictureFileFits(path, why) ? loadTexture(path) : 0;
  if (t == 0) {
    reportOnce(std::string("cannot load picture ") + path + (why.empty() ? "" : " (" + why + ")"));
  }
  return t;
}

void loadAssets() {
  if (!registerFontFile(FONT_FILE)) {
    reportOnce(std::string("cannot load font ") + FONT_FILE);
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
