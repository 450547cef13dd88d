// The pictures of the instructions page, drawn as smooth shapes at their
// full size: the player, both enemies, the three items and a piece of track.
#include "pictures.h"
#include <algorithm>
#include <cmath>

void drawInstructionIcons(Image &sheet);

namespace {
constexpr uint32_t TRACK_GREEN = 0xff248623u; // the game's own track colour

// Light comes from the top left on every picture.
float lightAlong(Vec2 p, float left, float top, float size) {
  return std::clamp(((p.x - left) + (p.y - top)) / (2.0f * size), 0.0f, 1.0f);
}

void drawPlayerIcon(Image &s, int l, int t, int size) {
  // A raised white tile: bright upper and left edges, a cool grey lower rim.
  int rim = std::max(1, size / 12);
  for (int y = 0; y < size; ++y) {
    for (int x = 0; x < size; ++x) {
      int toLower = std::min(size - 1 - x, size - 1 - y);
      int toUpper = std::min(x, y);
      uint32_t c = mixColour(0xffffffffu, 0xffe4eaf2u,
                             lightAlong({float(x), float(y)}, 0.0f, 0.0f, float(size)));
      if (toLower < rim && toLower <= toUpper) {
        c = 0xffbcc8d6u;
      } else if (toUpper < rim) {
        c = 0xffffffffu;
      }
      setPixel(s, l + x, t + y, c);
    }
  }
}

void drawEyes(Image &s, int l, int t, float size, float eyeY, uint32_t colour, bool crossed) {
  float cx = float(l) + size / 2.0f;
  for (int side = -1; side <= 1; side += 2) {
    Vec2 e{cx + float(side) * size * 0.17f, float(t) + eyeY};
    if (crossed) {
      float r = size * 0.08f;
      auto cross = [&](Vec2 p) {
        return std::min(sdSegment(p, {e.x - r, e.y - r}, {e.x + r, e.y + r}, size * 0.035f),
                        sdSegment(p, {e.x - r, e.y + r}, {e.x + r, e.y - r}, size * 0.035f));
      };
      paintShape(s, l, t, l + int(size), t + int(size), cross, colour);
    } else {
      paintShape(
          s, l, t, l + int(size), t + int(size),
          [&](Vec2 p) {
            return sdRoundBox(p, e, {size * 0.06f, size * 0.11f}, size * 0.06f);
          },
          colour);
      paintShape(
          s, l, t, l + int(size), t + int(size),
          [&](Vec2 p) {
            return sdCircle(p, {e.x - size * 0.015f, e.y - size * 0.05f}, size * 0.03f);
          },
          0xffffffffu);
    }
    // Brows slanting down to the middle: the enemies look cross.
    Vec2 a{e.x - float(side) * size * 0.1f, e.y - size * 0.2f};
    Vec2 b{e.x + float(side) * size * 0.08f, e.y - size * 0.13f};
    if (!crossed) {
      paintShape(
          s, l, t, l + int(size), t + int(size),
          [&](Vec2 p) {
            return sdSegment(p, {a.x, b.y}, {b.x, a.y}, size * 0.03f);
          },
          colour);
    }
  }
}

void drawWhiteEnemyIcon(Image &s, int l, int t, int size) {
  float half = float(size) / 2.0f;
  Vec2 centre{float(l) + half, float(t) + half};
  paintShape(
      s, l, t, l + size, t + size, [&](Vec2 p) { return sdCircle(p, centre, half - 0.5f); },
      0xff4a5462u);
  Vec2 glint{float(l) + size * 0.36f, float(t) + size * 0.32f};
  paintShape(
      s, l, t, l + size, t + size, [&](Vec2 p) { return sdCircle(p, centre, half - 1.8f); },
      [&](Vec2 p) {
        float d = std::hypot(p.x - glint.x, p.y - glint.y) / (float(size) * 0.8f);
        return gradientAt(
            {{0.0f, 0xffffffffu}, {0.3f, 0xffeef2f6u}, {0.7f, 0xffb4c0ccu}, {1.0f, 0xff7c8898u}},
            d);
      });
  drawEyes(s, l, t, float(size), float(size) * 0.47f, 0xff141a24u, false);
}

void drawBlackEnemyIcon(Image &s, int l, int t, int size) {
  float half = float(size) / 2.0f;
  Vec2 centre{float(l) + half, float(t) + half};
  float radius = size * 0.18f;
  paintShape(
      s, l, t, l + size, t + size,
      [&](Vec2 p) {
        return sdRoundBox(p, centre, {half - 0.5f, half - 0.5f}, radius);
      },
      [&](Vec2 p) {
        return mixColour(0xffeef2f6u, 0xff8894a4u, lightAlong(p, float(l), float(t), float(size)));
      });
  paintShape(
      s, l, t, l + size, t + size,
      [&](Vec2 p) {
        return sdRoundBox(p, centre, {half - 3.0f, half - 3.0f}, radius - 2.0f);
      },
      [&](Vec2 p) {
        return mixColour(0xff343c4au, 0xff0c0e14u, lightAlong(p, float(l), float(t), float(size)));
      });
  // Glowing red eyes.
  for (int side = -1; side <= 1; side += 2) {
    Vec2 e{centre.x + float(side) * size * 0.18f, float(t) + size * 0.42f};
    paintShape(
        s, l, t, l + size, t + size, [&](Vec2 p) { return sdCircle(p, e, size * 0.13f); },
        0x60ff3020u);
    paintShape(
        s, l, t, l + size, t + size,
        [&](Vec2 p) {
          return sdRoundBox(p, e, {size * 0.09f, size * 0.06f}, size * 0.04f);
        },
        [&](Vec2 p) {
          float d = std::hypot(p.x - e.x, p.y - e.y) / (size * 0.09f);
          return gradientAt({{0.0f, 0xffffe0a0u}, {0.5f, 0xffff6030u}, {1.0f, 0xffd01810u}}, d);
        });
    Vec2 a{e.x - float(side) * size * 0.13f, e.y - size * 0.16f};
    Vec2 b{e.x + float(side) * size * 0.1f, e.y - size * 0.08f};
    paintShape(
        s, l, t, l + size, t + size,
        [&](Vec2 p) {
          return sdSegment(p, {a.x, b.y}, {b.x, a.y}, size * 0.035f);
        },
        0xffdce3eau);
  }
  // A jagged grin of light teeth.
  std::vector<Vec2> teeth;
  float mouthTop = float(t) + size * 0.66f;
  float mouthLeft = centre.x - size * 0.24f;
  for (int i = 0; i <= 6; ++i) {
    teeth.push_back(
        {mouthLeft + float(i) * size * 0.08f, mouthTop + ((i % 2) != 0 ? size * 0.09f : 0.0f)});
  }
  paintShape(
      s, l, t, l + size, t + size,
      [&](Vec2 p) {
        float d = 1e9f;
        for (size_t i = 1; i < teeth.size(); ++i) {
          d = std::min(d, sdSegment(p, teeth[i - 1], teeth[i], size * 0.025f));
        }
        return d;
      },
      0xffb8c2ceu);
}

void drawShieldIcon(Image &s, int l, int t, int size) {
  auto outline = [&](float inset) {
    std::vector<Vec2> pts;
    float x0 = float(l) + 2.0f + inset, x1 = float(l + size) - 2.0f - inset;
    float y0 = float(t) + 1.5f + inset, yMid = float(t) + size * 0.5f;
    float yTip = float(t + size) - 1.0f - inset * 1.4f;
    float cx = float(l) + size / 2.0f;
    pts.push_back({x0, y0});
    pts.push_back({cx, y0 + size * 0.06f});
    pts.push_back({x1, y0});
    for (int i = 0; i <= 10; ++i) {
      float a = float(i) / 10.0f; // the right flank curving into the tip
      pts.push_back({x1 - (x1 - cx) * a * a, yMid + (yTip - yMid) * std::sin(a * 1.5708f)});
    }
    for (int i = 9; i >= 0; --i) {
      float a = float(i) / 10.0f;
      pts.push_back({x0 + (cx - x0) * a * a, yMid + (yTip - yMid) * std::sin(a * 1.5708f)});
    }
    return pts;
  };
  std::vector<Vec2> outer = outline(0.0f), inner = outline(2.5f);
  paintShape(
      s, l, t, l + size, t + size, [&](Vec2 p) { return sdPolygon(p, outer); }, 0xff5a4406u);
  paintShape(
      s, l, t, l + size, t + size, [&](Vec2 p) { return sdPolygon(p, outer) + 1.2f; },
      [&](Vec2 p) {
        return mixColour(0xfffff2a0u, 0xffb09414u, lightAlong(p, float(l), float(t), float(size)));
      });
  paintShape(
      s, l, t, l + size, t + size, [&](Vec2 p) { return sdPolygon(p, inner); },
      [&](Vec2 p) {
        return mixColour(0xffe8cf3au, 0xffa88c10u, lightAlong(p, float(l), float(t), float(size)));
      });
  float cx = float(l) + size / 2.0f;
  auto cross = [&](Vec2 p) {
    return std::min(sdRoundBox(p, {cx, t + size * 0.42f}, {size * 0.08f, size * 0.22f}, 1.0f),
                    sdRoundBox(p, {cx, t + size * 0.42f}, {size * 0.22f, size * 0.08f}, 1.0f));
  };
  paintShape(
      s, l, t, l + size, t + size,
      [&](Vec2 p) {
        return cross({p.x - 0.8f, p.y - 0.8f});
      },
      0x906a5208u);
  paintShape(s, l, t, l + size, t + size, cross, 0xffffffffu);
}

void drawHeartIcon(Image &s, int l, int t, int size) {
  float cx = float(l) + size / 2.0f;
  float r = size * 0.25f;
  Vec2 lobeL{cx - r * 0.95f, float(t) + size * 0.36f},
      lobeR{cx + r * 0.95f, float(t) + size * 0.36f};
  std::vector<Vec2> point = {{cx - r * 1.85f, float(t) + size * 0.45f},
                             {cx, float(t) + size * 0.93f},
                             {cx + r * 1.85f, float(t) + size * 0.45f},
                             {cx, float(t) + size * 0.3f}};
  auto heart = [&](Vec2 p) {
    return std::min({sdCircle(p, lobeL, r), sdCircle(p, lobeR, r), sdPolygon(p, point)});
  };
  paintShape(
      s, l, t, l + size, t + size, [&](Vec2 p) { return heart(p) - 0.8f; }, 0xff70101cu);
  paintShape(
      s, l, t, l + size, t + size, [&](Vec2 p) { return heart(p) + 0.6f; },
      [&](Vec2 p) {
        return gradientAt({{0.0f, 0xffff7080u}, {0.4f, 0xffec2c40u}, {1.0f, 0xff9a1024u}},
                          lightAlong(p, float(l), float(t), float(size)) * 1.3f);
      });
  paintShape(
      s, l, t, l + size, t + size,
      [&](Vec2 p) {
        return sdRoundBox(p, {lobeL.x - r * 0.25f, lobeL.y - r * 0.2f}, {r * 0.3f, r * 0.2f},
                          r * 0.2f);
      },
      0xc0ffe0e4u);
}

void drawClockIcon(Image &s, int l, int t, int size) {
  float half = float(size) / 2.0f;
  Vec2 c{float(l) + half, float(t) + half};
  paintShape(
      s, l, t, l + size, t + size, [&](Vec2 p) { return sdCircle(p, c, half - 0.5f); },
      [&](Vec2 p) {
        return mixColour(0xff80dcffu, 0xff1470a8u, lightAlong(p, float(l), float(t), float(size)));
      });
  paintShape(
      s, l, t, l + size, t + size, [&](Vec2 p) { return sdCircle(p, c, half - 3.5f); },
      [&](Vec2 p) {
        return mixColour(0xffffffffu, 0xffc8e0f0u, lightAlong(p, float(l), float(t), float(size)));
      });
  for (int i = 0; i < 12; ++i) {
    float a = float(i) * 0.5236f;
    float inner = (i % 3) == 0 ? half - 7.5f : half - 6.0f;
    Vec2 from{c.x + std::sin(a) * inner, c.y - std::cos(a) * inner};
    Vec2 to{c.x + std::sin(a) * (half - 5.0f), c.y - std::cos(a) * (half - 5.0f)};
    paintShape(
        s, l, t, l + size, t + size, [&](Vec2 p) { return sdSegment(p, from, to, 0.6f); },
        0xff305068u);
  }
  paintShape(
      s, l, t, l + size, t + size,
      [&](Vec2 p) {
        return std::min(sdSegment(p, c, {c.x, c.y - half * 0.62f}, 1.1f),
                        sdSegment(p, c, {c.x + half * 0.42f, c.y + half * 0.1f}, 1.3f));
      },
      0xff102030u);
  paintShape(
      s, l, t, l + size, t + size, [&](Vec2 p) { return sdCircle(p, c, 1.8f); }, 0xffe03030u);
}

void drawTrackIcon(Image &s, int l, int t) {
  // The track the player has just left behind: five cells wide, flat green.
  fillRect(s, l + 5, t, l + 15, t + 30, TRACK_GREEN);
  drawPlayerIcon(s, l + 5, t + 30, 10);
}
} // namespace

void drawInstructionIcons(Image &sheet) {
  drawPlayerIcon(sheet, 2, 30, 30);
  drawWhiteEnemyIcon(sheet, 36, 30, 30);
  drawShieldIcon(sheet, 70, 30, 30);
  drawClockIcon(sheet, 104, 30, 30);
  drawBlackEnemyIcon(sheet, 2, 64, 40);
  drawHeartIcon(sheet, 46, 66, 30);
  drawTrackIcon(sheet, 80, 66);
}
