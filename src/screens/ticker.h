// The main menu's ticker: the about text as letters that scroll from right to
// left below the menu lines.
#pragma once
#include <cstdint>
#include <vector>

struct TickerLetter {
  char character;
  int32_t x; // virtual units
};

// The four waves: three colour waves and the motion wave.
constexpr int WAVE_RED = 0;
constexpr int WAVE_GREEN = 1;
constexpr int WAVE_BLUE = 2;
constexpr int WAVE_MOTION = 3;
constexpr int WAVE_COUNT = 4;
constexpr float FULL_TURN = 6.2831855f; // 2 pi as a 32-bit float

extern float wavePhase[WAVE_COUNT];
extern float waveSpeed[WAVE_COUNT];
extern float waveStep[WAVE_COUNT];
extern uint8_t waveSeeded;
extern float runningPhase[WAVE_COUNT];

extern const char *const aboutText;
extern std::vector<TickerLetter> tickerLetters;
extern int32_t tickerWidth;

// One letter per character of the about text (start-up).
void buildTicker();
// Every letter back to its start (x = 1920 + 16 i), so the ticker starts
// again from the right edge; the game calls it when a game ends.
void resetTicker();
// Frees the letters (program end).
void freeTicker();
// Random phases and speeds, once per run (later calls do nothing).
void seedWave();
// One frame's turn of the four waves; a speed reverses its step when a wrap
// takes it out of its band.
void advanceWave();
// The letters through letterSprite, each turned and moved by its own
// transform, and one step to the left.
void drawTicker();
