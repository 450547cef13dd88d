// The captured share after each capture, and the level's score once it
// passes 75%.
#include "audio/audio.h"
#include "playfield/capture.h"
#include "playfield/grid.h"
#include "state/game_state.h"
#include <cmath>

int completionEffect(float percent) {
  if (percent > 90.0f) {
    return EFFECT_LEVEL_DONE_90;
  }
  if (percent > 80.0f) {
    return EFFECT_LEVEL_DONE_80;
  }
  return EFFECT_LEVEL_DONE_75;
}

int32_t scoreForLevel(int32_t whole, int32_t tenThousandths, uint32_t levelNumber, int32_t bonus) {
  const uint32_t basic =
      static_cast<uint32_t>(whole) * 10000u + static_cast<uint32_t>(tenThousandths);
  // (level + 9) / 10 is the multiplier, kept in whole numbers: the product
  // comes first and the division truncates.
  const uint32_t multiplied = (levelNumber + 9u) * basic / 10u;
  return static_cast<int32_t>(static_cast<uint32_t>(bonus) + multiplied);
}

void scoreCapture() {
  // The share is stored as a 32-bit float and every later step works from
  // that rounded value, which decides the exact thresholds in cells.
  capturedPercent = static_cast<float>(static_cast<double>(capturedCells) / INTERIOR_CELLS * 100.0);
  const double percent = capturedPercent;
  percentWhole = static_cast<int32_t>(std::floor(percent));
  percentHundredths = static_cast<int32_t>((percent - percentWhole) * 100.0);
  if (!(capturedPercent > 75.0f)) {
    return;
  }
  levelComplete = 1;
  percentTenThousandths = static_cast<int32_t>((percent - percentWhole) * 10000.0);
  basicScore =
      static_cast<uint32_t>(percentWhole) * 10000u + static_cast<uint32_t>(percentTenThousandths);
  levelScore = scoreForLevel(percentWhole, percentTenThousandths, level, timeBonus);
  // The total stops at the largest count rather than wrapping round to a
  // small score after very long games at level 200.
  const int64_t total = static_cast<int64_t>(totalScore) + levelScore;
  if (total > static_cast<int64_t>(UINT32_MAX)) {
    totalScore = UINT32_MAX;
  } else if (total < 0) {
    totalScore = 0;
  } else {
    totalScore = static_cast<uint32_t>(total);
  }
  playEffect(completionEffect(capturedPercent));
}
