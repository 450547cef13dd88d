// Crashes of every cause, the shield, the crash and game-over screens, and
// going on after a crash.
#include "game_helpers.h"
#include "persistence/top_ten.h"
#include "playfield/painting.h"
#include "playfield/track_list.h"
#include <cstdlib>
#include <gtest/gtest.h>
#include <string>

namespace {

void startPlaying(uint32_t startLevel = 1) {
  enterGame(startLevel);
  skipCountdown();
  parkEnemies();
}

uint32_t pixelOfCell(int x, int y) {
  const uint32_t *pixels = lockTexture(playfieldTexture);
  return pixels == nullptr ? 0 : pixels[(2 * y) * 1920 + 2 * x];
}

// One black enemy right beside the player standing at the start.
void blackEnemyBesideThePlayer() {
  blackEnemyCount = 1;
  placeBox(blackEnemies[0].box, 483, 5);
  blackEnemies[0].direction = DIR_DOWN_RIGHT;
  blackEnemies[0].spriteShift = 0;
}

// The player straight down into the free area to row `y`, laying a band at
// columns 478..482.
void runDownTo(int y) {
  steer(VK_DOWN, 1);
  runFrames(y - 6);
  ASSERT_EQ(playerBox.y, y);
  ASSERT_EQ(crashed, 0);
}

// A white enemy just right of the band, moving down-left into it.
void whiteEnemyAgainstTheTrack() {
  placeBox(whiteEnemies[0].box, 483, 40);
  whiteEnemies[0].direction = DIR_DOWN_LEFT;
}

// A black enemy in the top border whose south side reads the track's start.
void blackEnemyOnTheTrackStart() {
  blackEnemyCount = 1;
  placeBox(blackEnemies[0].box, 478, 10);
  blackEnemies[0].direction = DIR_UP_RIGHT;
}

void setTopTenScores(uint32_t score) {
  for (TopTenEntry &row : topTenFileTable) {
    row.score = score;
    row.level = 1;
    row.gameId = 0;
  }
}

// The last life lost at this score, against a table of ten equal scores.
void loseLastLife(uint32_t score, uint32_t tableScore) {
  startPlaying();
  setTopTenScores(tableScore);
  lives = 1;
  totalScore = score;
  blackEnemyBesideThePlayer();
  runFrames(1);
  ASSERT_EQ(crashed, 1);
  ASSERT_EQ(lives, 0);
}

} // namespace

TEST(Crash, BlackEnemyTouchingThePlayerAnywhere) {
  startPlaying();
  blackEnemyBesideThePlayer();
  runFrames(1);
  EXPECT_EQ(crashed, 1);
  EXPECT_EQ(crashCause, CRASH_BLACK_PLAYER);
  EXPECT_EQ(lives, 4);
  EXPECT_EQ(blackEnemies[0].spriteShift, 28);
  // The crashed sprites are drawn from the shifted rectangles.
  headless::clearDrawLog();
  runFrames(1);
  bool crashedPlayer = false;
  bool crashedBlack = false;
  for (const DrawRecord &r : headless::drawLog()) {
    crashedPlayer |= r.kind == DrawKind::Sprite && r.src.left == 72 && r.src.right == 82;
    crashedBlack |= r.kind == DrawKind::Sprite && r.src.left == 58 && r.src.right == 68;
  }
  EXPECT_TRUE(crashedPlayer);
  EXPECT_TRUE(crashedBlack);
}

TEST(Crash, WhiteEnemyTouchingThePlayerInTheFreeArea) {
  startPlaying();
  runDownTo(30);
  placeBox(whiteEnemies[0].box, 483, 31); // beside where the player steps next
  whiteEnemies[0].direction = DIR_DOWN_LEFT;
  runFrames(1);
  EXPECT_EQ(crashed, 1);
  EXPECT_EQ(crashCause, CRASH_WHITE_PLAYER);
  EXPECT_EQ(whiteEnemies[0].spriteShift, 28);
  EXPECT_EQ(lives, 4);
}

TEST(Crash, EnemiesHittingTheTrack) {
  startPlaying();
  runDownTo(30);
  blackEnemyOnTheTrackStart(); // not touching the player, only the track
  runFrames(1);
  EXPECT_EQ(crashed, 1);
  EXPECT_EQ(crashCause, CRASH_BLACK_TRACK);

  startPlaying();
  runDownTo(50);
  whiteEnemyAgainstTheTrack();
  runFrames(1);
  EXPECT_EQ(crashed, 1);
  EXPECT_EQ(crashCause, CRASH_WHITE_TRACK);
  EXPECT_EQ(pixelOfCell(480, 42), COLOUR_TRACK_CRASH);
}

TEST(Crash, TheShieldTakesOneHitFromEachKindOfEnemy) {
  startPlaying();
  runDownTo(50);
  trackShielded = 1;
  recolourTrackShielded();
  whiteEnemyAgainstTheTrack();
  runFrames(1);
  EXPECT_EQ(crashed, 0);
  EXPECT_EQ(trackShielded, 0);
  EXPECT_EQ(whiteEnemies[0].direction, DIR_DOWN_RIGHT); // bounced as usual
  EXPECT_EQ(pixelOfCell(480, 42), COLOUR_TRACK);
  whiteEnemyAgainstTheTrack(); // the same hit again, unshielded
  runFrames(1);
  EXPECT_EQ(crashed, 1);
  EXPECT_EQ(crashCause, CRASH_WHITE_TRACK);

  startPlaying();
  trackShielded = 1;
  runDownTo(20);
  blackEnemyOnTheTrackStart();
  runFrames(1);
  EXPECT_EQ(crashed, 0);
  EXPECT_EQ(trackShielded, 0);
  blackEnemyOnTheTrackStart();
  runFrames(1);
  EXPECT_EQ(crashed, 1);
  EXPECT_EQ(crashCause, CRASH_BLACK_TRACK);

  // A collision with the player's square is never shielded.
  startPlaying();
  trackShielded = 1;
  blackEnemyBesideThePlayer();
  runFrames(1);
  EXPECT_EQ(crashed, 1);
  EXPECT_EQ(crashCause, CRASH_BLACK_PLAYER);
}

TEST(CrashScreen, SixtyStillFramesThenTheLinesOfTheCause) {
  startPlaying();
  lives = 2;
  blackEnemyBesideThePlayer();
  runFrames(1);
  ASSERT_EQ(lives, 1);
  for (int i = 1; i <= 60; ++i) {
    headless::clearDrawLog();
    runFrames(1);
    ASSERT_FALSE(textWasDrawn("!CRASH!")) << "frame " << i;
  }
  EXPECT_EQ(crashFrames, 60);
  headless::clearDrawLog();
  runFrames(1);
  const char *const lines[][3] = {
      {"!CRASH!", "150", "280"},
      {"(Collision with a black enemy)", "30", "420"},
      {"One last life remaining!", "60", "510"},
      {"Press Enter to continue", "60", "700"},
      {"Press Escape if you are a coward ;-)", "60", "780"},
  };
  for (const auto &line : lines) {
    auto found = textRecords(line[0]);
    ASSERT_EQ(found.size(), 1u) << line[0];
    EXPECT_EQ(found[0].fontHeight, std::stoi(line[1])) << line[0];
    EXPECT_EQ(layoutRow(found[0]), std::stoi(line[2])) << line[0];
    EXPECT_EQ(static_cast<int>(found[0].x), centredLeft(line[0], std::stoi(line[1])));
  }
  EXPECT_EQ(crashFrames, 60);
  // The line of every cause, and the count of lives from three on.
  const char *const causes[] = {
      "(Suicide - collision with your own track)",
      "(Collision with a black enemy)",
      "(Collision with a white enemy)",
      "(A black enemy hit your track starting point)",
      "(A white enemy hit your track)",
  };
  lives = 4;
  for (int32_t cause = 0; cause < 5; ++cause) {
    crashCause = cause;
    headless::clearDrawLog();
    runFrames(1);
    EXPECT_TRUE(textWasDrawn(causes[cause]));
    EXPECT_TRUE(textWasDrawn("Remaining lives: 4"));
  }
}

TEST(CrashScreen, ContinuingErasesTheTrackAndPlacesTheBlackEnemiesAgain) {
  startPlaying(5); // two black enemies, five white ones, one shield item
  steer(VK_DOWN, 20);
  steer(VK_RIGHT, 10);
  steer(VK_UP, 1);
  steer(VK_LEFT, 1);
  ASSERT_EQ(crashCause, CRASH_OWN_TRACK);
  whiteEnemies[2].spriteShift = 28;
  EntityBox whites[5];
  for (int i = 0; i < 5; ++i) {
    whites[i] = whiteEnemies[i].box;
  }
  const uint32_t bonus = static_cast<uint32_t>(timeBonus);
  // Enter is taken during the delay as well.
  tapKey(VK_RETURN);
  EXPECT_EQ(crashed, 0);
  EXPECT_EQ(crashHandled, 0);
  EXPECT_EQ(lives, 4);
  EXPECT_EQ(cellAt(480, 20), CELL_FREE);
  EXPECT_EQ(pixelOfCell(480, 20), COLOUR_FREE);
  EXPECT_EQ(trackValueCount, 0);
  EXPECT_EQ(playerBox.x, 478);
  EXPECT_EQ(playerBox.y, 5);
  EXPECT_EQ(playerSpriteShift, 0);
  EXPECT_EQ(blackEnemyCount, 2u);
  for (uint32_t i = 0; i < blackEnemyCount; ++i) {
    EXPECT_GE(blackEnemies[i].box.y, 500);
    EXPECT_LE(blackEnemies[i].box.y, 510);
    EXPECT_EQ(blackEnemies[i].spriteShift, 0);
  }
  // The whites went on by one step in the frame after Enter, from where they were.
  for (int i = 0; i < 5; ++i) {
    EXPECT_EQ(whiteEnemies[i].spriteShift, 0);
    EXPECT_LE(std::abs(whiteEnemies[i].box.x - whites[i].x), 1);
    EXPECT_LE(std::abs(whiteEnemies[i].box.y - whites[i].y), 1);
  }
  // No countdown: the time bonus runs on from where it stood.
  EXPECT_EQ(startCountdown, 0);
  EXPECT_EQ(static_cast<uint32_t>(timeBonus), bonus - 10);
}

TEST(GameOver, WithoutATopTenPlaceEnterStartsANewGame) {
  loseLastLife(100, 500);
  runFrames(60);
  headless::clearDrawLog();
  runFrames(1);
  EXPECT_EQ(topTenRank, 10);
  auto game = textRecords("GAME");
  ASSERT_EQ(game.size(), 1u);
  EXPECT_EQ(game[0].fontHeight, 280);
  EXPECT_EQ(layoutRow(game[0]), 200);
  auto over = textRecords("OVER");
  ASSERT_EQ(over.size(), 1u);
  EXPECT_EQ(layoutRow(over[0]), 400);
  EXPECT_TRUE(textWasDrawn("Press Enter to try again"));
  EXPECT_TRUE(textWasDrawn("Press Escape to return to the main menu"));
  EXPECT_EQ(crashFrames, 61);
  const int32_t oldId = gameId;
  level = 9; // as if the game had gone on for a while
  tapKey(VK_RETURN);
  EXPECT_EQ(screenState, Game);
  EXPECT_EQ(level, 1u);
  EXPECT_EQ(lives, 5);
  EXPECT_EQ(totalScore, 0u);
  EXPECT_EQ(crashed, 0);
  EXPECT_EQ(startCountdown, 179);
  EXPECT_NE(gameId, oldId);

  loseLastLife(100, 500);
  pressKey(VK_ESCAPE);
  runFrames(1);
  releaseKey(VK_ESCAPE);
  EXPECT_EQ(screenState, MainMenu);
  EXPECT_EQ(keyLatch, 1);
}

TEST(GameOver, WithATopTenPlaceBothKeysOpenTheNameEntry) {
  loseLastLife(900, 500);
  runFrames(1); // the rank is decided in the first frame after the crash
  EXPECT_EQ(topTenRank, 0);
  runFrames(60);
  EXPECT_TRUE(textWasDrawn("Top ten score reached!"));
  EXPECT_TRUE(textWasDrawn("Press Enter to enter the hall of fame"));
  pressKey(VK_RETURN);
  runFrames(1);
  releaseKey(VK_RETURN);
  EXPECT_EQ(screenState, NameEntry);
  EXPECT_EQ(screenEntryPending, 1);
  EXPECT_EQ(keyLatch, 1);

  loseLastLife(900, 500);
  runFrames(1);
  keyLatch = 0;
  pressKey(VK_ESCAPE);
  runFrames(1);
  releaseKey(VK_ESCAPE);
  EXPECT_EQ(screenState, NameEntry);
  EXPECT_EQ(screenEntryPending, 1);
  EXPECT_EQ(keyLatch, 0); // this one way out sets no latch
}

TEST(GameOver, AKeyBeforeTheRankIsKnownActsAsWithoutAPlace) {
  // A key in the very frame of the last crash: no place is known yet, even
  // for a score that would have made the table. Enter tries again; Escape
  // is the way back to the main menu, with the latch.
  const struct {
    int key;
    uint8_t screen;
    int32_t lives;
    uint32_t totalScore;
  } cases[] = {{VK_RETURN, Game, START_LIVES, 0}, {VK_ESCAPE, MainMenu, 0, 900}};
  for (const auto &c : cases) {
    startPlaying();
    setTopTenScores(500);
    lives = 1;
    totalScore = 900;
    blackEnemyBesideThePlayer();
    pressKey(c.key);
    runFrames(1);
    releaseKey(c.key);
    SCOPED_TRACE(c.key);
    EXPECT_EQ(screenState, c.screen);
    EXPECT_EQ(level, 1u);
    EXPECT_EQ(lives, c.lives);
    EXPECT_EQ(totalScore, c.totalScore);
    EXPECT_EQ(topTenRank, NO_TOP_TEN_PLACE);
  }
  EXPECT_EQ(screenEntryPending, 1); // Escape's way back, as the last case left it
  EXPECT_EQ(keyLatch, 1);

  // On the crash screen with lives left Escape abandons the game as well.
  startPlaying();
  lives = 3;
  blackEnemyBesideThePlayer();
  runFrames(1);
  ASSERT_EQ(crashed, 1);
  runFrames(70);
  pressKey(VK_ESCAPE);
  runFrames(1);
  releaseKey(VK_ESCAPE);
  EXPECT_EQ(screenState, MainMenu);
  EXPECT_EQ(keyLatch, 1);
  EXPECT_EQ(lives, 2);
  EXPECT_EQ(gameSaved, 0);
}
