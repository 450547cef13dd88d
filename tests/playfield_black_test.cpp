#include <gtest/gtest.h>
#include "common/random.h"
#include "playfield_helpers.h"

namespace {

constexpr int32_t BX = 300;
constexpr int32_t BY = 300;

Enemy &stepOneBlack(int32_t x, int32_t y, int32_t d) {
  blackEnemyCount = 1;
  putEnemy(blackEnemies[0], x, y, d);
  stepBlackEnemies();
  return blackEnemies[0];
}
} // namespace

TEST(BlackEnemies, CountsAndPlacementAtTheBottomBorder) {
  freshField();
  const std::pair<int32_t, uint32_t> counts[] = {{1, 1}, {3, 1},    {4, 2},    {7, 2},
                                                 {8, 3}, {155, 39}, {156, 40}, {200, 40}};
  for (auto [lvl, count] : counts) {
    placeBlackEnemies(lvl);
    EXPECT_EQ(blackEnemyCount, count) << "level " << lvl;
  }
  // Replaying the draws: x, y and direction per enemy, bases alternating
  // right and left of 478 in steps of 20, odd enemies opposite their neighbour.
  for (uint32_t seed : {1u, 99u, 4242u}) {
    gameSrand(seed);
    placeBlackEnemies(200);
    gameSrand(seed);
    const int32_t bases[6] = {478, 498, 458, 518, 438, 538};
    int32_t evenDirection = 0;
    for (int32_t i = 0; i < 40; ++i) {
      int32_t base = i < 6 ? bases[i] : (i % 2 ? 478 + 10 * (i + 1) : 478 - 10 * i);
      int32_t x = base + gameRand() % 9 - 4;
      int32_t y = 515 - (gameRand() % 9 + 6);
      int32_t d = gameRand() % 4;
      const Enemy &e = blackEnemies[i];
      ASSERT_EQ(e.box.x, x) << i;
      ASSERT_EQ(e.box.y, y) << i;
      ASSERT_GE(e.box.y, 501);
      ASSERT_LE(e.box.y, 509);
      ASSERT_EQ(e.box.outerRight, x + 5);
      ASSERT_EQ(e.edgeNudged, 0);
      if (i % 2 == 0) {
        evenDirection = d;
        ASSERT_EQ(e.direction, d);
      } else {
        ASSERT_EQ(e.direction, 3 - evenDirection) << i;
      }
    }
    const int32_t next = gameRand();
    gameSrand(seed);
    placeBlackEnemies(200);
    EXPECT_EQ(gameRand(), next); // exactly 120 draws were used
  }
}

TEST(BlackEnemies, DiagonalBouncesOffFreeCells) {
  for (int32_t d = 0; d < 4; ++d) {
    const int32_t wallX = DIRECTION_DX[d] > 0 ? BX + 5 : BX - 1;
    const int32_t floorY = DIRECTION_DY[d] > 0 ? BY + 5 : BY - 1;
    auto directionOf = [](int32_t dx, int32_t dy) {
      for (int32_t k = 0; k < 4; ++k) {
        if (DIRECTION_DX[k] == dx && DIRECTION_DY[k] == dy) {
          return k;
        }
      }
      return -1;
    };

    freshField();
    captureInterior();
    Enemy &e = stepOneBlack(BX, BY, d);
    EXPECT_EQ(e.direction, d) << "open ground, d=" << d;
    EXPECT_EQ(e.box.x, BX + DIRECTION_DX[d]);
    EXPECT_EQ(e.box.y, BY + DIRECTION_DY[d]);

    freshField();
    captureInterior();
    fillCells(wallX, BY - 20, wallX, BY + 20, CELL_FREE);
    EXPECT_EQ(stepOneBlack(BX, BY, d).direction, directionOf(-DIRECTION_DX[d], DIRECTION_DY[d])) << "wall, d=" << d;

    freshField();
    captureInterior();
    fillCells(BX - 20, floorY, BX + 20, floorY, CELL_FREE);
    EXPECT_EQ(stepOneBlack(BX, BY, d).direction, directionOf(DIRECTION_DX[d], -DIRECTION_DY[d])) << "floor, d=" << d;

    freshField();
    captureInterior();
    fillCells(wallX, BY - 20, wallX, BY + 20, CELL_FREE);
    fillCells(BX - 20, floorY, BX + 20, floorY, CELL_FREE);
    Enemy &r = stepOneBlack(BX, BY, d);
    EXPECT_EQ(r.direction, 3 - d) << "inside corner, d=" << d;
    EXPECT_EQ(r.box.x, BX - DIRECTION_DX[d]);
    EXPECT_EQ(r.box.y, BY - DIRECTION_DY[d]);

    // A lone free cell on the diagonal: the first alternative that the
    // ground allows, which flips dy going down and dx going up.
    freshField();
    captureInterior();
    cellAt(wallX, floorY) = CELL_FREE;
    const int32_t lone = DIRECTION_DY[d] > 0 ? directionOf(DIRECTION_DX[d], -DIRECTION_DY[d]) : directionOf(-DIRECTION_DX[d], DIRECTION_DY[d]);
    EXPECT_EQ(stepOneBlack(BX, BY, d).direction, lone) << "lone free corner, d=" << d;

    // A track cell on the diagonal with full edges: the corner rule reverses.
    freshField();
    captureInterior();
    cellAt(wallX, floorY) = CELL_TRACK;
    Enemy &c = stepOneBlack(BX, BY, d);
    EXPECT_EQ(c.direction, 3 - d) << "track corner, d=" << d;
    EXPECT_EQ(crashed, 0); // corners are not among the middle ring cells
  }
  // The bottom frame: the guard row below reads as free.
  freshField();
  EXPECT_EQ(stepOneBlack(300, 510, DIR_DOWN_RIGHT).direction, DIR_UP_RIGHT);
  EXPECT_EQ(blackEnemies[0].box.y, 509);
}

TEST(BlackEnemies, CorridorEntryRunAndExitWithSeededDraws) {
  for (uint32_t seed : {3u, 17u, 2024u, 65535u}) {
    freshField();
    fillCells(100, 200, 300, 204, CELL_CAPTURED); // a strip five cells high
    fillCells(301, 120, 420, 300, CELL_CAPTURED); // ending in a wide block
    gameSrand(seed);
    Enemy &e = stepOneBlack(150, 200, DIR_DOWN_RIGHT);
    EXPECT_EQ(e.direction, DIR_RIGHT); // arriving diagonally, it turns along the strip
    EXPECT_EQ(e.box.x, 151);
    EXPECT_EQ(e.box.y, 200);
    // Along the strip every step draws the side-turn chance; no side is
    // open, so it keeps going. Where the block begins nothing is drawn.
    while (e.box.x < 301) {
      stepBlackEnemies();
      ASSERT_EQ(e.direction, DIR_RIGHT) << e.box.x;
      ASSERT_EQ(e.box.y, 200);
    }
    // Inside the block both diagonals are open: a coin decides.
    stepBlackEnemies();
    gameSrand(seed);
    for (int i = 0; i < 295 - 151 + 1; ++i) {
      gameRand();
    }
    const int32_t coin = gameRand() % 2;
    EXPECT_EQ(e.direction, coin ? DIR_DOWN_RIGHT : DIR_UP_RIGHT) << "seed " << seed;
    EXPECT_EQ(e.box.x, 302);
  }
}

TEST(BlackEnemies, SideTurnsIntoCrossingPassages) {
  int turnedNorth = 0;
  int turnedSouth = 0;
  int kept = 0;
  for (uint32_t seed = 1; seed <= 40; ++seed) {
    freshField();
    fillCells(100, 200, 400, 204, CELL_CAPTURED); // east-west passage
    fillCells(200, 100, 204, 300, CELL_CAPTURED); // crossing north-south passage
    gameSrand(seed);
    Enemy &e = stepOneBlack(200, 200, DIR_RIGHT);
    gameSrand(seed);
    int32_t want = DIR_RIGHT;
    if (gameRand() % 3 == 0) {
      want = gameRand() % 2 == 0 ? DIR_UP : DIR_DOWN;
    }
    const int32_t next = gameRand();
    ASSERT_EQ(e.direction, want) << "seed " << seed;
    ASSERT_EQ(e.box.x, 200 + DIRECTION_DX[want]);
    ASSERT_EQ(e.box.y, 200 + DIRECTION_DY[want]);
    gameSrand(seed);
    stepOneBlack(200, 200, DIR_RIGHT);
    ASSERT_EQ(gameRand(), next) << "draws used, seed " << seed;
    turnedNorth += want == DIR_UP;
    turnedSouth += want == DIR_DOWN;
    kept += want == DIR_RIGHT;
  }
  EXPECT_GT(turnedNorth, 0);
  EXPECT_GT(turnedSouth, 0);
  EXPECT_GT(kept, 0);

  // A side passage on one side only needs no coin.
  for (uint32_t seed = 1; seed <= 20; ++seed) {
    freshField();
    fillCells(150, 200, 400, 204, CELL_CAPTURED); // the passage the enemy runs along
    fillCells(200, 100, 204, 199, CELL_CAPTURED); // a side passage to the north only
    gameSrand(seed);
    Enemy &e = stepOneBlack(200, 200, DIR_RIGHT);
    gameSrand(seed);
    const int32_t want = gameRand() % 3 == 0 ? DIR_UP : DIR_RIGHT;
    const int32_t next = gameRand();
    ASSERT_EQ(e.direction, want) << "seed " << seed;
    gameSrand(seed);
    stepOneBlack(200, 200, DIR_RIGHT);
    ASSERT_EQ(gameRand(), next);
  }
}

TEST(BlackEnemies, StraightRunEndsInPerpendicularTurnOrTheLastCorridorExit) {
  // Moving right into a north-south passage: no diagonal, both sides open.
  for (uint32_t seed : {5u, 6u, 7u, 8u}) {
    freshField();
    fillCells(205, 100, 209, 300, CELL_CAPTURED);
    gameSrand(seed);
    Enemy &e = stepOneBlack(205, 200, DIR_RIGHT);
    gameSrand(seed);
    const int32_t want = gameRand() % 2 == 0 ? DIR_UP : DIR_DOWN;
    EXPECT_EQ(e.direction, want);
  }
  // Moving down into an east-west passage that is open to the east only.
  freshField();
  fillCells(300, 300, 400, 304, CELL_CAPTURED);
  EXPECT_EQ(stepOneBlack(300, 300, DIR_DOWN).direction, DIR_RIGHT);
  // Nothing open at all: it keeps its direction.
  freshField();
  EXPECT_EQ(stepOneBlack(300, 300, DIR_UP).direction, DIR_UP);
  // Leaving a passage upward into open captured ground: a coin picks the diagonal.
  for (uint32_t seed : {11u, 12u, 13u, 14u}) {
    freshField();
    captureInterior();
    gameSrand(seed);
    Enemy &e = stepOneBlack(300, 300, DIR_UP);
    gameSrand(seed);
    EXPECT_EQ(e.direction, gameRand() % 2 ? DIR_UP_RIGHT : DIR_UP_LEFT);
  }
  // Only one diagonal allowed: no draw.
  freshField();
  captureInterior();
  cellAt(BX - 1, BY - 1) = CELL_FREE; // NW: up-left is closed
  gameSrand(9);
  const int32_t first = gameRand();
  gameSrand(9);
  EXPECT_EQ(stepOneBlack(BX, BY, DIR_UP).direction, DIR_UP_RIGHT);
  EXPECT_EQ(gameRand(), first);
}

TEST(BlackEnemies, LeftEdgeNudgeAndItsCancelAtTheRightEdge) {
  freshField();
  // Bouncing off the left edge coming down-left: one extra row downward.
  Enemy &e = stepOneBlack(0, 300, DIR_DOWN_LEFT);
  EXPECT_EQ(e.direction, DIR_DOWN_RIGHT);
  EXPECT_EQ(e.box.x, 1);
  EXPECT_EQ(e.box.y, 302);
  EXPECT_EQ(e.edgeNudged, 1);
  // Once nudged, the next bounce there is plain.
  putEnemy(e, 0, 300, DIR_DOWN_LEFT);
  e.edgeNudged = 1;
  stepBlackEnemies();
  EXPECT_EQ(e.box.y, 301);
  // Leaving the right edge heading left cancels it.
  putEnemy(e, 955, 300, DIR_DOWN_RIGHT);
  e.edgeNudged = 1;
  stepBlackEnemies();
  EXPECT_EQ(e.direction, DIR_DOWN_LEFT);
  EXPECT_EQ(e.edgeNudged, 0);
  EXPECT_EQ(e.box.x, 954);
  EXPECT_EQ(e.box.y, 301);
  // Upward the same: one extra row up.
  putEnemy(e, 0, 300, DIR_UP_LEFT);
  stepBlackEnemies();
  EXPECT_EQ(e.direction, DIR_UP_RIGHT);
  EXPECT_EQ(e.box.y, 298);
  EXPECT_EQ(e.edgeNudged, 1);
  // Not at the edge: no nudge.
  freshField();
  fillCells(299, 290, 299, 320, CELL_CAPTURED);
  captureInterior();
  fillCells(294, 280, 299, 330, CELL_FREE);
  Enemy &f = stepOneBlack(300, 300, DIR_DOWN_LEFT);
  EXPECT_EQ(f.direction, DIR_DOWN_RIGHT);
  EXPECT_EQ(f.box.y, 301);
  EXPECT_EQ(f.edgeNudged, 0);
}

TEST(BlackEnemies, NudgedIntoTheBottomLeftCornerItStaysInsideTheBlock) {
  freshField();
  Enemy &e = stepOneBlack(0, 509, DIR_DOWN_LEFT);
  EXPECT_EQ(e.box.x, 1);
  EXPECT_EQ(e.box.y, 511); // below the field's last row: its probes read the spare row
  for (int i = 0; i < 2000 && crashed == 0; ++i) {
    stepBlackEnemies();
    ASSERT_GE(e.box.x, 0);
    ASSERT_LE(e.box.x, 955);
    ASSERT_GE(e.box.y, 0);
    ASSERT_LE(e.box.y, 511);
  }
  EXPECT_EQ(cellAt(0, 516), CELL_FREE);
}

TEST(BlackEnemies, ContactWithThePlayerAnywhereExceptTheExactCorner) {
  freshField();
  captureInterior();
  placeBox(playerBox, BX, BY);
  playerGround = GROUND_SAFE;
  stepOneBlack(BX + 5, BY + 5, DIR_DOWN_RIGHT);
  EXPECT_EQ(crashed, 0);
  stepOneBlack(BX - 5, BY - 5, DIR_UP_LEFT);
  EXPECT_EQ(crashed, 0);
  Enemy &e = stepOneBlack(BX + 5, BY + 4, DIR_DOWN_RIGHT);
  EXPECT_EQ(crashed, 1);
  EXPECT_EQ(crashCause, 1);
  EXPECT_EQ(e.spriteShift, 28);
  EXPECT_EQ(e.box.x, BX + 5); // did not move
  crashed = 0;
  stepOneBlack(BX - 6, BY, DIR_UP_LEFT);
  EXPECT_EQ(crashed, 0);
  stepOneBlack(BX + 2, BY - 5, DIR_UP_LEFT);
  EXPECT_EQ(crashed, 1);
}

TEST(BlackEnemies, TrackInTheMiddleRingIsAHitOnTheTrack) {
  freshField();
  captureInterior();
  fillCells(BX + 5, BY + 2, BX + 5, BY + 2, CELL_FREE);
  drawTrackColumn(BX + 5, BY + 2, BY + 3); // E(2): a middle ring cell
  blackEnemyCount = 2;
  putEnemy(blackEnemies[0], BX, BY, DIR_DOWN_RIGHT);
  putEnemy(blackEnemies[1], 600, 300, DIR_DOWN_RIGHT);
  stepBlackEnemies();
  EXPECT_EQ(crashed, 1);
  EXPECT_EQ(crashCause, 3); // without touching the player
  EXPECT_EQ(blackEnemies[0].spriteShift, 28);
  EXPECT_EQ(blackEnemies[1].box.x, 600); // the step ended there

  // With the shield: used up, the track turns green, the enemy goes on.
  crashed = 0;
  blackEnemies[0].spriteShift = 0;
  trackShielded = 1;
  recolourTrackShielded();
  ASSERT_TRUE(cellPainted(BX + 5, BY + 2, COLOUR_TRACK_SHIELDED));
  stepBlackEnemies();
  EXPECT_EQ(crashed, 0);
  EXPECT_EQ(trackShielded, 0);
  EXPECT_TRUE(cellPainted(BX + 5, BY + 2, COLOUR_TRACK));
  EXPECT_NE(blackEnemies[0].box.x, BX);
  EXPECT_EQ(blackEnemies[1].box.x, 601);

  // Touching the player with a track cell in the ring counts as the track.
  freshField();
  captureInterior();
  placeBox(playerBox, BX + 5, BY);
  cellAt(BX + 2, BY - 1) = CELL_TRACK; // N(2)
  stepOneBlack(BX, BY, DIR_DOWN_RIGHT);
  EXPECT_EQ(crashCause, 3);
  // A track cell at a ring corner is no hit.
  freshField();
  captureInterior();
  cellAt(BX - 1, BY - 1) = CELL_TRACK;
  stepOneBlack(BX, BY, DIR_DOWN_RIGHT);
  EXPECT_EQ(crashed, 0);
}

TEST(BlackEnemies, NoStepWhileCrashedOrAfterTheLevelIsWon) {
  freshField();
  captureInterior();
  levelComplete = 1;
  EXPECT_EQ(stepOneBlack(BX, BY, DIR_DOWN_RIGHT).box.x, BX);
  levelComplete = 0;
  crashed = 1;
  EXPECT_EQ(stepOneBlack(BX, BY, DIR_DOWN_RIGHT).box.x, BX);
  crashed = 0;
  EXPECT_EQ(stepOneBlack(BX, BY, DIR_DOWN_RIGHT).box.x, BX + 1);
}

TEST(BlackEnemies, RandomChoiceTakesTheFirstOnAnEvenDraw) {
  for (uint32_t seed = 1; seed < 10; ++seed) {
    gameSrand(seed);
    const int32_t draw = gameRand();
    gameSrand(seed);
    int32_t chosen = -1;
    randomChoice(chosen, 6, 7);
    EXPECT_EQ(chosen, draw % 2 == 0 ? 6 : 7);
  }
}

namespace {
struct RingRun {
  char side;
  int from, to; // offsets along the side, -1 .. 5 (the ring notation of the probes)
};

// The cell at `offset` on a side of the ring around the box at (x, y).
std::pair<int32_t, int32_t> ringCell(int32_t x, int32_t y, char side, int offset) {
  switch (side) {
  case 'E':
    return {x + 5, y + offset};
  case 'W':
    return {x - 1, y + offset};
  case 'N':
    return {x + offset, y - 1};
  default:
    return {x + offset, y + 5};
  }
}

bool inRuns(std::pair<int32_t, int32_t> cell, const std::vector<RingRun> &runs) {
  for (const RingRun &r : runs) {
    for (int o = r.from; o <= r.to; ++o) {
      if (ringCell(BX, BY, r.side, o) == cell) {
        return true;
      }
    }
  }
  return false;
}

// Every ring cell once (the four corners are shared by two sides).
std::vector<std::pair<int32_t, int32_t>> allRingCells() {
  std::vector<std::pair<int32_t, int32_t>> cells;
  for (int o = -1; o <= 5; ++o) {
    cells.push_back(ringCell(BX, BY, 'N', o));
    cells.push_back(ringCell(BX, BY, 'S', o));
  }
  for (int o = 0; o <= 4; ++o) {
    cells.push_back(ringCell(BX, BY, 'W', o));
    cells.push_back(ringCell(BX, BY, 'E', o));
  }
  return cells;
}

// How many random draws one step of the enemy used (0, 1 or 2; -1 for more).
int drawsOfOneStep(uint32_t seed, int32_t d) {
  gameSrand(seed);
  const int32_t first = gameRand();
  const int32_t second = gameRand();
  const int32_t third = gameRand();
  gameSrand(seed);
  stepOneBlack(BX, BY, d);
  const int32_t next = gameRand();
  return next == first ? 0 : next == second ? 1 : next == third ? 2 : -1;
}
} // namespace

// Which cells each direction needs captured to keep going, cell by cell: on
// open captured ground one free ring cell ends a diagonal exactly when it is
// among the cells the diagonal enters; in a passage one changed cell ends the
// straight run (no more side-turn draw) exactly when it is one the corridor
// test reads.
TEST(BlackEnemies, KeepGoingProbesReadExactlyTheirCells) {
  const std::vector<RingRun> keepDiagonal[4] = {
      {{'S', 1, 5}, {'E', 1, 5}},
      {{'E', -1, 3}, {'N', 1, 5}},
      {{'W', 1, 5}, {'S', -1, 3}},
      {{'W', -1, 3}, {'N', -1, 3}},
  };
  for (int32_t d = 0; d < 4; ++d) {
    for (auto cell : allRingCells()) {
      freshField();
      captureInterior();
      cellAt(cell.first, cell.second) = CELL_FREE;
      const bool kept = stepOneBlack(BX, BY, d).direction == d;
      EXPECT_EQ(kept, !inRuns(cell, keepDiagonal[d]))
          << "d=" << d << " free cell " << cell.first << "," << cell.second;
    }
  }
  uint32_t seed = 1;
  for (gameSrand(seed); gameRand() % 3 == 0; gameSrand(++seed)) {
  } // a seed whose side-turn chance keeps going
  const std::vector<RingRun> corridor[4] = {
      {{'E', -1, 5}}, // right: E(0..4) captured, NE and SE free
      {{'W', -1, 5}},
      {{'N', -1, 5}},
      {{'S', -1, 5}},
  };
  for (int32_t d = DIR_RIGHT; d <= DIR_DOWN; ++d) {
    const bool alongX = d == DIR_RIGHT || d == DIR_LEFT;
    for (auto cell : allRingCells()) {
      freshField();
      if (alongX) {
        fillCells(BX - 100, BY, BX + 100, BY + 4, CELL_CAPTURED);
      } else {
        fillCells(BX, BY - 100, BX + 4, BY + 100, CELL_CAPTURED);
      }
      uint8_t &c = cellAt(cell.first, cell.second);
      c = c == CELL_FREE ? CELL_CAPTURED : CELL_FREE;
      EXPECT_EQ(drawsOfOneStep(seed, d), inRuns(cell, corridor[d - DIR_RIGHT]) ? 0 : 1)
          << "d=" << d << " changed cell " << cell.first << "," << cell.second;
    }
  }
}

// Arriving diagonally where two passages open at once, a black enemy takes
// the first the table names (east before south and north, west before south
// and north), and the other when it is the only one; no draw either way.
TEST(BlackEnemies, TwoPassagesOpenTogetherTheFirstNamedWins) {
  struct Case {
    int32_t d;
    char first;
    int32_t firstDir;
    char second;
    int32_t secondDir;
  };
  const Case cases[] = {
      {DIR_DOWN_RIGHT, 'E', DIR_RIGHT, 'S', DIR_DOWN},
      {DIR_UP_RIGHT, 'E', DIR_RIGHT, 'N', DIR_UP},
      {DIR_DOWN_LEFT, 'W', DIR_LEFT, 'S', DIR_DOWN},
      {DIR_UP_LEFT, 'W', DIR_LEFT, 'N', DIR_UP},
  };
  // A captured passage five cells wide leaving the box on one side.
  auto passage = [](char side) {
    switch (side) {
    case 'E':
      fillCells(BX + 5, BY, BX + 100, BY + 4, CELL_CAPTURED);
      break;
    case 'W':
      fillCells(BX - 100, BY, BX - 1, BY + 4, CELL_CAPTURED);
      break;
    case 'N':
      fillCells(BX, BY - 100, BX + 4, BY - 1, CELL_CAPTURED);
      break;
    default:
      fillCells(BX, BY + 5, BX + 4, BY + 100, CELL_CAPTURED);
      break;
    }
  };
  for (const Case &c : cases) {
    for (int open = 0; open < 3; ++open) { // both, the first only, the second only
      freshField();
      fillCells(BX, BY, BX + 4, BY + 4, CELL_CAPTURED);
      if (open != 2) {
        passage(c.first);
      }
      if (open != 1) {
        passage(c.second);
      }
      const int32_t want = open == 2 ? c.secondDir : c.firstDir;
      EXPECT_EQ(drawsOfOneStep(7, c.d), 0) << "d=" << c.d << " open=" << open;
      const Enemy &e = blackEnemies[0];
      EXPECT_EQ(e.direction, want) << "d=" << c.d << " open=" << open;
      EXPECT_EQ(e.box.x, BX + DIRECTION_DX[want]);
      EXPECT_EQ(e.box.y, BY + DIRECTION_DY[want]);
    }
  }
}
