// SPDX-License-Identifier: MIT
// Textures and sprite batches on WebGL 2. Textures keep a CPU copy of their
// pixels (the lock hands it out, the unlock uploads the changed rows); quads
// are queued and go to the GPU in one draw per run of the same texture and
// blend, with the blends and filters the desktop's renderer uses.
#include "platform/sprites.h"
#include "platform/web/web_state.h"
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <vector>

#define STB_IMAGE_IMPLEMENTATION
#define STBI_ONLY_PNG
#define STBI_NO_STDIO
#include <stb/stb_image.h>

namespace {
struct TextureSlot {
  bool used = false;
  int width = 0;
  int height = 0;
  std::vector<uint32_t> pixels;
  GLuint gpu = 0;
  // Rows holding a pixel that is not fully opaque: a picture without any is
  // copied rather than blended.
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

TextureId addTexture(TextureSlot &&slot) {
  slot.used = true;
  noteTranslucentRows(slot, 0, slot.height - 1);
  slot.gpu = web::makeTexture(slot.width, slot.height, slot.pixels.data());
  for (size_t i = 1; i < textures.size(); ++i) {
    if (!textures[i].used) {
      textures[i] = std::move(slot);
      return static_cast<TextureId>(i);
    }
  }
  textures.push_back(std::move(slot));
  return static_cast<TextureId>(textures.size() - 1);
}

TextureSlot *slotOf(TextureId id) {
  if (id <= 0 || static_cast<size_t>(id) >= textures.size() || !textures[id].used) {
    return nullptr;
  }
  return &textures[id];
}

SpriteSlot *spriteOf(SpriteId id) {
  if (id <= 0 || static_cast<size_t>(id) >= sprites.size() || !sprites[id].used) {
    return nullptr;
  }
  return &sprites[id];
}
} // namespace

TextureId loadTexture(const char *path) {
  std::vector<uint8_t> bytes;
  if (!web::readFileBytes(path, bytes)) {
    return 0;
  }
  int w = 0;
  int h = 0;
  int channels = 0;
  stbi_uc *rgba = stbi_load_from_memory(bytes.data(), int(bytes.size()), &w, &h, &channels, 4);
  if (rgba == nullptr) {
    return 0;
  }
  TextureSlot t;
  t.width = w;
  t.height = h;
  t.pixels.resize(static_cast<size_t>(w) * h);
  for (size_t i = 0; i < t.pixels.size(); ++i) {
    const stbi_uc *p = rgba + 4 * i;
    t.pixels[i] = uint32_t(p[3]) << 24 | uint32_t(p[0]) << 16 | uint32_t(p[1]) << 8 | p[2];
  }
  stbi_image_free(rgba);
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
    web::flushQuads();
    if (t->gpu != 0) {
      glDeleteTextures(1, &t->gpu);
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
  TextureSlot *t = slotOf(id);
  if (t == nullptr || t->gpu == 0) {
    return;
  }
  firstRow = std::max(firstRow, 0);
  lastRow = std::min(lastRow, t->height - 1);
  if (firstRow > lastRow) {
    return;
  }
  // Quads already queued were drawn with the old pixels.
  web::flushQuads();
  noteTranslucentRows(*t, firstRow, lastRow);
  web::uploadRows(t->gpu, t->width, firstRow, lastRow, t->pixels.data());
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

void spriteDraw(SpriteId sprite, TextureId texture, const SourceRect *src, float x, float y,
                uint32_t argb) {
  SpriteSlot *s = spriteOf(sprite);
  TextureSlot *t = slotOf(texture);
  if (s == nullptr || t == nullptr || t->gpu == 0) {
    return;
  }
  const SourceRect r = src ? *src : SourceRect{0, 0, t->width, t->height};
  const float w = float(r.right - r.left);
  const float h = float(r.bottom - r.top);
  web::Blend blend = web::Blend::Alpha;
  if (s->flashBlend) {
    blend = web::Blend::Flash;
  } else if (t->translucentRows == 0 && (argb >> 24) == 0xFFu) {
    blend = web::Blend::Opaque; // opaque over anything is the picture itself
  }
  web::drawQuad(t->gpu, t->width, t->height, float(r.left), float(r.top), w, h, w, h, x, y,
                s->transform, argb, blend);
}

namespace web {
bool readFileBytes(const char *path, std::vector<uint8_t> &bytes) {
  std::FILE *f = std::fopen(path, "rb");
  if (f == nullptr) {
    return false;
  }
  bytes.clear();
  uint8_t chunk[65536];
  size_t got = 0;
  while ((got = std::fread(chunk, 1, sizeof chunk, f)) > 0) {
    bytes.insert(bytes.end(), chunk, chunk + got);
  }
  std::fclose(f);
  return true;
}

const Transform2D *spriteTransform(SpriteId sprite) {
  SpriteSlot *s = spriteOf(sprite);
  return s ? &s->transform : nullptr;
}
} // namespace web
