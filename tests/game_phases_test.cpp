// The game screen's phases: set-up frame, countdown, the screen's keys with
// the latch, the level-complete screen and the status line.
#include "audio/audio.h"
#include "common/files.h"
#include "game_helpers.h"
#include "persistence/saved_game.h"
#include "playfield/items.h"
#include "screens/ticker.h"
#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>

namespace {

int countdownDigitShown() {
  for (const std::string &t : textsDrawn()) {
    if (t == "1" || t == "2" || t == "3") {
      return t[0] - '0';
    }
  }
  return 0;
}

bool playerSpriteDrawn() {
  for (const DrawRecord &r : headless::drawLog()) {
    if (r.kind == DrawKind::Sprite && !r.wholeTexture && r.src.left == 2 && r.src.top == 2) {
      return true;
    }
  }
  return false;
}

} // namespace

TEST(GameSetUp, FirstFrameSetsUpTheLevelAndShowsTheDigitThree) {
  const uint32_t seed = 777;
  enterGame(1, seed);
  EXPECT_EQ(screenEntryPending, 0);
  EXPECT_EQ(startCountdown, 179);
  EXPECT_EQ(timeBonus, 100000);
  EXPECT_EQ(topTenRank, 10);
  EXPECT_EQ(playerBox.x, 478);
  EXPECT_EQ(playerBox.y, 5);
  EXPECT_EQ(playerGround, GROUND_SAFE);
  EXPECT_EQ(blackEnemyCount, 1u);

  auto digit = textRecords("3");
  ASSERT_EQ(digit.size(), 1u);
  EXPECT_EQ(digit[0].fontHeight, 350);
  EXPECT_EQ(layoutRow(digit[0]), 320);
  EXPECT_EQ(static_cast<int>(digit[0].x), centredLeft("3", 350));
  const std::string hint = "Capture at least 75% of the game surface in every level!";
  auto hintLine = textRecords(hint);
  ASSERT_EQ(hintLine.size(), 1u);
  EXPECT_EQ(hintLine[0].fontHeight, 55);
  EXPECT_EQ(layoutRow(hintLine[0]), 700);

  // The game's identity is drawn first, then the black enemies, the white
  // enemies and the items, all from the one generator.
  gameSrand(seed);
  const int32_t a = gameRand();
  const int32_t b = gameRand();
  EXPECT_EQ(gameId, a * b + 1);
  const EntityBox black = blackEnemies[0].box;
  const EntityBox white = whiteEnemies[0].box;
  const int32_t whiteDirection = whiteEnemies[0].direction;
  placeBlackEnemies(1);
  placeWhiteEnemies(1);
  EXPECT_EQ(blackEnemies[0].box.x, black.x);
  EXPECT_EQ(blackEnemies[0].box.y, black.y);
  EXPECT_EQ(whiteEnemies[0].box.x, white.x);
  EXPECT_EQ(whiteEnemies[0].box.y, white.y);
  EXPECT_EQ(whiteEnemies[0].direction, whiteDirection);
}

TEST(GameSetUp, LaterLevelsKeepTheGameAndDropTheHint) {
  enterGame(1, 99);
  const int32_t id = gameId;
  skipCountdown();
  levelComplete = 1;
  tapKey(VK_RETURN);
  EXPECT_EQ(level, 2u);
  EXPECT_EQ(gameId, id);
  EXPECT_EQ(timeBonus, 150000);
  EXPECT_EQ(levelComplete, 0);
  headless::clearDrawLog();
  runFrames(1);
  EXPECT_EQ(countdownDigitShown(), 3);
  EXPECT_FALSE(textWasDrawn("Capture at least 75% of the game surface in every level!"));

  // Level 12: four black enemies, two shields, the extra life and the slowing.
  enterGame(12, 5);
  EXPECT_EQ(blackEnemyCount, 4u);
  EXPECT_EQ(timeBonus, 650000);
  int shields = 0;
  for (int i = 0; i < 4; ++i) {
    shields += bonusItems[i].active;
  }
  EXPECT_EQ(shields, 2);
  EXPECT_EQ(bonusItems[4].active, 1);
  EXPECT_EQ(bonusItems[5].active, 1);
  enterGame(200, 5);
  EXPECT_EQ(blackEnemyCount, 40u);
  EXPECT_EQ(timeBonus, 10050000);
}

TEST(GameCountdown, DigitsChangeEverySixtyFramesAndPlayStartsInFrame180) {
  enterGame(1);
  parkEnemies();
  pressKey(VK_DOWN); // held through the countdown: the player starts at once
  for (int frame = 2; frame <= 180; ++frame) {
    headless::clearDrawLog();
    runFrames(1);
    const int expected = frame <= 60 ? 3 : frame <= 120 ? 2 : 1;
    ASSERT_EQ(countdownDigitShown(), expected) << "frame " << frame;
    if (frame < 180) {
      ASSERT_EQ(playerBox.y, 5) << "frame " << frame;
      ASSERT_EQ(timeBonus, 100000);
    }
  }
  EXPECT_EQ(startCountdown, 0);
  EXPECT_EQ(playerBox.y, 6); // the play step ran in the frame the countdown ended
  EXPECT_EQ(timeBonus, 99990);
  headless::clearDrawLog();
  runFrames(1);
  EXPECT_EQ(countdownDigitShown(), 0);
  EXPECT_EQ(playerBox.y, 7);
  releaseKey(VK_DOWN);
}

TEST(GameKeys, MusicKeysWithTheLatch) {
  enterGame(1);
  musicNumber = 1;
  lastMusicNumber = 1;
  // M during the countdown is ignored but still latches.
  pressKey('M');
  runFrames(1);
  EXPECT_EQ(musicNumber, 1);
  EXPECT_EQ(keyLatch, 1);
  releaseKey('M');
  runFrames(1);
  EXPECT_EQ(keyLatch, 0);
  // S during the countdown toggles silence, once however long it is held.
  pressKey('S');
  runFrames(5);
  EXPECT_EQ(musicNumber, MUSIC_SILENT);
  releaseKey('S');
  runFrames(1);
  skipCountdown();
  parkEnemies();
  // M from silence brings back the last tune; then it steps and wraps 20 -> 1.
  tapKey('M');
  EXPECT_EQ(musicNumber, 1);
  tapKey('M');
  EXPECT_EQ(musicNumber, 2);
  EXPECT_EQ(lastMusicNumber, 2);
  musicNumber = 20;
  tapKey('M');
  EXPECT_EQ(musicNumber, 1);
  EXPECT_EQ(lastMusicNumber, 1);
  // Any latched key held keeps every other key of the screen blocked.
  pressKey('S');
  runFrames(1);
  EXPECT_EQ(musicNumber, MUSIC_SILENT);
  pressKey('M');
  runFrames(3);
  releaseKey('S');
  runFrames(3);
  EXPECT_EQ(musicNumber, MUSIC_SILENT);
  releaseKey('M');
  runFrames(1);
  tapKey('S');
  EXPECT_EQ(musicNumber, 1);
}

TEST(GameKeys, EnterOnTheLevelCompleteScreenAndItsLatch) {
  enterGame(1);
  skipCountdown();
  parkEnemies();
  runFrames(1);
  // Enter outside the two screens that take it does nothing, not even latch.
  pressKey(VK_RETURN);
  runFrames(1);
  EXPECT_EQ(keyLatch, 0);
  EXPECT_EQ(level, 1u);
  levelComplete = 1;
  gameLoaded = 1;
  runFrames(1); // next level set up in the next frame
  EXPECT_EQ(level, 2u);
  EXPECT_EQ(gameLoaded, 0);
  EXPECT_EQ(keyLatch, 1);
  runFrames(1);
  EXPECT_EQ(levelComplete, 0);
  // Held into the new level: nothing more happens until it is let go.
  skipCountdown();
  levelComplete = 1;
  runFrames(3);
  EXPECT_EQ(level, 2u);
  releaseKey(VK_RETURN);
  runFrames(1);
  EXPECT_EQ(keyLatch, 0);

  // At the last level Enter sets up the same level again.
  enterGame(200);
  skipCountdown();
  levelComplete = 1;
  headless::clearDrawLog();
  runFrames(1);
  EXPECT_TRUE(textWasDrawn("Press Enter to continue to Level 200"));
  EXPECT_EQ(nextLevel(), 200u);
  tapKey(VK_RETURN);
  EXPECT_EQ(level, 200u);
  EXPECT_EQ(levelComplete, 0);
  EXPECT_EQ(startCountdown, 179);
}

TEST(GameKeys, EscapeLeavesForTheMainMenuWithoutSaving) {
  enterGame(3);
  skipCountdown();
  levelComplete = 1;
  totalScore = 999;
  for (size_t i = 0; i < tickerLetters.size(); ++i) {
    tickerLetters[i].x = -500; // somewhere in its run
  }
  runFrames(1);
  pressKey(VK_ESCAPE);
  runFrames(1);
  releaseKey(VK_ESCAPE);
  EXPECT_EQ(screenState, MainMenu);
  EXPECT_EQ(screenEntryPending, 1);
  EXPECT_EQ(keyLatch, 1);
  EXPECT_EQ(gameSaved, 0);
  ASSERT_TRUE(loadSavedGame()); // still the default saved game
  EXPECT_EQ(totalScore, 0u);
  EXPECT_EQ(level, 1u);
  // The menu's ticker starts again from the right edge.
  ASSERT_FALSE(tickerLetters.empty());
  for (size_t i = 0; i < tickerLetters.size(); ++i) {
    EXPECT_EQ(tickerLetters[i].x, static_cast<int32_t>(1920 + 16 * i));
  }

  // During the countdown too.
  enterGame(1);
  pressKey(VK_ESCAPE);
  runFrames(1);
  releaseKey(VK_ESCAPE);
  EXPECT_EQ(screenState, MainMenu);
}

TEST(GameKeys, SSavesOnceOnTheLevelCompleteScreen) {
  enterGame(7);
  skipCountdown();
  levelComplete = 1;
  lives = 3;
  totalScore = 4321;
  headless::clearDrawLog();
  runFrames(1);
  EXPECT_TRUE(textWasDrawn("Press [S] to save this reached point"));
  const int32_t music = musicNumber;
  tapKey('S');
  EXPECT_EQ(gameSaved, 1);
  EXPECT_EQ(musicNumber, music); // not the silence toggle here
  ASSERT_TRUE(std::filesystem::exists(resolvePath("data/tt.pta")));
  const auto written = std::filesystem::last_write_time(resolvePath("data/tt.pta"));
  headless::clearDrawLog();
  runFrames(1);
  EXPECT_TRUE(textWasDrawn("Game was saved!"));
  EXPECT_FALSE(textWasDrawn("Press [S] to save this reached point"));
  // The saved point is the next level with this level's lives and score.
  level = 1;
  lives = 1;
  totalScore = 0;
  ASSERT_TRUE(loadSavedGame());
  EXPECT_EQ(level, 8u);
  EXPECT_EQ(lives, 3);
  EXPECT_EQ(totalScore, 4321u);
  level = 7;
  tapKey('S');
  EXPECT_EQ(std::filesystem::last_write_time(resolvePath("data/tt.pta")), written);
}

TEST(GameKeys, AFailedSaveKeepsTheOffer) {
  enterGame(4);
  skipCountdown();
  levelComplete = 1;
  // data/ is a plain file: nothing can be written below it.
  std::filesystem::remove_all(resolvePath("data"));
  {
    std::FILE *f = std::fopen(resolvePath("data").c_str(), "w");
    std::fclose(f);
  }
  tapKey('S');
  EXPECT_EQ(gameSaved, 0);
  headless::clearDrawLog();
  runFrames(1);
  EXPECT_TRUE(textWasDrawn("Press [S] to save this reached point"));
  EXPECT_FALSE(textWasDrawn("Game was saved!"));
}

TEST(LevelCompleteScreen, LinesHeightsAndRowsOfTheWorkedExample) {
  enterGame(7);
  skipCountdown();
  parkEnemies();
  levelComplete = 1;
  percentWhole = 79;
  percentHundredths = 81;
  percentTenThousandths = 8137;
  basicScore = 798137;
  timeBonus = 123450;
  levelScore = 1400469;
  totalScore = 1400469;
  headless::clearDrawLog();
  runFrames(1);
  struct Line {
    const char *text;
    int height;
    int row;
  };
  const Line lines[] = {
      {"Level 7 completed!", 120, 60},
      {"Captured area: 79.8137%", 50, 210},
      {"Level basic score (capt. area * 10000): 798137", 50, 280},
      {"Level basic score multiplier: 1.6", 50, 350},
      {"Time bonus: 123450", 50, 420},
      {"Level final score (multiplied basic plus time bonus): 1400469", 50, 490},
      {"Total score: 0001400469", 80, 610},
      {"Press Enter to continue to Level 8", 60, 770},
      {"Press [S] to save this reached point", 60, 850},
      {"Press Escape if you are a coward ;-)", 60, 930},
  };
  const auto texts = textsDrawn();
  ASSERT_GE(texts.size(), 10u);
  for (size_t i = 0; i < 10; ++i) {
    EXPECT_EQ(texts[i], lines[i].text); // drawn first, in this order
    auto found = textRecords(lines[i].text);
    ASSERT_FALSE(found.empty()) << lines[i].text;
    EXPECT_EQ(found[0].fontHeight, lines[i].height) << lines[i].text;
    EXPECT_EQ(layoutRow(found[0]), lines[i].row) << lines[i].text;
    EXPECT_EQ(static_cast<int>(found[0].x), centredLeft(lines[i].text, lines[i].height));
  }
  // The status line follows at its own height, still with the level's values.
  auto status = textRecords("Captured area: 79.81%");
  ASSERT_EQ(status.size(), 1u);
  EXPECT_EQ(status[0].fontHeight, 30);
  // Player and black enemies are gone from the field; the time bonus is frozen.
  EXPECT_FALSE(playerSpriteDrawn());
  EXPECT_EQ(timeBonus, 123450);
  // Level 1 prints its multiplier as 1.0.
  level = 1;
  headless::clearDrawLog();
  runFrames(1);
  EXPECT_TRUE(textWasDrawn("Level basic score multiplier: 1.0"));
}

TEST(StatusLine, FixedPositionsAndTheMusicField) {
  enterGame(1);
  musicNumber = 5;
  headless::clearDrawLog();
  runFrames(1);
  struct Item {
    const char *text;
    int x;
  };
  const Item items[] = {
      {"Level: 1", 5},
      {"Captured area: 00.00%", 200},
      {"Time bonus: 00100000", 610},
      {"Total score: 0000000000", 990},
      {"Lives: 5", 1420},
      {"[M]usic(5) [S]ilent", 1590},
  };
  for (const Item &item : items) {
    auto found = textRecords(item.text);
    ASSERT_EQ(found.size(), 1u) << item.text;
    EXPECT_EQ(static_cast<int>(found[0].x), item.x) << item.text;
    EXPECT_EQ(layoutRow(found[0]), 1035) << item.text;
    EXPECT_EQ(found[0].fontHeight, 30) << item.text;
  }
  EXPECT_TRUE(playerSpriteDrawn());

  // The music field: the tune, silence, or for a while the volume a key set.
  const struct {
    int32_t tune, shownFrames, shownWhich, music, effects;
    const char *text;
  } fields[] = {
      {12, 0, 0, 252, 0, "[M]usic(12)[S]ilent"},
      {MUSIC_SILENT, 0, 0, 252, 0, "[M]usic(-) [S]ilent"},
      {MUSIC_SILENT, 30, 0, 7500, 0, "Music volume:75%"},
      {MUSIC_SILENT, 30, 1, 7500, 10000, "Samples volume:100%"},
  };
  for (const auto &f : fields) {
    musicNumber = f.tune;
    volumeDisplayFrames = f.shownFrames;
    volumeDisplayWhich = f.shownWhich;
    musicVolume = f.music;
    effectsVolume = f.effects;
    headless::clearDrawLog();
    runFrames(1);
    EXPECT_TRUE(textWasDrawn(f.text)) << f.text;
  }
  volumeDisplayFrames = 0;
  musicNumber = 1;

  // Large values keep their widths: eight and ten digits.
  timeBonus = 10050000;
  totalScore = 4294967295u;
  headless::clearDrawLog();
  runFrames(1);
  EXPECT_TRUE(textWasDrawn("Time bonus: 10050000"));
  EXPECT_TRUE(textWasDrawn("Total score: 4294967295"));
}

TEST(GameFrame, SlowedWhitesMoveEverySecondFrameAndOnlyWhitesMoveAfterTheLevel) {
  enterGame(1);
  skipCountdown();
  parkEnemies();
  enemiesSlowed = 1;
  int moves = 0;
  int32_t lastX = whiteEnemies[0].box.x;
  for (int i = 0; i < 6; ++i) {
    const int32_t toggle = slowFrameToggle;
    runFrames(1);
    const bool moved = whiteEnemies[0].box.x != lastX;
    EXPECT_EQ(moved, toggle == 1) << "frame " << i;
    moves += moved ? 1 : 0;
    lastX = whiteEnemies[0].box.x;
  }
  EXPECT_EQ(moves, 3);

  // The level is over: the white enemies go on, the black ones and the player stand.
  enemiesSlowed = 0;
  blackEnemyCount = 1;
  placeBox(blackEnemies[0].box, 100, 505);
  blackEnemies[0].direction = DIR_UP_RIGHT;
  steer(VK_LEFT, 1);
  levelComplete = 1;
  const int32_t blackX = blackEnemies[0].box.x;
  const int32_t playerX = playerBox.x;
  lastX = whiteEnemies[0].box.x;
  runFrames(4);
  EXPECT_EQ(blackEnemies[0].box.x, blackX);
  EXPECT_EQ(playerBox.x, playerX);
  EXPECT_EQ(playerMoving, 0);
  EXPECT_EQ(std::abs(whiteEnemies[0].box.x - lastX), 4);
}

TEST(GameFrame, BounceFlashesFadeInEveryPhase) {
  enterGame(1); // still in the countdown: the flash fades all the same
  Enemy &enemy = whiteEnemies[0];
  enemy.flashActive = 1;
  enemy.flashes[8] = BounceFlash{2, 16, 12, 19, 100, 200, 240};
  enemy.flashes[3] = BounceFlash{16, 16, 19, 26, 300, 400, 16};
  headless::clearDrawLog();
  runFrames(1);
  std::vector<DrawRecord> flashes;
  for (const DrawRecord &r : headless::drawLog()) {
    if (r.kind == DrawKind::Sprite && r.flashBlend) {
      flashes.push_back(r);
    }
  }
  ASSERT_EQ(flashes.size(), 2u);
  EXPECT_EQ(flashes[0].colour, 0xF0FFFFFFu); // slot 8 first
  EXPECT_EQ(flashes[0].src.left, 2);
  EXPECT_EQ(flashes[0].src.bottom, 19);
  EXPECT_EQ(flashes[0].x, 100.0f);
  EXPECT_EQ(flashes[0].y, 200.0f + verticalOffset);
  EXPECT_EQ(flashes[1].colour, 0x10FFFFFFu);
  EXPECT_EQ(enemy.flashes[8].alpha, 232);
  EXPECT_EQ(enemy.flashes[3].alpha, 8);
  runFrames(29);
  EXPECT_EQ(enemy.flashes[8].alpha, 0);
  EXPECT_EQ(enemy.flashActive, 1);
  headless::clearDrawLog();
  runFrames(1); // nothing left to draw: the enemy's flash is over
  EXPECT_EQ(enemy.flashActive, 0);
  for (const DrawRecord &r : headless::drawLog()) {
    EXPECT_FALSE(r.flashBlend);
  }
}
