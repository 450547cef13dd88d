// The empty playfield (a steel frame around the black interior) and the
// window icon, a small scene of the game.
#include "pictures.h"
#include <algorithm>
#include <cmath>

namespace {
constexpr uint32_t FRAME_BASE = 0xff4b5563u; // cool steel grey, apart from captured blue
constexpr uint32_t FRAME_LIGHT = 0xff8e9aacu;
constexpr uint32_t FRAME_DARK = 0xff262c36u;
constexpr uint32_t CAPTURED_BLUE = 0xff006083u; // the game's captured colour
constexpr uint32_t TRACK_GREEN = 0xff248623u;

// The frame's colour at a pixel, from its distance to the outer and inner edges.
uint32_t framePixel(int x, int y, int w, int h, int frame) {
  int toOuter = std::min({x, y, w - 1 - x, h - 1 - y});
  int toInner = frame - 1 - toOuter; // 0 on the ring that touches the interior
  bool outerLit = (x <= y && x < w / 2) || (y < x && y < h / 2 && x < w - 1 - y);
  float grain = hashNoise(x / 3, y, 7u) * 0.025f + hashNoise(x, y, 11u) * 0.02f;
  uint32_t c = scaleRgb(FRAME_BASE, 1.0f + grain);
  if (toOuter < 2) {
    return outerLit ? FRAME_LIGHT : FRAME_DARK;
  }
  if (toInner < 2) {
    // The inner lip: a light edge so the frame ends crisply against black.
    return toInner == 0 ? 0xffa6b2c2u : 0xff6c7888u;
  }
  if (toInner == 8) {
    return scaleRgb(FRAME_BASE, 0.7f); // a groove running round the field
  }
  if (toInner == 9) {
    return scaleRgb(FRAME_BASE, 1.22f);
  }
  return c;
}

void drawRivet(Image &img, float cx, float cy) {
  paintShape(
      img, int(cx) - 5, int(cy) - 5, int(cx) + 6, int(cy) + 6,
      [&](Vec2 p) {
        return sdCircle(p, {cx + 0.6f, cy + 0.6f}, 3.2f);
      },
      0xff20262eu);
  paintShape(
      img, int(cx) - 5, int(cy) - 5, int(cx) + 6, int(cy) + 6,
      [&](Vec2 p) {
        return sdCircle(p, {cx, cy}, 2.8f);
      },
      [&](Vec2 p) {
        return mixColour(0xffc4ceda, 0xff56606eu, ((p.x - cx) + (p.y - cy) + 3.0f) / 6.0f);
      });
}
} // namespace

Image makePlayfield() {
  const int w = PLAYFIELD_WIDTH, h = PLAYFIELD_HEIGHT, f = PLAYFIELD_FRAME;
  Image img = makeImage(w, h, 0xff000000u);
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      if (x < f || y < f || x >= w - f || y >= h - f) {
        img.px[size_t(y) * size_t(w) + size_t(x)] = framePixel(x, y, w, h, f);
      }
    }
  }
  // Rivets in the outer band, kept clear of the interior.
  const float band = 5.5f;
  for (float x : {band, float(w) - band}) {
    for (float y : {band, float(h) - band}) {
      drawRivet(img, x, y);
    }
  }
  for (int x = 240; x < w - 120; x += 240) {
    drawRivet(img, float(x), band);
    drawRivet(img, float(x), float(h) - band);
  }
  for (int y = 240; y < h - 120; y += 240) {
    drawRivet(img, band, float(y));
    drawRivet(img, float(w) - band, float(y));
  }
  return img;
}

Image makeWindowIcon(int size) {
  // Drawn on a 64-unit grid: every position and distance is scaled by k, so
  // the desktop's larger icons are the same picture, sharper.
  const int s = size;
  const float k = float(size) / float(ICON_SIZE);
  auto at = [k](Vec2 p) { return Vec2{p.x / k, p.y / k}; };
  auto rect = [&](Image &img, int l, int t, int r, int b, uint32_t argb) {
    fillRect(img, int(float(l) * k), int(float(t) * k), int(float(r) * k), int(float(b) * k), argb);
  };
  Image img = makeImage(s, s, 0x00000000u);
  auto box = [&](Vec2 p) { return sdRoundBox(at(p), {32.0f, 32.0f}, {31.5f, 31.5f}, 7.0f) * k; };
  paintShape(img, 0, 0, s, s, box, 0xff5a6576u);
  paintShape(
      img, 0, 0, s, s, [&](Vec2 p) { return box(p) + 5.0f * k; }, 0xff000000u);
  // Captured ground in the lower left, the track leaving it, the player at its end.
  paintShape(
      img, 0, 0, s, s,
      [&](Vec2 p) {
        float inField = box(p) + 5.0f * k;
        Vec2 q = at(p);
        float captured = std::min(sdRoundBox(q, {14.0f, 40.0f}, {12.0f, 20.0f}, 0.0f),
                                  sdRoundBox(q, {30.0f, 52.0f}, {26.0f, 8.0f}, 0.0f)) *
                         k;
        return std::max(inField, captured);
      },
      CAPTURED_BLUE);
  rect(img, 22, 14, 28, 24, TRACK_GREEN);
  rect(img, 22, 14, 42, 20, TRACK_GREEN);
  rect(img, 42, 11, 52, 21, 0xffffffffu);
  rect(img, 49, 11, 52, 21, 0xffc8d2deu);
  rect(img, 42, 18, 52, 21, 0xffc8d2deu);
  paintShape(
      img, 0, 0, s, s,
      [&](Vec2 p) {
        return sdCircle(at(p), {45.0f, 40.0f}, 6.0f) * k;
      },
      [&](Vec2 p) {
        Vec2 q = at(p);
        float d = std::hypot(q.x - 43.0f, q.y - 38.0f) / 8.0f;
        return gradientAt({{0.0f, 0xffffffffu}, {0.6f, 0xffdfe6eeu}, {1.0f, 0xff8a96a6u}}, d);
      });
  return img;
}
