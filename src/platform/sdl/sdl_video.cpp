// The window and the device on SDL: a full-screen window over the desktop, a
// render target of the chosen mode's size, presented scaled to fit with vsync.
#include "platform/sdl/sdl_state.h"
#include "platform/video.h"
#include <SDL2/SDL_image.h>
#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace sdl {
SDL_Window *window = nullptr;
SDL_Renderer *renderer = nullptr;
SDL_Texture *backBuffer = nullptr;
int backBufferW = 0;
int backBufferH = 0;
} // namespace sdl

namespace {
bool deviceResetPending = false;

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
  backBuffer = SDL_CreateTexture(renderer, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_TARGET,
                                 backBufferW, backBufferH);
  if (backBuffer == nullptr) {
    SDL_DestroyRenderer(renderer);
    renderer = nullptr;
    return false;
  }
  SDL_SetRenderTarget(renderer, backBuffer);
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

void setWindowClass(const char *appId) {
  // SDL 2.26 reads the class from these variables when its video starts;
  // later versions take the app id hint.
  setenv("SDL_VIDEO_X11_WMCLASS", appId, 1);
  setenv("SDL_VIDEO_WAYLAND_WMCLASS", appId, 1);
  SDL_SetHint("SDL_APP_ID", appId);
}

const char *videoDriverName() {
  const char *name = SDL_WasInit(SDL_INIT_VIDEO) != 0 ? SDL_GetCurrentVideoDriver() : nullptr;
  return name != nullptr ? name : "";
}

bool createMainWindow(const char *title, const char *iconPath) {
  SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
  SDL_SetHint(SDL_HINT_VIDEO_MINIMIZE_ON_FOCUS_LOSS, "0");
  if (SDL_Init(SDL_INIT_VIDEO) != 0) {
    std::fprintf(stderr, "pelta: no video: %s\n", SDL_GetError());
    return false;
  }
  SDL_DisplayMode desktop;
  if (SDL_GetDesktopDisplayMode(0, &desktop) != 0) {
    desktop.w = 1920;
    desktop.h = 1080;
  }
  // A borderless window exactly covering the desktop: asking the window
  // manager for a fullscreen state instead costs a long wait for its answer
  // (and forever without one) before the first frame.
  sdl::window = SDL_CreateWindow(title, 0, 0, desktop.w, desktop.h, SDL_WINDOW_BORDERLESS);
  if (sdl::window == nullptr) {
    std::fprintf(stderr, "pelta: no window: %s\n", SDL_GetError());
    return false;
  }
  if (SDL_Surface *icon = iconPath[0] != '\0' ? IMG_Load(iconPath) : nullptr) {
    SDL_SetWindowIcon(sdl::window, icon);
    SDL_FreeSurface(icon);
  }
  SDL_ShowCursor(SDL_DISABLE);
  SDL_RaiseWindow(sdl::window);
  SDL_SetWindowInputFocus(sdl::window);
  return true;
}

void destroyMainWindow() {
  destroyRendererAndTarget();
  if (sdl::window != nullptr) {
    SDL_DestroyWindow(sdl::window);
    sdl::window = nullptr;
  }
}

void desktopSize(int *width, int *height) {
  SDL_DisplayMode desktop;
  if (SDL_GetDesktopDisplayMode(0, &desktop) == 0) {
    *width = desktop.w;
    *height = desktop.h;
  } else {
    *width = 1920;
    *height = 1080;
  }
}

int listDisplayModes(DisplayModeInfo *modes, int capacity) {
  int n = SDL_GetNumDisplayModes(0);
  for (int i = 0; i < n && i < capacity; ++i) {
    SDL_DisplayMode m;
    if (SDL_GetDisplayMode(0, i, &m) == 0) {
      modes[i] = {m.w, m.h, m.refresh_rate};
    } else {
      modes[i] = {0, 0, 0};
    }
  }
  return n < 0 ? 0 : n;
}

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

void raiseMainWindow() {
  if (sdl::window != nullptr) {
    SDL_RestoreWindow(sdl::window);
    SDL_RaiseWindow(sdl::window);
  }
}

bool recoverGraphicsDevice() {
  if (sdl::renderer == nullptr) {
    return false;
  }
  // SDL reports a lost device through its event queue; look for it here.
  SDL_Event e;
  while (SDL_PeepEvents(&e, 1, SDL_GETEVENT, SDL_RENDER_DEVICE_RESET, SDL_RENDER_DEVICE_RESET) > 0) {
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
  SDL_SetRenderTarget(sdl::renderer, sdl::backBuffer);
  SDL_SetRenderDrawColor(sdl::renderer, Uint8(argb >> 16), Uint8(argb >> 8), Uint8(argb),
                         Uint8(argb >> 24));
  SDL_RenderClear(sdl::renderer);
}

void presentFrame() {
  using namespace sdl;
  if (renderer == nullptr) {
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
