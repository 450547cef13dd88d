// The ticker: its letters, their start positions, the colour and motion
// waves, and the letters drawn each turned and moved on its own.
#include "screens/ticker.h"
#include "common/format.h"
#include "common/random.h"
#include "common/start_values.h"
#include "presentation/text_draw.h"
#include "presentation/transform.h"
#include "presentation/video_modes.h"
#include <cmath>

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

float wavePhase[WAVE_COUNT] = {0, 0, 0, 0};
float waveSpeed[WAVE_COUNT] = {0, 0, 0, 0};
float waveStep[WAVE_COUNT] = {0.001f, 0.001f, 0.001f, 0.005f};
uint8_t waveSeeded = 0;
float runningPhase[WAVE_COUNT] = {0, 0, 0, 0};

namespace {
float randomPhase() { return static_cast<float>((gameRand() % 6284) / 1000.0); }
float randomSpeed() { return static_cast<float>((gameRand() % 11 + 10) / 500.0); }

// The sine is taken in double precision: a single-precision one shifts
// some channels by one where the value sits on a whole number.
uint8_t colourComponent(float phase) {
  return static_cast<uint8_t>(
      static_cast<int32_t>((std::sin(static_cast<double>(phase)) + 1.0) * 100.0 + 50.0));
}
} // namespace

void seedWave() {
  if (waveSeeded) {
    return;
  }
  // The draws interleave in this order; a seed gives one wave, and keeping
  // the order keeps that wave.
  wavePhase[WAVE_RED] = randomPhase();
  waveSpeed[WAVE_RED] = randomSpeed();
  wavePhase[WAVE_GREEN] = randomPhase();
  wavePhase[WAVE_MOTION] = randomPhase();
  waveSpeed[WAVE_GREEN] = randomSpeed();
  wavePhase[WAVE_BLUE] = randomPhase();
  waveSpeed[WAVE_BLUE] = randomSpeed();
  waveSpeed[WAVE_MOTION] = randomSpeed();
  waveSeeded = 1;
}

void advanceWave() {
  for (int w = 0; w < WAVE_COUNT; ++w) {
    wavePhase[w] += waveSpeed[w];
  }
  for (int w = 0; w < WAVE_COUNT; ++w) {
    if (wavePhase[w] > FULL_TURN) {
      wavePhase[w] -= FULL_TURN;
      waveSpeed[w] += waveStep[w];
      double upper = w == WAVE_MOTION ? 0.05 : 0.04;
      if (waveSpeed[w] > upper || waveSpeed[w] < 0.02) {
        waveStep[w] = -waveStep[w];
      }
    }
  }
}

void drawTicker() {
  for (int w = 0; w < WAVE_COUNT; ++w) {
    runningPhase[w] = wavePhase[w];
  }
  spriteBegin(letterSprite);
  for (TickerLetter &letter : tickerLetters) {
    // Phase and colour advance for every letter, shown or not, so the wave
    // runs along the whole text.
    for (float &phase : runningPhase) {
      phase = static_cast<float>(phase + 0.05);
      if (phase > FULL_TURN) {
        phase -= FULL_TURN;
      }
    }
    uint32_t colour = 0xFF000000u | uint32_t(colourComponent(runningPhase[WAVE_RED])) << 16 |
                      uint32_t(colourComponent(runningPhase[WAVE_GREEN])) << 8 |
                      colourComponent(runningPhase[WAVE_BLUE]);
    if (letter.x > -30 && letter.x < 1920) {
      textBuffer[0] = letter.character;
      textBuffer[1] = '\0';
      int w = 0;
      int h = 0;
      measureText(uiFont, textBuffer, &w, &h);
      float cx = static_cast<float>(w) * 0.5f;
      float cy = static_cast<float>(h) * 0.5f;
      double motion = runningPhase[WAVE_MOTION];
      float tx = (static_cast<float>(letter.x) + cx) * tickerScaling[0] - cx;
      float ty = static_cast<float>(
          (std::sin(motion) * 20.0 + 950.0 + verticalOffset + cy) * tickerScaling[1] - cy);
      float angle = static_cast<float>(std::cos(motion) * 0.0625);
      Transform2D m = matrixTransformation2D(cx, cy, 0.0f, tickerScaling[0], tickerScaling[1], cx,
                                             cy, angle, tx, ty);
      spriteSetTransform(letterSprite, m);
      drawTextAtOrigin(colour);
    }
    letter.x -= 2;
    if (letter.x < 100 - tickerWidth) {
      letter.x = 1920;
    }
  }
  spriteEnd(letterSprite);
}

// The globals above with the values they start with, for resetGameState.
namespace {
[[maybe_unused]] const bool startValuesKept = keepStartValues(
    wavePhase, waveSpeed, waveStep, waveSeeded, runningPhase);
} // namespace
