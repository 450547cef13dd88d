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

void advanceStartCountdown() {
  startCountdown -= 1;
  // With the set-up's tick: one tick at the start of each digit's last frame.
  if (startCountdown > 0 && startCountdown % COUNTDOWN_DIGIT_FRAMES == 0) {
    playEffect(EFFECT_TICK);
  }
  if (startCountdown == 0) {
    selectMusic(musicNumber);
  }
}

uint32_t nextLevel() { return level < MAX_LEVEL ? level + 1 : MAX_LEVEL; }

namespace {

const char *const CRASH_CAUSE_LINES[] = {
    "(Suicide - collision with your own track)",
    "(Collision with a black enemy)",
    "(Collision with a white enemy)",
    "(A black enemy hit your track starting point)",
    "(A white enemy hit your track)",
};

void drawCrashScreen() {
  formatText("!CRASH!");
  drawCentred(150, 280);
  if (crashCause >= CRASH_OWN_TRACK && crashCause <= CRASH_WHITE_TRACK) {
    formatText(CRASH_CAUSE_LINES[crashCause]);
    drawCentred(30, 420);
  }
  if (lives == 1) {
    formatText("One last life remaining!");
  } else {
    formatText("Remaining lives: %d", lives);
  }
  drawCentred(60, 510);
  formatText("Press Enter to continue");
  drawCentred(60, 700);
  formatText("Press Escape if you are a coward ;-)");
  drawCentred(60, 780);
  setFontHeight(STATUS_FONT_HEIGHT);
}

void drawGameOverScreen() {
  if (crashFrames == CRASH_DELAY_FRAMES) {
    if (audioReady != 0) {
      stopMusic();
      playEffect(EFFECT_GAME_OVER);
    }
  }
  crashFrames = CRASH_DELAY_FRAMES + 1;
  formatText("GAME");
  drawCentred(280, 200);
  formatText("OVER");
  drawCentred(280, 400);
  const bool placed = topTenRank < NO_TOP_TEN_PLACE;
  formatText(placed ? "Top ten score reached!" : "Press Enter to try again");
  drawCentred(60, 700);
  formatText(placed ? "Press Enter to enter the hall of fame"
                    : "Press Escape to return to the main menu");
  drawCentred(60, 780);
  setFontHeight(STATUS_FONT_HEIGHT);
}

} // namespace

void processCrash() {
  crashFrames = 0;
  playerSpriteShift = PLAYER_CRASH_SHIFT;
  recolourTrackCrash();
  lives -= 1;
  crashHandled = 1;
  stopEffect(EFFECT_TRACK);
  playEffect(EFFECT_CRASH);
}

void crashDisplayStep() {
  if (crashFrames < CRASH_DELAY_FRAMES) {
    // The rank is settled once, in the first frame after the fatal crash,
    // long before the game-over texts offer the hall of fame.
    if (crashFrames == 0 && lives == 0) {
      findTopTenRank();
    }
    crashFrames += 1;
    return;
  }
  if (lives > 0) {
    drawCrashScreen();
  } else {
    drawGameOverScreen();
  }
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
