// The game's text and picture drawing in virtual coordinates: two sprite
// batches, one font per height, centred or left-aligned lines.
#pragma once
#include <cstdint>
#include "common/format.h"
#include "platform/sprites.h"
#include "platform/text.h"

constexpr uint32_t COLOUR_WHITE = 0xFFFFFFFFu;
constexpr uint32_t COLOUR_MENU_GREEN = 0xFF2CA62Cu;

extern SpriteId textSprite;
extern SpriteId letterSprite;
extern FontId uiFont;
extern int uiFontHeight;
extern float tickerScaling[2];

// Makes the font of height h current. Each height is created once and kept,
// so switching sizes several times a frame costs nothing.
void setFontHeight(int h);
// Draws textBuffer through textSprite: centred on x = 960, or from xOffset.
// y is the layout row; verticalOffset (truncated) is added.
void drawText(int xOffset, int y, uint8_t centred, uint32_t colour);
// Draws textBuffer in white, centred, at layout row y in a font of this height
// (which stays the current one).
void drawCentred(int height, int y);
// Draws textBuffer through letterSprite at (0, 0); the sprite's transform places it.
void drawTextAtOrigin(uint32_t colour);
// Where drawText would put textBuffer: left and top in virtual units.
void textPlacement(int xOffset, int y, uint8_t centred, int *left, int *top);
// Sets the scaling of the virtual space on both sprites.
void applyRenderScale(float s);
// Draws a picture (or a piece of it) at a layout position through textSprite.
void drawPicture(TextureId texture, const SourceRect *src, float x, float y, uint32_t colour);
// Releases every cached font (program end).
void releaseFonts();
