// SPDX-License-Identifier: MIT
// The start countdown of every level: three digits of a second each, a tick
// as each digit ends, and the level's music once it runs out.
#include "audio/audio.h"
#include "game/game_screen.h"
#include "presentation/text_draw.h"
#include "state/game_state.h"

void drawCountdown() {
  setFontHeight(350);
  formatText("%d", (startCountdown + COUNTDOWN_DIGIT_FRAMES - 1) / COUNTDOWN_DIGIT_FRAMES);
  drawText(0, 320, 1, COLOUR_WHITE);
  if (level == 1) {
    setFontHeight(55);
    formatText("Capture at least 75%% of the game surface in every level!");
    drawText(0, 700, 1, COLOUR_WHITE);
  }
  setFontHeight(STATUS_FONT_HEIGHT);
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
