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
