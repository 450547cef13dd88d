// The game screen's frame: set-up on entry, the sprites, the texts, the play
// step and the keys, always in this order.
#include "game/game_screen.h"
#include "game/game_state.h"
#include "playfield/enemies.h"
#include "presentation/text_draw.h"
#include "shell/shell.h"

void playStep() {
  // The countdown reaches 0 in the text step of this same frame, so the
  // first play step runs in the frame that shows the last "1".
  if (startCountdown != 0 || crashHandled != 0) {
    return;
  }
  if (levelComplete == 0) {
    stepPlayer();
  } else {
    playerDx = 0;
    playerDy = 0;
    playerMoving = 0;
  }
  if (levelComplete == 0 && crashed == 0) {
    stepBlackEnemies();
  }
  if (crashed == 0 && (enemiesSlowed == 0 || slowFrameToggle == 1)) {
    stepWhiteEnemies();
  }
  // Processed at once; the crash display starts counting from the next frame.
  if (crashed != 0) {
    processCrash();
  }
}

void gameFrame() {
  if (screenEntryPending != 0) {
    setUpLevel();
  }
  drawGameSprites();
  drawBounceFlashes();

  spriteBegin(textSprite);
  if (levelComplete != 0) {
    drawLevelComplete();
  }
  drawStatusLine();
  if (startCountdown > 0) {
    drawCountdown();
  }
  if (crashed != 0) {
    crashDisplayStep();
  }
  spriteEnd(textSprite);

  playStep();
  handleGameKeys();
  slowFrameToggle = 1 - slowFrameToggle;
}
