// Helpers for the game screen's behaviour tests: entering the game at a level
// with a seed, skipping the countdown, parking the enemies, steering.
#pragma once
#include "common/random.h"
#include "game/game_screen.h"
#include "platform/headless/headless.h"
#include "platform/input.h"
#include "playfield/enemies.h"
#include "playfield/grid.h"
#include "presentation/video_modes.h"
#include "shell/shell.h"
#include "state/game_state.h"
#include "test_support.h"
#include <string>
#include <vector>

// Enters the game screen as the main menu's Enter does and runs the set-up frame.
inline void enterGame(uint32_t startLevel, uint32_t seed = 1234) {
  startHeadless();
  gameSrand(seed);
  level = startLevel;
  lives = START_LIVES;
  totalScore = 0;
  gameLoaded = 0;
  screenState = Game;
  screenEntryPending = 1;
  keyLatch = 0;
  runFrames(1);
}

// Ends the countdown at once, as if its 180 frames had passed.
inline void skipCountdown() { startCountdown = 0; }

// No black enemy, and the white ones far down in the bottom-right corner, so
// a test near the top border has some hundred frames to itself.
inline void parkEnemies() {
  blackEnemyCount = 0;
  for (uint32_t i = 0; i < level; ++i) {
    placeBox(whiteEnemies[i].box, 900 - static_cast<int32_t>(i % 20), 480);
    whiteEnemies[i].direction = DIR_DOWN_RIGHT;
  }
}

// Holds one arrow key for n frames, then lets it go.
inline void steer(int vk, int frames) {
  pressKey(vk);
  runFrames(frames);
  releaseKey(vk);
}

// Draw records of one text.
inline std::vector<DrawRecord> textRecords(const std::string &text) {
  std::vector<DrawRecord> found;
  for (const DrawRecord &r : headless::drawLog()) {
    if (r.kind == DrawKind::Text && r.text == text) {
      found.push_back(r);
    }
  }
  return found;
}

// The layout row a text was drawn at (the vertical offset taken off again).
inline int layoutRow(const DrawRecord &r) {
  return static_cast<int>(r.y) - static_cast<int>(verticalOffset);
}

// Where a centred line of this font height starts: 960 - width / 2.
inline int centredLeft(const std::string &text, int height) {
  const int width = static_cast<int>(text.size()) * headless::glyphAdvance(height);
  return 960 - width / 2;
}
