// The main menu's ticker: the about text as letters that scroll from right to
// left below the menu lines.
#pragma once
#include <cstdint>
#include <vector>

struct TickerLetter {
  char character;
  int32_t x; // virtual units
};

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
