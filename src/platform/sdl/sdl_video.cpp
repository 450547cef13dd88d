// The device on SDL: every frame is drawn straight into the window at the
// window's own pixel size. The back buffer of the chosen mode is the shape of
// the picture, not a texture: each draw is placed through the picture's
// placement in the window (scaled to fit, centred, black bars on the long
// side), so pictures and text are made at the size they show, and no frame
// pays for a second full-window pass. The window is sdl_window.cpp's.
#include "platform/sdl/sdl_state.h"
#include "platform/video.h"
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <vector>

namespace sdl {
SDL_Window *window = nullptr;
SDL_Renderer *renderer = nullptr;
int backBufferW = 0;
int backBufferH = 0;
Placement placement;

Placement placePicture(int pictureW, int pictureH, int outputW, int outputH) {
  if (pictureW <= 0 || pictureH <= 0 || outputW <= 0 || outputH <= 0) {
    return Placement{};
  }
  // The side that meets the window's edge decides the scale; the picture is a
  // whole multiple when that side divides exactly.
  const bool widthLimits = int64_t(outputW) * pictureH <= int64_t(outputH) * pictureW;
  Placement p;
  if (widthLimits) {
    p.scale = double(outputW) / pictureW;
    p.whole = outputW % pictureW == 0;
    p.w = outputW;
    p.h = std::min(outputH, int(std::lround(pictureH * p.scale)));
  } else {
    p.scale = double(outputH) / pictureH;
    p.whole = outputH % pictureH == 0;
    p.h = outputH;
    p.w = std::min(outputW, int(std::lround(pictureW * p.scale)));
  }
  p.x = (outputW - p.w) / 2;
  p.y = (outputH - p.h) / 2;
  return p;
}

// Follows the window's real pixel size (it changes with every resize, with
// the full screen and with the output's scale): read anew for every frame.
void placeInWindow() {
  int ow = 0;
  int oh = 0;
  if (renderer == nullptr || SDL_GetRendererOutputSize(renderer, &ow, &oh) != 0) {
    return;
  }
  const Placement p = placePicture(backBufferW, backBufferH, ow, oh);
  placement = p; // text is made at the size it shows (sdl_text.cpp)
  SDL_RenderSetClipRect(renderer, nullptr);
  SDL_RenderSetViewport(renderer, nullptr);
  SDL_Rect area{p.x, p.y, p.w, p.h};
  if (p.w > 0) {
    SDL_RenderSetViewport(renderer, &area);
    // A viewport alone does not stop a GL renderer drawing past it: the clip
    // keeps what the game draws beyond the picture's edges (the ticker
    // coming in) out of the bars.
    SDL_Rect inside{0, 0, p.w, p.h};
    SDL_RenderSetClipRect(renderer, &inside);
  }
}
} // namespace sdl

namespace {
bool deviceResetPending = false;

bool createRenderer() {
  using namespace sdl;
  renderer = SDL_CreateRenderer(window, -1,
                                SDL_RENDERER_ACCELERATED | SDL_RENDERER_PRESENTVSYNC);
  if (renderer == nullptr) {
    renderer = SDL_CreateRenderer(window, -1, SDL_RENDERER_SOFTWARE);
  }
  if (renderer == nullptr) {
    std::fprintf(stderr, "pelta: no renderer: %s\n", SDL_GetError());
    return false;
  }
  placement = Placement{};
  placeInWindow();
  makeSpareGlyphPicture();
  return true;
}

void destroyRenderer() {
  using namespace sdl;
  dropGlyphTextures();
  if (renderer != nullptr) {
    SDL_DestroyRenderer(renderer);
    renderer = nullptr;
  }
}
} // namespace

bool createGraphicsDevice(int width, int height, int refreshRate) {
  (void)refreshRate; // the desktop's own rate: the window is full screen on it
  destroyRenderer();
  sdl::backBufferW = width;
  sdl::backBufferH = height;
  SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "1");
  if (!createRenderer()) {
    return false;
  }
  sdl::restoreTextures();
  return true;
}

void releaseGraphicsDevice() { destroyRenderer(); }

bool graphicsDeviceExists() { return sdl::renderer != nullptr; }

bool recoverGraphicsDevice() {
  if (sdl::renderer == nullptr) {
    return false;
  }
  // SDL reports a lost device through its event queue; look for it here.
  SDL_Event e;
  while (SDL_PeepEvents(&e, 1, SDL_GETEVENT, SDL_RENDER_DEVICE_RESET, SDL_RENDER_DEVICE_RESET) >
         0) {
    deviceResetPending = true;
  }
  if (!deviceResetPending) {
    return false;
  }
  destroyRenderer();
  if (!createRenderer()) {
    return false;
  }
  sdl::restoreTextures();
  deviceResetPending = false;
  return true;
}

void clearBackBuffer(uint32_t argb) {
  using namespace sdl;
  if (renderer == nullptr) {
    return;
  }
  placeInWindow();
  // A clear takes the whole window, bars included, whatever the viewport.
  SDL_SetRenderDrawColor(renderer, 0, 0, 0, 255);
  SDL_RenderClear(renderer);
  if ((argb & 0xFFFFFFu) != 0) {
    SDL_SetRenderDrawColor(renderer, Uint8(argb >> 16), Uint8(argb >> 8), Uint8(argb),
                           Uint8(argb >> 24));
    SDL_RenderFillRect(renderer, nullptr);
  }
}

void presentFrame() {
  if (sdl::renderer != nullptr) {
    sdl::noteShownFrame();
    SDL_RenderPresent(sdl::renderer);
  }
}

bool readBackBuffer(uint32_t *pixels, int width, int height) {
  using namespace sdl;
  const Placement &p = placement;
  if (renderer == nullptr || width != backBufferW || height != backBufferH || p.w <= 0) {
    return false;
  }
  if (p.w == width && p.h == height) {
    return SDL_RenderReadPixels(renderer, nullptr, SDL_PIXELFORMAT_ARGB8888, pixels, width * 4) ==
           0;
  }
  // The picture as shown, brought to the back buffer's size by taking the
  // shown pixel under each back-buffer pixel's centre.
  std::vector<uint32_t> shown(size_t(p.w) * size_t(p.h));
  if (SDL_RenderReadPixels(renderer, nullptr, SDL_PIXELFORMAT_ARGB8888, shown.data(), p.w * 4) !=
      0) {
    return false;
  }
  for (int y = 0; y < height; ++y) {
    const int sy = std::min(p.h - 1, int((y + 0.5) * p.h / height));
    for (int x = 0; x < width; ++x) {
      const int sx = std::min(p.w - 1, int((x + 0.5) * p.w / width));
      pixels[size_t(y) * width + x] = shown[size_t(sy) * p.w + sx];
    }
  }
  return true;
}
