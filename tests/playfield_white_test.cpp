#include <gtest/gtest.h>
#include "common/random.h"
#include "playfield_helpers.h"

namespace {

int32_t directionOf(int32_t dx, int32_t dy) {
  for (int32_t d = 0; d < 4; ++d) {
    if (DIRECTION_DX[d] == dx && DIRECTION_DY[d] == dy) {
      return d;
    }
  }
  return -1;
}

struct Flash {
  int32_t left, top, right, bottom, x, y;
};

// The flash shapes drawn around box b (before its move).
Flash barBelow(const EntityBox &b) { return {2, 16, 12, 19, 2 * b.x, 2 * b.outerBottom}; }
Flash barAbove(const EntityBox &b) { return {44, 23, 54, 26, 2 * b.x, 2 * b.outerTop - 1}; }
Flash barRight(const EntityBox &b) { return {16, 16, 19, 26, 2 * b.outerRight, 2 * b.y}; }
Flash barLeft(const EntityBox &b) { return {37, 16, 40, 26, 2 * b.outerLeft - 1, 2 * b.y}; }
Flash cornerFor(int32_t d, const EntityBox &b) {
  switch (d) {
  case 0:
    return {58, 16, 63, 21, 2 * b.outerRight, 2 * b.outerBottom};
  case 1:
    return {85, 16, 90, 21, 2 * b.outerRight, 2 * b.outerTop - 3};
  case 2:
    return {67, 16, 72, 21, 2 * b.outerLeft - 3, 2 * b.outerBottom};
  default:
    return {76, 16, 81, 21, 2 * b.outerLeft - 3, 2 * b.outerTop - 3};
  }
}

void expectFlash(const BounceFlash &f, const Flash &want, const char *what) {
  EXPECT_EQ(f.alpha, 240) << what;
  EXPECT_EQ(f.srcLeft, want.left) << what;
  EXPECT_EQ(f.srcTop, want.top) << what;
  EXPECT_EQ(f.srcRight, want.right) << what;
  EXPECT_EQ(f.srcBottom, want.bottom) << what;
  EXPECT_EQ(f.screenX, want.x) << what;
  EXPECT_EQ(f.screenY, want.y) << what;
}

int busySlots(const Enemy &e) {
  int n = 0;
  for (const BounceFlash &f : e.flashes) {
    n += f.alpha != 0 ? 1 : 0;
  }
  return n;
}

constexpr int32_t EX = 200;
constexpr int32_t EY = 200;

// The column just beside the enemy in its horizontal direction, and the row
// just beyond it vertically.
int32_t wallColumn(int32_t d) { return DIRECTION_DX[d] > 0 ? EX + 5 : EX - 1; }
int32_t floorRow(int32_t d) { return DIRECTION_DY[d] > 0 ? EY + 5 : EY - 1; }

void stepOne(int32_t d) {
  level = 1;
  putEnemy(whiteEnemies[0], EX, EY, d);
  stepWhiteEnemies();
}
} // namespace

TEST(WhiteEnemies, KeepGoingThroughFreeArea) {
  for (int32_t d = 0; d < 4; ++d) {
    freshField();
    stepOne(d);
    EXPECT_EQ(whiteEnemies[0].direction, d);
    EXPECT_EQ(whiteEnemies[0].box.x, EX + DIRECTION_DX[d]);
    EXPECT_EQ(whiteEnemies[0].box.y, EY + DIRECTION_DY[d]);
    EXPECT_EQ(busySlots(whiteEnemies[0]), 0);
    EXPECT_EQ(crashed, 0);
  }
}

TEST(WhiteEnemies, BounceOffWallsFloorsAndInsideCornersWithTheirFlashes) {
  for (int32_t d = 0; d < 4; ++d) {
    EntityBox b{};
    placeBox(b, EX, EY);
    const Flash wallBar = DIRECTION_DX[d] > 0 ? barRight(b) : barLeft(b);
    const Flash floorBar = DIRECTION_DY[d] > 0 ? barBelow(b) : barAbove(b);

    // A wall across the horizontal direction flips dx.
    freshField();
    fillCells(wallColumn(d), EY - 20, wallColumn(d), EY + 20, CELL_CAPTURED);
    stepOne(d);
    int32_t want = directionOf(-DIRECTION_DX[d], DIRECTION_DY[d]);
    EXPECT_EQ(whiteEnemies[0].direction, want) << "wall, d=" << d;
    EXPECT_EQ(whiteEnemies[0].box.x, EX + DIRECTION_DX[want]);
    EXPECT_EQ(whiteEnemies[0].box.y, EY + DIRECTION_DY[want]);
    EXPECT_EQ(whiteEnemies[0].flashActive, 1);
    EXPECT_EQ(busySlots(whiteEnemies[0]), 1);
    expectFlash(whiteEnemies[0].flashes[8], wallBar, "wall bar");

    // A floor (or ceiling) flips dy.
    freshField();
    fillCells(EX - 20, floorRow(d), EX + 20, floorRow(d), CELL_CAPTURED);
    stepOne(d);
    want = directionOf(DIRECTION_DX[d], -DIRECTION_DY[d]);
    EXPECT_EQ(whiteEnemies[0].direction, want) << "floor, d=" << d;
    EXPECT_EQ(busySlots(whiteEnemies[0]), 1);
    expectFlash(whiteEnemies[0].flashes[8], floorBar, "floor bar");

    // An inside corner reverses, with both bars.
    freshField();
    fillCells(wallColumn(d), EY - 20, wallColumn(d), EY + 20, CELL_CAPTURED);
    fillCells(EX - 20, floorRow(d), EX + 20, floorRow(d), CELL_CAPTURED);
    stepOne(d);
    want = 3 - d;
    EXPECT_EQ(whiteEnemies[0].direction, want) << "inside corner, d=" << d;
    EXPECT_EQ(busySlots(whiteEnemies[0]), 2);
    expectFlash(whiteEnemies[0].flashes[8], floorBar, "corner floor bar");
    expectFlash(whiteEnemies[0].flashes[7], wallBar, "corner wall bar");

    // A lone cell on the diagonal reverses too, with the corner flash.
    freshField();
    cellAt(wallColumn(d), floorRow(d)) = CELL_CAPTURED;
    stepOne(d);
    EXPECT_EQ(whiteEnemies[0].direction, want) << "lone corner, d=" << d;
    EXPECT_EQ(busySlots(whiteEnemies[0]), 1);
    expectFlash(whiteEnemies[0].flashes[8], cornerFor(d, b), "corner flash");
  }
}

TEST(WhiteEnemies, FlashSlotsFillFromTheTopAndAFullTableShowsNothing) {
  freshField();
  fillCells(wallColumn(0), EY - 20, wallColumn(0), EY + 20, CELL_CAPTURED);
  fillCells(EX - 20, floorRow(0), EX + 20, floorRow(0), CELL_CAPTURED);
  level = 1;
  putEnemy(whiteEnemies[0], EX, EY, 0);
  for (int k = 8; k >= 1; --k) {
    whiteEnemies[0].flashes[k].alpha = 100; // all busy but slot 0
  }
  stepWhiteEnemies();
  // Slot 0 takes the first bar; there is no slot -1 for the second.
  EXPECT_EQ(whiteEnemies[0].flashes[0].alpha, 240);
  EXPECT_EQ(whiteEnemies[0].flashes[0].srcLeft, 2);
  EXPECT_EQ(whiteEnemies[0].direction, 3);

  whiteEnemies[0].flashes[0].alpha = 8;
  whiteEnemies[0].flashActive = 0;
  putEnemy(whiteEnemies[0], EX, EY, 0);
  stepWhiteEnemies();
  EXPECT_EQ(whiteEnemies[0].direction, 3); // still bounces
  EXPECT_EQ(whiteEnemies[0].flashActive, 0);
  EXPECT_EQ(whiteEnemies[0].flashes[0].alpha, 8);
}

TEST(WhiteEnemies, TrackHitsByStruckSide) {
  // Down-right onto a floor, turning up-right: the south side was struck.
  auto floorHit = [](std::initializer_list<std::pair<int, uint8_t>> cells) {
    freshField();
    for (auto [offset, value] : cells) {
      cellAt(EX + offset, EY + 5) = value;
    }
    putEnemy(whiteEnemies[0], EX, EY, DIR_DOWN_RIGHT);
    probeRing(whiteEnemies[0].box); // the sums of the enemy's own step, as in play
    return bounceHitsTrack(whiteEnemies[0], DIR_UP_RIGHT);
  };
  const uint8_t track = CELL_TRACK;
  const uint8_t wall = CELL_CAPTURED;
  EXPECT_TRUE(floorHit({{2, track}}));
  // Middle captured: a wall hit, whatever else is track.
  EXPECT_FALSE(floorHit({{2, wall}, {1, track}, {4, track}}));
  // Middle free: the far part towards the corner decides first.
  EXPECT_TRUE(floorHit({{4, track}, {1, wall}}));
  EXPECT_TRUE(floorHit({{5, track}}));
  EXPECT_FALSE(floorHit({{3, wall}, {1, track}}));
  // Far part free: the near part.
  EXPECT_TRUE(floorHit({{1, track}}));
  // No track among the entered cells at all.
  EXPECT_FALSE(floorHit({{1, wall}, {2, wall}}));
}

TEST(WhiteEnemies, TrackHitsOnEveryBounceKind) {
  struct Case {
    int32_t d, dNew;
    char side;
    int offset;
    uint8_t value;
    bool hit;
  };
  // Cells on a side, by offset; the far part of an up-going enemy's east
  // side reaches up to its NE corner (offset -1).
  const Case cases[] = {
      {1, 3, 'E', -1, CELL_TRACK, true}, {1, 3, 'E', 0, CELL_TRACK, true},
      {1, 3, 'E', 3, CELL_TRACK, true},  {1, 0, 'N', 4, CELL_TRACK, true},
      {2, 3, 'S', 0, CELL_TRACK, true},  {2, 0, 'W', 5, CELL_TRACK, true},
      {3, 1, 'W', -1, CELL_TRACK, true}, {3, 2, 'N', 0, CELL_TRACK, true},
      {0, 2, 'E', 3, CELL_TRACK, true},
  };
  for (const Case &c : cases) {
    freshField();
    int x = c.side == 'E' ? EX + 5 : c.side == 'W' ? EX - 1 : EX + c.offset;
    int y = c.side == 'N' ? EY - 1 : c.side == 'S' ? EY + 5 : EY + c.offset;
    cellAt(x, y) = c.value;
    putEnemy(whiteEnemies[0], EX, EY, c.d);
    updateBox(whiteEnemies[0].box);
    probeRing(whiteEnemies[0].box);
    EXPECT_EQ(bounceHitsTrack(whiteEnemies[0], c.dNew), c.hit)
        << c.d << "->" << c.dNew << " " << c.side << c.offset;
    // The middle of the struck side captured makes it a wall hit.
    int mx = c.side == 'E' ? EX + 5 : c.side == 'W' ? EX - 1 : EX + 2;
    int my = c.side == 'N' ? EY - 1 : c.side == 'S' ? EY + 5 : EY + 2;
    if (mx != x || my != y) {
      cellAt(mx, my) = CELL_CAPTURED;
      probeRing(whiteEnemies[0].box);
      EXPECT_FALSE(bounceHitsTrack(whiteEnemies[0], c.dNew)) << "middle captured " << c.d;
    }
  }
  // A reversal is a track hit unless both middle cells are captured.
  freshField();
  fillCells(EX + 5, EY - 5, EX + 5, EY + 10, CELL_CAPTURED);
  fillCells(EX - 5, EY + 5, EX + 10, EY + 5, CELL_CAPTURED);
  cellAt(EX + 5, EY + 5) = CELL_TRACK;
  putEnemy(whiteEnemies[0], EX, EY, DIR_DOWN_RIGHT);
  probeRing(whiteEnemies[0].box);
  EXPECT_FALSE(bounceHitsTrack(whiteEnemies[0], DIR_UP_LEFT));
  cellAt(EX + 2, EY + 5) = CELL_TRACK;
  probeRing(whiteEnemies[0].box);
  EXPECT_TRUE(bounceHitsTrack(whiteEnemies[0], DIR_UP_LEFT));
}

TEST(WhiteEnemies, BounceOffTrackCrashesUnlessShielded) {
  freshField();
  layTrackRect(EX - 20, EY + 5, EX + 20, EY + 5); // a track floor below the enemy
  level = 2;
  putEnemy(whiteEnemies[0], EX, EY, DIR_DOWN_RIGHT);
  putEnemy(whiteEnemies[1], 600, 300, DIR_DOWN_RIGHT);
  trackShielded = 1;
  recolourTrackShielded();
  stepWhiteEnemies();
  EXPECT_EQ(crashed, 0);
  EXPECT_EQ(trackShielded, 0);
  EXPECT_TRUE(cellPainted(EX, EY + 5, COLOUR_TRACK)); // green again
  EXPECT_EQ(whiteEnemies[0].direction, DIR_UP_RIGHT);
  EXPECT_EQ(whiteEnemies[0].box.y, EY - 1);
  EXPECT_EQ(busySlots(whiteEnemies[0]), 0); // the shield took it: no flash

  // The next hit on the same track crashes, and the enemies after it wait.
  putEnemy(whiteEnemies[0], EX, EY, DIR_DOWN_RIGHT);
  stepWhiteEnemies();
  EXPECT_EQ(crashed, 1);
  EXPECT_EQ(crashCause, 4);
  EXPECT_EQ(whiteEnemies[0].spriteShift, 28);
  EXPECT_EQ(whiteEnemies[0].box.x, EX);
  EXPECT_EQ(whiteEnemies[1].box.x, 601);
  // Nothing moves while crashed.
  stepWhiteEnemies();
  EXPECT_EQ(whiteEnemies[1].box.x, 601);
}

TEST(WhiteEnemies, ContactWithThePlayer) {
  freshField();
  placeBox(playerBox, 300, 300);
  Enemy e{};
  auto touches = [&](int32_t x, int32_t y, int32_t d, int32_t pdx, int32_t pdy) {
    putEnemy(e, x, y, d);
    playerDx = pdx;
    playerDy = pdy;
    return whiteTouchesPlayer(e);
  };
  EXPECT_FALSE(touches(306, 300, 2, 0, 0)); // one free column between
  EXPECT_TRUE(touches(305, 300, 2, 0, 0));  // adjacent, coming closer
  EXPECT_TRUE(touches(302, 302, 0, 0, 0));  // overlapping
  EXPECT_FALSE(touches(305, 305, 2, 0, 0)); // only a corner touches
  EXPECT_FALSE(touches(304, 304, 3, 0, 0)); // overlap near a corner only
  EXPECT_TRUE(touches(305, 303, 2, 0, 0));

  // Moving apart: right of a player who moves right, itself moving right.
  EXPECT_FALSE(touches(305, 300, 0, 1, 0));
  EXPECT_FALSE(touches(305, 300, 1, 1, 0));
  EXPECT_TRUE(touches(305, 300, 2, 1, 0));
  // Left of a player moving left, itself moving left.
  EXPECT_FALSE(touches(295, 301, 3, -1, 0));
  EXPECT_TRUE(touches(295, 301, 0, -1, 0));
  // Below a player moving down, itself moving down; above, moving up.
  EXPECT_FALSE(touches(301, 305, 0, 0, 1));
  EXPECT_TRUE(touches(301, 305, 1, 0, 1));
  EXPECT_FALSE(touches(301, 295, 3, 0, -1));
  EXPECT_TRUE(touches(301, 295, 2, 0, -1));
  // Above a player moving sideways, heading up; below, heading down.
  EXPECT_FALSE(touches(302, 295, 1, 1, 0));
  EXPECT_FALSE(touches(302, 305, 2, -1, 0));
  EXPECT_TRUE(touches(302, 305, 1, -1, 0));
  // Beside a player moving vertically, heading away sideways.
  EXPECT_FALSE(touches(295, 302, 2, 0, 1));
  EXPECT_FALSE(touches(305, 302, 1, 0, -1));
  EXPECT_TRUE(touches(305, 302, 2, 0, -1));
  // Standing still: moving apart does not count.
  EXPECT_TRUE(touches(305, 300, 0, 0, 0));
}

TEST(WhiteEnemies, ContactCrashesOnlyWhileThePlayerIsOutInTheOpen) {
  freshField();
  level = 1;
  placeBox(playerBox, 300, 300);
  putEnemy(whiteEnemies[0], 305, 300, DIR_DOWN_LEFT);
  playerGround = GROUND_SAFE;
  stepWhiteEnemies();
  EXPECT_EQ(crashed, 0);
  putEnemy(whiteEnemies[0], 305, 300, DIR_DOWN_LEFT);
  playerGround = GROUND_OPEN;
  stepWhiteEnemies();
  EXPECT_EQ(crashed, 1);
  EXPECT_EQ(crashCause, 2);
  EXPECT_EQ(whiteEnemies[0].spriteShift, 28);
  EXPECT_EQ(whiteEnemies[0].box.x, 305); // did not move
}

TEST(WhiteEnemies, SlowedEnemiesMoveOnEverySecondFrameOnly) {
  freshField();
  level = 1;
  putEnemy(whiteEnemies[0], EX, EY, DIR_DOWN_RIGHT);
  enemiesSlowed = 1;
  slowFrameToggle = 0;
  stepWhiteEnemies();
  EXPECT_EQ(whiteEnemies[0].box.x, EX);
  slowFrameToggle = 1;
  stepWhiteEnemies();
  EXPECT_EQ(whiteEnemies[0].box.x, EX + 1);
  enemiesSlowed = 0;
  slowFrameToggle = 0;
  stepWhiteEnemies();
  EXPECT_EQ(whiteEnemies[0].box.x, EX + 2);
}

TEST(WhiteEnemies, PlacementDrawsPositionAndDirectionPerEnemy) {
  freshField();
  gameSrand(77);
  placeWhiteEnemies(200);
  gameSrand(77);
  for (int i = 0; i < 200; ++i) {
    const Enemy &e = whiteEnemies[i];
    int32_t x = gameRand() % 926 + 15;
    int32_t y = gameRand() % 481 + 15;
    int32_t d = gameRand() % 4;
    ASSERT_EQ(e.box.x, x);
    ASSERT_EQ(e.box.y, y);
    ASSERT_EQ(e.direction, d);
    ASSERT_EQ(e.box.outerBottom, y + 5);
    ASSERT_GE(e.box.x, 15);
    ASSERT_LE(e.box.right, 944);
    ASSERT_LE(e.box.bottom, 499);
  }
}
