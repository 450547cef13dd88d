// White enemies: diagonal movement through the black area, bounces with their
// flashes, contact with the player and hits on the track.
#include "audio/audio.h"
#include "common/random.h"
#include "common/start_values.h"
#include "playfield/enemies.h"
#include "playfield/grid.h"
#include "playfield/painting.h"
#include "playfield/probes.h"
#include "state/game_state.h"
#include <cstdlib>

Enemy whiteEnemies[MAX_WHITE_ENEMIES];

namespace {
enum FlashShape {
  BAR_BELOW,
  BAR_ABOVE,
  BAR_RIGHT,
  BAR_LEFT,
  CORNER_SE,
  CORNER_NE,
  CORNER_SW,
  CORNER_NW
};

void fillFlash(BounceFlash &flash, FlashShape shape, const EntityBox &b) {
  struct ShapeData {
    int32_t left, top, right, bottom;
  };
  static const ShapeData SHAPES[8] = {
      {2, 16, 12, 19},  {44, 23, 54, 26}, {16, 16, 19, 26}, {37, 16, 40, 26},
      {58, 16, 63, 21}, {85, 16, 90, 21}, {67, 16, 72, 21}, {76, 16, 81, 21},
  };
  const ShapeData &s = SHAPES[shape];
  flash.srcLeft = s.left;
  flash.srcTop = s.top;
  flash.srcRight = s.right;
  flash.srcBottom = s.bottom;
  switch (shape) {
  case BAR_BELOW:
    flash.screenX = 2 * b.x;
    flash.screenY = 2 * b.outerBottom;
    break;
  case BAR_ABOVE:
    flash.screenX = 2 * b.x;
    flash.screenY = 2 * b.outerTop - 1;
    break;
  case BAR_RIGHT:
    flash.screenX = 2 * b.outerRight;
    flash.screenY = 2 * b.y;
    break;
  case BAR_LEFT:
    flash.screenX = 2 * b.outerLeft - 1;
    flash.screenY = 2 * b.y;
    break;
  case CORNER_SE:
    flash.screenX = 2 * b.outerRight;
    flash.screenY = 2 * b.outerBottom;
    break;
  case CORNER_NE:
    flash.screenX = 2 * b.outerRight;
    flash.screenY = 2 * b.outerTop - 3;
    break;
  case CORNER_SW:
    flash.screenX = 2 * b.outerLeft - 3;
    flash.screenY = 2 * b.outerBottom;
    break;
  case CORNER_NW:
    flash.screenX = 2 * b.outerLeft - 3;
    flash.screenY = 2 * b.outerTop - 3;
    break;
  }
  flash.alpha = 240;
}

// The flash for a bounce from d to newDirection: a bar on the side that was
// struck; a reversal shows the corner when the corner rule made it, and both
// bars when the enemy had no other way out.
void spawnFlash(Enemy &enemy, int32_t d, int32_t newDirection, bool cornerRule) {
  static const FlashShape CORNERS[4] = {CORNER_SE, CORNER_NE, CORNER_SW, CORNER_NW};
  int k = FLASH_SLOTS - 1;
  while (k >= 0 && enemy.flashes[k].alpha != 0) {
    --k;
  }
  if (k < 0) {
    return;
  }
  const FlashShape floorBar = DIRECTION_DY[d] > 0 ? BAR_BELOW : BAR_ABOVE;
  const FlashShape wallBar = DIRECTION_DX[d] > 0 ? BAR_RIGHT : BAR_LEFT;
  const bool dxFlips = DIRECTION_DX[newDirection] != DIRECTION_DX[d];
  const bool dyFlips = DIRECTION_DY[newDirection] != DIRECTION_DY[d];
  enemy.flashActive = 1;
  if (dxFlips && dyFlips) {
    if (cornerRule) {
      fillFlash(enemy.flashes[k], CORNERS[d], enemy.box);
    } else {
      fillFlash(enemy.flashes[k], floorBar, enemy.box);
      if (k > 0) {
        fillFlash(enemy.flashes[k - 1], wallBar, enemy.box);
      }
    }
  } else {
    fillFlash(enemy.flashes[k], dyFlips ? floorBar : wallBar, enemy.box);
  }
}

// The new direction of a white enemy: keep going while the cells ahead are
// free, otherwise the corner rule, then the two alternatives, then reverse.
int32_t chooseWhiteDirection(int32_t d, bool *cornerRule) {
  const NeighbourSums &r = neighbourSums;
  *cornerRule = false;
  switch (d) {
  case DIR_DOWN_RIGHT:
    if (r.s1to5 + r.e1to5 == 0) {
      return d;
    }
    if (r.se != 0 && r.e1to4 == 0 && r.s1to4 == 0) {
      *cornerRule = true;
      return DIR_UP_LEFT;
    }
    if (r.eM1to3 + r.e4 + r.n1to5 == 0) {
      return DIR_UP_RIGHT;
    }
    if (r.w1to5 + r.sM1to3 + r.s4 == 0) {
      return DIR_DOWN_LEFT;
    }
    return DIR_UP_LEFT;
  case DIR_UP_RIGHT:
    if (r.eM1to3 + r.n1to5 == 0) {
      return d;
    }
    if (r.ne != 0 && r.e0to3 == 0 && r.n1to4 == 0) {
      *cornerRule = true;
      return DIR_DOWN_LEFT;
    }
    if (r.wM1to3 + r.nM1to3 + r.n4 == 0) {
      return DIR_UP_LEFT;
    }
    if (r.e0 + r.e1to5 + r.s1to5 == 0) {
      return DIR_DOWN_RIGHT;
    }
    return DIR_DOWN_LEFT;
  case DIR_DOWN_LEFT:
    if (r.w1to5 + r.sM1to3 == 0) {
      return d;
    }
    if (r.sw != 0 && r.w1to4 == 0 && r.s0to3 == 0) {
      *cornerRule = true;
      return DIR_UP_RIGHT;
    }
    if (r.wM1to3 + r.w4 + r.nM1to3 == 0) {
      return DIR_UP_LEFT;
    }
    if (r.s0 + r.s1to5 + r.e1to5 == 0) {
      return DIR_DOWN_RIGHT;
    }
    return DIR_UP_RIGHT;
  default: // DIR_UP_LEFT
    if (r.wM1to3 + r.nM1to3 == 0) {
      return d;
    }
    if (r.nw != 0 && r.w0to3 == 0 && r.n0to3 == 0) {
      *cornerRule = true;
      return DIR_DOWN_RIGHT;
    }
    if (r.eM1to3 + r.n0 + r.n1to5 == 0) {
      return DIR_UP_RIGHT;
    }
    if (r.w0 + r.w1to5 + r.sM1to3 == 0) {
      return DIR_DOWN_LEFT;
    }
    return DIR_DOWN_RIGHT;
  }
}

// Sum of a run of cells along one side of the box: column or row, offsets a..b.
int32_t sideSum(const EntityBox &b, int32_t side, int32_t from, int32_t to) {
  int32_t sum = 0;
  for (int32_t a = from; a <= to; ++a) {
    switch (side) {
    case SIDE_EAST:
      sum += cellAt(b.x + 5, b.y + a);
      break;
    case SIDE_WEST:
      sum += cellAt(b.x - 1, b.y + a);
      break;
    case SIDE_NORTH:
      sum += cellAt(b.x + a, b.y - 1);
      break;
    default:
      sum += cellAt(b.x + a, b.y + 5);
      break;
    }
  }
  return sum;
}

// Whether the track cell among the struck cells lies on the side the enemy
// hit: the middle cell decides, then the far part towards the corner it was
// heading for, then the near part.
bool struckSideHitsTrack(const EntityBox &b, int32_t side, int32_t nearFrom, int32_t nearTo,
                         int32_t farFrom, int32_t farTo) {
  int32_t middle = sideSum(b, side, 2, 2);
  if (middle == CELL_CAPTURED) {
    return false;
  }
  if (middle == CELL_TRACK) {
    return true;
  }
  int32_t far = sideSum(b, side, farFrom, farTo);
  if (sumHoldsTrack(far)) {
    return true;
  }
  if (far != 0) {
    return false;
  }
  return sumHoldsTrack(sideSum(b, side, nearFrom, nearTo));
}

int32_t enteredSum(int32_t d) {
  const NeighbourSums &r = neighbourSums;
  switch (d) {
  case DIR_DOWN_RIGHT:
    return r.s1to5 + r.e1to5;
  case DIR_UP_RIGHT:
    return r.eM1to3 + r.n1to5;
  case DIR_DOWN_LEFT:
    return r.w1to5 + r.sM1to3;
  default:
    return r.wM1to3 + r.nM1to3;
  }
}
} // namespace

uint32_t whiteEnemiesInPlay() { return level < MAX_WHITE_ENEMIES ? level : MAX_WHITE_ENEMIES; }

void placeWhiteEnemies(int32_t count) {
  if (count > MAX_WHITE_ENEMIES) {
    count = MAX_WHITE_ENEMIES;
  }
  for (int32_t i = 0; i < count; ++i) {
    Enemy &e = whiteEnemies[i];
    int32_t x = gameRand() % 926 + 15;
    int32_t y = gameRand() % 481 + 15;
    placeBox(e.box, x, y);
    e.direction = gameRand() % 4;
    e.spriteShift = 0;
    e.flashActive = 0;
    for (BounceFlash &f : e.flashes) {
      f.alpha = 0;
    }
  }
}

bool whiteTouchesPlayer(const Enemy &enemy) {
  const EntityBox &p = playerBox;
  const EntityBox &e = enemy.box;
  const int32_t d = enemy.direction;
  if (!boxesTouch(p, e)) {
    return false;
  }
  if (std::abs(p.x - e.x) > 3 && std::abs(p.y - e.y) > 3) {
    return false; // touching only near a corner
  }
  const bool up = d == DIR_UP_RIGHT || d == DIR_UP_LEFT;
  const bool down = d == DIR_DOWN_RIGHT || d == DIR_DOWN_LEFT;
  const bool left = d == DIR_DOWN_LEFT || d == DIR_UP_LEFT;
  const bool right = d == DIR_DOWN_RIGHT || d == DIR_UP_RIGHT;
  // Moving apart: the enemy heads away from the side of the player it touches.
  if (playerDx != 0 && e.y == p.y - 5 && up) {
    return false;
  }
  if (playerDx != 0 && e.y == p.y + 5 && down) {
    return false;
  }
  if (playerDy != 0 && e.x == p.x - 5 && left) {
    return false;
  }
  if (playerDy != 0 && e.x == p.x + 5 && right) {
    return false;
  }
  if (playerDx > 0 && e.x == p.x + 5 && right) {
    return false;
  }
  if (playerDx < 0 && e.x == p.x - 5 && left) {
    return false;
  }
  if (playerDy > 0 && e.y == p.y + 5 && down) {
    return false;
  }
  if (playerDy < 0 && e.y == p.y - 5 && up) {
    return false;
  }
  return true;
}

bool bounceHitsTrack(const Enemy &enemy, int32_t newDirection) {
  const int32_t d = enemy.direction;
  if (d < 0 || d > 3 || !sumHoldsTrack(enteredSum(d))) {
    return false;
  }
  const EntityBox &b = enemy.box;
  switch (d * 4 + newDirection) {
  case 0 * 4 + 1:
    return struckSideHitsTrack(b, SIDE_SOUTH, 1, 2, 3, 5);
  case 0 * 4 + 2:
    return struckSideHitsTrack(b, SIDE_EAST, 1, 2, 3, 5);
  case 0 * 4 + 3:
    return sideSum(b, SIDE_SOUTH, 2, 2) + sideSum(b, SIDE_EAST, 2, 2) != 2;
  case 1 * 4 + 0:
    return struckSideHitsTrack(b, SIDE_NORTH, 1, 2, 3, 5);
  case 1 * 4 + 3:
    return struckSideHitsTrack(b, SIDE_EAST, 2, 3, -1, 1);
  case 1 * 4 + 2:
    return sideSum(b, SIDE_EAST, 2, 2) + sideSum(b, SIDE_NORTH, 2, 2) != 2;
  case 2 * 4 + 3:
    return struckSideHitsTrack(b, SIDE_SOUTH, 2, 3, -1, 1);
  case 2 * 4 + 0:
    return struckSideHitsTrack(b, SIDE_WEST, 1, 2, 3, 5);
  case 2 * 4 + 1:
    return sideSum(b, SIDE_WEST, 2, 2) + sideSum(b, SIDE_SOUTH, 2, 2) != 2;
  case 3 * 4 + 1:
    return struckSideHitsTrack(b, SIDE_WEST, 2, 3, -1, 1);
  case 3 * 4 + 2:
    return struckSideHitsTrack(b, SIDE_NORTH, 2, 3, -1, 1);
  case 3 * 4 + 0:
    return sideSum(b, SIDE_NORTH, 2, 2) + sideSum(b, SIDE_WEST, 2, 2) != 2;
  default:
    return false;
  }
}

void stepWhiteEnemies() {
  // The slowing item lets the white enemies move on every second frame only.
  if (crashed != 0 || (enemiesSlowed != 0 && slowFrameToggle != 1)) {
    return;
  }
  const uint32_t count = whiteEnemiesInPlay();
  for (uint32_t n = 0; n < count; ++n) {
    Enemy &e = whiteEnemies[n];
    updateBox(e.box);
    probeRing(e.box);
    if (playerGround == GROUND_OPEN && whiteTouchesPlayer(e)) {
      enemyCrash(e, CRASH_WHITE_PLAYER);
      return;
    }
    const int32_t d = e.direction & 3;
    bool cornerRule = false;
    const int32_t next = chooseWhiteDirection(d, &cornerRule);
    if (next != d) {
      if (bounceHitsTrack(e, next)) {
        if (trackHitCrashes(e, CRASH_WHITE_TRACK)) {
          return;
        }
      } else {
        spawnFlash(e, d, next, cornerRule);
      }
    }
    e.direction = next;
    e.box.x += DIRECTION_DX[next];
    e.box.y += DIRECTION_DY[next];
  }
}

void enemyCrash(Enemy &enemy, int32_t cause) {
  crashCause = cause;
  crashed = 1;
  enemy.spriteShift = 28;
}

bool trackHitCrashes(Enemy &enemy, int32_t cause) {
  if (trackShielded == 0) {
    enemyCrash(enemy, cause);
    return true;
  }
  // The shield takes this one hit; the track is green again and goes on.
  trackShielded = 0;
  playEffect(EFFECT_SHIELD_HIT);
  recolourTrackNormal();
  return false;
}

// The globals above with the values they start with, for resetGameState.
namespace {
[[maybe_unused]] const bool startValuesKept = keepStartValues(
    whiteEnemies);
} // namespace
