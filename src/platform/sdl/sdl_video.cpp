// The device on SDL: frames drawn straight into the window when the chosen
// mode has its size, otherwise into a render target of the mode's size that
// is presented scaled to fit; with vsync (the window is sdl_window.cpp's).
#include "platform/sdl/sdl_state.h"
#include "platform/video.h"
#include <algorithm>
#include <cstdio>

namespace sdl {
SDL_Window *window = nullptr;
SDL_Renderer *renderer = nullptr;
SDL_Texture *backBuffer = nullptr;
int backBufferW = 0;
int backBufferH = 0;
} // namespace sdl

namespace {
bool deviceResetPending = false;

// Where the frames go: straight into the window while it has the chosen
// mode's size (an intermediate picture would cost a second full-screen pass
// every frame), otherwise into a render target of the mode's size that
// presentFrame scales into the window. False when that target cannot be made.
bool chooseDrawTarget() {
  using namespace sdl;
  int ww = 0;
  int wh = 0;
  bool direct =
      SDL_GetRendererOutputSize(renderer, &ww, &wh) == 0 && ww == backBufferW && wh == backBufferH;
  if (direct && backBuffer != nullptr) {
    SDL_SetRenderTarget(renderer, nullptr);
    SDL_DestroyTexture(backBuffer);
    backBuffer = nullptr;
  }
  if (!direct && backBuffer == nullptr) {
    backBuffer = SDL_CreateTexture(renderer, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_TARGET,
                                   backBufferW, backBufferH);
  }
  SDL_SetRenderTarget(renderer, backBuffer);
  return direct || backBuffer != nullptr;
}

bool createRendererAndTarget() {
  using namespace sdl;
  renderer = SDL_CreateRenderer(window, -1,
                                SDL_RENDERER_ACCELERATED | SDL_RENDERER_PRESENTVSYNC |
                                    SDL_RENDERER_TARGETTEXTURE);
  if (renderer == nullptr) {
    renderer = SDL_CreateRenderer(window, -1, SDL_RENDERER_SOFTWARE | SDL_RENDERER_TARGETTEXTURE);
  }
  if (renderer == nullptr) {
    std::fprintf(stderr, "pelta: no renderer: %s\n", SDL_GetError());
    return false;
  }
  if (!chooseDrawTarget()) {
    SDL_DestroyRenderer(renderer);
    renderer = nullptr;
    return false;
  }
  return true;
}

void destroyRendererAndTarget() {
  using namespace sdl;
  dropGlyphTextures();
  if (backBuffer != nullptr) {
    SDL_DestroyTexture(backBuffer);
    backBuffer = nullptr;
  }
  if (renderer != nullptr) {
    SDL_DestroyRenderer(renderer);
    renderer = nullptr;
  }
}
} // namespace

bool createGraphicsDevice(int width, int height, int refreshRate) {
  (void)refreshRate; // the desktop's own rate: the window is full screen on it
  destroyRendererAndTarget();
  sdl::backBufferW = width;
  sdl::backBufferH = height;
  SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "1");
  if (!createRendererAndTarget()) {
    return false;
  }
  sdl::restoreTextures();
  return true;
}

void releaseGraphicsDevice() { destroyRendererAndTarget(); }

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
  destroyRendererAndTarget();
  if (!createRendererAndTarget()) {
    return false;
  }
  sdl::restoreTextures();
  deviceResetPending = false;
  return true;
}

void clearBackBuffer(uint32_t argb) {
  if (sdl::renderer == nullptr) {
    return;
  }
  chooseDrawTarget();
  SDL_SetRenderDrawColor(sdl::renderer, Uint8(argb >> 16), Uint8(argb >> 8), Uint8(argb),
                         Uint8(argb >> 24));
  SDL_RenderClear(sdl::renderer);
}

void presentFrame() {
  using namespace sdl;
  if (renderer == nullptr) {
    return;
  }
  if (backBuffer == nullptr) {
    SDL_RenderPresent(renderer);
    return;
  }
  SDL_SetRenderTarget(renderer, nullptr);
  SDL_SetRenderDrawColor(renderer, 0, 0, 0, 255);
  SDL_RenderClear(renderer);
  int ww = 0;
  int wh = 0;
  SDL_GetRendererOutputSize(renderer, &ww, &wh);
  // The back buffer fills the screen, keeping its shape when the sizes differ.
  float s = std::min(float(ww) / float(backBufferW), float(wh) / float(backBufferH));
  SDL_FRect dst{(float(ww) - backBufferW * s) * 0.5f, (float(wh) - backBufferH * s) * 0.5f,
                backBufferW * s, backBufferH * s};
  SDL_RenderCopyF(renderer, backBuffer, nullptr, &dst);
  SDL_RenderPresent(renderer);
  SDL_SetRenderTarget(renderer, backBuffer);
}

bool readBackBuffer(uint32_t *pixels, int width, int height) {
  using namespace sdl;
  if (renderer == nullptr || width != backBufferW || height != backBufferH) {
    return false;
  }
  SDL_SetRenderTarget(renderer, backBuffer);
  return SDL_RenderReadPixels(renderer, nullptr, SDL_PIXELFORMAT_ARGB8888, pixels, width * 4) == 0;
}
