// The fixed-pitch font on SDL_ttf. One font per height; each glyph is
// rendered once per scale of the picture, at the size it appears on screen,
// into pictures shared by every font, so consecutive letters need no change
// of texture. Text arrives as Windows-1252 bytes.
#include "platform/sdl/sdl_state.h"
#include "platform/text.h"
#include <SDL2/SDL_ttf.h>
#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

namespace {
// One glyph as drawn: a part of a texture, placed at an offset in the cell.
struct Glyph {
  bool made = false;              // tried once; a glyph without ink has no texture
  SDL_Texture *texture = nullptr; // a shared picture, or a texture of its own
  SDL_Rect rect{};                // where the drawn part lies in that texture
  SDL_Point offset{};             // of that part within the glyph's cell, pixels
};

// The glyphs of one font made while the picture showed at one scale.
struct GlyphSet {
  double placedScale = 0.0; // the picture's scale in the window they belong to
  float pixelScale = 1.0f;  // screen pixels per virtual unit the glyphs were made for
  TTF_Font *font = nullptr;
  Glyph upright[256]; // inked parts in the shared pictures
  // Turned letters (the ticker) sample between pixels, where the shared
  // picture's coordinates would round a few of them one step apart: they
  // keep each glyph whole in a texture of its own.
  Glyph turned[256];
};

struct FontSlot {
  bool used = false;
  int height = 0;    // requested line height, virtual units
  float advance = 0; // width of one character, virtual units
  std::vector<GlyphSet> sets;
};

// The shared glyph pictures of one scale, filled shelf by shelf as glyphs
// are first used; a new page is started when one is full. Each glyph keeps
// a one-pixel rim that repeats its edge pixels, so filtered drawing (scaled
// or turned) reads what the glyph's own edge-clamped texture would read.
// Every text of every screen at 1920 wide takes about 2048 x 540.
constexpr int ATLAS_WIDTH = 2048;
constexpr int ATLAS_HEIGHT = 1024;
struct AtlasPage {
  double placedScale = 0.0; // 0 for the spare page, claimed by the next scale needing one
  SDL_Texture *texture = nullptr;
  int shelfX = 0;
  int shelfY = 0;
  int shelfHeight = 0;
};
std::vector<AtlasPage> pages;

// The scales whose glyphs are kept, the one showing first: switching between
// a window and the full screen finds the glyphs of both made. Older scales
// (a window dragged through many sizes) are forgotten.
constexpr size_t KEPT_SCALES = 2;
std::vector<double> keptScales;
size_t madeCount = 0;

std::string fontPath;
std::vector<FontSlot> fonts(1);
float pointsPerLine = 0.0f; // point size that gives a line of one unit

const uint16_t CP1252_HIGH[32] = {0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                  0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
                                  0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                  0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

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

SDL_Texture *makePage() {
  SDL_Texture *t = SDL_CreateTexture(sdl::renderer, SDL_PIXELFORMAT_ARGB8888,
                                     SDL_TEXTUREACCESS_STATIC, ATLAS_WIDTH, ATLAS_HEIGHT);
  if (t != nullptr) {
    SDL_SetTextureBlendMode(t, SDL_BLENDMODE_BLEND);
  }
  return t;
}

// A free place of w x h pixels in a shared picture of this scale, a new
// page when the last is full; null when none can be had.
SDL_Texture *placeInAtlas(double placedScale, int w, int h, SDL_Rect *place) {
  if (w > ATLAS_WIDTH || h > ATLAS_HEIGHT) {
    return nullptr;
  }
  AtlasPage *page = nullptr;
  for (AtlasPage &p : pages) {
    if (p.placedScale == placedScale) {
      page = &p; // the last one of this scale is the one being filled
    }
  }
  if (page != nullptr && page->shelfX + w > ATLAS_WIDTH) {
    page->shelfX = 0;
    page->shelfY += page->shelfHeight;
    page->shelfHeight = 0;
  }
  if (page == nullptr || page->shelfY + h > ATLAS_HEIGHT) {
    // The spare when there is one; it goes last, as the page being filled.
    auto spare = std::find_if(pages.begin(), pages.end(),
                              [](const AtlasPage &p) { return p.placedScale == 0.0; });
    SDL_Texture *t = spare != pages.end() ? spare->texture : makePage();
    if (t == nullptr) {
      return nullptr;
    }
    if (spare != pages.end()) {
      pages.erase(spare);
    }
    pages.push_back(AtlasPage{placedScale, t});
    page = &pages.back();
  }
  *place = SDL_Rect{page->shelfX, page->shelfY, w, h};
  page->shelfX += w;
  page->shelfHeight = std::max(page->shelfHeight, h);
  return page->texture;
}

uint32_t pixelAt(const SDL_Surface *s, int x, int y) {
  return reinterpret_cast<const uint32_t *>(static_cast<const uint8_t *>(s->pixels) +
                                            static_cast<size_t>(y) * s->pitch)[x];
}

// The part of an ARGB glyph that has ink, with one fully transparent pixel
// kept round it where the glyph has one: drawn alone it blends the same
// pixels as the whole glyph, fewer of them. Empty when there is no ink.
SDL_Rect inkedPart(const SDL_Surface *s) {
  int left = s->w;
  int right = -1;
  int top = s->h;
  int bottom = -1;
  for (int y = 0; y < s->h; ++y) {
    for (int x = 0; x < s->w; ++x) {
      if ((pixelAt(s, x, y) >> 24) != 0) {
        left = std::min(left, x);
        right = std::max(right, x);
        top = std::min(top, y);
        bottom = std::max(bottom, y);
      }
    }
  }
  if (right < 0) {
    return SDL_Rect{0, 0, 0, 0};
  }
  left = std::max(left - 1, 0);
  top = std::max(top - 1, 0);
  right = std::min(right + 1, s->w - 1);
  bottom = std::min(bottom + 1, s->h - 1);
  return SDL_Rect{left, top, right - left + 1, bottom - top + 1};
}

// Copies part of an ARGB glyph into a shared picture of this scale with its
// edge-repeating rim; null when there is no room.
SDL_Texture *addToAtlas(double placedScale, const SDL_Surface *s, const SDL_Rect &part,
                        SDL_Rect *glyphRect) {
  const int w = part.w + 2;
  const int h = part.h + 2;
  SDL_Rect place;
  SDL_Texture *atlas = placeInAtlas(placedScale, w, h, &place);
  if (atlas == nullptr) {
    return nullptr;
  }
  std::vector<uint32_t> rimmed(static_cast<size_t>(w) * h);
  for (int y = 0; y < h; ++y) {
    const int sy = part.y + std::clamp(y - 1, 0, part.h - 1);
    for (int x = 0; x < w; ++x) {
      rimmed[static_cast<size_t>(y) * w + x] =
          pixelAt(s, part.x + std::clamp(x - 1, 0, part.w - 1), sy);
    }
  }
  if (SDL_UpdateTexture(atlas, &place, rimmed.data(), w * 4) != 0) {
    return nullptr;
  }
  *glyphRect = SDL_Rect{place.x + 1, place.y + 1, part.w, part.h};
  return atlas;
}

bool sharedPicture(const SDL_Texture *t) {
  return std::any_of(pages.begin(), pages.end(),
                     [t](const AtlasPage &p) { return p.texture == t; });
}

// Forgets the glyphs of one set, destroying the textures of their own.
void dropGlyphs(GlyphSet &set) {
  for (Glyph *glyphs : {set.upright, set.turned}) {
    for (int i = 0; i < 256; ++i) {
      if (glyphs[i].texture != nullptr && !sharedPicture(glyphs[i].texture)) {
        SDL_DestroyTexture(glyphs[i].texture);
      }
      glyphs[i] = Glyph{};
    }
  }
  if (set.font != nullptr) {
    TTF_CloseFont(set.font);
    set.font = nullptr;
  }
}

// Forgets every glyph made for the picture at this scale, and its pictures
// but one, which becomes the spare page when there is none.
void dropScale(double placedScale) {
  for (FontSlot &f : fonts) {
    for (auto it = f.sets.begin(); it != f.sets.end();) {
      if (it->placedScale == placedScale) {
        dropGlyphs(*it);
        it = f.sets.erase(it);
      } else {
        ++it;
      }
    }
  }
  bool spareWanted = std::none_of(pages.begin(), pages.end(),
                                  [](const AtlasPage &p) { return p.placedScale == 0.0; });
  for (auto it = pages.begin(); it != pages.end();) {
    if (it->placedScale == placedScale && spareWanted) {
      *it = AtlasPage{0.0, it->texture};
      spareWanted = false;
      ++it;
    } else if (it->placedScale == placedScale) {
      SDL_DestroyTexture(it->texture);
      it = pages.erase(it);
    } else {
      ++it;
    }
  }
}

// The font's glyphs for the picture's scale now: made anew (and the oldest
// kept scale forgotten) the first time the picture shows at this scale.
GlyphSet &setShowing(FontSlot &f) {
  const double placed = sdl::placement.scale;
  if (keptScales.empty() || keptScales.front() != placed) {
    auto known = std::find(keptScales.begin(), keptScales.end(), placed);
    if (known != keptScales.end()) {
      keptScales.erase(known);
    }
    keptScales.insert(keptScales.begin(), placed);
    while (keptScales.size() > KEPT_SCALES) {
      dropScale(keptScales.back());
      keptScales.pop_back();
    }
  }
  for (GlyphSet &set : f.sets) {
    if (set.placedScale == placed) {
      return set;
    }
  }
  f.sets.emplace_back();
  f.sets.back().placedScale = placed;
  return f.sets.back();
}

// The glyphs are made on first use, at the scale of the batch drawing them,
// so they are crisp on screen whatever the mode.
const Glyph *glyph(GlyphSet &set, int height, uint8_t byte, float pixelScale, bool turned) {
  Glyph &g = turned ? set.turned[byte] : set.upright[byte];
  if (g.made || sdl::renderer == nullptr || fontPath.empty()) {
    return &g;
  }
  if (set.font == nullptr) {
    set.pixelScale = pixelScale > 0.0f ? pixelScale : 1.0f;
    set.font = openForLineHeight(float(height) * set.pixelScale);
    if (set.font == nullptr) {
      return &g;
    }
  }
  SDL_Surface *made =
      TTF_RenderGlyph32_Blended(set.font, codepointOf(byte), SDL_Color{255, 255, 255, 255});
  SDL_Surface *s = made != nullptr && made->format->format != SDL_PIXELFORMAT_ARGB8888
                       ? SDL_ConvertSurfaceFormat(made, SDL_PIXELFORMAT_ARGB8888, 0)
                       : made;
  g.made = true;
  ++madeCount;
  if (s == nullptr || s->w <= 0 || s->h <= 0) {
    SDL_FreeSurface(made);
    return &g;
  }
  const SDL_Rect part = turned ? SDL_Rect{0, 0, s->w, s->h} : inkedPart(s);
  g.offset = SDL_Point{part.x, part.y};
  g.texture = nullptr; // nothing to draw without ink
  if (part.w > 0 && !turned) {
    g.texture = addToAtlas(set.placedScale, s, part, &g.rect);
  }
  if (part.w > 0 && g.texture == nullptr) {
    g.offset = SDL_Point{0, 0};
    g.rect = SDL_Rect{0, 0, s->w, s->h};
    g.texture = SDL_CreateTextureFromSurface(sdl::renderer, s);
    if (g.texture != nullptr) {
      SDL_SetTextureBlendMode(g.texture, SDL_BLENDMODE_BLEND);
    }
  }
  if (s != made) {
    SDL_FreeSurface(s);
  }
  SDL_FreeSurface(made);
  return &g;
}
} // namespace

namespace sdl {
void dropGlyphTextures() {
  for (double placed : keptScales) {
    dropScale(placed);
  }
  keptScales.clear();
  for (const AtlasPage &p : pages) {
    SDL_DestroyTexture(p.texture);
  }
  pages.clear();
}

// A new page costs tens of milliseconds on a software renderer (8 MB to
// clear): made with the renderer, while the window is hidden, the first
// frame after the window shows does not wait for it.
void makeSpareGlyphPicture() {
  if (renderer == nullptr || !pages.empty()) {
    return;
  }
  if (SDL_Texture *t = makePage()) {
    pages.push_back(AtlasPage{0.0, t});
  }
}

size_t glyphsMade() { return madeCount; }

size_t glyphPicturesKept() {
  size_t n = pages.size();
  for (const FontSlot &f : fonts) {
    for (const GlyphSet &set : f.sets) {
      for (const Glyph *glyphs : {set.upright, set.turned}) {
        n += size_t(std::count_if(glyphs, glyphs + 256, [](const Glyph &g) {
          return g.texture != nullptr && !sharedPicture(g.texture);
        }));
      }
    }
  }
  return n;
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
    for (GlyphSet &set : f->sets) {
      dropGlyphs(set);
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

// The line's new glyphs are all made before any of it is drawn: a glyph
// written into a shared picture that queued draws still read makes the
// renderer finish them first, once per line this way rather than per letter.
void drawTextLine(SpriteId sprite, FontId id, const char *text, int left, int top, uint32_t argb) {
  FontSlot *f = fontOf(id);
  const Transform2D *m = sdl::spriteTransform(sprite);
  if (f == nullptr || m == nullptr || sdl::renderer == nullptr) {
    return;
  }
  GlyphSet &set = setShowing(*f);
  float scale = std::hypot(m->m11, m->m12) * float(sdl::placement.scale);
  bool turned = std::fabs(std::atan2(m->m12, m->m11)) >= 1e-6f;
  for (const char *p = text; *p != '\0'; ++p) {
    if (*p != ' ') {
      glyph(set, f->height, static_cast<uint8_t>(*p), scale, turned);
    }
  }
  // Glyphs were made for set.pixelScale window pixels per unit.
  const float unitsPerPixel = 1.0f / set.pixelScale;
  float x = float(left);
  for (const char *p = text; *p != '\0'; ++p) {
    uint8_t byte = static_cast<uint8_t>(*p);
    const Glyph &g = turned ? set.turned[byte] : set.upright[byte];
    if (byte != ' ' && g.texture != nullptr) {
      SDL_SetTextureColorMod(g.texture, Uint8(argb >> 16), Uint8(argb >> 8), Uint8(argb));
      SDL_SetTextureAlphaMod(g.texture, Uint8(argb >> 24));
      sdl::drawTransformed(g.texture, g.rect, g.rect.w * unitsPerPixel, g.rect.h * unitsPerPixel,
                           x + g.offset.x * unitsPerPixel, float(top) + g.offset.y * unitsPerPixel,
                           *m);
    }
    x += f->advance;
  }
}
