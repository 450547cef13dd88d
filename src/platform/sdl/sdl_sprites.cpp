// Textures keep a CPU copy of their pixels (the lock hands it out, the unlock
// uploads the changed rows), so they survive a rebuilt renderer. Sprites are
// textured quads placed through their 2D transform.
#include "platform/sdl/sdl_state.h"
#include "platform/sprites.h"
#include <SDL2/SDL_image.h>
#include <cmath>
#include <vector>

namespace {
struct TextureSlot {
  bool used = false;
  int width = 0;
  int height = 0;
  std::vector<uint32_t> pixels;
  SDL_Texture *gpu = nullptr;
  // Rows holding a pixel that is not fully opaque, and how many there are:
  // a picture without any is copied rather than blended, which costs a
  // software renderer less (it need not read what lies underneath).
  std::vector<uint8_t> translucentRow;
  int translucentRows = 0;
};
struct SpriteSlot {
  bool used = false;
  Transform2D transform{1, 0, 0, 1, 0, 0};
  bool flashBlend = false;
};

std::vector<TextureSlot> textures(1); // slot 0 = none
std::vector<SpriteSlot> sprites(1);
SDL_BlendMode flashMode = SDL_BLENDMODE_INVALID;

void noteTranslucentRows(TextureSlot &t, int firstRow, int lastRow) {
  t.translucentRow.resize(static_cast<size_t>(t.height), 0);
  for (int y = firstRow; y <= lastRow; ++y) {
    const uint32_t *row = t.pixels.data() + static_cast<size_t>(y) * t.width;
    uint8_t translucent = 0;
    for (int x = 0; x < t.width; ++x) {
      translucent |= (row[x] >> 24) != 0xFFu ? 1 : 0;
    }
    t.translucentRows += translucent - t.translucentRow[y];
    t.translucentRow[y] = translucent;
  }
}

void upload(TextureSlot &t, int firstRow, int lastRow) {
  if (sdl::renderer == nullptr) {
    return;
  }
  if (t.gpu == nullptr) {
    t.gpu = SDL_CreateTexture(sdl::renderer, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_STATIC,
                              t.width, t.height);
    if (t.gpu == nullptr) {
      return;
    }
    SDL_SetTextureBlendMode(t.gpu, SDL_BLENDMODE_BLEND);
    firstRow = 0;
    lastRow = t.height - 1;
  }
  if (firstRow < 0) {
    firstRow = 0;
  }
  if (lastRow >= t.height) {
    lastRow = t.height - 1;
  }
  if (firstRow > lastRow) {
    return;
  }
  noteTranslucentRows(t, firstRow, lastRow);
  SDL_Rect rows{0, firstRow, t.width, lastRow - firstRow + 1};
  SDL_UpdateTexture(t.gpu, &rows, t.pixels.data() + static_cast<size_t>(firstRow) * t.width,
                    t.width * 4);
}

TextureId addTexture(TextureSlot &&slot) {
  slot.used = true;
  for (size_t i = 1; i < textures.size(); ++i) {
    if (!textures[i].used) {
      textures[i] = std::move(slot);
      upload(textures[i], 0, textures[i].height - 1);
      return static_cast<TextureId>(i);
    }
  }
  textures.push_back(std::move(slot));
  upload(textures.back(), 0, textures.back().height - 1);
  return static_cast<TextureId>(textures.size() - 1);
}

TextureSlot *slotOf(TextureId id) {
  if (id <= 0 || static_cast<size_t>(id) >= textures.size() || !textures[id].used) {
    return nullptr;
  }
  return &textures[id];
}
} // namespace

namespace sdl {
void restoreTextures() {
  for (auto &t : textures) {
    if (t.used) {
      t.gpu = nullptr; // the old renderer took its textures with it
      upload(t, 0, t.height - 1);
    }
  }
}
} // namespace sdl

TextureId loadTexture(const char *path) {
  SDL_Surface *loaded = IMG_Load(path);
  if (loaded == nullptr) {
    return 0;
  }
  SDL_Surface *argb = SDL_ConvertSurfaceFormat(loaded, SDL_PIXELFORMAT_ARGB8888, 0);
  SDL_FreeSurface(loaded);
  if (argb == nullptr) {
    return 0;
  }
  TextureSlot t;
  t.width = argb->w;
  t.height = argb->h;
  t.pixels.resize(static_cast<size_t>(t.width) * t.height);
  SDL_LockSurface(argb);
  for (int y = 0; y < t.height; ++y) {
    const auto *row = reinterpret_cast<const uint32_t *>(
        static_cast<const uint8_t *>(argb->pixels) + static_cast<size_t>(y) * argb->pitch);
    std::copy(row, row + t.width, t.pixels.begin() + static_cast<ptrdiff_t>(y) * t.width);
  }
  SDL_UnlockSurface(argb);
  SDL_FreeSurface(argb);
  return addTexture(std::move(t));
}

TextureId createTexture(int width, int height, uint32_t argb) {
  if (width <= 0 || height <= 0) {
    return 0;
  }
  TextureSlot t;
  t.width = width;
  t.height = height;
  t.pixels.assign(static_cast<size_t>(width) * height, argb);
  return addTexture(std::move(t));
}

void releaseTexture(TextureId id) {
  if (TextureSlot *t = slotOf(id)) {
    if (t->gpu != nullptr) {
      SDL_DestroyTexture(t->gpu);
    }
    *t = TextureSlot{};
  }
}

bool textureSize(TextureId id, int *width, int *height) {
  TextureSlot *t = slotOf(id);
  if (t == nullptr) {
    return false;
  }
  *width = t->width;
  *height = t->height;
  return true;
}

uint32_t *lockTexture(TextureId id) {
  TextureSlot *t = slotOf(id);
  return t == nullptr ? nullptr : t->pixels.data();
}

void unlockTexture(TextureId id, int firstRow, int lastRow) {
  if (TextureSlot *t = slotOf(id)) {
    upload(*t, firstRow, lastRow);
  }
}

SpriteId createSprite() {
  sprites.push_back(SpriteSlot{true});
  return static_cast<SpriteId>(sprites.size() - 1);
}

void releaseSprite(SpriteId sprite) {
  if (sprite > 0 && static_cast<size_t>(sprite) < sprites.size()) {
    sprites[sprite].used = false;
  }
}

static SpriteSlot *spriteOf(SpriteId id) {
  if (id <= 0 || static_cast<size_t>(id) >= sprites.size() || !sprites[id].used) {
    return nullptr;
  }
  return &sprites[id];
}

void spriteSetTransform(SpriteId sprite, const Transform2D &transform) {
  if (SpriteSlot *s = spriteOf(sprite)) {
    s->transform = transform;
  }
}

void spriteBegin(SpriteId sprite) {
  if (SpriteSlot *s = spriteOf(sprite)) {
    s->flashBlend = false;
  }
}

void spriteEnd(SpriteId sprite) {
  if (SpriteSlot *s = spriteOf(sprite)) {
    s->flashBlend = false;
  }
}

void spriteSetFlashBlend(SpriteId sprite, bool on) {
  if (SpriteSlot *s = spriteOf(sprite)) {
    s->flashBlend = on;
  }
}

namespace sdl {
// A texture drawn at a whole multiple of its size onto whole pixels reads the
// same texels with either filter, and nearest costs a software renderer less
// than linear and keeps an enlarged picture crisp. SDL applies a filter
// change at once, to draws already queued as well, so those go out first.
void chooseFilter(SDL_Texture *tex, bool nearest) {
  SDL_ScaleMode want = nearest ? SDL_ScaleModeNearest : SDL_ScaleModeLinear;
  SDL_ScaleMode now = SDL_ScaleModeLinear;
  if (SDL_GetTextureScaleMode(tex, &now) == 0 && now != want) {
    SDL_RenderFlush(renderer);
    SDL_SetTextureScaleMode(tex, want);
  }
}

bool wholeMultiple(float shown, int size) {
  return shown >= float(size) && std::fmod(shown, float(size)) == 0.0f;
}

// Draws a texture region under a similarity transform (scale and rotation),
// then through the picture's placement in the window.
void drawTransformed(SDL_Texture *tex, const SDL_Rect &src, float w, float h, float x, float y,
                     const Transform2D &m) {
  const float placed = float(placement.scale);
  float px = (x * m.m11 + y * m.m21 + m.dx) * placed;
  float py = (x * m.m12 + y * m.m22 + m.dy) * placed;
  float sx = std::hypot(m.m11, m.m12) * placed;
  float sy = std::hypot(m.m21, m.m22) * placed;
  float angle = std::atan2(m.m12, m.m11);
  if (std::fabs(angle) < 1e-6f) {
    // Whole pixels, and a size that does not depend on where the picture
    // lies: a moving sprite keeps its outline from frame to frame.
    SDL_FRect dst{std::round(px), std::round(py), std::round(w * sx), std::round(h * sy)};
    chooseFilter(tex, wholeMultiple(dst.w, src.w) && wholeMultiple(dst.h, src.h));
    SDL_RenderCopyF(renderer, tex, &src, &dst);
  } else {
    SDL_FRect dst{px, py, w * sx, h * sy};
    chooseFilter(tex, false);
    SDL_FPoint pivot{0.0f, 0.0f};
    SDL_RenderCopyExF(renderer, tex, &src, &dst, angle * 57.29577951308232, &pivot, SDL_FLIP_NONE);
  }
}
} // namespace sdl

void spriteDraw(SpriteId sprite, TextureId texture, const SourceRect *src, float x, float y,
                uint32_t argb) {
  SpriteSlot *s = spriteOf(sprite);
  TextureSlot *t = slotOf(texture);
  if (s == nullptr || t == nullptr || t->gpu == nullptr || sdl::renderer == nullptr) {
    return;
  }
  SDL_Rect r = src ? SDL_Rect{src->left, src->top, src->right - src->left, src->bottom - src->top}
                   : SDL_Rect{0, 0, t->width, t->height};
  SDL_SetTextureColorMod(t->gpu, Uint8(argb >> 16), Uint8(argb >> 8), Uint8(argb));
  SDL_SetTextureAlphaMod(t->gpu, Uint8(argb >> 24));
  if (s->flashBlend) {
    if (flashMode == SDL_BLENDMODE_INVALID) {
      flashMode = SDL_ComposeCustomBlendMode(SDL_BLENDFACTOR_DST_COLOR, SDL_BLENDFACTOR_SRC_ALPHA,
                                             SDL_BLENDOPERATION_ADD, SDL_BLENDFACTOR_ZERO,
                                             SDL_BLENDFACTOR_ONE, SDL_BLENDOPERATION_ADD);
    }
    if (SDL_SetTextureBlendMode(t->gpu, flashMode) != 0) {
      SDL_SetTextureBlendMode(t->gpu, SDL_BLENDMODE_ADD); // renderers without custom modes
    }
  } else if (t->translucentRows == 0 && (argb >> 24) == 0xFFu) {
    // Opaque over anything is the picture itself.
    SDL_SetTextureBlendMode(t->gpu, SDL_BLENDMODE_NONE);
  } else {
    SDL_SetTextureBlendMode(t->gpu, SDL_BLENDMODE_BLEND);
  }
  sdl::drawTransformed(t->gpu, r, float(r.w), float(r.h), x, y, s->transform);
}

// Used by the text file: the transform of a sprite batch.
namespace sdl {
const Transform2D *spriteTransform(SpriteId sprite) {
  SpriteSlot *s = spriteOf(sprite);
  return s ? &s->transform : nullptr;
}
} // namespace sdl
