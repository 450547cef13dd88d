// Textures and sprite batches: textured rectangles from a source rectangle,
// tinted by an ARGB colour, placed through the batch's 2D transform.
#pragma once
#include <cstdint>

using TextureId = int;  // 0 = none
using SpriteId = int;   // 0 = none

struct SourceRect {
  int left, top, right, bottom; // right and bottom exclusive
};

// Row-vector affine 2D transform: x' = x*m11 + y*m21 + dx, y' = x*m12 + y*m22 + dy.
struct Transform2D {
  float m11, m12, m21, m22, dx, dy;
};

// Loads a picture file (PNG inside). 0 when it cannot be read.
TextureId loadTexture(const char *path);
// A blank texture of this size, every pixel `argb`.
TextureId createTexture(int width, int height, uint32_t argb);
void releaseTexture(TextureId texture);
bool textureSize(TextureId texture, int *width, int *height);
// The CPU copy of the pixels (A8R8G8B8, rows of `width`); null for none.
uint32_t *lockTexture(TextureId texture);
// Uploads rows firstRow..lastRow (inclusive) changed since the lock.
void unlockTexture(TextureId texture, int firstRow, int lastRow);

SpriteId createSprite();
void releaseSprite(SpriteId sprite);
void spriteSetTransform(SpriteId sprite, const Transform2D &transform);
void spriteBegin(SpriteId sprite);
void spriteEnd(SpriteId sprite);
// src null = the whole texture. Position in the sprite's own units.
void spriteDraw(SpriteId sprite, TextureId texture, const SourceRect *src, float x, float y,
                uint32_t argb);
// The bounce flashes' blend: source x destination + destination x source alpha.
void spriteSetFlashBlend(SpriteId sprite, bool on);
