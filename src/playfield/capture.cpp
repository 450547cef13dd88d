// The capture fill: a wall-following outline of every white enemy's region,
// then one scan that captures, paints and counts everything else.
#include "playfield/capture.h"
#include "audio/audio.h"
#include "playfield/enemies.h"
#include "playfield/grid.h"
#include "playfield/items.h"
#include "playfield/painting.h"
#include "playfield/track_list.h"
#include "state/game_state.h"
#include <cstring>

namespace {
// Up, right, down, left (clockwise with y growing downward), repeated so a
// search can start at any of them; NEXT_SEARCH is a quarter turn to the left
// of the step just taken, which keeps the wall on the tracer's left hand.
const int32_t TRACE_DX[7] = {0, 1, 0, -1, 0, 1, 0};
const int32_t TRACE_DY[7] = {-1, 0, 1, 0, -1, 0, 1};
const int32_t NEXT_SEARCH[7] = {3, 0, 1, 2, 3, 0, 1};

bool isWall(uint8_t cell) { return cell == CELL_CAPTURED || cell == CELL_TRACK; }

// Outlines the region around one white enemy's top-left cell, unless an
// earlier enemy already outlined it.
void traceRegion(const EntityBox &box) {
  int32_t x = box.x;
  int32_t y = box.y;
  if (y <= 0 || x < 0 || x >= FIELD_WIDTH || y >= FIELD_HEIGHT) {
    return;
  }
  for (;;) {
    const uint8_t cell = cellAt(x, y);
    if (cell == CELL_BOUNDARY_MARK) {
      return;
    }
    if (isWall(cell)) {
      break;
    }
    --y;
    if (y == 0) {
      return;
    }
  }
  const int32_t startX = x;
  const int32_t startY = y + 1;
  int32_t px = startX;
  int32_t py = startY;
  int32_t search = 0;
  int32_t steps = 0;
  do {
    for (int32_t k = search; k < search + 4; ++k) {
      const int32_t qx = px + TRACE_DX[k];
      const int32_t qy = py + TRACE_DY[k];
      // The frame keeps every region away from the field's edge; the edge
      // test only guards against a tracer started on a captured cell.
      if (qx < 0 || qx >= FIELD_WIDTH || qy < 0 || qy >= FIELD_HEIGHT) {
        continue;
      }
      uint8_t &q = cellAt(qx, qy);
      if (isWall(q)) {
        continue;
      }
      q = CELL_BOUNDARY_MARK;
      px = qx;
      py = qy;
      search = NEXT_SEARCH[k];
      break;
    }
    ++steps;
  } while ((px != startX || py != startY) && steps < TRACE_STEP_LIMIT);
}

// All eight bytes captured: the scan can pass them in one comparison.
bool eightCaptured(const uint8_t *cells) {
  uint64_t word;
  std::memcpy(&word, cells, sizeof(word));
  return word == 0x0101010101010101ull;
}
} // namespace

void markWhiteEnemyRegions() {
  const uint32_t count = whiteEnemiesInPlay();
  for (uint32_t i = 0; i < count; ++i) {
    traceRegion(whiteEnemies[i].box);
  }
}

void captureEnclosedAreas() {
  playEffect(EFFECT_CAPTURE);
  trackValueCount = 0;
  lockPlayfield();
  const int32_t width = lockedPlayfieldWidth();
  uint32_t captured = 0;
  constexpr int32_t FIRST_ROW = BORDER_WIDTH - 1;             // 14
  constexpr int32_t LAST_ROW = FIELD_HEIGHT - BORDER_WIDTH;   // 500
  constexpr int32_t FIRST_COLUMN = BORDER_WIDTH - 1;          // 14
  constexpr int32_t LAST_COLUMN = FIELD_WIDTH - BORDER_WIDTH; // 945
  for (int32_t y = FIRST_ROW; y <= LAST_ROW; ++y) {
    uint8_t *row = &cellAt(0, y);
    int32_t paintable = 0;
    uint32_t *pixels = lockedPlayfieldRow(y, &paintable);
    // Set from a marked cell up to the next captured or track cell: that run
    // of free cells belongs to a region with a white enemy and stays free.
    bool keepFree = false;
    int32_t x = FIRST_COLUMN;
    while (x <= LAST_COLUMN) {
      const uint8_t cell = row[x];
      if (cell == CELL_CAPTURED) {
        keepFree = false;
        ++x;
        while (x + 8 <= LAST_COLUMN + 1 && eightCaptured(row + x)) {
          x += 8;
        }
        continue;
      }
      if (cell == CELL_BOUNDARY_MARK) {
        row[x] = CELL_FREE;
        keepFree = true;
      } else if (cell == CELL_TRACK || !keepFree) {
        row[x] = CELL_CAPTURED;
        ++captured;
        keepFree = false;
        if (x < paintable) {
          uint32_t *p = pixels + 2 * x;
          p[0] = COLOUR_CAPTURED;
          p[1] = COLOUR_CAPTURED;
          p[width] = COLOUR_CAPTURED;
          p[width + 1] = COLOUR_CAPTURED;
        }
      }
      ++x;
    }
  }
  markPlayfieldRowsChanged(FIRST_ROW, LAST_ROW);
  unlockPlayfield();
  capturedCells += captured;
  removeCoveredItems();
  scoreCapture();
}
