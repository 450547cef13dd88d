// State shared by the SDL backend's files; nothing outside src/platform/sdl sees it.
#pragma once
#include "platform/sprites.h"
#include <SDL2/SDL.h>

namespace sdl {
extern SDL_Window *window;
extern SDL_Renderer *renderer;
extern int backBufferW; // the picture's size: the chosen mode's
extern int backBufferH;

// Where the picture lies in the window's pixels: scaled by `scale` to w x h
// at (x, y), black bars round it; `whole` when the scale is a whole number.
struct Placement {
  int x = 0;
  int y = 0;
  int w = 0;
  int h = 0;
  double scale = 1.0;
  bool whole = true;
};
// The biggest placement of the picture that fits the output, centred.
Placement placePicture(int pictureW, int pictureH, int outputW, int outputH);
// The placement of this frame (set at its clear), and its viewport.
extern Placement placement;
void placeInWindow();
// The desktop tests' look at what was shown (sdl_shown_frames.cpp): a switch
// between window and full screen, and a frame about to be presented.
void noteWindowSwitch();
// The window was moved or resized by the window system (sdl_window.cpp).
void windowPlaced();
void noteShownFrame();
// Re-creates every GPU texture from its CPU copy after the renderer was rebuilt.
void restoreTextures();
// Drops every cached glyph texture (they are rebuilt on use).
void dropGlyphTextures();
// Makes an empty shared glyph picture ahead of the first text drawn.
void makeSpareGlyphPicture();
// The glyph textures held now (shared pictures and glyphs of their own), and
// how many glyphs were rendered so far.
size_t glyphPicturesKept();
size_t glyphsMade();
// Draws a texture region of w x h units at (x, y) under a similarity transform.
void drawTransformed(SDL_Texture *tex, const SDL_Rect &src, float w, float h, float x, float y,
                     const Transform2D &m);
const Transform2D *spriteTransform(SpriteId sprite);
} // namespace sdl
