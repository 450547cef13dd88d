// The window on SDL: on the chosen display, covering it or as a resizable
// window, and the displays' desktops and modes.
#include "platform/sdl/sdl_state.h"
#include "platform/video.h"
#include <SDL2/SDL_image.h>
#include <cstdio>
#include <cstdlib>

namespace {
int chosenDisplay = 0;
bool shown = false;
bool inWindowNow = false;
// The window's size when the player last left it for the full screen.
int keptWindowW = 0;
int keptWindowH = 0;
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
  // Without pads the keyboard still plays: say why and go on.
  if (SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER) != 0) {
    std::fprintf(stderr, "pelta: no gamepads: %s\n", SDL_GetError());
  }
  // Hidden until showMainWindow knows the display and the size; drawn at
  // the output's own pixel size on a scaled (HiDPI) output.
  sdl::window = SDL_CreateWindow(title, 0, 0, 1280, 720,
                                 SDL_WINDOW_HIDDEN | SDL_WINDOW_RESIZABLE |
                                     SDL_WINDOW_ALLOW_HIGHDPI);
  if (sdl::window == nullptr) {
    std::fprintf(stderr, "pelta: no window: %s\n", SDL_GetError());
    return false;
  }
  if (SDL_Surface *icon = iconPath[0] != '\0' ? IMG_Load(iconPath) : nullptr) {
    SDL_SetWindowIcon(sdl::window, icon);
    SDL_FreeSurface(icon);
  }
  SDL_SetWindowMinimumSize(sdl::window, 320, 200);
  // SDL hides it over its own window only: over other displays and the
  // window's frame the pointer shows.
  SDL_ShowCursor(SDL_DISABLE);
  shown = false;
  return true;
}

void showMainWindow(bool inWindow, int windowWidth, int windowHeight) {
  SDL_Window *w = sdl::window;
  if (w == nullptr) {
    return;
  }
  sdl::noteWindowSwitch();
  if (shown && inWindowNow && !inWindow) {
    SDL_GetWindowSize(w, &keptWindowW, &keptWindowH);
  }
  SDL_Rect area;
  if (SDL_GetDisplayBounds(chosenDisplay, &area) != 0) {
    area = {0, 0, 0, 0};
    desktopSize(&area.w, &area.h);
  }
  if (inWindow) {
    if (keptWindowW > 0) {
      windowWidth = keptWindowW;
      windowHeight = keptWindowH;
    }
    SDL_SetWindowFullscreen(w, 0);
    SDL_SetWindowSize(w, windowWidth, windowHeight);
    SDL_SetWindowPosition(w, SDL_WINDOWPOS_CENTERED_DISPLAY(chosenDisplay),
                          SDL_WINDOWPOS_CENTERED_DISPLAY(chosenDisplay));
  } else {
    // The desktop's full-screen state (no frame, panels and docks hidden) on
    // the display that holds the window. The window also covers that display
    // by itself, for an X server without a window manager.
    SDL_SetWindowSize(w, area.w, area.h);
    SDL_SetWindowPosition(w, area.x, area.y);
    SDL_SetWindowFullscreen(w, SDL_WINDOW_FULLSCREEN_DESKTOP);
  }
  inWindowNow = inWindow;
  if (!shown) {
    SDL_ShowWindow(w);
    shown = true;
  }
  // A software GL driver gives its picture the window's new size only at the
  // next present: present a black one now, so that the next frame (and a
  // screenshot of it) is drawn whole.
  if (sdl::renderer != nullptr) {
    SDL_RenderSetViewport(sdl::renderer, nullptr);
    SDL_SetRenderDrawColor(sdl::renderer, 0, 0, 0, 255);
    SDL_RenderClear(sdl::renderer);
    SDL_RenderPresent(sdl::renderer);
  }
  SDL_RaiseWindow(w);
  SDL_SetWindowInputFocus(w);
}

void destroyMainWindow() {
  releaseGraphicsDevice();
  if (sdl::window != nullptr) {
    SDL_DestroyWindow(sdl::window);
    sdl::window = nullptr;
  }
}

int displayCount() {
  const int n = SDL_WasInit(SDL_INIT_VIDEO) != 0 ? SDL_GetNumVideoDisplays() : 0;
  return n > 0 ? n : 1;
}

int displayUnderPointer() {
  int x = 0;
  int y = 0;
  SDL_GetGlobalMouseState(&x, &y);
  const SDL_Point pointer{x, y};
  for (int i = 0; i < SDL_GetNumVideoDisplays(); ++i) {
    SDL_Rect area;
    if (SDL_GetDisplayBounds(i, &area) == 0 && SDL_PointInRect(&pointer, &area)) {
      return i;
    }
  }
  return -1;
}

void selectDisplay(int index) { chosenDisplay = index >= 0 && index < displayCount() ? index : 0; }

void desktopSize(int *width, int *height) {
  SDL_DisplayMode desktop;
  if (SDL_GetDesktopDisplayMode(chosenDisplay, &desktop) == 0) {
    *width = desktop.w;
    *height = desktop.h;
  } else {
    *width = 1920;
    *height = 1080;
  }
}

int listDisplayModes(DisplayModeInfo *modes, int capacity) {
  int n = SDL_GetNumDisplayModes(chosenDisplay);
  for (int i = 0; i < n && i < capacity; ++i) {
    SDL_DisplayMode m;
    if (SDL_GetDisplayMode(chosenDisplay, i, &m) == 0) {
      modes[i] = {m.w, m.h, m.refresh_rate};
    } else {
      modes[i] = {0, 0, 0};
    }
  }
  return n < 0 ? 0 : n;
}

void raiseMainWindow() {
  if (sdl::window != nullptr) {
    SDL_RestoreWindow(sdl::window);
    SDL_RaiseWindow(sdl::window);
  }
}
