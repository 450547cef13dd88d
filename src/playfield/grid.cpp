// Playfield allocation and the level reset of the grid.
#include "playfield/grid.h"
#include <cstdlib>
#include <cstring>

uint8_t *playfield = nullptr;

bool allocatePlayfield() {
  if (playfield == nullptr) {
    playfield = static_cast<uint8_t *>(std::calloc(GRID_BYTES + GRID_STRIDE, 1));
  }
  return playfield != nullptr;
}

void freePlayfield() {
  std::free(playfield);
  playfield = nullptr;
}

void resetPlayfieldGrid() {
  std::memset(playfield, CELL_FREE, GRID_BYTES);
  for (int y = 0; y < FIELD_HEIGHT; ++y) {
    for (int x = 0; x < FIELD_WIDTH; ++x) {
      if (x < BORDER_WIDTH || x > LAST_INTERIOR_COLUMN || y < BORDER_WIDTH ||
          y > LAST_INTERIOR_ROW) {
        cellAt(x, y) = CELL_CAPTURED;
      }
    }
  }
}
