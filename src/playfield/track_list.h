// The list of the current track's cells, x then y, in the order laid.
#pragma once
#include <cstdint>
#include "playfield/grid.h"

// Room for every interior cell, so a track can never outgrow it.
constexpr int32_t TRACK_LIST_CAPACITY = 2 * INTERIOR_CELLS;

extern int16_t *trackCells;
extern int32_t trackValueCount; // values in use: twice the number of cells

bool allocateTrackList();
void freeTrackList();
