// Level set-up: every level starts on a fresh field with its own enemies and
// items, a full time bonus and a three-second countdown.
#include "audio/audio.h"
#include "common/random.h"
#include "game/game_screen.h"
#include "game/game_state.h"
#include "playfield/enemies.h"
#include "playfield/items.h"
#include "playfield/painting.h"
#include "playfield/track_list.h"
#include "presentation/text_draw.h"
#include "shell/shell.h"

void resetPlayer() {
  placeBox(playerBox, PLAYER_START_X, PLAYER_START_Y);
  playerDx = 0;
  playerDy = 0;
  playerMoving = 0;
  playerGround = GROUND_SAFE;
  previousGround = GROUND_SAFE;
  playerSpriteShift = 0;
  trackShielded = 0;
}

void setUpLevel() {
  // A new game gets its identity before anything else draws from the
  // generator, so a seed replays the same game from the first frame on.
  if (level == 1) {
    int32_t first = gameRand();
    int32_t second = gameRand();
    gameId = first * second + 1;
  }
  screenEntryPending = 0;
  gameSaved = 0;
  topTenRank = NO_TOP_TEN_PLACE;

  setUpPlayfield();
  resetPlayer();
  const int32_t levelNumber = static_cast<int32_t>(level);
  placeBlackEnemies(levelNumber);
  placeWhiteEnemies(levelNumber);
  placeItems(levelNumber);

  slowFrameToggle = 0;
  percentHundredths = 0;
  percentWhole = 0;
  capturedCells = 0;
  setFontHeight(STATUS_FONT_HEIGHT);

  levelComplete = 0;
  startCountdown = START_COUNTDOWN_FRAMES;
  trackValueCount = 0;
  enemiesSlowed = 0;
  crashHandled = 0;
  crashed = 0;
  crashFrames = 0;
  timeBonus = (levelNumber + 1) * TIME_BONUS_PER_LEVEL;

  // Whatever the previous level or screen left playing, the track loop too;
  // the music goes on until the countdown ends.
  stopEffects();
  playEffect(EFFECT_TICK);
}
