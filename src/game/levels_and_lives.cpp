// Levels and lives: every level starts on a fresh field with its own enemies
// and items; a crash takes a life, and the next life starts at the top border.
#include "audio/audio.h"
#include "common/random.h"
#include "game/game_screen.h"
#include "persistence/top_ten.h"
#include "playfield/enemies.h"
#include "playfield/items.h"
#include "playfield/painting.h"
#include "playfield/track_list.h"
#include "presentation/text_draw.h"
#include "state/game_state.h"
#include "state/screen_state.h"

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
    gameId = drawGameId();
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

uint32_t nextLevel() { return level < MAX_LEVEL ? level + 1 : MAX_LEVEL; }

void processCrash() {
  crashFrames = 0;
  playerSpriteShift = PLAYER_CRASH_SHIFT;
  recolourTrackCrash();
  lives -= 1;
  crashHandled = 1;
  stopEffect(EFFECT_TRACK);
  playEffect(EFFECT_CRASH);
}

void continueAfterCrash() {
  eraseTrack();
  resetPlayer();
  placeBlackEnemies(static_cast<int32_t>(level));
  crashHandled = 0;
  crashed = 0;
  enemiesSlowed = 0;
  crashFrames = 0;
  // The white enemies stay where the crash left them, flashes included.
  for (uint32_t i = 0; i < whiteEnemiesInPlay(); ++i) {
    whiteEnemies[i].spriteShift = 0;
  }
}
