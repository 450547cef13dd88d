// Neighbourhood probes: sums of cells next to a 5 x 5 box. Captured cells are
// 1, free 0 and track 101, so a sum tells "all free", "all captured" or "track".
#pragma once
#include "state/entity_box.h"
#include <cstdint>

// Sums of the ring of cells just outside a 5 x 5 box. Each side (e, w, n, s)
// is counted by offset along it: 0 … 4 lie beside the box, -1 and 5 are the
// ring's corners (-1 is the north end of e and w, the west end of n and s).
// A name is its side and the offsets it adds up: e0 one cell, e1to3 the
// three middle ones, e0to4 the whole side beside the box, e1to5 from offset 1
// to the far corner, eM1to3 ("minus one to three") from the near corner to
// offset 3; ne, se, nw, sw are the corner cells alone. With captured cells 1,
// a sum equal to its cell count (5 for e1to5, 6 for e0 + e1to5) means "all
// captured", 0 "all free"; a track cell (101) shows above TRACK_SUM_THRESHOLD.
struct NeighbourSums {
  int32_t e0, e4, w0, w4, n0, n4, s0, s4, ne, se, nw, sw;
  int32_t e1to3, w1to3, n1to3, s1to3;
  int32_t e0to3, e1to4, w0to3, w1to4, n0to3, n1to4, s0to3, s1to4;
  int32_t e0to4, w0to4, n0to4, s0to4;
  int32_t e1to5, eM1to3, w1to5, wM1to3, n1to5, nM1to3, s1to5, sM1to3;
  int32_t ringMiddleSum;
};

extern NeighbourSums neighbourSums;

// A sum above this holds a track cell: one track cell (101) outweighs all the
// captured cells a probe adds up (25 at most).
constexpr int32_t TRACK_SUM_THRESHOLD = 100;
inline bool sumHoldsTrack(int32_t sum) { return sum > TRACK_SUM_THRESHOLD; }

constexpr int32_t SIDE_EAST = 8;
constexpr int32_t SIDE_WEST = 9;
constexpr int32_t SIDE_NORTH = 10;
constexpr int32_t SIDE_SOUTH = 11;

// Sets playerGround from the 25 cells under playerBox.
void classifyPlayerGround();
// Fills neighbourSums for the box; returns the 12-cell middle ring sum.
int32_t probeRing(const EntityBox &box);
// A captured passage exactly as wide as the box on that side (last probeRing).
bool corridorAhead(int32_t side);
