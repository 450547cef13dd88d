// Text placement: measure first, centre with w / 2 truncated, add the
// truncated vertical offset, never clip. Every text's position on screen
// follows from these roundings.
#include "presentation/text_draw.h"
#include <map>
#include "presentation/transform.h"
#include "presentation/video_modes.h"

SpriteId textSprite = 0;
SpriteId letterSprite = 0;
FontId uiFont = 0;
int uiFontHeight = 0;
float tickerScaling[2] = {1.0f, 1.0f};

namespace {
std::map<int, FontId> fontCache;
}

void setFontHeight(int h) {
  auto it = fontCache.find(h);
  if (it == fontCache.end()) {
    it = fontCache.emplace(h, createFont(h)).first;
  }
  uiFont = it->second;
  uiFontHeight = h;
}

void textPlacement(int xOffset, int y, uint8_t centred, int *left, int *top) {
  int w = 0;
  int h = 0;
  measureText(uiFont, textBuffer, &w, &h);
  *left = centred ? 960 - w / 2 : xOffset;
  *top = y + static_cast<int>(verticalOffset);
}

void drawText(int xOffset, int y, uint8_t centred, uint32_t colour) {
  int left = 0;
  int top = 0;
  textPlacement(xOffset, y, centred, &left, &top);
  drawTextLine(textSprite, uiFont, textBuffer, left, top, colour);
}

void drawCentred(int height, int y) {
  setFontHeight(height);
  drawText(0, y, 1, COLOUR_WHITE);
}

void drawTextAtOrigin(uint32_t colour) { drawTextLine(letterSprite, uiFont, textBuffer, 0, 0, colour); }

void applyRenderScale(float s) {
  Transform2D m = matrixScaling(s, s);
  spriteSetTransform(textSprite, m);
  spriteSetTransform(letterSprite, m);
  tickerScaling[0] = s;
  tickerScaling[1] = s;
}

void drawPicture(TextureId texture, const SourceRect *src, float x, float y, uint32_t colour) {
  spriteDraw(textSprite, texture, src, x, y + verticalOffset, colour);
}

void releaseFonts() {
  for (auto &entry : fontCache) {
    releaseFont(entry.second);
  }
  fontCache.clear();
  uiFont = 0;
}
