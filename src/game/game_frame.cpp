// The game screen's frame: set-up on entry, the sprites, the texts, the play
// step, and the screen's own keys S, M, Escape and Enter behind the key latch.
#include "audio/audio.h"
#include "game/game_screen.h"
#include "platform/input.h"
#include "playfield/enemies.h"
#include "presentation/text_draw.h"
#include "replay/replay.h"
#include "state/game_state.h"
#include "state/screen_state.h"

namespace {

// A failed write keeps the offer on screen, so S can simply be tried again.
void saveReachedPoint() {
  if (gameSaved != 0) {
    return;
  }
  if (saveGame()) {
    playEffect(EFFECT_PICKUP);
    gameSaved = 1;
  } else {
    playEffect(EFFECT_SCREENSHOT_FAILED);
  }
}

void toggleSilence() {
  if (musicNumber == MUSIC_SILENT) {
    musicNumber = lastMusicNumber;
    selectMusic(musicNumber);
  } else {
    musicNumber = MUSIC_SILENT;
    stopMusic();
  }
}

void nextTune() {
  if (startCountdown != 0) {
    return;
  }
  if (musicNumber == MUSIC_SILENT) {
    musicNumber = lastMusicNumber;
  } else {
    musicNumber += 1;
    if (musicNumber > LAST_MUSIC_NUMBER) {
      musicNumber = 1;
    }
    lastMusicNumber = musicNumber;
  }
  selectMusic(musicNumber);
}

void leaveGame() {
  if (lives == 0 && topTenRank < NO_TOP_TEN_PLACE) {
    // Unlike changeScreen, the key latch is left as it is: Escape means
    // nothing on the name entry, and a held Enter confirms nothing there
    // before a letter is typed, so the latch would only make a held Enter
    // wait for its release; recorded games hold the keys as they acted then.
    screenEntryPending = 1;
    screenState = NameEntry;
    return;
  }
  stopEffects();
  changeScreen(MainMenu);
}

// The next level and a new game are the game screen set up again. With
// Escape pressed in the same frame the screen has already changed, and it is
// the screen Escape chose that is set up again.
void confirm() {
  if (levelComplete != 0) {
    level = nextLevel();
    gameLoaded = 0;
    restartScreen();
  }
  if (crashed == 0) {
    return;
  }
  if (lives > 0) {
    continueAfterCrash();
    keyLatch = 1;
  } else if (topTenRank >= NO_TOP_TEN_PLACE) {
    level = 1;
    lives = START_LIVES;
    totalScore = 0;
    restartScreen();
  } else {
    changeScreen(NameEntry);
  }
}

} // namespace

void handleGameKeys() {
  if (keyLatch != 0) {
    if (keyDown(VK_RETURN) || keyDown(VK_ESCAPE) || keyDown('M') || keyDown('S')) {
      return;
    }
    keyLatch = 0;
  }
  if (keyDown('S')) {
    keyLatch = 1;
    if (levelComplete != 0) {
      saveReachedPoint();
    } else {
      toggleSilence();
    }
  }
  if (keyDown('M')) {
    keyLatch = 1;
    nextTune();
  }
  if (keyDown(VK_ESCAPE)) {
    leaveGame();
  }
  if (keyDown(VK_RETURN)) {
    confirm();
  }
}

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
  // Each kind knows when it stands still: after a crash, once the level is
  // complete (black), on the frames the slowing item skips (white).
  stepBlackEnemies();
  stepWhiteEnemies();
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
    advanceStartCountdown();
  }
  if (crashed != 0) {
    crashDisplayStep();
  }
  spriteEnd(textSprite);

  playStep();
  handleGameKeys();
  slowFrameToggle = 1 - slowFrameToggle;
}
