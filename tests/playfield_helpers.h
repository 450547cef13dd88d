// Helpers for the playfield mechanics tests: a fresh field with every game
// value at its level start, hand-made walls, and reading the picture's pixels.
#pragma once
#include "playfield/enemies.h"
#include "playfield/grid.h"
#include "playfield/items.h"
#include "playfield/painting.h"
#include "playfield/probes.h"
#include "playfield/track_list.h"
#include "shell/shell.h"
#include "state/game_state.h"
#include "state/reset.h"
#include "test_support.h"
#include <cstdint>

// A freshly reset field and picture, level 1, nothing crashed, no enemy in play.
inline void freshField(uint32_t levelNumber = 1) {
  static bool started = false; // one start-up per run keeps the many small cases quick
  if (!started || playfield == nullptr || trackCells == nullptr) {
    startHeadless();
    started = true;
  }
  // Every value at its start: nothing crashed, no enemy or item in play, the
  // player on the top border, far from every test's action.
  resetGameState();
  appActive = 1;
  level = levelNumber;
  lives = 3;
  setUpPlayfield();
  // The item records keep their fixed kinds.
  for (int i = 0; i < BONUS_ITEM_COUNT; ++i) {
    bonusItems[i].kind = i < 4 ? ITEM_SHIELD : (i == 4 ? ITEM_LIFE : ITEM_SLOW);
  }
}

// Sets every cell of the inclusive rectangle.
inline void fillCells(int x0, int y0, int x1, int y1, uint8_t value) {
  for (int y = y0; y <= y1; ++y) {
    for (int x = x0; x <= x1; ++x) {
      cellAt(x, y) = value;
    }
  }
}

// The whole interior captured, as a field for black enemies to roam.
inline void captureInterior() { fillCells(15, 15, 944, 499, CELL_CAPTURED); }

inline uint32_t pixelAt(int px, int py) {
  int width = 0;
  int height = 0;
  textureSize(playfieldTexture, &width, &height);
  return lockTexture(playfieldTexture)[py * width + px];
}

// All four pixels of cell (x, y) in this colour.
inline bool cellPainted(int x, int y, uint32_t colour) {
  return pixelAt(2 * x, 2 * y) == colour && pixelAt(2 * x + 1, 2 * y) == colour &&
         pixelAt(2 * x, 2 * y + 1) == colour && pixelAt(2 * x + 1, 2 * y + 1) == colour;
}

inline void putEnemy(Enemy &e, int32_t x, int32_t y, int32_t direction) {
  placeBox(e.box, x, y);
  e.direction = direction;
  e.spriteShift = 0;
  e.edgeNudged = 0;
}

// Lays track cells through the real track drawing, so list and picture agree.
inline void layTrackRect(int x0, int y0, int x1, int y1) {
  for (int x = x0; x <= x1; ++x) {
    drawTrackColumn(x, y0, y1 + 1);
  }
}
