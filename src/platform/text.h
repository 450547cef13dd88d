// The fixed-pitch font: one font per height, text measured and drawn through
// a sprite batch. Text is Windows-1252.
#pragma once
#include <cstdint>
#include "platform/sprites.h"

using FontId = int; // 0 = none

// Registers the font file for this process; false when it cannot be read.
bool registerFontFile(const char *path);
// A font whose lines are `height` units high.
FontId createFont(int height);
void releaseFont(FontId font);
// Width and height of one line in the sprite's own units.
void measureText(FontId font, const char *text, int *width, int *height);
void drawTextLine(SpriteId sprite, FontId font, const char *text, int left, int top,
                  uint32_t argb);
