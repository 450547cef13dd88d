// The player's step: the arrow keys with the reversal rule, the time bonus,
// one cell of movement, the ground under the square, track and capture.
#include "audio/audio.h"
#include "game/game_screen.h"
#include "platform/input.h"
#include "playfield/capture.h"
#include "playfield/grid.h"
#include "playfield/items.h"
#include "playfield/painting.h"
#include "playfield/probes.h"
#include "state/game_state.h"

namespace {

// The first held key whose turn is allowed wins. Off safe ground a reversal
// would run straight into the fresh track, so it is refused and the next key
// in the list gets its chance.
void readArrowKeys() {
  const bool safe = playerGround == GROUND_SAFE;
  if (keyDown(VK_RIGHT) && !(playerDx == -1 && !safe)) {
    playerDx = 1;
    playerDy = 0;
  } else if (keyDown(VK_LEFT) && !(playerDx == 1 && !safe)) {
    playerDx = -1;
    playerDy = 0;
  } else if (keyDown(VK_DOWN) && !(playerDy == -1 && !safe)) {
    playerDx = 0;
    playerDy = 1;
  } else if (keyDown(VK_UP) && !(playerDy == 1 && !safe)) {
    playerDx = 0;
    playerDy = -1;
  } else {
    return;
  }
  playerMoving = 1;
}

void stopPlayer() {
  playerDx = 0;
  playerDy = 0;
  playerMoving = 0;
}

// The five cells the square has just left, on the side it moved away from;
// only the free ones among them become track.
void layTrackLine() {
  const EntityBox &b = playerBox;
  if (playerDx == 1) {
    drawTrackColumn(b.x - 1, b.y, b.y + 5);
  } else if (playerDx == -1) {
    drawTrackColumn(b.x + 5, b.y, b.y + 5);
  } else if (playerDy == 1) {
    drawTrackRow(b.y - 1, b.x, b.x + 5);
  } else if (playerDy == -1) {
    drawTrackRow(b.y + 5, b.x, b.x + 5);
  }
}

} // namespace

void stepPlayer() {
  readArrowKeys();
  // The bonus runs down while the player stands still too.
  if (timeBonus > 0) {
    timeBonus -= TIME_BONUS_STEP;
  }
  if (playerMoving == 0) {
    return;
  }

  const int32_t oldX = playerBox.x;
  const int32_t oldY = playerBox.y;
  placeBox(playerBox, oldX + playerDx, oldY + playerDy);
  if (playerBox.x < 0 || playerBox.x + 5 > FIELD_WIDTH || playerBox.y < 0 ||
      playerBox.y + 5 > FIELD_HEIGHT) {
    placeBox(playerBox, oldX, oldY);
    stopPlayer();
  }

  classifyPlayerGround();
  if (playerGround == GROUND_TRACK) {
    placeBox(playerBox, playerBox.x - playerDx, playerBox.y - playerDy);
    stopPlayer();
    crashed = 1;
    crashCause = CRASH_OWN_TRACK;
  } else if (playerGround == GROUND_SAFE && previousGround == GROUND_OPEN) {
    stopEffect(EFFECT_TRACK);
    layTrackLine();
    stopPlayer();
    // Shield and slowing last only for one trip through the free area.
    trackShielded = 0;
    enemiesSlowed = 0;
    markWhiteEnemyRegions();
    captureEnclosedAreas();
  } else if (playerGround == GROUND_OPEN) {
    if (playerMoving != 0) {
      collectItems();
      layTrackLine();
    }
    if (previousGround == GROUND_SAFE) {
      playEffect(EFFECT_TRACK);
    }
  }
  previousGround = playerGround;
}
