// SPDX-License-Identifier: MIT
// The fixed-pitch font in a browser page, rasterised by stb_truetype with
// the desktop's metrics: the point size whose line is the requested height,
// the advance of 'M' rounded to whole units, each glyph placed under the
// ascent as the desktop's font library places it. Glyphs are made once, at
// the scale they appear on screen, into one shared picture (turned ones into
// textures of their own). Text arrives as Windows-1252 bytes.
#include "platform/text.h"
#include "platform/web/web_state.h"
#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#define STB_TRUETYPE_IMPLEMENTATION
#include <stb/stb_truetype.h>

namespace {
struct Glyph {
  bool made = false;
  GLuint texture = 0;     // the shared picture, or a texture of its own
  int texW = 0;           // that texture's size
  int texH = 0;
  int x = 0, y = 0;       // where the drawn part lies in it
  int w = 0, h = 0;
  int offsetX = 0;        // of that part within the glyph's cell, pixels
  int offsetY = 0;
};

struct FontSlot {
  bool used = false;
  int height = 0;          // requested line height, virtual units
  float advance = 0;       // width of one character, virtual units
  float pixelScale = 0.0f; // screen pixels per unit the glyphs were made for
  int points = 0;          // the size they were made at
  Glyph upright[256];
  Glyph turned[256];
};

constexpr int ATLAS_WIDTH = 2048;
constexpr int ATLAS_HEIGHT = 1024;
GLuint atlas = 0;
int shelfX = 0;
int shelfY = 0;
int shelfHeight = 0;

std::vector<uint8_t> fontBytes;
stbtt_fontinfo fontInfo;
bool fontReady = false;
int unitsAscent = 0;
int unitsDescent = 0;
std::vector<FontSlot> fonts(1);

const uint16_t CP1252_HIGH[32] = {0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                  0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
                                  0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                  0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

int codepointOf(uint8_t byte) { return (byte >= 0x80 && byte < 0xA0) ? CP1252_HIGH[byte - 0x80] : byte; }

float emScale(int points) { return stbtt_ScaleForMappingEmToPixels(&fontInfo, float(points)); }
int ascentAt(int points) { return int(std::ceil(float(unitsAscent) * emScale(points))); }
// A line's height at this size: ascent to descent, rounded up.
int lineHeightAt(int points) {
  return int(std::ceil(float(unitsAscent - unitsDescent) * emScale(points)));
}

// The point size whose line is at most `pixels` high, as the desktop picks it.
int pointsForLineHeight(float pixels) {
  const float pointsPerLine = 100.0f / float(lineHeightAt(100));
  return std::max(1, int(std::floor(pixels * pointsPerLine)));
}

int advanceAt(int points) {
  int adv = 0;
  int bearing = 0;
  stbtt_GetCodepointHMetrics(&fontInfo, 'M', &adv, &bearing);
  return int(std::lround(float(adv) * emScale(points)));
}

FontSlot *fontOf(FontId id) {
  if (id <= 0 || static_cast<size_t>(id) >= fonts.size() || !fonts[id].used) {
    return nullptr;
  }
  return &fonts[id];
}

bool placeInAtlas(int w, int h, int *x, int *y) {
  if (atlas == 0) {
    atlas = web::makeTexture(ATLAS_WIDTH, ATLAS_HEIGHT, nullptr);
    shelfX = shelfY = shelfHeight = 0;
  }
  if (shelfX + w > ATLAS_WIDTH) {
    shelfX = 0;
    shelfY += shelfHeight;
    shelfHeight = 0;
  }
  if (w > ATLAS_WIDTH || shelfY + h > ATLAS_HEIGHT) {
    return false;
  }
  *x = shelfX;
  *y = shelfY;
  shelfX += w;
  shelfHeight = std::max(shelfHeight, h);
  return true;
}

// White with the coverage as alpha, with a one-pixel rim repeating the edge
// pixels where `rim` is set (filtered drawing then reads what the glyph's own
// edge-clamped texture would).
std::vector<uint32_t> tinted(const uint8_t *coverage, int w, int h, int rim) {
  const int tw = w + 2 * rim;
  const int th = h + 2 * rim;
  std::vector<uint32_t> out(size_t(tw) * th);
  for (int y = 0; y < th; ++y) {
    const int sy = std::clamp(y - rim, 0, h - 1);
    for (int x = 0; x < tw; ++x) {
      const int sx = std::clamp(x - rim, 0, w - 1);
      out[size_t(y) * tw + x] = uint32_t(coverage[size_t(sy) * w + sx]) << 24 | 0x00FFFFFFu;
    }
  }
  return out;
}

const Glyph *glyph(FontSlot &f, uint8_t byte, float pixelScale, bool turned) {
  Glyph &g = turned ? f.turned[byte] : f.upright[byte];
  if (g.made || !fontReady || web::backBufferFramebuffer == 0) {
    return &g;
  }
  if (f.points == 0) {
    f.pixelScale = pixelScale > 0.0f ? pixelScale : 1.0f;
    f.points = pointsForLineHeight(float(f.height) * f.pixelScale);
  }
  g.made = true;
  const float s = emScale(f.points);
  int w = 0;
  int h = 0;
  int x0 = 0;
  int y0 = 0;
  uint8_t *coverage =
      stbtt_GetCodepointBitmap(&fontInfo, s, s, codepointOf(byte), &w, &h, &x0, &y0);
  if (coverage == nullptr || w <= 0 || h <= 0) {
    stbtt_FreeBitmap(coverage, nullptr);
    return &g;
  }
  g.offsetX = x0;
  g.offsetY = ascentAt(f.points) + y0;
  g.w = w;
  g.h = h;
  int ax = 0;
  int ay = 0;
  if (!turned && placeInAtlas(w + 2, h + 2, &ax, &ay)) {
    const std::vector<uint32_t> rimmed = tinted(coverage, w, h, 1);
    web::flushQuads();
    web::uploadRowsAt(atlas, ax, ay, w + 2, h + 2, rimmed.data());
    g.texture = atlas;
    g.texW = ATLAS_WIDTH;
    g.texH = ATLAS_HEIGHT;
    g.x = ax + 1;
    g.y = ay + 1;
  } else {
    const std::vector<uint32_t> plain = tinted(coverage, w, h, 0);
    g.texture = web::makeTexture(w, h, plain.data());
    g.texW = w;
    g.texH = h;
  }
  stbtt_FreeBitmap(coverage, nullptr);
  return &g;
}

void dropGlyphs(FontSlot &f) {
  web::flushQuads();
  for (Glyph *set : {f.upright, f.turned}) {
    for (int i = 0; i < 256; ++i) {
      if (set[i].texture != 0 && set[i].texture != atlas) {
        glDeleteTextures(1, &set[i].texture);
      }
      set[i] = Glyph{};
    }
  }
}
} // namespace

bool registerFontFile(const char *path) {
  std::vector<uint8_t> bytes;
  stbtt_fontinfo info;
  if (!web::readFileBytes(path, bytes) || bytes.empty() || stbtt_InitFont(&info, bytes.data(), stbtt_GetFontOffsetForIndex(bytes.data(), 0)) == 0) {
    return false;
  }
  fontBytes = std::move(bytes);
  stbtt_InitFont(&fontInfo, fontBytes.data(), stbtt_GetFontOffsetForIndex(fontBytes.data(), 0));
  int lineGap = 0;
  stbtt_GetFontVMetrics(&fontInfo, &unitsAscent, &unitsDescent, &lineGap);
  fontReady = true;
  return true;
}

FontId createFont(int height) {
  FontSlot f;
  f.used = true;
  f.height = height;
  f.advance = fontReady ? float(advanceAt(pointsForLineHeight(float(height)))) : float(height) * 0.6f;
  fonts.push_back(std::move(f));
  return static_cast<FontId>(fonts.size() - 1);
}

void releaseFont(FontId id) {
  if (FontSlot *f = fontOf(id)) {
    dropGlyphs(*f);
    *f = FontSlot{};
  }
}

void measureText(FontId id, const char *text, int *width, int *height) {
  FontSlot *f = fontOf(id);
  if (f == nullptr) {
    *width = 0;
    *height = 0;
    return;
  }
  const size_t n = std::char_traits<char>::length(text);
  *width = int(std::lround(f->advance * float(n)));
  *height = f->height;
}

void drawTextLine(SpriteId sprite, FontId id, const char *text, int left, int top, uint32_t argb) {
  FontSlot *f = fontOf(id);
  const Transform2D *m = web::spriteTransform(sprite);
  if (f == nullptr || m == nullptr) {
    return;
  }
  const float scale = std::hypot(m->m11, m->m12);
  const bool turned = std::fabs(std::atan2(m->m12, m->m11)) >= 1e-6f;
  float x = float(left);
  for (const char *p = text; *p != '\0'; ++p) {
    const uint8_t byte = static_cast<uint8_t>(*p);
    if (byte != ' ') {
      const Glyph *g = glyph(*f, byte, scale, turned);
      if (g->texture != 0) {
        const float unitsPerPixel = 1.0f / f->pixelScale;
        web::drawQuad(g->texture, g->texW, g->texH, float(g->x), float(g->y), float(g->w),
                      float(g->h), g->w * unitsPerPixel, g->h * unitsPerPixel,
                      x + g->offsetX * unitsPerPixel, float(top) + g->offsetY * unitsPerPixel, *m,
                      argb, web::Blend::Alpha);
      }
    }
    x += f->advance;
  }
}
