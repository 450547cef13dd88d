// The ticker's letters and their start positions.
#include "screens/ticker.h"
#include <cstring>
#include "common/format.h"

const char *const aboutText =
    "This classic old-school game was created by Tarbeck for himself and for his own pleasure "
    "and relax. The entire source code of the game was written in 48 hours only, in one long "
    "programming trip. And now you can enjoy this simple (but catchy) game too! The game doesn't "
    "have any graphics, but it does serve a lot of fun! What's more, the entire game has an "
    "infinite amount of levels (OK, not totally infinite, only 18446744073709551615 possible "
    "levels... ;-) ), but if you are able to conquer merely first 20 levels, you will be very, "
    "very, very...    ...lucky! Really. Although the number of elements in each next level "
    "increases linearly, the difficulty increases exponentially. But it's certain you will "
    "discover all that yourself. So, what are you waiting for? Go ahead!";

std::vector<TickerLetter> tickerLetters;
int32_t tickerWidth = 0;

void buildTicker() {
  // The text goes through the formatter like every other fixed text.
  size_t n = formatText(aboutText);
  tickerLetters.assign(n, TickerLetter{0, 0});
  for (size_t i = 0; i < n; ++i) {
    tickerLetters[i].character = textBuffer[i];
  }
}

void resetTicker() {
  tickerWidth = 0;
  for (size_t i = 0; i < tickerLetters.size(); ++i) {
    tickerLetters[i].x = 1920 + 16 * static_cast<int32_t>(i);
    tickerWidth += 16;
  }
}

void freeTicker() {
  tickerLetters.clear();
  tickerLetters.shrink_to_fit();
  tickerWidth = 0;
}
