#include <gtest/gtest.h>
#include "audio/audio.h"
#include "playfield/capture.h"
#include "playfield/items.h"
#include "playfield_helpers.h"

namespace {
// The track's own cells go through the real track drawing, so the list and
// the picture hold them as a game would.
void verticalTrack(int x) { layTrackRect(x, 15, x + 4, 499); }

void capture() {
  markWhiteEnemyRegions();
  captureEnclosedAreas();
}

long countCells(int x0, int y0, int x1, int y1, uint8_t value) {
  long n = 0;
  for (int y = y0; y <= y1; ++y) {
    for (int x = x0; x <= x1; ++x) {
      n += cellAt(x, y) == value ? 1 : 0;
    }
  }
  return n;
}

// Outside a capture the grid holds only free, captured and track cells, and
// the captured count matches the interior.
void expectCleanGrid(uint32_t expectedCaptured) {
  long captured = 0;
  for (int y = -1; y <= FIELD_HEIGHT; ++y) {
    for (int x = -1; x <= FIELD_WIDTH; ++x) {
      const uint8_t c = cellAt(x, y);
      ASSERT_TRUE(c == CELL_FREE || c == CELL_CAPTURED || c == CELL_TRACK) << x << "," << y;
      const bool interior = x >= 15 && x <= 944 && y >= 15 && y <= 499;
      if (!interior) {
        ASSERT_EQ(c, (x < 0 || y < 0 || x >= FIELD_WIDTH || y >= FIELD_HEIGHT) ? CELL_FREE
                                                                               : CELL_CAPTURED);
      } else if (c == CELL_CAPTURED) {
        ++captured;
      }
    }
  }
  EXPECT_EQ(captured, static_cast<long>(expectedCaptured));
  EXPECT_EQ(capturedCells, expectedCaptured);
}

constexpr uint32_t TRACK_CELLS = 5 * 485;
} // namespace

TEST(Capture, RegionWithoutAnEnemyIsCapturedAndPaintedTheOtherKept) {
  freshField();
  level = 1;
  putEnemy(whiteEnemies[0], 200, 200, DIR_DOWN_RIGHT);
  verticalTrack(400);
  ASSERT_EQ(trackValueCount, 2 * static_cast<int32_t>(TRACK_CELLS));
  capture();
  expectCleanGrid(540 * 485 + TRACK_CELLS);
  EXPECT_EQ(trackValueCount, 0);
  EXPECT_EQ(countCells(15, 15, 399, 499, CELL_FREE), 385 * 485);
  EXPECT_TRUE(cellPainted(700, 300, COLOUR_CAPTURED));
  EXPECT_TRUE(cellPainted(402, 300, COLOUR_CAPTURED)); // the track
  EXPECT_TRUE(cellPainted(944, 499, COLOUR_CAPTURED));
  EXPECT_TRUE(cellPainted(399, 300, COLOUR_FREE));
  EXPECT_TRUE(cellPainted(15, 15, COLOUR_FREE));
  EXPECT_EQ(levelComplete, 0);
  EXPECT_EQ(percentWhole, 58); // 264325 of 451050
}

TEST(Capture, TwoEnemiesInOneRegionAndOneInEach) {
  freshField();
  level = 2;
  putEnemy(whiteEnemies[0], 200, 200, DIR_DOWN_RIGHT);
  putEnemy(whiteEnemies[1], 100, 400, DIR_UP_LEFT);
  verticalTrack(400);
  capture();
  expectCleanGrid(540 * 485 + TRACK_CELLS);

  freshField();
  level = 2;
  putEnemy(whiteEnemies[0], 200, 200, DIR_DOWN_RIGHT);
  putEnemy(whiteEnemies[1], 700, 400, DIR_UP_LEFT);
  verticalTrack(400);
  capture();
  expectCleanGrid(TRACK_CELLS); // only the track: both sides hold an enemy
}

TEST(Capture, LoopTrackCapturesItsInsideOnce) {
  freshField();
  level = 1;
  putEnemy(whiteEnemies[0], 700, 400, DIR_DOWN_RIGHT);
  // Out from the top frame and back to it beside the start: a loop of
  // track, five cells thick, around a pocket without an enemy.
  layTrackRect(300, 15, 304, 300);
  layTrackRect(305, 296, 500, 300);
  layTrackRect(496, 15, 500, 295);
  const int32_t listed = trackValueCount / 2;
  EXPECT_EQ(listed, 201 * 286 - 191 * 281);
  capture();
  expectCleanGrid(201 * 286); // the loop and its inside, each cell once
  EXPECT_EQ(cellAt(299, 250), CELL_FREE);
  EXPECT_EQ(cellAt(501, 250), CELL_FREE);
  EXPECT_EQ(cellAt(600, 250), CELL_FREE);
  EXPECT_EQ(cellAt(400, 301), CELL_FREE);
  EXPECT_EQ(cellAt(400, 250), CELL_CAPTURED);
  EXPECT_TRUE(cellPainted(400, 250, COLOUR_CAPTURED));
  EXPECT_TRUE(cellPainted(600, 250, COLOUR_FREE));
}

TEST(Capture, SpurOfTrackInsideAnEnemyRegionBecomesCapturedAlone) {
  freshField();
  level = 1;
  putEnemy(whiteEnemies[0], 700, 400, DIR_DOWN_RIGHT);
  // A track from the top frame that ends in the open: the region is whole.
  layTrackRect(400, 15, 404, 200);
  capture();
  expectCleanGrid(5 * 186);
  EXPECT_EQ(cellAt(405, 100), CELL_FREE);
  EXPECT_EQ(cellAt(399, 100), CELL_FREE);
  EXPECT_EQ(cellAt(402, 201), CELL_FREE);
}

TEST(Capture, ShapedRegionsKeepEveryCellOfTheEnemysSide) {
  // A staircase-shaped divide: each step of the track is a rectangle.
  freshField();
  level = 1;
  putEnemy(whiteEnemies[0], 30, 450, DIR_DOWN_RIGHT);
  for (int i = 0; i < 8; ++i) {
    layTrackRect(100 + 40 * i, 15 + 40 * i, 144 + 40 * i, 59 + 40 * i);
  }
  layTrackRect(420, 335, 464, 499);
  // Count what the enemy's side should keep with a plain flood fill.
  std::vector<uint8_t> seen(static_cast<size_t>(FIELD_WIDTH) * FIELD_HEIGHT, 0);
  std::vector<std::pair<int, int>> todo{{30, 450}};
  long kept = 0;
  while (!todo.empty()) {
    auto [x, y] = todo.back();
    todo.pop_back();
    if (x < 0 || y < 0 || x >= FIELD_WIDTH || y >= FIELD_HEIGHT) {
      continue;
    }
    size_t i = static_cast<size_t>(y) * FIELD_WIDTH + x;
    if (seen[i] || cellAt(x, y) != CELL_FREE) {
      continue;
    }
    seen[i] = 1;
    ++kept;
    todo.push_back({x + 1, y});
    todo.push_back({x - 1, y});
    todo.push_back({x, y + 1});
    todo.push_back({x, y - 1});
  }
  capture();
  expectCleanGrid(static_cast<uint32_t>(INTERIOR_CELLS - kept));
  EXPECT_EQ(countCells(15, 15, 944, 499, CELL_FREE), kept);
}

TEST(Capture, TraceCutOffAfterTenThousandSteps) {
  freshField();
  level = 1;
  putEnemy(whiteEnemies[0], 20, 490, DIR_DOWN_RIGHT);
  // A comb of one-cell teeth hanging from the top frame: the outline of the
  // enemy's region is far longer than the tracer may walk.
  for (int x = 30; x < 940; x += 10) {
    fillCells(x, 15, x, 480, CELL_CAPTURED);
  }
  markWhiteEnemyRegions();
  EXPECT_EQ(countCells(15, 15, 944, 499, CELL_BOUNDARY_MARK), TRACE_STEP_LIMIT);
  captureEnclosedAreas();
  for (int y = 15; y <= 499; ++y) {
    for (int x = 15; x <= 944; ++x) {
      ASSERT_NE(cellAt(x, y), CELL_BOUNDARY_MARK);
    }
  }
  // The first teeth were outlined and stay free; beyond the cut the
  // region is captured.
  EXPECT_EQ(cellAt(35, 300), CELL_FREE);
  EXPECT_EQ(cellAt(935, 300), CELL_CAPTURED);
}

TEST(Capture, EnemyWhoseRegionIsAlreadyOutlinedOrAtTheTopIsSkipped) {
  freshField();
  level = 2;
  putEnemy(whiteEnemies[0], 200, 200, DIR_DOWN_RIGHT);
  putEnemy(whiteEnemies[1], 210, 300, DIR_DOWN_RIGHT);
  verticalTrack(400);
  markWhiteEnemyRegions();
  const long marks = countCells(15, 15, 944, 499, CELL_BOUNDARY_MARK);
  level = 1;
  markWhiteEnemyRegions(); // a second pass finds the marks and adds nothing
  EXPECT_EQ(countCells(15, 15, 944, 499, CELL_BOUNDARY_MARK), marks);
  captureEnclosedAreas();
  // An enemy with its box at row 0 (never in play) is skipped.
  freshField();
  level = 1;
  putEnemy(whiteEnemies[0], 200, 0, DIR_DOWN_RIGHT);
  markWhiteEnemyRegions();
  EXPECT_EQ(countCells(0, 0, 959, 514, CELL_BOUNDARY_MARK), 0);
}

TEST(Capture, ItemsLeaveWithOneCapturedCornerAndStayWhenOnlyTouching) {
  freshField();
  level = 1;
  putEnemy(whiteEnemies[0], 200, 200, DIR_DOWN_RIGHT);
  verticalTrack(400);
  for (BonusItem &item : bonusItems) {
    item.active = 0;
  }
  bonusItems[0].active = 1;
  placeBox(bonusItems[0].box, 396, 100); // its right corners land on the track
  bonusItems[1].active = 1;
  placeBox(bonusItems[1].box, 395, 200); // right edge next to the track
  bonusItems[2].active = 1;
  placeBox(bonusItems[2].box, 700, 300); // wholly in the captured region
  bonusItems[3].active = 1;
  placeBox(bonusItems[3].box, 100, 300); // in the kept region
  capture();
  EXPECT_EQ(bonusItems[0].active, 0);
  EXPECT_EQ(bonusItems[1].active, 1);
  EXPECT_EQ(bonusItems[2].active, 0);
  EXPECT_EQ(bonusItems[3].active, 1);
}

TEST(Capture, CompletingCaptureScoresTheLevel) {
  freshField(3);
  putEnemy(whiteEnemies[0], 50, 200, DIR_DOWN_RIGHT);
  putEnemy(whiteEnemies[1], 60, 300, DIR_DOWN_RIGHT);
  putEnemy(whiteEnemies[2], 70, 400, DIR_DOWN_RIGHT);
  timeBonus = 5000;
  totalScore = 1000;
  verticalTrack(100);
  capture();
  expectCleanGrid(409825); // 90.86021%
  EXPECT_EQ(levelComplete, 1);
  EXPECT_EQ(percentWhole, 90);
  EXPECT_EQ(percentHundredths, 86);
  EXPECT_EQ(percentTenThousandths, 8602);
  EXPECT_EQ(basicScore, 908602u);
  EXPECT_EQ(levelScore, 5000 + 12 * 908602 / 10);
  EXPECT_EQ(totalScore, 1000u + 5000u + 1090322u);
  EXPECT_EQ(completionEffect(capturedPercent), EFFECT_LEVEL_DONE_90);
}
