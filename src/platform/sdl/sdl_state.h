// State shared by the SDL backend's files; nothing outside src/platform/sdl sees it.
#pragma once
#include "platform/sprites.h"
#include <SDL2/SDL.h>

namespace sdl {
extern SDL_Window *window;
extern SDL_Renderer *renderer;
extern SDL_Texture *backBuffer; // render target of the chosen mode's size; null: the window
extern int backBufferW;
extern int backBufferH;
// Re-creates every GPU texture from its CPU copy after the renderer was rebuilt.
void restoreTextures();
// Drops every cached glyph texture (they are rebuilt on use).
void dropGlyphTextures();
// Draws a texture region of w x h units at (x, y) under a similarity transform.
void drawTransformed(SDL_Texture *tex, const SDL_Rect &src, float w, float h, float x, float y,
                     const Transform2D &m);
const Transform2D *spriteTransform(SpriteId sprite);
} // namespace sdl
