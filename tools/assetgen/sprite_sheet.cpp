// The sprite sheet: the 10 x 10 in-game sprites drawn pixel by pixel, the
// bounce flash glows and the larger pictures of the instructions page.
#include "pictures.h"
#include <algorithm>
#include <cmath>

const SheetRect SHEET_RECTS[] = {
    {"player", 2, 2, 12, 12, SheetPart::Sprite},
    {"white enemy", 16, 2, 26, 12, SheetPart::Sprite},
    {"black enemy", 30, 2, 40, 12, SheetPart::Sprite},
    {"crashed white enemy", 44, 2, 54, 12, SheetPart::Sprite},
    {"crashed black enemy", 58, 2, 68, 12, SheetPart::Sprite},
    {"crashed player", 72, 2, 82, 12, SheetPart::Sprite},
    {"shield item", 86, 2, 96, 12, SheetPart::Sprite},
    {"extra-life item", 100, 2, 110, 12, SheetPart::Sprite},
    {"slowing item", 100, 16, 110, 26, SheetPart::Sprite},
    {"flash bar below", 2, 16, 12, 19, SheetPart::Flash},
    {"flash bar above", 44, 23, 54, 26, SheetPart::Flash},
    {"flash bar right", 16, 16, 19, 26, SheetPart::Flash},
    {"flash bar left", 37, 16, 40, 26, SheetPart::Flash},
    {"flash corner SE", 58, 16, 63, 21, SheetPart::Flash},
    {"flash corner NE", 85, 16, 90, 21, SheetPart::Flash},
    {"flash corner SW", 67, 16, 72, 21, SheetPart::Flash},
    {"flash corner NW", 76, 16, 81, 21, SheetPart::Flash},
    {"player icon", 2, 30, 32, 60, SheetPart::Icon},
    {"white enemy icon", 36, 30, 66, 60, SheetPart::Icon},
    {"shield icon", 70, 30, 100, 60, SheetPart::Icon},
    {"slowing icon", 104, 30, 134, 60, SheetPart::Icon},
    {"black enemy icon", 2, 64, 42, 104, SheetPart::Icon},
    {"extra-life icon", 46, 66, 76, 96, SheetPart::Icon},
    {"track icon", 80, 66, 100, 106, SheetPart::Icon},
};
const int SHEET_RECT_COUNT = int(sizeof(SHEET_RECTS) / sizeof(SHEET_RECTS[0]));

namespace {
// One 10 x 10 sprite of the sheet: its top-left corner, its rows and the
// colour of each letter in them ('.' and other letters stay transparent).
struct SpriteArt {
  int left, top;
  std::initializer_list<const char *> rows;
  Palette palette;
};

// The pixel art below keeps one picture row per line.
// clang-format off
const SpriteArt SPRITE_ART[] = {
    // The player: a lit white square.
    {2, 2,
     {"WWWWWWWWWW",
      "WWWWWWWWcg",
      "WWccccccgg",
      "WWccccccgg",
      "WWccccccgg",
      "WWccccccgg",
      "WWccccccgg",
      "WWccccccgg",
      "Wcgggggggg",
      "Wggggggggg"},
     {{'W', 0xffffffffu}, {'c', 0xfff2f6fau}, {'g', 0xffccd6e2u}}},
    // The white enemy.
    {16, 2,
     {"..aooooa..",
      ".oHHWWWWo.",
      "aHHWWWWWsa",
      "oHWeWWeWso",
      "oWWeWWeWso",
      "oWWWWWWWso",
      "oWWWWWWsSo",
      "aWsWWWssSa",
      ".osssssSo.",
      "..aooooa.."},
     {{'H', 0xffffffffu},
      {'W', 0xffe6ebf0u},
      {'s', 0xffb2bdcau},
      {'S', 0xff7f8c9cu},
      {'o', 0xff5a6472u},
      {'a', 0x905a6472u},
      {'e', 0xff141a24u}}},
    // The black enemy: dark body, light rim, so that it stands out on black,
    // on captured blue and on the frame.
    {30, 2,
     {".LLLLLLLL.",
      "LkkkkkkkKl",
      "LkKKKKKKKl",
      "LKeEKKeEKl",
      "LKEEKKEEKl",
      "LKKKKKKKKl",
      "LKKKKKKKKl",
      "LKKmKKmKKl",
      "LKKKmmKKKl",
      ".llllllll."},
     {{'L', 0xffdce3eau},
      {'l', 0xff98a4b2u},
      {'K', 0xff161a22u},
      {'k', 0xff2e3644u},
      {'E', 0xffff4a30u},
      {'e', 0xffffc080u},
      {'m', 0xff8a96a4u}}},
    // The crashed white enemy: red, with crossed eyes.
    {44, 2,
     {"..aooooa..",
      ".oHHWWWWo.",
      "aHWWWWWWsa",
      "oeWeWWeWeo",
      "oWeWWWWeso",
      "oeWeWWeWeo",
      "oWWWWWWWso",
      "aWWsSSsWSa",
      ".osssssSo.",
      "..aooooa.."},
     {{'H', 0xffffd8d0u},
      {'W', 0xffff8472u},
      {'s', 0xffd04040u},
      {'S', 0xff902020u},
      {'o', 0xff601414u},
      {'a', 0x90601414u},
      {'e', 0xff240404u}}},
    // The crashed black enemy.
    {58, 2,
     {".LLLLLLLL.",
      "LkkkkkkkKl",
      "LkEKEEKEKl",
      "LKKEKKEKKl",
      "LKEKEEKEKl",
      "LKKKKKKKKl",
      "LKKKmmKKKl",
      "LKKmKKmKKl",
      "LKKKKKKKKl",
      ".llllllll."},
     {{'L', 0xffff8a6au},
      {'l', 0xffc04030u},
      {'K', 0xff3c0a0au},
      {'k', 0xff5c1616u},
      {'E', 0xffffd040u},
      {'m', 0xffd06050u}}},
    // The crashed player: the square burst into shards along dark cracks.
    {72, 2,
     {"ooooo.oooR",
      "oRRRRk.RRr",
      "oRRRkRRRRr",
      "oRRkRRRkRr",
      ".kkRRRkRRr",
      "oRRkRkRRRr",
      "oRRRkRRkkr",
      "oRRkRRRRR.",
      "oRkRRRRRRr",
      "Rrr.rrrrrr"},
     {{'o', 0xffffa090u}, {'R', 0xffe83c3cu}, {'r', 0xffa01c1cu}, {'k', 0xff3a0606u}}},
    // Shield: gold like the shielded track, with a white cross.
    {86, 2,
     {".oooooooo.",
      "oHHYYYYYyo",
      "oHYYwwYYyo",
      "oHYwwwwYyo",
      "oYYwwwwYyo",
      "oYYYwwYYyo",
      ".oYYYYYyo.",
      ".oyYYYYyo.",
      "..oyyyyo..",
      "...oooo..."},
     {{'o', 0xff6a5208u},
      {'Y', 0xffcdb721u},
      {'y', 0xff9c8614u},
      {'H', 0xfffff0a0u},
      {'w', 0xffffffffu}}},
    // Extra life: a red heart.
    {100, 2,
     {"..........",
      ".oo....oo.",
      "oHRo..oRRo",
      "oHRRooRRro",
      "oRRRRRRRro",
      "oRRRRRRRro",
      ".oRRRRRro.",
      "..oRRRro..",
      "...oRro...",
      "....oo...."},
     {{'o', 0xff80101eu}, {'R', 0xffec2c40u}, {'r', 0xffb01830u}, {'H', 0xffffb4bcu}}},
    // Slowing: a clock.
    {100, 16,
     {"..cccccc..",
      ".cWWWWWWc.",
      "cWWWkWWWWC",
      "cWWWkWWWWC",
      "cWWWkWWWWC",
      "cWWWkkkWWC",
      "cWWWWWWWWC",
      "cWWWWWWWWC",
      ".CWWWWWWC.",
      "..CCCCCC.."},
     {{'c', 0xff40c0f8u}, {'C', 0xff1c78b0u}, {'W', 0xfff4fbffu}, {'k', 0xff102030u}}},
};
// clang-format on

// A flash pixel: always white, so that its fading alpha only brightens what
// is below and never darkens it.
void flashPixel(Image &s, int x, int y, float strength) {
  setPixel(s, x, y, withAlpha(0xffffffffu, std::clamp(strength, 0.0f, 1.0f)));
}

void drawFlashes(Image &s) {
  const float fall[3] = {1.0f, 0.55f, 0.2f}; // by distance from the enemy
  const float ends[10] = {0.45f, 0.8f, 1.0f, 1.0f, 1.0f, 1.0f, 1.0f, 1.0f, 0.8f, 0.45f};
  for (int i = 0; i < 10; ++i) {
    for (int d = 0; d < 3; ++d) {
      float a = fall[d] * ends[i];
      flashPixel(s, 2 + i, 16 + d, a);  // below: the enemy is above it
      flashPixel(s, 44 + i, 25 - d, a); // above: the enemy is below it
      flashPixel(s, 16 + d, 16 + i, a); // right: the enemy is to its left
      flashPixel(s, 39 - d, 16 + i, a); // left: the enemy is to its right
    }
  }
  // Corners: a quarter glow around the point where the enemy's corner touches.
  struct Corner {
    int left, top;
    float cx, cy;
  };
  const Corner corners[4] = {
      {58, 16, 0.0f, 0.0f}, {85, 16, 0.0f, 5.0f}, {67, 16, 5.0f, 0.0f}, {76, 16, 5.0f, 5.0f}};
  for (const Corner &c : corners) {
    for (int y = 0; y < 5; ++y) {
      for (int x = 0; x < 5; ++x) {
        float d = std::hypot(float(x) + 0.5f - c.cx, float(y) + 0.5f - c.cy);
        flashPixel(s, c.left + x, c.top + y, std::pow(std::max(0.0f, 1.0f - d / 5.3f), 1.3f));
      }
    }
  }
}
} // namespace

void drawInstructionIcons(Image &sheet); // sheet_icons.cpp

Image makeSpriteSheet() {
  Image s = makeImage(SHEET_WIDTH, SHEET_HEIGHT, 0x00000000u);
  for (const SpriteArt &art : SPRITE_ART) {
    drawPixelArt(s, art.left, art.top, art.rows, art.palette);
  }
  drawInstructionIcons(s);
  padTransparentColours(s);
  drawFlashes(s); // after the padding: flashes set their own transparent white
  for (int i = 0; i < SHEET_RECT_COUNT; ++i) {
    const SheetRect &r = SHEET_RECTS[i];
    if (r.part == SheetPart::Flash) {
      // The ring around a flash is sampled by filtered scaling: keep it white.
      for (int y = r.top - 1; y <= r.bottom; ++y) {
        for (int x = r.left - 1; x <= r.right; ++x) {
          if ((pixelAt(s, x, y) >> 24) == 0) {
            setPixel(s, x, y, 0x00ffffffu);
          }
        }
      }
    }
  }
  return s;
}
