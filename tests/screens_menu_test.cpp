#include "common/files.h"
#include "common/random.h"
#include "persistence/saved_game.h"
#include "persistence/top_ten.h"
#include "platform/input.h"
#include "presentation/assets.h"
#include "presentation/text_draw.h"
#include "presentation/transform.h"
#include "presentation/video_modes.h"
#include "screens/ticker.h"
#include "shell/shell.h"
#include "state/game_state.h"
#include "test_support.h"
#include <cmath>
#include <gtest/gtest.h>

namespace {
const DrawRecord *findText(const std::string &text) {
  for (const DrawRecord &r : headless::drawLog()) {
    if (r.kind == DrawKind::Text && r.text == text) {
      return &r;
    }
  }
  return nullptr;
}

std::vector<const DrawRecord *> letterDraws() {
  std::vector<const DrawRecord *> out;
  for (const DrawRecord &r : headless::drawLog()) {
    if (r.kind == DrawKind::Text && r.sprite == letterSprite) {
      out.push_back(&r);
    }
  }
  return out;
}

void startMenu() {
  startHeadless();
  quitPosted = 0;
  gameLoaded = 0;
}
} // namespace

TEST(MainMenu, SetUpPreparesANewGameAndDrawsTheLayout) {
  startMenu();
  level = 9;
  lives = 2;
  totalScore = 500;
  gameLoaded = 1;
  gameSaved = 1;
  runFrames(1);
  EXPECT_EQ(level, 1u);
  EXPECT_EQ(lives, 5);
  EXPECT_EQ(totalScore, 0u);
  EXPECT_EQ(gameLoaded, 0);
  EXPECT_EQ(gameSaved, 0);
  EXPECT_EQ(screenEntryPending, 0);

  const DrawRecord *logo = nullptr;
  for (const DrawRecord &r : headless::drawLog()) {
    if (r.kind == DrawKind::Sprite && r.texture == logoTexture && r.wholeTexture) {
      logo = &r;
    }
  }
  ASSERT_NE(logo, nullptr);
  EXPECT_EQ(logo->x, 400.0f);
  EXPECT_EQ(logo->y, 100.0f + verticalOffset);
  EXPECT_EQ(logo->colour, COLOUR_WHITE);

  struct Expected {
    const char *text;
    int height;
    int y;
  } lines[] = {{"(Retro \"fluid\" edition by Tarbeck)", 30, 350},
               {"Play [Enter]", 70, 440},
               {"Load [L]", 70, 530},
               {"Top ten [T]", 70, 620},
               {"Instructions [I]", 70, 710},
               {"Exit [Escape]", 70, 800}};
  for (const Expected &e : lines) {
    const DrawRecord *r = findText(e.text);
    ASSERT_NE(r, nullptr) << e.text;
    EXPECT_EQ(r->fontHeight, e.height) << e.text;
    EXPECT_EQ(r->colour, COLOUR_MENU_GREEN);
    EXPECT_EQ(r->y, e.y + static_cast<int>(verticalOffset));
    int width = static_cast<int>(std::string(e.text).size()) * headless::glyphAdvance(e.height);
    EXPECT_EQ(r->x, 960 - width / 2) << e.text;
  }
  // The ticker letters use the credit line's height again; the first one
  // comes on screen in the second frame.
  runFrames(1);
  std::vector<const DrawRecord *> letters = letterDraws();
  ASSERT_FALSE(letters.empty());
  EXPECT_EQ(letters[0]->fontHeight, 30);
}

TEST(MainMenu, WaveIsSeededOnceInTheDrawOrder) {
  startMenu();
  waveSeeded = 0;
  gameSrand(4242);
  int32_t draws[8];
  for (int32_t &d : draws) {
    d = gameRand();
  }
  gameSrand(4242);
  seedWave();
  EXPECT_FLOAT_EQ(wavePhase[WAVE_RED], (draws[0] % 6284) / 1000.0f);
  EXPECT_FLOAT_EQ(waveSpeed[WAVE_RED], (draws[1] % 11 + 10) / 500.0f);
  EXPECT_FLOAT_EQ(wavePhase[WAVE_GREEN], (draws[2] % 6284) / 1000.0f);
  EXPECT_FLOAT_EQ(wavePhase[WAVE_MOTION], (draws[3] % 6284) / 1000.0f);
  EXPECT_FLOAT_EQ(waveSpeed[WAVE_GREEN], (draws[4] % 11 + 10) / 500.0f);
  EXPECT_FLOAT_EQ(wavePhase[WAVE_BLUE], (draws[5] % 6284) / 1000.0f);
  EXPECT_FLOAT_EQ(waveSpeed[WAVE_BLUE], (draws[6] % 11 + 10) / 500.0f);
  EXPECT_FLOAT_EQ(waveSpeed[WAVE_MOTION], (draws[7] % 11 + 10) / 500.0f);
  // A later visit continues the wave instead of drawing a new one.
  float phase = wavePhase[WAVE_RED];
  int32_t next = gameRand();
  gameSrand(4242);
  for (int i = 0; i < 8; ++i) {
    gameRand();
  }
  screenEntryPending = 1;
  runFrames(1);
  EXPECT_EQ(gameRand(), next);
  EXPECT_FLOAT_EQ(wavePhase[WAVE_RED], phase + waveSpeed[WAVE_RED]);
}

TEST(MainMenu, WaveSpeedsTurnBackAtTheEdgesOfTheirBands) {
  waveSeeded = 1;
  float step[WAVE_COUNT] = {0.001f, 0.001f, 0.001f, 0.005f};
  for (int w = 0; w < WAVE_COUNT; ++w) {
    wavePhase[w] = 0.0f;
    waveSpeed[w] = 0.039f;
    waveStep[w] = step[w];
  }
  waveSpeed[WAVE_MOTION] = 0.048f;
  float low[WAVE_COUNT] = {1, 1, 1, 1};
  float high[WAVE_COUNT] = {0, 0, 0, 0};
  for (int frame = 0; frame < 200000; ++frame) {
    advanceWave();
    for (int w = 0; w < WAVE_COUNT; ++w) {
      ASSERT_LE(wavePhase[w], FULL_TURN);
      low[w] = std::min(low[w], waveSpeed[w]);
      high[w] = std::max(high[w], waveSpeed[w]);
    }
  }
  for (int w = 0; w < 3; ++w) {
    EXPECT_GE(low[w], 0.02f - 0.0011f);
    EXPECT_LT(low[w], 0.0205f); // it does get down there and back
    EXPECT_LE(high[w], 0.04f + 0.0011f);
    EXPECT_GT(high[w], 0.0395f);
  }
  EXPECT_LE(high[WAVE_MOTION], 0.05f + 0.0051f);
  EXPECT_GE(low[WAVE_MOTION], 0.02f - 0.0051f);
}

TEST(MainMenu, TickerDrawsOnlyLettersOnScreenEachTurnedAboutItsCentre) {
  startMenu();
  runFrames(1);
  ASSERT_EQ(tickerLetters.size(), 773u);
  EXPECT_EQ(tickerWidth, 773 * 16);
  for (size_t i = 0; i < tickerLetters.size(); ++i) {
    tickerLetters[i].x = -100000; // off screen: not drawn, and far from the wrap
  }
  tickerLetters[0].x = -30;
  tickerLetters[1].x = -29;
  tickerLetters[2].x = 1919;
  tickerLetters[3].x = 1920;
  for (int w = 0; w < WAVE_COUNT; ++w) {
    wavePhase[w] = 1.0f;
    waveSpeed[w] = 0.0f;
  }
  headless::clearDrawLog();
  runFrames(1);
  std::vector<const DrawRecord *> letters = letterDraws();
  ASSERT_EQ(letters.size(), 2u);
  EXPECT_EQ(letters[0]->text, std::string(1, aboutText[1]));
  EXPECT_EQ(letters[1]->text, std::string(1, aboutText[2]));
  EXPECT_EQ(letters[0]->x, 0.0f); // only the transform places a letter
  EXPECT_EQ(tickerLetters[1].x, -31);
  EXPECT_EQ(tickerLetters[3].x, 1918);

  // Letter 2 has its running phases advanced three times.
  float phase = 1.0f + 0.05f + 0.05f + 0.05f;
  int channel = static_cast<int>((std::sin(phase) + 1.0) * 100.0 + 50.0);
  uint32_t grey =
      0xFF000000u | uint32_t(channel) << 16 | uint32_t(channel) << 8 | uint32_t(channel);
  EXPECT_EQ(letters[1]->colour, grey);
  float w = static_cast<float>(headless::glyphAdvance(30));
  float cx = w / 2;
  float cy = 15.0f;
  float outX = 0;
  float outY = 0;
  transformPoint(letters[1]->transform, cx, cy, &outX, &outY);
  EXPECT_NEAR(outX, (1919 + cx) * renderScale, 0.01);
  EXPECT_NEAR(outY, (950 + 20 * std::sin(phase) + verticalOffset + cy) * renderScale, 0.01);
  // Turned by cos(phase) / 16 about its centre.
  float angle = std::atan2(letters[1]->transform.m12, letters[1]->transform.m11);
  EXPECT_NEAR(angle, std::cos(phase) * 0.0625, 1e-5);
}

TEST(MainMenu, TickerColoursComeFromTheSineInDoublePrecision) {
  startMenu();
  runFrames(1);
  for (TickerLetter &letter : tickerLetters) {
    letter.x = -100000;
  }
  tickerLetters[0].x = 500;
  // A running phase whose sine lies a hair above 0.51: in double precision
  // the channel is 201, a single-precision sine comes out below 0.51 (200).
  const float target = 0.535184801f;
  float start = target - 0.05f;
  for (int i = 0; i < 64 && static_cast<float>(start + 0.05) != target; ++i) {
    start = std::nextafter(start, static_cast<float>(start + 0.05) < target ? 1.0f : 0.0f);
  }
  ASSERT_EQ(static_cast<float>(start + 0.05), target);
  for (int w = 0; w < WAVE_COUNT; ++w) {
    wavePhase[w] = start;
    waveSpeed[w] = 0.0f;
  }
  headless::clearDrawLog();
  runFrames(1);
  std::vector<const DrawRecord *> letters = letterDraws();
  ASSERT_EQ(letters.size(), 1u);
  int channel = static_cast<int>((std::sin(static_cast<double>(target)) + 1.0) * 100.0 + 50.0);
  EXPECT_EQ(channel, 201);
  EXPECT_EQ(letters[0]->colour, 0xFFC9C9C9u);
}

TEST(MainMenu, TickerLettersWrapBackToTheRightEdge) {
  startMenu();
  runFrames(1);
  int32_t limit = 100 - tickerWidth;
  tickerLetters[5].x = limit + 1; // next step: limit - 1, which jumps back
  tickerLetters[6].x = limit + 2; // next step: exactly the limit, which stays
  runFrames(1);
  EXPECT_EQ(tickerLetters[5].x, 1920);
  EXPECT_EQ(tickerLetters[6].x, limit);
  resetTicker();
  EXPECT_EQ(tickerLetters[0].x, 1920);
  EXPECT_EQ(tickerLetters[772].x, 1920 + 16 * 772);
}

TEST(MainMenu, EscapeHeldFromAnotherScreenDoesNotQuit) {
  startMenu();
  runFrames(1);
  tapKey('T'); // the top ten clears its latch once T is up
  EXPECT_EQ(screenState, TopTen);
  pressKey(VK_ESCAPE);
  runFrames(1);
  EXPECT_EQ(screenState, MainMenu);
  runFrames(5); // still held in the menu
  EXPECT_EQ(quitPosted, 0);
  EXPECT_EQ(screenState, MainMenu);
  releaseKey(VK_ESCAPE);
  runFrames(1);
  pressKey(VK_ESCAPE);
  runFrames(1);
  EXPECT_EQ(quitPosted, 1);
}

TEST(MainMenu, LoadWithoutSavedGameDoesNothingAndEnterStillWorks) {
  startMenu();
  // Only the ten entries: no saved game.
  std::vector<uint8_t> bytes;
  ASSERT_TRUE(readWholeFile(TOP_TEN_FILE, bytes));
  bytes.resize(1650);
  ASSERT_TRUE(replaceFileAtomically(TOP_TEN_FILE, bytes));
  runFrames(1);
  pressKey('L');
  runFrames(5);
  EXPECT_EQ(screenState, MainMenu);
  EXPECT_EQ(gameLoaded, 0);
  EXPECT_EQ(level, 1u);
  pressKey(VK_RETURN);
  runFrames(1);
  EXPECT_EQ(screenState, Game);
  EXPECT_EQ(gameLoaded, 0);
  EXPECT_EQ(keyLatch, 1);
  EXPECT_EQ(screenEntryPending, 1);
  releaseKey('L');
  releaseKey(VK_RETURN);
}

TEST(MainMenu, LoadAndEnterTogetherContinueTheSavedGame) {
  startMenu();
  level = 14;
  lives = 2;
  totalScore = 9999;
  gameId = 4321;
  ASSERT_TRUE(writeSavedGame());
  runFrames(1);
  pressKey('L');
  pressKey(VK_RETURN);
  runFrames(1);
  EXPECT_EQ(screenState, Game);
  EXPECT_EQ(gameLoaded, 1);
  EXPECT_EQ(level, 15u);
  EXPECT_EQ(lives, 2);
  EXPECT_EQ(totalScore, 9999u);
  EXPECT_EQ(gameId, 4321);
  releaseKey('L');
  releaseKey(VK_RETURN);
}

TEST(MainMenu, TopTenAndInstructionsKeys) {
  startMenu();
  runFrames(1);
  tapKey('I');
  EXPECT_EQ(screenState, Instructions);
  tapKey(VK_ESCAPE);
  EXPECT_EQ(screenState, MainMenu);
  EXPECT_EQ(quitPosted, 0);
  tapKey('T');
  EXPECT_EQ(screenState, TopTen);
}
