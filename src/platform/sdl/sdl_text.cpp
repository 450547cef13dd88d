// The fixed-pitch font on SDL_ttf. One font and one glyph cache per height:
// each glyph is rendered once, at the size it appears on screen, and reused.
// Text arrives as Windows-1252 bytes.
#include <SDL2/SDL_ttf.h>
#include <cmath>
#include <string>
#include <vector>
#include "platform/sdl/sdl_state.h"
#include "platform/text.h"

namespace {
struct FontSlot {
  bool used = false;
  int height = 0;          // requested line height, virtual units
  float advance = 0;       // width of one character, virtual units
  float pixelScale = 1.0f; // screen pixels per virtual unit the glyphs were made for
  TTF_Font *font = nullptr;
  SDL_Texture *glyphs[256] = {};
  int glyphW[256] = {};
  int glyphH[256] = {};
};

std::string fontPath;
std::vector<FontSlot> fonts(1);
float pointsPerLine = 0.0f; // point size that gives a line of one unit

const uint16_t CP1252_HIGH[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

uint32_t codepointOf(uint8_t byte) {
  return (byte >= 0x80 && byte < 0xA0) ? CP1252_HIGH[byte - 0x80] : byte;
}

bool ensureTtf() { return TTF_WasInit() != 0 || TTF_Init() == 0; }

// Opens the font at a size whose line height is at most `pixels`.
TTF_Font *openForLineHeight(float pixels) {
  if (pointsPerLine <= 0.0f) {
    TTF_Font *probe = TTF_OpenFont(fontPath.c_str(), 100);
    if (probe == nullptr) {
      return nullptr;
    }
    pointsPerLine = 100.0f / float(TTF_FontHeight(probe));
    TTF_CloseFont(probe);
  }
  int pt = std::max(1, int(std::floor(pixels * pointsPerLine)));
  return TTF_OpenFont(fontPath.c_str(), pt);
}

FontSlot *fontOf(FontId id) {
  if (id <= 0 || static_cast<size_t>(id) >= fonts.size() || !fonts[id].used) {
    return nullptr;
  }
  return &fonts[id];
}

// The glyphs are made on first use, at the scale of the batch drawing them,
// so they are crisp on screen whatever the mode.
SDL_Texture *glyph(FontSlot &f, uint8_t byte, float pixelScale) {
  if (f.glyphs[byte] != nullptr || sdl::renderer == nullptr || fontPath.empty()) {
    return f.glyphs[byte];
  }
  if (f.font == nullptr) {
    f.pixelScale = pixelScale > 0.0f ? pixelScale : 1.0f;
    f.font = openForLineHeight(float(f.height) * f.pixelScale);
    if (f.font == nullptr) {
      return nullptr;
    }
  }
  SDL_Surface *s = TTF_RenderGlyph32_Blended(f.font, codepointOf(byte), SDL_Color{255, 255, 255, 255});
  if (s == nullptr) {
    return nullptr;
  }
  f.glyphs[byte] = SDL_CreateTextureFromSurface(sdl::renderer, s);
  f.glyphW[byte] = s->w;
  f.glyphH[byte] = s->h;
  SDL_FreeSurface(s);
  if (f.glyphs[byte] != nullptr) {
    SDL_SetTextureBlendMode(f.glyphs[byte], SDL_BLENDMODE_BLEND);
  }
  return f.glyphs[byte];
}
} // namespace

namespace sdl {
void dropGlyphTextures() {
  for (auto &f : fonts) {
    for (auto &g : f.glyphs) {
      if (g != nullptr) {
        SDL_DestroyTexture(g);
        g = nullptr;
      }
    }
  }
}
} // namespace sdl

bool registerFontFile(const char *path) {
  if (!ensureTtf()) {
    return false;
  }
  TTF_Font *probe = TTF_OpenFont(path, 20);
  if (probe == nullptr) {
    return false;
  }
  TTF_CloseFont(probe);
  fontPath = path;
  pointsPerLine = 0.0f;
  return true;
}

FontId createFont(int height) {
  FontSlot f;
  f.used = true;
  f.height = height;
  f.advance = float(height) * 0.6f;
  if (!fontPath.empty() && ensureTtf()) {
    if (TTF_Font *metrics = openForLineHeight(float(height))) {
      int adv = 0;
      if (TTF_GlyphMetrics32(metrics, 'M', nullptr, nullptr, nullptr, nullptr, &adv) == 0) {
        f.advance = float(adv);
      }
      TTF_CloseFont(metrics);
    }
  }
  fonts.push_back(std::move(f));
  return static_cast<FontId>(fonts.size() - 1);
}

void releaseFont(FontId id) {
  if (FontSlot *f = fontOf(id)) {
    for (auto &g : f->glyphs) {
      if (g != nullptr) {
        SDL_DestroyTexture(g);
      }
    }
    if (f->font != nullptr) {
      TTF_CloseFont(f->font);
    }
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
  size_t n = std::char_traits<char>::length(text);
  *width = int(std::lround(f->advance * float(n)));
  *height = f->height;
}

void drawTextLine(SpriteId sprite, FontId id, const char *text, int left, int top, uint32_t argb) {
  FontSlot *f = fontOf(id);
  const Transform2D *m = sdl::spriteTransform(sprite);
  if (f == nullptr || m == nullptr || sdl::renderer == nullptr) {
    return;
  }
  float scale = std::hypot(m->m11, m->m12);
  float x = float(left);
  for (const char *p = text; *p != '\0'; ++p) {
    uint8_t byte = static_cast<uint8_t>(*p);
    if (byte != ' ') {
      if (SDL_Texture *g = glyph(*f, byte, scale)) {
        // Glyphs were made for f->pixelScale pixels per unit.
        float unitsPerPixel = 1.0f / f->pixelScale;
        SDL_SetTextureColorMod(g, Uint8(argb >> 16), Uint8(argb >> 8), Uint8(argb));
        SDL_SetTextureAlphaMod(g, Uint8(argb >> 24));
        SDL_Rect src{0, 0, f->glyphW[byte], f->glyphH[byte]};
        sdl::drawTransformed(g, src, f->glyphW[byte] * unitsPerPixel,
                             f->glyphH[byte] * unitsPerPixel, x, float(top), *m);
      }
    }
    x += f->advance;
  }
}
