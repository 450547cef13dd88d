#include <gtest/gtest.h>
#include "playfield_helpers.h"

TEST(PlayfieldProbes, GroundUnderThePlayer) {
  freshField();
  placeBox(playerBox, 100, 5); // wholly in the top frame
  classifyPlayerGround();
  EXPECT_EQ(playerGround, GROUND_SAFE);

  placeBox(playerBox, 100, 12); // rows 12..16: three captured rows, two free
  classifyPlayerGround();
  EXPECT_EQ(playerGround, GROUND_OPEN);

  placeBox(playerBox, 100, 200); // all free
  classifyPlayerGround();
  EXPECT_EQ(playerGround, GROUND_OPEN);

  // 24 captured cells and one track cell sum to 125: track, not safe.
  fillCells(100, 200, 104, 204, CELL_CAPTURED);
  cellAt(104, 204) = CELL_TRACK;
  classifyPlayerGround();
  EXPECT_EQ(playerGround, GROUND_TRACK);

  // One track cell among free cells is track too.
  fillCells(100, 200, 104, 204, CELL_FREE);
  cellAt(100, 200) = CELL_TRACK;
  classifyPlayerGround();
  EXPECT_EQ(playerGround, GROUND_TRACK);
}

TEST(PlayfieldProbes, RingAtTheFieldCornerReadsTheGuardRingAsFree) {
  freshField();
  EntityBox b{};
  placeBox(b, 0, 0);
  int32_t middle = probeRing(b);
  const NeighbourSums &r = neighbourSums;
  EXPECT_EQ(r.w0to4, 0);
  EXPECT_EQ(r.n0to4, 0);
  EXPECT_EQ(r.nw, 0);
  EXPECT_EQ(r.ne, 0);
  EXPECT_EQ(r.sw, 0);
  EXPECT_EQ(r.e0to4, 5);
  EXPECT_EQ(r.s0to4, 5);
  EXPECT_EQ(r.se, 1);
  EXPECT_EQ(r.eM1to3, 4); // NE is the guard row
  EXPECT_EQ(r.sM1to3, 4); // SW is the guard column
  EXPECT_EQ(middle, 6);
  EXPECT_EQ(r.ringMiddleSum, 6);

  // The opposite corner, and the corner the left-edge nudge can reach, whose
  // bottom side lies one row below the guard ring.
  placeBox(b, 955, 510);
  probeRing(b);
  EXPECT_EQ(r.e0to4, 0);
  EXPECT_EQ(r.s0to4, 0);
  EXPECT_EQ(r.w0to4, 5);
  EXPECT_EQ(r.n0to4, 5);
  placeBox(b, 0, 511);
  probeRing(b);
  EXPECT_EQ(r.s1to5, 0);
  EXPECT_EQ(r.n0to4, 5);
}

// Every member of the sums must add exactly its own cells: one cell at a time
// is made captured and each member is compared with its side and offsets.
TEST(PlayfieldProbes, EveryRingSumAddsItsOwnCells) {
  struct Member {
    int32_t NeighbourSums::*field;
    char side;
    int from, to;
  };
  const Member members[] = {
      {&NeighbourSums::e0, 'E', 0, 0},    {&NeighbourSums::e4, 'E', 4, 4},
      {&NeighbourSums::w0, 'W', 0, 0},    {&NeighbourSums::w4, 'W', 4, 4},
      {&NeighbourSums::n0, 'N', 0, 0},    {&NeighbourSums::n4, 'N', 4, 4},
      {&NeighbourSums::s0, 'S', 0, 0},    {&NeighbourSums::s4, 'S', 4, 4},
      {&NeighbourSums::ne, 'E', -1, -1},  {&NeighbourSums::se, 'E', 5, 5},
      {&NeighbourSums::nw, 'W', -1, -1},  {&NeighbourSums::sw, 'W', 5, 5},
      {&NeighbourSums::e1to3, 'E', 1, 3}, {&NeighbourSums::w1to3, 'W', 1, 3},
      {&NeighbourSums::n1to3, 'N', 1, 3}, {&NeighbourSums::s1to3, 'S', 1, 3},
      {&NeighbourSums::e0to3, 'E', 0, 3}, {&NeighbourSums::e1to4, 'E', 1, 4},
      {&NeighbourSums::w0to3, 'W', 0, 3}, {&NeighbourSums::w1to4, 'W', 1, 4},
      {&NeighbourSums::n0to3, 'N', 0, 3}, {&NeighbourSums::n1to4, 'N', 1, 4},
      {&NeighbourSums::s0to3, 'S', 0, 3}, {&NeighbourSums::s1to4, 'S', 1, 4},
      {&NeighbourSums::e0to4, 'E', 0, 4}, {&NeighbourSums::w0to4, 'W', 0, 4},
      {&NeighbourSums::n0to4, 'N', 0, 4}, {&NeighbourSums::s0to4, 'S', 0, 4},
      {&NeighbourSums::e1to5, 'E', 1, 5}, {&NeighbourSums::eM1to3, 'E', -1, 3},
      {&NeighbourSums::w1to5, 'W', 1, 5}, {&NeighbourSums::wM1to3, 'W', -1, 3},
      {&NeighbourSums::n1to5, 'N', 1, 5}, {&NeighbourSums::nM1to3, 'N', -1, 3},
      {&NeighbourSums::s1to5, 'S', 1, 5}, {&NeighbourSums::sM1to3, 'S', -1, 3},
  };
  freshField();
  EntityBox b{};
  placeBox(b, 300, 200);
  auto cellOf = [&](char side, int a, int *x, int *y) {
    switch (side) {
    case 'E':
      *x = b.x + 5;
      *y = b.y + a;
      break;
    case 'W':
      *x = b.x - 1;
      *y = b.y + a;
      break;
    case 'N':
      *x = b.x + a;
      *y = b.y - 1;
      break;
    default:
      *x = b.x + a;
      *y = b.y + 5;
      break;
    }
  };
  for (char side : {'E', 'W', 'N', 'S'}) {
    for (int a = -1; a <= 5; ++a) {
      int cx = 0;
      int cy = 0;
      cellOf(side, a, &cx, &cy);
      cellAt(cx, cy) = CELL_TRACK;
      int32_t middle = probeRing(b);
      for (const Member &m : members) {
        int expected = 0;
        for (int o = m.from; o <= m.to; ++o) {
          int mx = 0;
          int my = 0;
          cellOf(m.side, o, &mx, &my);
          if (mx == cx && my == cy) {
            expected = CELL_TRACK;
          }
        }
        EXPECT_EQ(neighbourSums.*m.field, expected)
            << "member " << m.side << m.from << ".." << m.to << ", cell " << side << a;
      }
      const bool inMiddle = a >= 1 && a <= 3;
      EXPECT_EQ(middle, inMiddle ? CELL_TRACK : 0) << side << a;
      cellAt(cx, cy) = CELL_FREE;
    }
  }
  // Cells under the box itself belong to no sum.
  fillCells(300, 200, 304, 204, CELL_TRACK);
  EXPECT_EQ(probeRing(b), 0);
  EXPECT_EQ(neighbourSums.e1to5 + neighbourSums.wM1to3 + neighbourSums.n1to5 + neighbourSums.sM1to3,
            0);
}

TEST(PlayfieldProbes, CorridorsExactlyFiveCellsWide) {
  freshField();
  EntityBox b{};
  // A captured strip five rows high, running east and west.
  fillCells(100, 200, 400, 204, CELL_CAPTURED);
  placeBox(b, 200, 200);
  probeRing(b);
  EXPECT_TRUE(corridorAhead(SIDE_EAST));
  EXPECT_TRUE(corridorAhead(SIDE_WEST));
  EXPECT_FALSE(corridorAhead(SIDE_NORTH));
  EXPECT_FALSE(corridorAhead(SIDE_SOUTH));
  EXPECT_FALSE(corridorAhead(7));
  EXPECT_FALSE(corridorAhead(12));

  // Six rows high: SE and SW are captured, so no longer a corridor.
  fillCells(100, 205, 400, 205, CELL_CAPTURED);
  probeRing(b);
  EXPECT_FALSE(corridorAhead(SIDE_EAST));
  EXPECT_FALSE(corridorAhead(SIDE_WEST));

  // A passage five columns wide running north and south.
  freshField();
  fillCells(300, 100, 304, 400, CELL_CAPTURED);
  placeBox(b, 300, 250);
  probeRing(b);
  EXPECT_TRUE(corridorAhead(SIDE_NORTH));
  EXPECT_TRUE(corridorAhead(SIDE_SOUTH));
  EXPECT_FALSE(corridorAhead(SIDE_EAST));
  // A track cell across the passage ends it.
  cellAt(302, 255) = CELL_TRACK;
  probeRing(b);
  EXPECT_FALSE(corridorAhead(SIDE_SOUTH));
  EXPECT_TRUE(corridorAhead(SIDE_NORTH));
  // Six columns wide.
  fillCells(305, 100, 305, 400, CELL_CAPTURED);
  probeRing(b);
  EXPECT_FALSE(corridorAhead(SIDE_NORTH));
}
