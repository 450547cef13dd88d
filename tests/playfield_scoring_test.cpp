#include "audio/audio.h"
#include "playfield/capture.h"
#include "state/game_state.h"
#include <gtest/gtest.h>

namespace {
void scoreWith(uint32_t cells, uint32_t levelNumber, int32_t bonus, uint32_t total = 0) {
  capturedCells = cells;
  level = levelNumber;
  timeBonus = bonus;
  totalScore = total;
  levelComplete = 0;
  percentTenThousandths = 0;
  basicScore = 0;
  levelScore = 0;
  scoreCapture();
}
} // namespace

TEST(Scoring, SeventyFivePercentMustBePassedInTheFloatShare) {
  scoreWith(338287, 1, 0);
  EXPECT_EQ(levelComplete, 0);
  EXPECT_EQ(percentWhole, 74);
  EXPECT_EQ(percentHundredths, 99);
  EXPECT_EQ(totalScore, 0u);
  EXPECT_EQ(basicScore, 0u);

  scoreWith(338288, 1, 0);
  EXPECT_EQ(levelComplete, 1);
  EXPECT_EQ(percentWhole, 75);
  EXPECT_EQ(percentHundredths, 0);
  EXPECT_EQ(percentTenThousandths, 1);
  EXPECT_EQ(basicScore, 750001u);
  EXPECT_EQ(completionEffect(capturedPercent), EFFECT_LEVEL_DONE_75);
}

TEST(Scoring, CompletionSoundThresholdsAtEightyAndNinety) {
  const std::pair<uint32_t, int> cases[] = {
      {360840, EFFECT_LEVEL_DONE_75},                                 // exactly 80.0
      {360841, EFFECT_LEVEL_DONE_80}, {405945, EFFECT_LEVEL_DONE_80}, // exactly 90.0
      {405946, EFFECT_LEVEL_DONE_90}, {451050, EFFECT_LEVEL_DONE_90},
  };
  for (auto [cells, effect] : cases) {
    scoreWith(cells, 1, 0);
    EXPECT_EQ(levelComplete, 1) << cells;
    EXPECT_EQ(completionEffect(capturedPercent), effect) << cells;
  }
  scoreWith(360840, 1, 0);
  EXPECT_EQ(capturedPercent, 80.0f);
  EXPECT_EQ(basicScore, 800000u);
}

TEST(Scoring, WorkedExamplesToTheDigit) {
  scoreWith(360000, 1, 90000);
  EXPECT_FLOAT_EQ(capturedPercent, 79.81377f);
  EXPECT_EQ(percentWhole, 79);
  EXPECT_EQ(percentHundredths, 81);
  EXPECT_EQ(percentTenThousandths, 8137); // truncated, not rounded
  EXPECT_EQ(basicScore, 798137u);
  EXPECT_EQ(levelScore, 888137);
  EXPECT_EQ(totalScore, 888137u);

  scoreWith(360000, 7, 123450, 5);
  EXPECT_EQ(levelScore, 1400469);
  EXPECT_EQ(totalScore, 1400474u);

  // A full capture at level 200 with no time left.
  scoreWith(451050, 200, 0);
  EXPECT_EQ(basicScore, 1000000u);
  EXPECT_EQ(levelScore, 20900000);
  EXPECT_EQ(scoreForLevel(100, 0, 11, 7), 7 + 2000000);
}

TEST(Scoring, TotalStopsAtTheLargestCount) {
  scoreWith(360000, 1, 90000, 4294967000u);
  EXPECT_EQ(levelScore, 888137);
  EXPECT_EQ(totalScore, 4294967295u);
  scoreWith(360000, 1, 90000, 4294967295u);
  EXPECT_EQ(totalScore, 4294967295u);
  scoreWith(360000, 1, 0, 4294967295u - 798137u);
  EXPECT_EQ(totalScore, 4294967295u);
}
