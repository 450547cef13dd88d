// SPDX-License-Identifier: MIT
// The crash and game-over screens: the delay after a crash, then the cause
// and the lives left, or GAME OVER with the way on to the hall of fame.
#include "audio/audio.h"
#include "game/game_screen.h"
#include "persistence/top_ten.h"
#include "presentation/text_draw.h"
#include "state/game_state.h"

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
