// The pictures: the sprite sheet, the title logo, the empty playfield and the
// window icon.
#include "assetgen.h"

namespace {
struct Canvas {
  int w, h;
  std::vector<uint32_t> px;
  Canvas(int width, int height, uint32_t fill) : w(width), h(height), px(size_t(width) * height, fill) {}
  void rect(int l, int t, int r, int b, uint32_t c) {
    for (int y = t; y < b; ++y) {
      for (int x = l; x < r; ++x) {
        if (x >= 0 && y >= 0 && x < w && y < h) {
          px[size_t(y) * w + x] = c;
        }
      }
    }
  }
};

constexpr uint32_t FRAME_COLOUR = 0xff3a4a8cu;
} // namespace

bool generatePictures(const std::string &dataDir) {
  Canvas field(1920, 1030, FRAME_COLOUR);
  field.rect(30, 30, 1890, 1000, 0xff000000u);

  Canvas sheet(160, 112, 0x00000000u);
  sheet.rect(2, 2, 12, 12, 0xffffffffu);   // player
  sheet.rect(72, 2, 82, 12, 0xffff4040u);  // crashed player
  sheet.rect(16, 2, 26, 12, 0xffe0e0e0u);  // white enemy
  sheet.rect(44, 2, 54, 12, 0xffff6060u);  // crashed white enemy
  sheet.rect(30, 2, 40, 12, 0xff202020u);  // black enemy
  sheet.rect(58, 2, 68, 12, 0xff802020u);  // crashed black enemy
  sheet.rect(86, 2, 96, 12, 0xffcdb721u);  // shield
  sheet.rect(100, 2, 110, 12, 0xffe03030u); // extra life
  sheet.rect(100, 16, 110, 26, 0xff30a0e0u); // slowing

  Canvas logo(1120, 220, 0x00000000u);
  logo.rect(0, 0, 1120, 220, 0xff2ca62cu);

  Canvas icon(64, 64, 0xff000000u);
  icon.rect(8, 8, 56, 56, 0xff006083u);
  icon.rect(24, 24, 40, 40, 0xffffffffu);

  bool ok = writeIfChanged(dataDir + "/game.pta", encodePng(field.px, field.w, field.h));
  ok = writeIfChanged(dataDir + "/primitives.pta", encodePng(sheet.px, sheet.w, sheet.h)) && ok;
  ok = writeIfChanged(dataDir + "/pta.pta", encodePng(logo.px, logo.w, logo.h)) && ok;
  ok = writeIfChanged(dataDir + "/icon.pta", encodePng(icon.px, icon.w, icon.h)) && ok;
  return ok;
}
