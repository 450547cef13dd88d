// The player's step: arrow keys and the reversal rule, the edge stop, the
// track it lays, the own-track crash, the time bonus and the return to safety.
#include "game_helpers.h"
#include "playfield/painting.h"
#include "playfield/track_list.h"
#include <gtest/gtest.h>
#include <set>
#include <utility>

namespace {

int trackCellsIn(int left, int top, int right, int bottom) {
  int n = 0;
  for (int y = top; y <= bottom; ++y) {
    for (int x = left; x <= right; ++x) {
      n += cellAt(x, y) == CELL_TRACK ? 1 : 0;
    }
  }
  return n;
}

uint32_t capturedInteriorCells() {
  uint32_t n = 0;
  for (int y = 15; y <= 499; ++y) {
    for (int x = 15; x <= 944; ++x) {
      n += cellAt(x, y) == CELL_CAPTURED ? 1 : 0;
    }
  }
  return n;
}

uint32_t pixelOfCell(int x, int y) {
  const uint32_t *pixels = lockTexture(playfieldTexture);
  return pixels == nullptr ? 0 : pixels[(2 * y) * 1920 + 2 * x];
}

void startPlaying() {
  enterGame(1);
  skipCountdown();
  parkEnemies();
}

} // namespace

TEST(PlayerMovement, RunsAlongTheBorderToEachEdgeAndStops) {
  startPlaying();
  steer(VK_LEFT, 1);
  runFrames(500);
  EXPECT_EQ(playerBox.x, 0);
  EXPECT_EQ(playerMoving, 0);
  EXPECT_EQ(playerDx, 0);
  steer(VK_UP, 1);
  runFrames(10);
  EXPECT_EQ(playerBox.y, 0);
  EXPECT_EQ(playerMoving, 0);
  steer(VK_DOWN, 1);
  runFrames(520);
  EXPECT_EQ(playerBox.y, 510);
  EXPECT_EQ(playerBox.x, 0);
  EXPECT_EQ(playerMoving, 0);
  steer(VK_RIGHT, 1);
  runFrames(960);
  EXPECT_EQ(playerBox.x, 955);
  EXPECT_EQ(playerBox.bottom, 514);
  EXPECT_EQ(playerGround, GROUND_SAFE);
  EXPECT_EQ(playerMoving, 0);
  EXPECT_EQ(trackValueCount, 0);
}

TEST(PlayerMovement, ReversesOnSafeGroundAndHeldKeysKeepTheirOrder) {
  startPlaying();
  steer(VK_RIGHT, 3);
  EXPECT_EQ(playerBox.x, 481);
  steer(VK_LEFT, 1);
  EXPECT_EQ(playerDx, -1);
  EXPECT_EQ(playerBox.x, 480);
  // Right beats Left, Left beats Down, Down beats Up.
  pressKey(VK_LEFT);
  pressKey(VK_RIGHT);
  runFrames(1);
  EXPECT_EQ(playerDx, 1);
  releaseKey(VK_RIGHT);
  pressKey(VK_DOWN);
  runFrames(1);
  EXPECT_EQ(playerDx, -1);
  releaseKey(VK_LEFT);
  pressKey(VK_UP);
  runFrames(1);
  EXPECT_EQ(playerDy, 1);
  EXPECT_EQ(playerDx, 0);
  releaseKey(VK_DOWN);
  runFrames(1);
  EXPECT_EQ(playerDy, -1); // still on the border: up is allowed
  releaseKey(VK_UP);
}

TEST(PlayerMovement, ReversalIsRefusedInTheFreeAreaAndFallsThrough) {
  startPlaying();
  steer(VK_DOWN, 20);
  ASSERT_EQ(playerBox.y, 25);
  ASSERT_EQ(playerGround, GROUND_OPEN);
  steer(VK_UP, 2);
  EXPECT_EQ(playerDy, 1);
  EXPECT_EQ(playerBox.y, 27);
  steer(VK_RIGHT, 10);
  steer(VK_LEFT, 1);
  EXPECT_EQ(playerDx, 1);
  EXPECT_EQ(playerBox.x, 489);
  // Left is refused, so Up, held with it, is taken instead.
  pressKey(VK_LEFT);
  pressKey(VK_UP);
  runFrames(1);
  releaseKey(VK_LEFT);
  releaseKey(VK_UP);
  EXPECT_EQ(playerDx, 0);
  EXPECT_EQ(playerDy, -1);
  EXPECT_EQ(playerBox.x, 489);
  EXPECT_EQ(playerBox.y, 26);
}

TEST(PlayerTrack, EachDirectionLaysTheLineItLeftBehind) {
  startPlaying();
  steer(VK_DOWN, 20); // y 5 -> 25: rows 15..24 (the border rows stay captured)
  EXPECT_EQ(trackCellsIn(478, 15, 482, 24), 50);
  EXPECT_EQ(trackCellsIn(478, 10, 482, 14), 0);
  EXPECT_EQ(cellAt(478, 14), CELL_CAPTURED);
  EXPECT_EQ(trackCellsIn(478, 25, 482, 29), 0); // under the square: not yet
  ASSERT_GE(trackValueCount, 2);
  EXPECT_EQ(trackCells[0], 478);
  EXPECT_EQ(trackCells[1], 15);
  steer(VK_LEFT, 10); // x 478 -> 468: columns 482..473 at rows 25..29
  EXPECT_EQ(trackCellsIn(473, 25, 482, 29), 50);
  steer(VK_DOWN, 10); // y 25 -> 35: rows 25..34 at columns 468..472
  EXPECT_EQ(trackCellsIn(468, 25, 472, 34), 50);
  steer(VK_RIGHT, 10); // x 468 -> 478: columns 468..477 at rows 35..39
  EXPECT_EQ(trackCellsIn(468, 35, 477, 39), 50);
  steer(VK_UP, 3); // y 35 -> 32: rows 39..37 at columns 478..482
  EXPECT_EQ(trackCellsIn(478, 37, 482, 39), 15);
  EXPECT_EQ(crashed, 0);
  EXPECT_EQ(trackCellsIn(0, 0, 959, 514), 215);
  ASSERT_EQ(trackValueCount, 2 * 215);
  std::set<std::pair<int, int>> listed;
  for (int i = 0; i < trackValueCount; i += 2) {
    EXPECT_EQ(cellAt(trackCells[i], trackCells[i + 1]), CELL_TRACK);
    listed.insert({trackCells[i], trackCells[i + 1]});
  }
  EXPECT_EQ(listed.size(), 215u);
  EXPECT_EQ(pixelOfCell(470, 30), COLOUR_TRACK);
}

TEST(PlayerTrack, RunningIntoTheOwnTrackPutsThePlayerBackAndCrashes) {
  startPlaying();
  steer(VK_DOWN, 20);
  steer(VK_RIGHT, 10);
  steer(VK_UP, 1);
  ASSERT_EQ(crashed, 0);
  ASSERT_EQ(playerBox.x, 488);
  ASSERT_EQ(playerBox.y, 24);
  steer(VK_LEFT, 1); // column 487 is track
  EXPECT_EQ(crashed, 1);
  EXPECT_EQ(crashCause, CRASH_OWN_TRACK);
  EXPECT_EQ(crashHandled, 1); // processed in the same frame
  EXPECT_EQ(lives, 4);
  EXPECT_EQ(playerBox.x, 488);
  EXPECT_EQ(playerBox.y, 24);
  EXPECT_EQ(playerBox.outerLeft, 487);
  EXPECT_EQ(playerMoving, 0);
  EXPECT_EQ(playerSpriteShift, 70);
  EXPECT_EQ(cellAt(487, 25), CELL_TRACK);
  EXPECT_EQ(pixelOfCell(487, 25), COLOUR_TRACK_CRASH);
  EXPECT_EQ(pixelOfCell(480, 20), COLOUR_TRACK_CRASH);
  // Nothing moves any more, the time bonus included.
  const int32_t bonus = timeBonus;
  pressKey(VK_DOWN);
  runFrames(5);
  releaseKey(VK_DOWN);
  EXPECT_EQ(playerBox.y, 24);
  EXPECT_EQ(timeBonus, bonus);
}

TEST(PlayerTrack, ReturningToSafetyCapturesAndEndsShieldAndSlowing) {
  startPlaying();
  steer(VK_DOWN, 20);
  steer(VK_RIGHT, 10);
  trackShielded = 1;
  enemiesSlowed = 1;
  steer(VK_UP, 1);
  runFrames(30); // up into the border
  EXPECT_EQ(playerMoving, 0);
  EXPECT_EQ(playerGround, GROUND_SAFE);
  EXPECT_EQ(playerBox.y, 10);
  EXPECT_EQ(trackShielded, 0);
  EXPECT_EQ(enemiesSlowed, 0);
  EXPECT_EQ(trackValueCount, 0);
  EXPECT_EQ(trackCellsIn(0, 0, 959, 514), 0);
  // The pocket between the two trips and the track itself are captured; the
  // rest, with the white enemy in it, stays free.
  EXPECT_EQ(cellAt(485, 20), CELL_CAPTURED);
  EXPECT_EQ(cellAt(480, 27), CELL_CAPTURED);
  EXPECT_EQ(cellAt(600, 300), CELL_FREE);
  EXPECT_GT(capturedCells, 0u);
  EXPECT_EQ(capturedCells, capturedInteriorCells());
  EXPECT_EQ(levelComplete, 0);
}

TEST(PlayerTimeBonus, TenLessInEveryPlayingFrameAndNeverBelowZero) {
  enterGame(1);
  parkEnemies();
  runFrames(20); // countdown: untouched
  EXPECT_EQ(timeBonus, 100000);
  skipCountdown();
  runFrames(7); // standing still counts too
  EXPECT_EQ(timeBonus, 99930);
  timeBonus = 20;
  runFrames(5);
  EXPECT_EQ(timeBonus, 0);
}
