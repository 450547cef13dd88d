// SPDX-License-Identifier: MIT
// Text on the SDL backend (dummy driver, software renderer) as the window
// changes size: glyphs are made at the size they show, kept for the scale
// left behind (a switch back costs no rendering and draws the same pixels),
// the first text needs no new picture, and a window dragged through many
// sizes does not pile up glyph textures.
#include "platform/sdl/sdl_state.h"
#include "platform/sprites.h"
#include "platform/text.h"
#include "platform/video.h"
#include <gtest/gtest.h>
#include <vector>

namespace {
// The top-left corner of the window after drawing one line there.
std::vector<uint32_t> drawnLine(int windowW, int windowH, FontId font, SpriteId sprite) {
  SDL_SetWindowSize(sdl::window, windowW, windowH);
  SDL_PumpEvents();
  clearBackBuffer(0xFF000000u);
  drawTextLine(sprite, font, "Level: 12 Wy%", 10, 10, 0xFFFFFFFFu);
  std::vector<uint32_t> pixels(400 * 60);
  SDL_Rect corner{0, 0, 400, 60};
  SDL_RenderSetViewport(sdl::renderer, nullptr);
  EXPECT_EQ(SDL_RenderReadPixels(sdl::renderer, &corner, SDL_PIXELFORMAT_ARGB8888, pixels.data(),
                                 400 * 4),
            0);
  return pixels;
}
} // namespace

TEST(SdlText, ScaleChangeAndBackDrawsTheSameAndKeepsTheCacheBounded) {
  ASSERT_TRUE(createGraphicsDevice(1920, 1080, 0));
  ASSERT_TRUE(registerFontFile(PELTA_TEST_FONT));
  const FontId font = createFont(40);
  const SpriteId sprite = createSprite();
  spriteSetTransform(sprite, Transform2D{1, 0, 0, 1, 0, 0});

  EXPECT_EQ(sdl::glyphPicturesKept(), 1u); // the spare page, made with the renderer
  const std::vector<uint32_t> small = drawnLine(1280, 720, font, sprite);
  EXPECT_EQ(sdl::glyphPicturesKept(), 1u); // the first text went into it
  const std::vector<uint32_t> full = drawnLine(1920, 1080, font, sprite);
  EXPECT_NE(small, full); // made at each size, not one size stretched
  const size_t made = sdl::glyphsMade();
  EXPECT_EQ(drawnLine(1280, 720, font, sprite), small);
  EXPECT_EQ(drawnLine(1920, 1080, font, sprite), full);
  EXPECT_EQ(sdl::glyphsMade(), made); // both scales were kept

  const size_t kept = sdl::glyphPicturesKept();
  for (int w = 700; w < 2400; w += 97) {
    drawnLine(w, 600, font, sprite);
  }
  // Drawn again into a page a dropped scale left, over its old glyphs.
  EXPECT_EQ(drawnLine(1280, 720, font, sprite), small);
  EXPECT_LE(sdl::glyphPicturesKept(), kept);

  releaseSprite(sprite);
  releaseFont(font);
  releaseGraphicsDevice();
  EXPECT_EQ(sdl::glyphPicturesKept(), 0u); // gone with their renderer
}
