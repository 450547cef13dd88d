// The window on SDL: on the chosen display, covering it or as a resizable
// window, and the displays' desktops and modes.
#include "platform/sdl/sdl_state.h"
#include "platform/video.h"
#include <SDL2/SDL_image.h>
#include <SDL2/SDL_syswm.h>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <dlfcn.h>
#include <string>

namespace {
int chosenDisplay = 0;
bool shown = false;
bool inWindowNow = false;
// The window's size when the player last left it for the full screen.
int keptWindowW = 0;
int keptWindowH = 0;
// Whether the desktop has a full-screen state; asked at the first show.
bool desktopFullScreen = true;

// An X window manager lists the states it takes in _NET_SUPPORTED; twm and a
// bare X server list none, and there a window covers the display only by its
// own size. Xlib is SDL's, already loaded: its functions are looked up, not
// linked. Wayland's xdg-shell always has the state.
bool hasFullScreenState(SDL_Window *w) {
  SDL_SysWMinfo info;
  SDL_VERSION(&info.version);
  if (SDL_GetWindowWMInfo(w, &info) != SDL_TRUE || info.subsystem != SDL_SYSWM_X11) {
    return true;
  }
  void *xlib = dlopen("libX11.so.6", RTLD_LAZY | RTLD_NOLOAD);
  if (xlib == nullptr) {
    return true;
  }
  using InternAtom = Atom (*)(Display *, const char *, Bool);
  using RootOf = Window (*)(Display *);
  using GetProperty = int (*)(Display *, Window, Atom, long, long, Bool, Atom, Atom *, int *,
                              unsigned long *, unsigned long *, unsigned char **);
  using Free = int (*)(void *);
  auto internAtom = reinterpret_cast<InternAtom>(dlsym(xlib, "XInternAtom"));
  auto rootOf = reinterpret_cast<RootOf>(dlsym(xlib, "XDefaultRootWindow"));
  auto getProperty = reinterpret_cast<GetProperty>(dlsym(xlib, "XGetWindowProperty"));
  auto xfree = reinterpret_cast<Free>(dlsym(xlib, "XFree"));
  bool found = true;
  if (internAtom != nullptr && rootOf != nullptr && getProperty != nullptr && xfree != nullptr) {
    Display *d = info.info.x11.display;
    const Atom fullScreen = internAtom(d, "_NET_WM_STATE_FULLSCREEN", False);
    Atom type = 0;
    int format = 0;
    unsigned long count = 0;
    unsigned long left = 0;
    unsigned char *atoms = nullptr;
    found = false;
    if (getProperty(d, rootOf(d), internAtom(d, "_NET_SUPPORTED", False), 0, 4096, False,
                    XA_ATOM, &type, &format, &count, &left, &atoms) == Success &&
        atoms != nullptr) {
      const Atom *list = reinterpret_cast<const Atom *>(atoms);
      found = std::find(list, list + count, fullScreen) != list + count;
    }
    if (atoms != nullptr) {
      xfree(atoms);
    }
  }
  dlclose(xlib);
  return found;
}

// Where the window really is: on X11 SDL keeps the position it asked for
// when the window manager leaves the window where it was (twm, with the
// window under its title bar), so the X server is asked. Xlib as above.
void realPosition(SDL_Window *w, int *x, int *y) {
  SDL_GetWindowPosition(w, x, y);
  SDL_SysWMinfo info;
  SDL_VERSION(&info.version);
  if (SDL_GetWindowWMInfo(w, &info) != SDL_TRUE || info.subsystem != SDL_SYSWM_X11) {
    return;
  }
  void *xlib = dlopen("libX11.so.6", RTLD_LAZY | RTLD_NOLOAD);
  if (xlib == nullptr) {
    return;
  }
  using Translate = Bool (*)(Display *, Window, Window, int, int, int *, int *, Window *);
  using RootOf = Window (*)(Display *);
  auto translate = reinterpret_cast<Translate>(dlsym(xlib, "XTranslateCoordinates"));
  auto rootOf = reinterpret_cast<RootOf>(dlsym(xlib, "XDefaultRootWindow"));
  int rootX = 0;
  int rootY = 0;
  Window child = 0;
  Display *d = info.info.x11.display;
  if (translate != nullptr && rootOf != nullptr &&
      translate(d, info.info.x11.window, rootOf(d), 0, 0, &rootX, &rootY, &child)) {
    *x = rootX;
    *y = rootY;
  }
  dlclose(xlib);
}

// Mesa's software GL on Wayland takes its first picture when the renderer is
// made, at the hidden window's first size, and draws the first frame into it
// whatever size the desktop gave the window since: KWin took that too small
// picture for a refusal of the full screen. Handed in while the window is
// still hidden (SDL itself skips presents then), nobody sees it, and the
// first frame gets a picture of the window's size. EGL is SDL's, looked up.
void handInFirstPicture() {
  using CurrentDisplay = void *(*)();
  using CurrentSurface = void *(*)(int);
  using SwapBuffers = unsigned (*)(void *, void *);
  constexpr int EGL_DRAW = 0x3059;
  auto display = reinterpret_cast<CurrentDisplay>(SDL_GL_GetProcAddress("eglGetCurrentDisplay"));
  auto surface = reinterpret_cast<CurrentSurface>(SDL_GL_GetProcAddress("eglGetCurrentSurface"));
  auto swap = reinterpret_cast<SwapBuffers>(SDL_GL_GetProcAddress("eglSwapBuffers"));
  if (display != nullptr && surface != nullptr && swap != nullptr && display() != nullptr &&
      surface(EGL_DRAW) != nullptr) {
    swap(display(), surface(EGL_DRAW));
  }
}

SDL_Rect chosenDisplayArea() {
  SDL_Rect area;
  if (SDL_GetDisplayBounds(chosenDisplay, &area) != 0) {
    area = {0, 0, 0, 0};
    desktopSize(&area.w, &area.h);
  }
  return area;
}
} // namespace

namespace sdl {
// Where the desktop has no full-screen state, a window manager may still put
// a title bar over the covering window and push it down (twm does): the
// window then shrinks to what stays on the display, and the picture fits it.
void windowPlaced() {
  if (!shown || inWindowNow || desktopFullScreen || window == nullptr) {
    return;
  }
  const SDL_Rect area = chosenDisplayArea();
  int x = 0;
  int y = 0;
  int w = 0;
  int h = 0;
  realPosition(window, &x, &y);
  SDL_GetWindowSize(window, &w, &h);
  const int visibleW = std::min(x + w, area.x + area.w) - std::max(x, area.x);
  const int visibleH = std::min(y + h, area.y + area.h) - std::max(y, area.y);
  if (visibleW > 0 && visibleH > 0 && (visibleW != w || visibleH != h)) {
    SDL_SetWindowSize(window, visibleW, visibleH);
  }
}
} // namespace sdl

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
  // the output's own pixel size on a scaled (HiDPI) output. Made at the
  // smallest size it may have: showMainWindow's first present is at this
  // size, 2-4 ms under Xwayland where 1280 x 720 took 25-50.
  sdl::window = SDL_CreateWindow(title, 0, 0, 320, 200,
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
  if (!shown) {
    desktopFullScreen = hasFullScreenState(w);
  }
  const SDL_Rect area = chosenDisplayArea();
  if (inWindow) {
    if (keptWindowW > 0) {
      windowWidth = keptWindowW;
      windowHeight = keptWindowH;
    }
    SDL_SetWindowFullscreen(w, 0);
    SDL_SetWindowBordered(w, SDL_TRUE);
    SDL_SetWindowSize(w, windowWidth, windowHeight);
    SDL_SetWindowPosition(w, SDL_WINDOWPOS_CENTERED_DISPLAY(chosenDisplay),
                          SDL_WINDOWPOS_CENTERED_DISPLAY(chosenDisplay));
  } else {
    // The desktop's full-screen state (no frame, panels and docks hidden) on
    // the display that holds the window; without one, a frameless window
    // covering that display. SDL waits up to 100 ms for the window manager
    // after each move or resize of a shown window, so the window is moved
    // only when it lies on another display.
    if (!desktopFullScreen || SDL_GetWindowDisplayIndex(w) != chosenDisplay) {
      SDL_SetWindowSize(w, area.w, area.h);
      SDL_SetWindowPosition(w, area.x, area.y);
    }
    if (desktopFullScreen) {
      SDL_SetWindowFullscreen(w, SDL_WINDOW_FULLSCREEN_DESKTOP);
    } else {
      SDL_SetWindowBordered(w, SDL_FALSE);
    }
  }
  inWindowNow = inWindow;
  if (!shown && sdl::renderer != nullptr && std::string(videoDriverName()) == "wayland") {
    handInFirstPicture();
  }
  if (!shown) {
    SDL_ShowWindow(w);
    shown = true;
    // On X11 the software GL driver keeps the picture of the size the window
    // had when the renderer was made (hidden, 320 x 200) until a present:
    // without a black one here the first frame (and a screenshot of it) is
    // drawn cut off. Later switches need none: the driver takes the new size
    // with the resize SDL waits for. Wayland has its picture handed in above.
    if (sdl::renderer != nullptr && std::string(videoDriverName()) != "wayland") {
      SDL_RenderSetViewport(sdl::renderer, nullptr);
      SDL_SetRenderDrawColor(sdl::renderer, 0, 0, 0, 255);
      SDL_RenderClear(sdl::renderer);
      SDL_RenderPresent(sdl::renderer);
    }
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
