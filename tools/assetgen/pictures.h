// The game's pictures, built in memory: the sprite sheet with its named
// rectangles, the title logo, the empty playfield and the window icon.
#pragma once
#include "raster.h"

// What a rectangle of the sprite sheet holds.
enum class SheetPart : uint8_t {
  Sprite, // a 10 x 10 in-game sprite, drawn with ordinary alpha blending
  Flash,  // a bounce flash, drawn with the brightening blend: white with soft alpha
  Icon    // a picture of the instructions page
};

struct SheetRect {
  const char *name;
  int left, top, right, bottom; // right and bottom exclusive
  SheetPart part;
};

constexpr int SHEET_WIDTH = 160;
constexpr int SHEET_HEIGHT = 112;
// Every rectangle the game cuts from the sheet.
extern const SheetRect SHEET_RECTS[];
extern const int SHEET_RECT_COUNT;

constexpr int PLAYFIELD_WIDTH = 1920;
constexpr int PLAYFIELD_HEIGHT = 1030;
constexpr int PLAYFIELD_FRAME = 30; // 15 cells of 2 px
constexpr int LOGO_WIDTH = 1120;
constexpr int LOGO_HEIGHT = 230;
constexpr int ICON_SIZE = 64;

Image makeSpriteSheet();
Image makeLogo();
Image makePlayfield();
// The window icon at ICON_SIZE; the desktop icons at larger sizes.
Image makeWindowIcon(int size = ICON_SIZE);
// The desktop's small icons (SMALL_ICON_SIZES), each drawn for its size.
constexpr int SMALL_ICON_SIZES[] = {16, 24, 32, 48};
Image makeSmallIcon(int size);
