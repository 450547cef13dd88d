// The playfield: one byte per cell, 960 x 515 cells inside a guard ring.
#pragma once
#include <cstdint>

constexpr int FIELD_WIDTH = 960;
constexpr int FIELD_HEIGHT = 515;
constexpr int GRID_STRIDE = 962;
constexpr int GRID_ROWS = 517;
constexpr int GRID_BYTES = GRID_STRIDE * GRID_ROWS; // 497354
constexpr int BORDER_WIDTH = 15;
// The free interior inside the frame: columns 15..944, rows 15..499.
constexpr int LAST_INTERIOR_COLUMN = FIELD_WIDTH - BORDER_WIDTH - 1;
constexpr int LAST_INTERIOR_ROW = FIELD_HEIGHT - BORDER_WIDTH - 1;
constexpr int INTERIOR_CELLS = 451050;

constexpr uint8_t CELL_FREE = 0;
constexpr uint8_t CELL_CAPTURED = 1;
constexpr uint8_t CELL_BOUNDARY_MARK = 2;
constexpr uint8_t CELL_TRACK = 101;

// The block, guard ring included, plus one spare row of zeros after it: a
// black enemy nudged into the bottom-left corner probes one row below the
// guard ring, and must read free cells there as it does in the ring.
extern uint8_t *playfield;

// Cell (x, y) for -1 <= x <= 960 and -1 <= y <= 515 (the guard ring), and
// the spare row y = 516; no bounds check.
inline uint8_t &cellAt(int x, int y) { return playfield[(y + 1) * GRID_STRIDE + (x + 1)]; }

bool allocatePlayfield();
void freePlayfield();
// Level reset: everything free, then the 15-cell frame captured.
void resetPlayfieldGrid();
