// The main menu: logo, credit line, the five menu lines, the ticker, and the
// keys that start, continue, show the top ten or the instructions, or quit.
#include "audio/audio.h"
#include "persistence/saved_game.h"
#include "platform/input.h"
#include "presentation/assets.h"
#include "presentation/text_draw.h"
#include "screens/screens.h"
#include "screens/ticker.h"
#include "state/game_state.h"
#include "state/screen_state.h"

namespace {
struct MenuLine {
  const char *text;
  int y;
};

constexpr MenuLine MENU_LINES[] = {
    {"Play [Enter]", 440},     {"Load [L]", 530},      {"Top ten [T]", 620},
    {"Instructions [I]", 710}, {"Exit [Escape]", 800},
};

void setUpMainMenu() {
  screenEntryPending = 0;
  // Entering the menu always prepares a new game.
  prepareNewGame(1);
  playMusic(MENU_MUSIC, tuneFile(MENU_MUSIC));
  seedWave();
}

void drawMenuTexts() {
  spriteBegin(textSprite);
  drawPicture(logoTexture, nullptr, 400.0f, 100.0f, COLOUR_WHITE);
  setFontHeight(30);
  formatText("(Retro \"fluid\" edition by Tarbeck)");
  drawText(0, 350, 1, COLOUR_MENU_GREEN);
  setFontHeight(70);
  for (const MenuLine &line : MENU_LINES) {
    formatText(line.text);
    drawText(0, line.y, 1, COLOUR_MENU_GREEN);
  }
  setFontHeight(30); // the ticker's height
  advanceWave();
  spriteEnd(textSprite);
}

void startGameScreen() {
  changeScreen(Game);
  if (audioReady) {
    stopMusic();
  }
}

void handleMenuKeys() {
  if (keyLatch) {
    // Keys held over from the last screen count only once both are released.
    if (keyDown(VK_RETURN) || keyDown(VK_ESCAPE)) {
      return;
    }
    keyLatch = 0;
  }
  if (keyDown('L') && loadSavedGame()) {
    gameLoaded = 1;
    startGameScreen();
  }
  // No return after L: Enter held as well starts the loaded game all the same.
  if (keyDown(VK_RETURN)) {
    startGameScreen();
    return;
  }
  if (keyDown('T')) {
    changeScreen(TopTen);
    return;
  }
  if (keyDown('I')) {
    changeScreen(Instructions);
    return;
  }
  if (keyDown(VK_ESCAPE)) {
    postQuitMessage();
  }
}
} // namespace

void mainMenuFrame() {
  if (screenEntryPending) {
    setUpMainMenu();
  }
  drawMenuTexts();
  drawTicker();
  handleMenuKeys();
}

void returnToMenuOnEscape() {
  bool escapeDown = keyDown(VK_ESCAPE);
  if (keyLatch) {
    if (escapeDown) {
      return;
    }
    keyLatch = 0;
  }
  if (escapeDown) {
    changeScreen(MainMenu);
  }
}
