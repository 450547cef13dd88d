// The title logo: chunky slanted block letters with a gradient fill, a bevel,
// a dark outline and a deep blue extrusion, with the track and the player
// running beneath the name.
#include "pictures.h"
#include <algorithm>
#include <cmath>
#include <string_view>
#include <vector>

namespace {
// Letters are drawn on a grid of square cells. '#' is a full cell; '1' to '4'
// are half cells cut along a diagonal: '1' loses its top-left corner, '2' its
// top-right, '3' its bottom-left and '4' its bottom-right.
constexpr int GLYPH_ROWS = 11;
struct Glyph {
  char letter;
  // The lowest rows, down to the baseline; the rows above them are empty.
  std::vector<const char *> rows;
};

// The glyphs below keep one grid row per line.
// clang-format off
const Glyph GLYPHS[] = {
    {'P', {
           "1#####2.",
           "#######2",
           "###..###",
           "###..###",
           "#######4",
           "######4.",
           "###.....",
           "###.....",
           "###.....",
           "###.....",
           "###....."}},
    {'e', {
           "1######2",
           "########",
           "###..###",
           "########",
           "#######4",
           "###.....",
           "########",
           "3######4"}},
    {'l', {
           "1##",
           "###",
           "###",
           "###",
           "###",
           "###",
           "###",
           "###",
           "###",
           "###",
           "3##"}},
    {'t', {
           "..1#2..",
           "..###..",
           "..###..",
           "1######",
           "#######",
           "..###..",
           "..###..",
           "..###..",
           "..###..",
           "..#####",
           "..3###4"}},
    {'a', {
           "1######2",
           "########",
           ".....###",
           "1#######",
           "########",
           "###..###",
           "########",
           "3#######"}},
    {' ', {
           "..."}},
    {'2', {
           "1######2",
           "########",
           ".....###",
           ".....###",
           "1#######",
           "#######4",
           "###.....",
           "###.....",
           "###.....",
           "########",
           "3#######"}},
    {'.', {
           "1#2",
           "###",
           "3#4"}},
    {'0', {
           "1######2",
           "########",
           "###43###",
           "###..###",
           "###..###",
           "###..###",
           "###..###",
           "###..###",
           "###21###",
           "########",
           "3######4"}},
};

// clang-format on

constexpr float CELL = 16.0f;   // pixels per grid cell
constexpr float SHEAR = 0.2f;   // italic slant, pixels right per pixel up
constexpr float OUTLINE = 7.0f; // dark outline width
constexpr float BEVEL = 6.0f;   // width of the lit and shaded rim inside the letters
constexpr int EXTRUDE = 14;     // depth of the blue extrusion
constexpr float TOP = 8.0f;     // top of the capitals
constexpr float BASELINE = TOP + CELL * GLYPH_ROWS;
constexpr float FAR = 40.0f; // distances beyond this are not needed

struct Segment {
  Vec2 a, b;
};
struct PlacedGlyph {
  const Glyph *glyph;
  float left; // unslanted x of the glyph's left edge
  int width;  // in cells
  std::vector<Segment> edges;
  bool secondWord;
};

char cellAt(const Glyph &g, int width, int col, int row) {
  const int firstRow = GLYPH_ROWS - int(g.rows.size());
  if (col < 0 || row < firstRow || col >= width || row >= GLYPH_ROWS) {
    return '.';
  }
  return g.rows[size_t(row - firstRow)][col];
}

// Whether a cell of this kind is solid along its top, right, bottom, left edge.
bool solidEdge(char c, int side) {
  switch (c) {
  case '#':
    return true;
  case '1':
    return side == 1 || side == 2;
  case '2':
    return side == 3 || side == 2;
  case '3':
    return side == 0 || side == 1;
  case '4':
    return side == 0 || side == 3;
  default:
    return false;
  }
}

bool insideCell(char c, float fx, float fy) {
  switch (c) {
  case '#':
    return true;
  case '1':
    return fx + fy >= 1.0f;
  case '2':
    return fy >= fx;
  case '3':
    return fy <= fx;
  case '4':
    return fx + fy <= 1.0f;
  default:
    return false;
  }
}

// The outline of a glyph as segments: cell edges with solid on one side only,
// plus every diagonal.
std::vector<Segment> glyphEdges(const Glyph &g, int width, float left) {
  std::vector<Segment> out;
  auto at = [&](float col, float row) { return Vec2{left + col * CELL, TOP + row * CELL}; };
  for (int row = -1; row <= GLYPH_ROWS; ++row) {
    for (int col = -1; col <= width; ++col) {
      char c = cellAt(g, width, col, row);
      float x = float(col), y = float(row);
      if (solidEdge(c, 1) != solidEdge(cellAt(g, width, col + 1, row), 3)) {
        out.push_back({at(x + 1, y), at(x + 1, y + 1)});
      }
      if (solidEdge(c, 2) != solidEdge(cellAt(g, width, col, row + 1), 0)) {
        out.push_back({at(x, y + 1), at(x + 1, y + 1)});
      }
      if (c == '1' || c == '4') {
        out.push_back({at(x + 1, y), at(x, y + 1)});
      } else if (c == '2' || c == '3') {
        out.push_back({at(x, y), at(x + 1, y + 1)});
      }
    }
  }
  return out;
}

// Signed distance from an unslanted point to one glyph, limited to FAR.
float glyphDistance(const PlacedGlyph &pg, Vec2 p) {
  float right = pg.left + float(pg.width) * CELL;
  if (p.x < pg.left - FAR || p.x > right + FAR || p.y < TOP - FAR || p.y > BASELINE + FAR) {
    return FAR;
  }
  float best = FAR;
  for (const Segment &s : pg.edges) {
    best = std::min(best, sdSegment(p, s.a, s.b, 0.0f));
  }
  float cx = (p.x - pg.left) / CELL, cy = (p.y - TOP) / CELL;
  int col = int(std::floor(cx)), row = int(std::floor(cy));
  bool inside = insideCell(cellAt(*pg.glyph, pg.width, col, row), cx - float(col), cy - float(row));
  return inside ? -best : best;
}

float coverageOf(float distance) { return std::clamp(0.5f - distance, 0.0f, 1.0f); }

// Under the first word, the green track that the player (the white square at
// its end) has just drawn.
void drawTrackMotif(Image &img, const std::vector<PlacedGlyph> &placed) {
  float left = placed.front().left - 6.0f;
  float right = left;
  for (const PlacedGlyph &pg : placed) {
    if (!pg.secondWord) {
      right = pg.left + float(pg.width) * CELL;
    }
  }
  const float top = float(LOGO_HEIGHT) - 17.0f, bottom = float(LOGO_HEIGHT) - 5.0f;
  const float mid = (top + bottom) / 2.0f, half = (bottom - top) / 2.0f;
  int l = int(left) - 4, r = int(right) + 30;
  auto band = [&](Vec2 p) {
    return sdRoundBox(p, {(left + right) / 2.0f, mid}, {(right - left) / 2.0f, half}, 0.0f);
  };
  Vec2 sq{right + 9.0f, mid};
  auto square = [&](Vec2 p) { return sdRoundBox(p, sq, {half + 1.0f, half + 1.0f}, 0.0f); };
  paintShape(
      img, l, int(top) - 4, r, LOGO_HEIGHT,
      [&](Vec2 p) { return std::min(band(p), square(p)) - 2.5f; }, 0xff080c18u);
  paintShape(img, l, int(top) - 4, r, LOGO_HEIGHT, band, [&](Vec2 p) {
    // The track fades in from the left, as if drawn a moment ago.
    uint32_t c = mixColour(0xff248623u, 0xff5ccf4au, (mid - p.y) / half * 0.5f + 0.25f);
    return withAlpha(c, std::clamp((p.x - left) / 260.0f, 0.15f, 1.0f));
  });
  paintShape(img, l, int(top) - 4, r, LOGO_HEIGHT, square, [&](Vec2 p) {
    return mixColour(0xffffffffu, 0xffc4cedau,
                     ((p.x - sq.x) + (p.y - sq.y)) / (4.0f * half) + 0.5f);
  });
}
} // namespace

Image makeLogo() {
  const char *title = "Pelta 2.0";
  std::vector<PlacedGlyph> placed;
  float pen = 0.0f;
  bool second = false;
  for (const char *c = title; *c != '\0'; ++c) {
    for (const Glyph &g : GLYPHS) {
      if (g.letter == *c) {
        if (*c == ' ') {
          second = true;
        }
        int width = int(std::string_view(g.rows.back()).size());
        placed.push_back({&g, pen, width, {}, second});
        pen += float(width + 1) * CELL;
      }
    }
  }
  // Centre the slanted, outlined and extruded name in the picture.
  float inkWidth = pen - CELL + SHEAR * (BASELINE - TOP) + float(EXTRUDE) * 0.5f;
  float shift = std::round((float(LOGO_WIDTH) - inkWidth) / 2.0f);
  for (PlacedGlyph &pg : placed) {
    pg.left += shift;
    pg.edges = glyphEdges(*pg.glyph, pg.width, pg.left);
  }

  const int w = LOGO_WIDTH, h = LOGO_HEIGHT;
  std::vector<float> field(size_t(w) * size_t(h), FAR);
  std::vector<uint8_t> inSecond(size_t(w) * size_t(h), 0);
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      Vec2 p{float(x) + 0.5f - SHEAR * (BASELINE - (float(y) + 0.5f)), float(y) + 0.5f};
      for (const PlacedGlyph &pg : placed) {
        float d = glyphDistance(pg, p);
        size_t i = size_t(y) * size_t(w) + size_t(x);
        if (d < field[i]) {
          field[i] = d;
          inSecond[i] = pg.secondWord ? 1 : 0;
        }
      }
    }
  }
  auto distanceAt = [&](int x, int y) {
    if (x < 0 || y < 0 || x >= w || y >= h) {
      return FAR;
    }
    return field[size_t(y) * size_t(w) + size_t(x)];
  };

  Image img = makeImage(w, h, 0x00000000u);
  const float lightX = -0.55f, lightY = -0.83f;
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      // The extrusion: the outlined letters pushed down and to the right.
      float extrude = 0.0f;
      int depth = 0;
      for (int k = 1; k <= EXTRUDE; ++k) {
        float c = coverageOf(distanceAt(x - k / 2, y - k) - OUTLINE);
        if (c > extrude) {
          extrude = c;
          depth = k;
        }
      }
      if (extrude > 0.0f) {
        uint32_t side = mixColour(0xff2a9cc8u, 0xff003048u, float(depth) / float(EXTRUDE));
        blendPixel(img, x, y, depth >= EXTRUDE - 1 ? 0xff00060cu : side, extrude);
      }
      float d = distanceAt(x, y);
      blendPixel(img, x, y, 0xff080c18u, coverageOf(d - OUTLINE));
      float fill = coverageOf(d);
      if (fill <= 0.0f) {
        continue;
      }
      float t = (float(y) + 0.5f - TOP) / (BASELINE - TOP);
      uint32_t colour = inSecond[size_t(y) * size_t(w) + size_t(x)] != 0
                            ? gradientAt({{0.0f, 0xffeaffffu},
                                          {0.3f, 0xff7ee6ffu},
                                          {0.52f, 0xff22b0eau},
                                          {0.53f, 0xff0a86c8u},
                                          {1.0f, 0xff0a3c8cu}},
                                         t)
                            : gradientAt({{0.0f, 0xfffffbd8u},
                                          {0.3f, 0xffffdc50u},
                                          {0.52f, 0xffffa824u},
                                          {0.53f, 0xfff47c14u},
                                          {1.0f, 0xffc42a10u}},
                                         t);
      // The bevel: the rim facing the light is brighter, the other darker.
      float depthIn = -d;
      if (depthIn < BEVEL) {
        float nx = distanceAt(x + 1, y) - distanceAt(x - 1, y);
        float ny = distanceAt(x, y + 1) - distanceAt(x, y - 1);
        float len = std::hypot(nx, ny);
        if (len > 0.0f) {
          float facing = (nx * lightX + ny * lightY) / len;
          float strength = std::clamp((BEVEL - depthIn) / BEVEL, 0.0f, 1.0f) * 0.8f;
          colour = facing > 0.0f ? mixColour(colour, 0xffffffffu, facing * strength)
                                 : mixColour(colour, 0xff200800u, -facing * strength * 0.8f);
        }
      }
      blendPixel(img, x, y, colour, fill);
    }
  }
  drawTrackMotif(img, placed);
  return img;
}
