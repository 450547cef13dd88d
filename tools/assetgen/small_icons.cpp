// SPDX-License-Identifier: MIT
// The desktop's small icons (16 to 48 px): the window icon's scene redrawn on
// whole pixels for each size. Scaling the 64 px picture down blurs the track
// into the square and the enemy into specks, so here the track is at least
// two pixels wide, the square stands apart from it, and the 16 px icon leaves
// the enemy out.
#include "pictures.h"
#include <algorithm>
#include <cmath>

namespace {
constexpr uint32_t FRAME_GREY = 0xff5a6576u; // the window icon's frame
constexpr uint32_t FIELD_BLACK = 0xff000000u;
constexpr uint32_t CAPTURED_BLUE = 0xff006083u;
constexpr uint32_t TRACK_GREEN = 0xff2e9a2cu; // a touch lighter than in play: fewer pixels carry it
constexpr uint32_t SQUARE_WHITE = 0xffffffffu;
constexpr uint32_t SQUARE_SHADE = 0xffb4c0ceu;

// Where things sit at one size, in whole pixels (right and bottom exclusive).
struct SmallIconLayout {
  int size;
  int frame;            // frame width
  int corner;           // pixels cut from each corner, a stepped rounding
  int capturedRight;    // captured ground: the left block up to here...
  int capturedTop;      // ...from this row down...
  int bandTop;          // ...and the bottom band from this row
  int trackX, trackTop; // the track rises from the captured ground at trackX...
  int trackWidth;       // ...to trackTop, then runs right to the square
  int squareLeft, squareTop, squareSide, shade;
  float ballX, ballY, ballRadius; // a white enemy; radius 0 leaves it out
};

constexpr SmallIconLayout LAYOUTS[] = {
    {16, 1, 1, 7, 7, 12, 4, 3, 2, 10, 2, 4, 1, 0.0f, 0.0f, 0.0f},
    {24, 2, 2, 10, 11, 17, 6, 5, 2, 14, 4, 6, 1, 16.5f, 13.5f, 2.6f},
    {32, 2, 3, 13, 14, 23, 8, 6, 3, 20, 4, 8, 2, 22.0f, 17.5f, 3.4f},
    {48, 3, 4, 19, 21, 35, 11, 9, 4, 30, 6, 12, 2, 33.0f, 27.5f, 5.0f},
};

void drawLayout(Image &img, const SmallIconLayout &l) {
  const int s = l.size, f = l.frame;
  fillRect(img, 0, 0, s, s, FRAME_GREY);
  // A stepped rounding: row i from a corner loses (corner - i) pixels.
  for (int i = 0; i < l.corner; ++i) {
    const int cut = l.corner - i;
    for (int y : {i, s - 1 - i}) {
      fillRect(img, 0, y, cut, y + 1, 0u);
      fillRect(img, s - cut, y, s, y + 1, 0u);
    }
  }
  fillRect(img, f, f, s - f, s - f, FIELD_BLACK);
  fillRect(img, f, l.capturedTop, l.capturedRight, s - f, CAPTURED_BLUE);
  fillRect(img, f, l.bandTop, s - f, s - f, CAPTURED_BLUE);
  const int w = l.trackWidth;
  fillRect(img, l.trackX, l.trackTop, l.trackX + w, l.capturedTop, TRACK_GREEN);
  fillRect(img, l.trackX, l.trackTop, l.squareLeft, l.trackTop + w, TRACK_GREEN);
  const int x0 = l.squareLeft, y0 = l.squareTop, x1 = x0 + l.squareSide, y1 = y0 + l.squareSide;
  fillRect(img, x0, y0, x1, y1, SQUARE_WHITE);
  fillRect(img, x1 - l.shade, y0, x1, y1, SQUARE_SHADE);
  fillRect(img, x0, y1 - l.shade, x1, y1, SQUARE_SHADE);
  if (l.ballRadius > 0.0f) {
    paintShape(
        img, 0, 0, s, s, [&](Vec2 p) { return sdCircle(p, {l.ballX, l.ballY}, l.ballRadius); },
        [&](Vec2 p) {
          float d = std::hypot(p.x - (l.ballX - 0.4f * l.ballRadius), p.y - (l.ballY - 0.4f * l.ballRadius));
          return mixColour(0xffffffffu, 0xffaab4c2u, std::min(1.0f, d / (1.6f * l.ballRadius)));
        });
  }
}
} // namespace


Image makeSmallIcon(int size) {
  Image img = makeImage(size, size, 0u);
  for (const SmallIconLayout &l : LAYOUTS) {
    if (l.size == size) {
      drawLayout(img, l);
    }
  }
  return img;
}
