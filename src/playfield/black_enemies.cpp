// Black enemies: diagonal movement over captured ground, straight runs along
// five-cell passages with random side turns, the left-edge nudge, and their
// contact with the player and the track.
#include "audio/audio.h"
#include "common/random.h"
#include "common/start_values.h"
#include "playfield/enemies.h"
#include "playfield/grid.h"
#include "playfield/painting.h"
#include "playfield/probes.h"
#include "state/game_state.h"
#include <cstdlib>

Enemy blackEnemies[MAX_BLACK_ENEMIES];
uint32_t blackEnemyCount = 0;

namespace {

// N(0..4) and S(0..4) full: captured ground along the whole side.
bool northFull() { return neighbourSums.n0to4 == 5; }
bool southFull() { return neighbourSums.s0to4 == 5; }
bool westFull() { return neighbourSums.w0to4 == 5; }
bool eastFull() { return neighbourSums.e0to4 == 5; }

// While running along a passage: two times in three keep going, otherwise
// turn into a side passage that is open on exactly one side, or a coin decides.
int32_t sideTurn(int32_t d, bool northSouth) {
  if (gameRand() % 3 != 0) {
    return d;
  }
  const bool first = northSouth ? northFull() : westFull();
  const bool second = northSouth ? southFull() : eastFull();
  const int32_t firstDir = northSouth ? DIR_UP : DIR_LEFT;
  const int32_t secondDir = northSouth ? DIR_DOWN : DIR_RIGHT;
  if (first && second) {
    return gameRand() % 2 == 0 ? firstDir : secondDir;
  }
  if (first) {
    return firstDir;
  }
  if (second) {
    return secondDir;
  }
  return d;
}

int32_t perpendicular(int32_t d, bool northSouth) {
  const bool first = northSouth ? northFull() : westFull();
  const bool second = northSouth ? southFull() : eastFull();
  const int32_t firstDir = northSouth ? DIR_UP : DIR_LEFT;
  const int32_t secondDir = northSouth ? DIR_DOWN : DIR_RIGHT;
  if (first && second) {
    int32_t chosen = d;
    randomChoice(chosen, firstDir, secondDir);
    return chosen;
  }
  if (first) {
    return firstDir;
  }
  if (second) {
    return secondDir;
  }
  return d;
}

// The next direction of a black enemy moving diagonally over captured ground.
// In order: on, while the row and the column it steps onto are captured all
// along (the ring corner included); into a captured passage as wide as
// itself that opens ahead, the horizontal one first; back the way it came
// when both sides ahead are captured but the corner cell between them is
// neither captured nor free (track); then off a wall to one of the two
// diagonals that keep one of its headings, where both sides of that turn are
// captured (which one is tried first differs by direction); else back.
int32_t chooseDiagonal(int32_t d) {
  const NeighbourSums &r = neighbourSums;
  switch (d) {
  case DIR_DOWN_RIGHT:
    if (r.s1to5 == 5 && r.e1to5 == 5) {
      return d;
    }
    if (corridorAhead(SIDE_EAST)) {
      return DIR_RIGHT;
    }
    if (corridorAhead(SIDE_SOUTH)) {
      return DIR_DOWN;
    }
    if (r.se != 0 && r.e1to4 == 4 && r.s1to4 == 4) {
      return DIR_UP_LEFT;
    }
    if (r.eM1to3 + r.e4 == 6 && r.n1to5 == 5) {
      return DIR_UP_RIGHT;
    }
    if (r.w1to5 == 5 && r.sM1to3 + r.s4 == 6) {
      return DIR_DOWN_LEFT;
    }
    return DIR_UP_LEFT;
  case DIR_UP_RIGHT:
    if (r.eM1to3 == 5 && r.n1to5 == 5) {
      return d;
    }
    if (corridorAhead(SIDE_EAST)) {
      return DIR_RIGHT;
    }
    if (corridorAhead(SIDE_NORTH)) {
      return DIR_UP;
    }
    if (r.ne != 0 && r.e0to3 == 4 && r.n1to4 == 4) {
      return DIR_DOWN_LEFT;
    }
    if (r.wM1to3 == 5 && r.nM1to3 + r.n4 == 6) {
      return DIR_UP_LEFT;
    }
    if (r.e0 + r.e1to5 == 6 && r.s1to5 == 5) {
      return DIR_DOWN_RIGHT;
    }
    return DIR_DOWN_LEFT;
  case DIR_DOWN_LEFT:
    if (r.w1to5 == 5 && r.sM1to3 == 5) {
      return d;
    }
    if (corridorAhead(SIDE_WEST)) {
      return DIR_LEFT;
    }
    if (corridorAhead(SIDE_SOUTH)) {
      return DIR_DOWN;
    }
    if (r.sw != 0 && r.w1to4 == 4 && r.s0to3 == 4) {
      return DIR_UP_RIGHT;
    }
    if (r.wM1to3 + r.w4 == 6 && r.nM1to3 == 5) {
      return DIR_UP_LEFT;
    }
    if (r.s0 + r.s1to5 == 6 && r.e1to5 == 5) {
      return DIR_DOWN_RIGHT;
    }
    return DIR_UP_RIGHT;
  default: // DIR_UP_LEFT
    if (r.wM1to3 == 5 && r.nM1to3 == 5) {
      return d;
    }
    if (corridorAhead(SIDE_WEST)) {
      return DIR_LEFT;
    }
    if (corridorAhead(SIDE_NORTH)) {
      return DIR_UP;
    }
    if (r.nw != 0 && r.w0to3 == 4 && r.n0to3 == 4) {
      return DIR_DOWN_RIGHT;
    }
    if (r.eM1to3 == 5 && r.n0 + r.n1to5 == 6) {
      return DIR_UP_RIGHT;
    }
    if (r.w0 + r.w1to5 == 6 && r.sM1to3 == 5) {
      return DIR_DOWN_LEFT;
    }
    return DIR_DOWN_RIGHT;
  }
}

// Straight along a passage; when it ends, back to a diagonal the ground
// allows (a coin when both do), else a perpendicular straight move.
int32_t chooseStraight(int32_t d) {
  const NeighbourSums &r = neighbourSums;
  bool a = false;
  bool b = false;
  int32_t dirA = 0;
  int32_t dirB = 0;
  int32_t coinOdd = 0;
  int32_t coinEven = 0;
  const bool alongX = d == DIR_RIGHT || d == DIR_LEFT;
  switch (d) {
  case DIR_RIGHT:
    if (corridorAhead(SIDE_EAST)) {
      return sideTurn(d, true);
    }
    a = r.eM1to3 == 5 && r.n0 + r.n1to5 == 6;
    b = r.s0 + r.s1to5 == 6 && r.e1to5 == 5;
    dirA = DIR_UP_RIGHT;
    dirB = DIR_DOWN_RIGHT;
    coinOdd = DIR_DOWN_RIGHT;
    coinEven = DIR_UP_RIGHT;
    break;
  case DIR_LEFT:
    if (corridorAhead(SIDE_WEST)) {
      return sideTurn(d, true);
    }
    a = r.wM1to3 == 5 && r.nM1to3 + r.n4 == 6;
    b = r.w1to5 == 5 && r.sM1to3 + r.s4 == 6;
    dirA = DIR_UP_LEFT;
    dirB = DIR_DOWN_LEFT;
    coinOdd = DIR_DOWN_LEFT;
    coinEven = DIR_UP_LEFT;
    break;
  case DIR_UP:
    if (corridorAhead(SIDE_NORTH)) {
      return sideTurn(d, false);
    }
    a = r.wM1to3 + r.w4 == 6 && r.nM1to3 == 5;
    b = r.eM1to3 + r.e4 == 6 && r.n1to5 == 5;
    dirA = DIR_UP_LEFT;
    dirB = DIR_UP_RIGHT;
    coinOdd = DIR_UP_RIGHT;
    coinEven = DIR_UP_LEFT;
    break;
  default: // DIR_DOWN
    if (corridorAhead(SIDE_SOUTH)) {
      return sideTurn(d, false);
    }
    a = r.w0 + r.w1to5 == 6 && r.sM1to3 == 5;
    b = r.e0 + r.e1to5 == 6 && r.s1to5 == 5;
    dirA = DIR_DOWN_LEFT;
    dirB = DIR_DOWN_RIGHT;
    coinOdd = DIR_DOWN_RIGHT;
    coinEven = DIR_DOWN_LEFT;
    break;
  }
  if (a && b) {
    return gameRand() % 2 != 0 ? coinOdd : coinEven;
  }
  if (a) {
    return dirA;
  }
  if (b) {
    return dirB;
  }
  return perpendicular(d, alongX);
}

// Moves one cell. Leaving the left edge (x = 0) after bouncing there shifts
// the enemy one extra row in its new vertical direction, once until it next
// leaves x = 955 heading left. The nudge down never stops at its limit (y <
// 530 always holds, the field ends at row 511): the paths players learn, and
// every recorded game, run through this step, so it stays as it is.
void moveBlackEnemy(Enemy &e, int32_t next, int32_t prev) {
  EntityBox &b = e.box;
  switch (next) {
  case DIR_DOWN_RIGHT:
    if (b.x == 0 && prev == DIR_DOWN_LEFT && e.edgeNudged == 0 && b.y < 530) {
      e.edgeNudged = 1;
      b.y += 1;
    }
    break;
  case DIR_UP_RIGHT:
    if (b.x == 0 && prev == DIR_UP_LEFT && e.edgeNudged == 0 && b.y > 10) {
      e.edgeNudged = 1;
      b.y -= 1;
    }
    break;
  case DIR_DOWN_LEFT:
  case DIR_UP_LEFT:
    if (b.x == 955 && e.edgeNudged == 1) {
      e.edgeNudged = 0;
    }
    break;
  default:
    break;
  }
  b.x += DIRECTION_DX[next];
  b.y += DIRECTION_DY[next];
}

// Contact with the player: overlapping or adjacent boxes, except when they
// meet only at one exact diagonal corner.
bool blackTouchesPlayer(const EntityBox &e) {
  const EntityBox &p = playerBox;
  if (!boxesTouch(p, e)) {
    return false;
  }
  return !(std::abs(p.x - e.x) == 5 && std::abs(p.y - e.y) == 5);
}
} // namespace

void randomChoice(int32_t &destination, int32_t a, int32_t b) {
  destination = gameRand() % 2 == 0 ? a : b;
}

void placeBlackEnemies(int32_t levelNumber) {
  int32_t count = levelNumber / 4 + 1;
  if (count > MAX_BLACK_ENEMIES) {
    count = MAX_BLACK_ENEMIES;
  }
  if (count < 0) {
    count = 0;
  }
  blackEnemyCount = static_cast<uint32_t>(count);
  for (int32_t i = 0; i < count; ++i) {
    Enemy &e = blackEnemies[i];
    int32_t base = 478;
    if (i % 2 == 1) {
      base = 478 + 20 * (i + 1) / 2;
    } else if (i >= 2) {
      base = 478 - 20 * i / 2;
    }
    int32_t x = base + gameRand() % 9 - 4;
    int32_t y = FIELD_HEIGHT - (gameRand() % 9 + 6);
    placeBox(e.box, x, y);
    e.direction = gameRand() % 4;
    e.edgeNudged = 0;
    e.spriteShift = 0;
  }
  // Neighbours start in opposite directions.
  for (int32_t i = 1; i < count; i += 2) {
    blackEnemies[i].direction = 3 - blackEnemies[i - 1].direction;
  }
}

int32_t chooseBlackDirection(int32_t d) {
  return d >= DIR_RIGHT ? chooseStraight(d) : chooseDiagonal(d);
}

void stepBlackEnemies() {
  if (crashed != 0 || levelComplete != 0) {
    return;
  }
  const uint32_t count = blackEnemyCount > MAX_BLACK_ENEMIES ? MAX_BLACK_ENEMIES : blackEnemyCount;
  for (uint32_t i = 0; i < count; ++i) {
    Enemy &e = blackEnemies[i];
    updateBox(e.box);
    const int32_t v = probeRing(e.box);
    const int32_t prev = e.direction & 7;
    const bool touching = blackTouchesPlayer(e.box);
    if (touching && !sumHoldsTrack(v)) {
      enemyCrash(e, CRASH_BLACK_PLAYER);
      return;
    }
    // A track cell in the middle of the ring is a hit on the track, whether
    // or not the player is touched; the shield absorbs it once.
    if (sumHoldsTrack(v) && trackHitCrashes(e, CRASH_BLACK_TRACK)) {
      return;
    }
    const int32_t next = chooseBlackDirection(prev);
    e.direction = next;
    moveBlackEnemy(e, next, prev);
  }
}

// The globals above with the values they start with, for resetGameState.
namespace {
[[maybe_unused]] const bool startValuesKept = keepStartValues(
    blackEnemies, blackEnemyCount);
} // namespace
