// SPDX-License-Identifier: MIT
// The device in a browser page: a WebGL 2 context on the page's canvas, the
// frame drawn into a back buffer of the chosen mode's size, presented onto
// the canvas at the largest whole multiple that fits (nearest pixels), or
// scaled down to fit when the page is smaller than the picture.
#include "platform/video.h"
#include "platform/web/web_state.h"
#include <algorithm>
#include <cmath>
#include <emscripten/emscripten.h>
#include <emscripten/html5.h>
#include <vector>

namespace web {
GLuint backBufferFramebuffer = 0;
int backBufferW = 0;
int backBufferH = 0;
} // namespace web

// A program that draws many frames in one call (the browser test's screens
// program) defines this to give the page a turn between frames; the game
// itself returns to the page after every frame and leaves it undefined.
extern "C" void peltaFramePresented() __attribute__((weak));

namespace {
constexpr const char *CANVAS = "#canvas";
EMSCRIPTEN_WEBGL_CONTEXT_HANDLE context = 0;
GLuint backBufferTexture = 0;

// The page's screen in device pixels: the picture the full screen shows.
EM_JS(int, screenPixelsWide, (), {
  return Math.round(screen.width * (window.devicePixelRatio || 1));
});
EM_JS(int, screenPixelsHigh, (), {
  return Math.round(screen.height * (window.devicePixelRatio || 1));
});

// The canvas's drawing size follows its size on the page in device pixels,
// so whole multiples are whole screen pixels.
void fitCanvasToPage(int *width, int *height) {
  double cssW = 0;
  double cssH = 0;
  emscripten_get_element_css_size(CANVAS, &cssW, &cssH);
  const double ratio = emscripten_get_device_pixel_ratio();
  const int w = std::max(1, int(std::lround(cssW * ratio)));
  const int h = std::max(1, int(std::lround(cssH * ratio)));
  int nowW = 0;
  int nowH = 0;
  emscripten_get_canvas_element_size(CANVAS, &nowW, &nowH);
  if (nowW != w || nowH != h) {
    emscripten_set_canvas_element_size(CANVAS, w, h);
  }
  *width = w;
  *height = h;
}

// The page counts the frames shown (its tests wait for them) and notes when
// the first one came.
EM_JS(void, countFrame, (), {
  if (!Module.peltaFrames) Module.peltaFirstFrame = performance.now();
  Module.peltaFrames = (Module.peltaFrames || 0) + 1;
});

void dropBackBuffer() {
  if (backBufferTexture != 0) {
    glDeleteTextures(1, &backBufferTexture);
    backBufferTexture = 0;
  }
  if (web::backBufferFramebuffer != 0) {
    glDeleteFramebuffers(1, &web::backBufferFramebuffer);
    web::backBufferFramebuffer = 0;
  }
}
} // namespace

// The page decides the window's look: nothing to name.
void setWindowClass(const char *) {}

bool createMainWindow(const char *title, const char *) {
  emscripten_set_window_title(title);
  EmscriptenWebGLContextAttributes attrs;
  emscripten_webgl_init_context_attributes(&attrs);
  attrs.majorVersion = 2;
  attrs.minorVersion = 0;
  attrs.alpha = EM_FALSE;
  attrs.depth = EM_FALSE;
  attrs.stencil = EM_FALSE;
  attrs.antialias = EM_FALSE;
  attrs.premultipliedAlpha = EM_FALSE;
  // A screenshot or a test reads the canvas after the frame was shown.
  attrs.preserveDrawingBuffer = EM_TRUE;
  context = emscripten_webgl_create_context(CANVAS, &attrs);
  if (context <= 0) {
    emscripten_log(EM_LOG_ERROR, "pelta: no WebGL 2 in this browser");
    return false;
  }
  emscripten_webgl_make_context_current(context);
  return web::startQuads();
}

int displayCount() { return 1; }
int displayUnderPointer() { return 0; }
void selectDisplay(int) {}
// The page shows the canvas from the start; the full screen is the player's
// choice (the page's button, F11, Alt+Enter).
void showMainWindow(bool, int, int) {}
const char *videoDriverName() { return context > 0 ? "webgl2" : ""; }

void destroyMainWindow() {
  releaseGraphicsDevice();
  if (context > 0) {
    emscripten_webgl_destroy_context(context);
    context = 0;
  }
}

void desktopSize(int *width, int *height) {
  *width = std::max(320, screenPixelsWide());
  *height = std::max(200, screenPixelsHigh());
}

// A page can show a picture of any size: every row of the mode table that
// fits on the screen, and the screen itself.
int listDisplayModes(DisplayModeInfo *modes, int capacity) {
  static const int TABLE[][2] = {{800, 600},   {1024, 768},  {1280, 720},  {1280, 800},
                                 {1280, 960},  {1280, 1024}, {1360, 768},  {1360, 1024},
                                 {1366, 768},  {1440, 900},  {1440, 960},  {1600, 900},
                                 {1600, 1200}, {1680, 1050}, {1680, 1200}, {1920, 1080},
                                 {1920, 1200}};
  int w = 0;
  int h = 0;
  desktopSize(&w, &h);
  int n = 0;
  for (const auto &row : TABLE) {
    if (row[0] <= w && row[1] <= h && !(row[0] == w && row[1] == h)) {
      if (n < capacity) {
        modes[n] = {row[0], row[1], 60};
      }
      ++n;
    }
  }
  if (n < capacity) {
    modes[n] = {w, h, 60};
  }
  return n + 1;
}

bool createGraphicsDevice(int width, int height, int) {
  if (context <= 0 || width <= 0 || height <= 0) {
    return false;
  }
  dropBackBuffer();
  web::backBufferW = width;
  web::backBufferH = height;
  glGenTextures(1, &backBufferTexture);
  glBindTexture(GL_TEXTURE_2D, backBufferTexture);
  glTexStorage2D(GL_TEXTURE_2D, 1, GL_RGBA8, width, height);
  glGenFramebuffers(1, &web::backBufferFramebuffer);
  glBindFramebuffer(GL_FRAMEBUFFER, web::backBufferFramebuffer);
  glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, backBufferTexture,
                         0);
  if (glCheckFramebufferStatus(GL_FRAMEBUFFER) != GL_FRAMEBUFFER_COMPLETE) {
    dropBackBuffer();
    return false;
  }
  return true;
}

void releaseGraphicsDevice() { dropBackBuffer(); }

bool graphicsDeviceExists() { return web::backBufferFramebuffer != 0; }

void raiseMainWindow() {}

// A lost WebGL context is restored by the browser with every texture gone;
// the game keeps running on the one it has.
bool recoverGraphicsDevice() { return false; }

void clearBackBuffer(uint32_t argb) {
  if (web::backBufferFramebuffer == 0) {
    return;
  }
  web::flushQuads();
  glBindFramebuffer(GL_FRAMEBUFFER, web::backBufferFramebuffer);
  glViewport(0, 0, web::backBufferW, web::backBufferH);
  glClearColor(float((argb >> 16) & 0xFF) / 255.0f, float((argb >> 8) & 0xFF) / 255.0f,
               float(argb & 0xFF) / 255.0f, float(argb >> 24) / 255.0f);
  glClear(GL_COLOR_BUFFER_BIT);
}

void presentFrame() {
  using namespace web;
  if (backBufferFramebuffer == 0) {
    return;
  }
  countFrame();
  flushQuads();
  int cw = 0;
  int ch = 0;
  fitCanvasToPage(&cw, &ch);
  glBindFramebuffer(GL_DRAW_FRAMEBUFFER, 0);
  glViewport(0, 0, cw, ch);
  glClearColor(0, 0, 0, 1);
  glClear(GL_COLOR_BUFFER_BIT);
  // Whole multiples by nearest pixels where the page has room; a smaller
  // page shows the picture scaled down to fit.
  double scale = std::min(double(cw) / backBufferW, double(ch) / backBufferH);
  const bool whole = scale >= 1.0;
  if (whole) {
    scale = std::floor(scale);
  }
  const int w = int(std::lround(backBufferW * scale));
  const int h = int(std::lround(backBufferH * scale));
  const int x = (cw - w) / 2;
  const int y = (ch - h) / 2;
  glBindFramebuffer(GL_READ_FRAMEBUFFER, backBufferFramebuffer);
  // The back buffer keeps the picture's top row first: turned over here.
  glBlitFramebuffer(0, 0, backBufferW, backBufferH, x, y + h, x + w, y, GL_COLOR_BUFFER_BIT,
                    whole ? GL_NEAREST : GL_LINEAR);
  glBindFramebuffer(GL_FRAMEBUFFER, backBufferFramebuffer);
  glViewport(0, 0, backBufferW, backBufferH);
  if (peltaFramePresented != nullptr) {
    peltaFramePresented();
  }
}

bool readBackBuffer(uint32_t *pixels, int width, int height) {
  using namespace web;
  if (backBufferFramebuffer == 0 || width != backBufferW || height != backBufferH) {
    return false;
  }
  flushQuads();
  glBindFramebuffer(GL_FRAMEBUFFER, backBufferFramebuffer);
  glReadPixels(0, 0, width, height, GL_RGBA, GL_UNSIGNED_BYTE, pixels);
  // RGBA bytes into A8R8G8B8 values.
  const size_t n = size_t(width) * size_t(height);
  for (size_t i = 0; i < n; ++i) {
    const uint32_t v = pixels[i];
    pixels[i] = (v & 0xFF00FF00u) | ((v & 0xFFu) << 16) | ((v >> 16) & 0xFFu);
  }
  return true;
}
