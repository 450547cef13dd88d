// The capture: outline every white enemy's region, then one scan captures the
// track and every other free cell, and the level's share and score follow.
#pragma once
#include <cstdint>

constexpr int32_t TRACE_STEP_LIMIT = 10000;

void markWhiteEnemyRegions();
void captureEnclosedAreas();
// capturedPercent, percentWhole and percentHundredths from capturedCells;
// above 75% the level is complete and scored.
void scoreCapture();
// The completion sound for a share above 75%: 90 and 80 count only when passed.
int completionEffect(float percent);
// The level score for a share, level and time bonus, in unsigned 32-bit
// arithmetic as the level-complete screen shows it.
int32_t scoreForLevel(int32_t whole, int32_t tenThousandths, uint32_t levelNumber, int32_t bonus);
