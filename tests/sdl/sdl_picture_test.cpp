// SPDX-License-Identifier: MIT
// The picture in windows of many sizes on the SDL backend (dummy driver,
// software renderer): after every resize the whole picture is shown scaled
// to fit, centred, black bars on the long side, crisp at a whole multiple;
// the screenshot is the picture at the back buffer's size whatever the window.
#include "platform/sdl/sdl_state.h"
#include "platform/sprites.h"
#include "platform/video.h"
#include <gtest/gtest.h>
#include <vector>

namespace {
constexpr uint32_t GREY = 0xFF808080u;
constexpr uint32_t RED = 0xFFFF0000u;
constexpr uint32_t BLUE = 0xFF0000FFu;

// The whole window as it would be presented.
std::vector<uint32_t> shownPixels(int w, int h) {
  std::vector<uint32_t> pixels(size_t(w) * size_t(h));
  SDL_RenderSetViewport(sdl::renderer, nullptr);
  EXPECT_EQ(SDL_RenderReadPixels(sdl::renderer, nullptr, SDL_PIXELFORMAT_ARGB8888, pixels.data(),
                                 w * 4),
            0);
  sdl::placeInWindow();
  return pixels;
}
} // namespace

TEST(SdlPicture, EveryWindowSizeShowsTheWholePictureWithBars) {
  struct Case {
    int windowW, windowH;
    SDL_Rect picture; // where the 1920 x 1080 picture must show
  };
  const Case cases[] = {
      {1280, 720, {0, 0, 1280, 720}},     {3840, 2160, {0, 0, 3840, 2160}},
      {1000, 900, {0, 168, 1000, 563}},   {1600, 500, {355, 0, 889, 500}},
      {2560, 1440, {0, 0, 2560, 1440}},   {1280, 1024, {0, 152, 1280, 720}},
      {1920, 1080, {0, 0, 1920, 1080}},
  };
  ASSERT_TRUE(createGraphicsDevice(1920, 1080, 0));
  // Grey, with a red and a blue pixel in the top-left corner: at a whole
  // multiple each must come out as a block of its own colour.
  const TextureId picture = createTexture(1920, 1080, GREY);
  uint32_t *texels = lockTexture(picture);
  texels[0] = RED;
  texels[1] = BLUE;
  unlockTexture(picture, 0, 0);
  const SpriteId sprite = createSprite();
  spriteSetTransform(sprite, Transform2D{1, 0, 0, 1, 0, 0});
  std::vector<uint32_t> shot(1920 * 1080);
  for (const Case &c : cases) {
    SCOPED_TRACE(std::to_string(c.windowW) + "x" + std::to_string(c.windowH));
    SDL_SetWindowSize(sdl::window, c.windowW, c.windowH);
    SDL_PumpEvents();
    clearBackBuffer(0xFF000000u);
    spriteDraw(sprite, picture, nullptr, 0.0f, 0.0f, 0xFFFFFFFFu);
    const std::vector<uint32_t> shown = shownPixels(c.windowW, c.windowH);
    auto at = [&](int x, int y) { return shown[size_t(y) * c.windowW + x] | 0xFF000000u; };
    const SDL_Rect &p = c.picture;
    EXPECT_EQ(at(p.x + p.w / 2, p.y + p.h / 2), GREY);
    EXPECT_EQ(at(p.x + p.w - 1, p.y + p.h - 1), GREY); // the far corner is shown
    if (p.x > 0) {
      EXPECT_EQ(at(p.x - 1, p.h / 2), 0xFF000000u);
      EXPECT_EQ(at(p.x + p.w, p.h / 2), 0xFF000000u);
    }
    if (p.y > 0) {
      EXPECT_EQ(at(p.w / 2, p.y - 1), 0xFF000000u);
      EXPECT_EQ(at(p.w / 2, p.y + p.h), 0xFF000000u);
    }
    const int whole = c.windowW % 1920 == 0 && c.windowH % 1080 == 0 ? c.windowW / 1920 : 0;
    for (int i = 0; i < whole; ++i) {
      EXPECT_EQ(at(p.x + i, p.y + whole - 1), RED);
      EXPECT_EQ(at(p.x + whole + i, p.y), BLUE);
    }
    ASSERT_TRUE(readBackBuffer(shot.data(), 1920, 1080));
    EXPECT_EQ(shot[1920 * 1080 / 2 + 960] | 0xFF000000u, GREY);
    if (whole > 0) {
      EXPECT_EQ(shot[0] | 0xFF000000u, RED);
      EXPECT_EQ(shot[1] | 0xFF000000u, BLUE);
    }
  }
  releaseSprite(sprite);
  releaseTexture(picture);
  releaseGraphicsDevice();
}
