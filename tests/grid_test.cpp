#include "common/random.h"
#include "playfield/grid.h"
#include "state/entity_box.h"
#include <gtest/gtest.h>

TEST(Grid, LevelResetLeavesTheFrameCapturedAndTheGuardRingFree) {
  ASSERT_TRUE(allocatePlayfield());
  std::fill(playfield, playfield + GRID_BYTES, 7); // leftovers of a previous level
  resetPlayfieldGrid();
  EXPECT_EQ(cellAt(14, 100), CELL_CAPTURED);
  EXPECT_EQ(cellAt(15, 100), CELL_FREE);
  EXPECT_EQ(cellAt(944, 100), CELL_FREE);
  EXPECT_EQ(cellAt(945, 100), CELL_CAPTURED);
  EXPECT_EQ(cellAt(500, 14), CELL_CAPTURED);
  EXPECT_EQ(cellAt(500, 15), CELL_FREE);
  EXPECT_EQ(cellAt(500, 499), CELL_FREE);
  EXPECT_EQ(cellAt(500, 500), CELL_CAPTURED);
  EXPECT_EQ(cellAt(-1, 0), CELL_FREE);
  EXPECT_EQ(cellAt(960, 514), CELL_FREE);
  EXPECT_EQ(cellAt(0, 515), CELL_FREE);
  EXPECT_EQ(cellAt(-1, -1), CELL_FREE);
  long sum = 0;
  for (int i = 0; i < GRID_BYTES; ++i) {
    sum += playfield[i];
  }
  EXPECT_EQ(sum, 43350);
  // The spare row after the block reads as free, like the guard ring.
  EXPECT_EQ(cellAt(0, 516), CELL_FREE);
}

TEST(Grid, CellAddressingUsesTheStrideOf962) {
  ASSERT_TRUE(allocatePlayfield());
  resetPlayfieldGrid();
  cellAt(0, 0) = CELL_TRACK;
  EXPECT_EQ(playfield[GRID_STRIDE + 1], CELL_TRACK);
  cellAt(959, 514) = CELL_TRACK;
  EXPECT_EQ(playfield[515 * GRID_STRIDE + 960], CELL_TRACK);
}

TEST(Grid, BoxDerivedFields) {
  EntityBox b{};
  placeBox(b, 478, 5);
  EXPECT_EQ(b.right, 482);
  EXPECT_EQ(b.bottom, 9);
  EXPECT_EQ(b.outerLeft, 477);
  EXPECT_EQ(b.outerRight, 483);
  EXPECT_EQ(b.outerTop, 4);
  EXPECT_EQ(b.outerBottom, 10);
}

TEST(Random, SequenceFromASeedAndItsRange) {
  gameSrand(1);
  EXPECT_EQ(gameRand(), 41);
  EXPECT_EQ(gameRand(), 18467);
  EXPECT_EQ(gameRand(), 6334);
  gameSrand(12345);
  int low = 32767;
  int high = 0;
  for (int i = 0; i < 100000; ++i) {
    int v = gameRand();
    low = std::min(low, v);
    high = std::max(high, v);
  }
  EXPECT_EQ(low, 0);
  EXPECT_EQ(high, 32767);
  // rand() * rand() + 1 stays within 32-bit signed range.
  EXPECT_LE(int64_t(32767) * 32767 + 1, INT32_MAX);
}
