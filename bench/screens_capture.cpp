// pelta_screens: every screen of the game drawn by the real SDL backend from
// a fixed seed and fixed states, each saved through the screenshot code as
// screenshots/<name>.bmp. Two builds that draw the same pixels write the same
// files, so a change to the drawing path is checked with `cmp`.
// Run it like the game, from a folder holding a copy of data/.
#include "audio/audio.h"
#include "common/random.h"
#include "game/game_screen.h"
#include "persistence/settings_file.h"
#include "platform/system.h"
#include "platform/video.h"
#include "presentation/screenshots.h"
#include "presentation/text_draw.h"
#include "presentation/video_modes.h"
#include "screens/name_entry.h"
#include "shell/shell.h"
#include "state/game_state.h"
#include "state/screen_state.h"
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {
int failures = 0;

void frames(int n) {
  for (int i = 0; i < n; ++i) {
    while (pollWindowEvent() != WindowEvent::None) {
    }
    runFrame();
  }
}

// One frame like runFrame's, with the screenshot taken where Ctrl+P takes it.
void shot(const char *name) {
  while (pollWindowEvent() != WindowEvent::None) {
  }
  clearBackBuffer(0xFF000000u);
  dispatchScreen();
  bool ok = takeScreenshot() != 0;
  presentFrame();
  std::string target = std::string("screenshots/") + name + ".bmp";
  if (!ok || std::rename(screenshotPath, target.c_str()) != 0) {
    std::fprintf(stderr, "pelta_screens: no picture of %s\n", name);
    ++failures;
    return;
  }
  std::printf("%s\n", target.c_str());
}

void enterScreen(uint8_t screen) {
  changeScreen(screen);
  keyLatch = 0;
}

// The game screen entered for a game at this level, lives and score.
void gameAt(uint32_t startLevel, int32_t startLives, uint32_t score) {
  level = startLevel;
  lives = startLives;
  totalScore = score;
  enterScreen(Game);
}

void crashByRunningDown(int limit) {
  playerDx = 0;
  playerDy = 1;
  playerMoving = 1;
  for (int i = 0; i < limit && crashed == 0; ++i) {
    frames(1);
  }
  frames(CRASH_DELAY_FRAMES + 2);
}
} // namespace

int main() {
  gameSrand(20240601u);
  if (!createMainWindow(PROGRAM_NAME, "data/icon.pta")) {
    return 1;
  }
  placeOnDisplay();
  if (startDeviceAndSprites("") != 0) {
    return 1;
  }
  showGameWindow();
  readSettings();
  musicVolume = 0;
  effectsVolume = 0;
  initAudio();
  setUpSubsystems();
  applyRenderScale(renderScale);
  appActive = 1;

  shot("menu-first-frame");
  frames(420);
  shot("menu-ticker");
  enterScreen(Instructions);
  frames(2);
  shot("instructions");
  enterScreen(TopTen);
  frames(2);
  shot("top-ten");

  // Level 200: countdown, play, a crash with a life left, then game over.
  gameAt(200, 2, 900000000u);
  shot("countdown-3");
  frames(130);
  shot("countdown-1");
  frames(80);
  shot("play-level-200");
  crashByRunningDown(400);
  shot("crash-screen");
  continueAfterCrash();
  frames(40);
  shot("play-after-crash");
  crashByRunningDown(400);
  shot("game-over");

  topTenRank = 2;
  enterScreen(NameEntry);
  frames(2);
  snprintf(nameBuffer, sizeof nameBuffer, "PLAYER 1");
  caretBlink = 0;
  shot("name-entry-caret");
  frames(CARET_VISIBLE);
  shot("name-entry");

  // Level 1: the hint under the countdown, a real capture down the middle,
  // then the level-complete texts over the field.
  gameAt(1, 5, 0);
  frames(100);
  shot("countdown-level-1");
  frames(90);
  playerDx = 0;
  playerDy = 1;
  playerMoving = 1;
  frames(200);
  shot("track-level-1");
  frames(400);
  shot("captured-level-1");
  levelComplete = 1;
  percentWhole = 80;
  percentTenThousandths = 1234;
  basicScore = 801234;
  levelScore = 1801234;
  totalScore = 1801234;
  frames(20);
  shot("level-complete");
  gameSaved = 1;
  shot("level-complete-saved");

  enterScreen(MainMenu);
  frames(2);
  shot("menu-again");
  shutdownAudio();
  releaseGraphicsDevice();
  destroyMainWindow();
  return failures == 0 ? 0 : 1;
}
