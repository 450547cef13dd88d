// Neighbourhood probes: the ground under the player, the ring sums around an
// enemy's box and the test for a captured passage exactly as wide as a box.
#include "playfield/probes.h"
#include "common/start_values.h"
#include "playfield/grid.h"
#include "state/game_state.h"

NeighbourSums neighbourSums{};

void classifyPlayerGround() {
  int32_t sum = 0;
  for (int32_t y = playerBox.y; y <= playerBox.y + 4; ++y) {
    const uint8_t *row = &cellAt(playerBox.x, y);
    sum += row[0] + row[1] + row[2] + row[3] + row[4];
  }
  // 25 first: a single track cell alone already makes the sum hold track.
  if (sum == 25) {
    playerGround = GROUND_SAFE;
  } else if (sumHoldsTrack(sum)) {
    playerGround = GROUND_TRACK;
  } else {
    playerGround = GROUND_OPEN;
  }
}

int32_t probeRing(const EntityBox &box) {
  // The 7 x 7 square from (x - 1, y - 1); each side as offsets -1 .. 5, so
  // side[a + 1] is the cell at offset a and the corners are shared.
  const uint8_t *top = &cellAt(box.x - 1, box.y - 1);
  int32_t n[7], s[7], w[7], e[7];
  const uint8_t *bottom = top + 6 * GRID_STRIDE;
  for (int i = 0; i < 7; ++i) {
    n[i] = top[i];
    s[i] = bottom[i];
    w[i] = top[i * GRID_STRIDE];
    e[i] = top[i * GRID_STRIDE + 6];
  }
  NeighbourSums &r = neighbourSums;
  r.e0 = e[1];
  r.e4 = e[5];
  r.w0 = w[1];
  r.w4 = w[5];
  r.n0 = n[1];
  r.n4 = n[5];
  r.s0 = s[1];
  r.s4 = s[5];
  r.ne = e[0];
  r.se = e[6];
  r.nw = w[0];
  r.sw = w[6];

  r.e1to3 = e[2] + e[3] + e[4];
  r.w1to3 = w[2] + w[3] + w[4];
  r.n1to3 = n[2] + n[3] + n[4];
  r.s1to3 = s[2] + s[3] + s[4];

  r.e0to3 = r.e0 + r.e1to3;
  r.e1to4 = r.e1to3 + r.e4;
  r.w0to3 = r.w0 + r.w1to3;
  r.w1to4 = r.w1to3 + r.w4;
  r.n0to3 = r.n0 + r.n1to3;
  r.n1to4 = r.n1to3 + r.n4;
  r.s0to3 = r.s0 + r.s1to3;
  r.s1to4 = r.s1to3 + r.s4;

  r.e0to4 = r.e0to3 + r.e4;
  r.w0to4 = r.w0to3 + r.w4;
  r.n0to4 = r.n0to3 + r.n4;
  r.s0to4 = r.s0to3 + r.s4;

  r.e1to5 = r.e1to4 + r.se;
  r.eM1to3 = r.ne + r.e0to3;
  r.w1to5 = r.w1to4 + r.sw;
  r.wM1to3 = r.nw + r.w0to3;
  r.n1to5 = r.n1to4 + r.ne;
  r.nM1to3 = r.nw + r.n0to3;
  r.s1to5 = r.s1to4 + r.se;
  r.sM1to3 = r.sw + r.s0to3;

  r.ringMiddleSum = r.e1to3 + r.w1to3 + r.n1to3 + r.s1to3;
  return r.ringMiddleSum;
}

bool corridorAhead(int32_t side) {
  const NeighbourSums &r = neighbourSums;
  switch (side) {
  case SIDE_EAST:
    return r.e0to4 == 5 && r.ne + r.se == 0;
  case SIDE_WEST:
    return r.w0to4 == 5 && r.nw + r.sw == 0;
  case SIDE_NORTH:
    return r.n0to4 == 5 && r.nw + r.ne == 0;
  case SIDE_SOUTH:
    return r.s0to4 == 5 && r.sw + r.se == 0;
  default:
    return false;
  }
}

// The globals above with the values they start with, for resetGameState.
namespace {
[[maybe_unused]] const bool startValuesKept = keepStartValues(
    neighbourSums);
} // namespace
