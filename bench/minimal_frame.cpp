// pelta_minimal_frame: the cheapest full-screen frame SDL draws on this
// display, the yardstick for the game's frames. A window like the game's
// (borderless, covering the desktop, the renderer SDL picks with the game's
// flags), and each frame: clear, one 1920 x 1030 picture scaled to the
// window's width (opaque, nearest sampling: the cheapest way to draw it),
// present, then sleep out the game's 15 ms. After `seconds` it prints a line
// in the game's --frame-stats format on stdout.
//     pelta_minimal_frame [seconds [width height]]
#include <SDL2/SDL.h>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {
uint64_t microseconds() {
  return SDL_GetPerformanceCounter() * 1000000u / SDL_GetPerformanceFrequency();
}

// A picture that is not one flat colour, so nothing can skip its texels.
std::vector<Uint32> pattern(int w, int h) {
  std::vector<Uint32> pixels(static_cast<size_t>(w) * h);
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      pixels[static_cast<size_t>(y) * w + x] = 0xFF000000u | Uint32((x * 7) & 0xFF) << 16 |
                                               Uint32((y * 5) & 0xFF) << 8 | Uint32((x ^ y) & 0xFF);
    }
  }
  return pixels;
}

double percentile(std::vector<uint64_t> v, double share) {
  if (v.empty()) {
    return 0.0;
  }
  std::sort(v.begin(), v.end());
  size_t rank = static_cast<size_t>(share * double(v.size()) + 0.999999);
  rank = std::clamp<size_t>(rank, 1, v.size());
  return double(v[rank - 1]) / 1000.0;
}
} // namespace

int main(int argc, char **argv) {
  double seconds = argc > 1 ? std::atof(argv[1]) : 5.0;
  SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
  SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "0");
  if (SDL_Init(SDL_INIT_VIDEO) != 0) {
    std::fprintf(stderr, "pelta_minimal_frame: %s\n", SDL_GetError());
    return 1;
  }
  SDL_DisplayMode desktop;
  if (SDL_GetDesktopDisplayMode(0, &desktop) != 0) {
    desktop.w = 1920;
    desktop.h = 1080;
  }
  // A window of a given size instead, to match a game played in a window.
  if (argc > 3) {
    desktop.w = std::atoi(argv[2]);
    desktop.h = std::atoi(argv[3]);
  }
  SDL_Window *window =
      SDL_CreateWindow("Pelta minimal frame", 0, 0, desktop.w, desktop.h, SDL_WINDOW_BORDERLESS);
  SDL_Renderer *renderer =
      window ? SDL_CreateRenderer(window, -1,
                                  SDL_RENDERER_ACCELERATED | SDL_RENDERER_PRESENTVSYNC |
                                      SDL_RENDERER_TARGETTEXTURE)
             : nullptr;
  if (renderer == nullptr) {
    std::fprintf(stderr, "pelta_minimal_frame: %s\n", SDL_GetError());
    return 1;
  }
  SDL_RendererInfo info;
  SDL_GetRendererInfo(renderer, &info);
  const int pw = 1920;
  const int ph = 1030;
  SDL_Texture *picture =
      SDL_CreateTexture(renderer, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_STATIC, pw, ph);
  std::vector<Uint32> pixels = pattern(pw, ph);
  SDL_UpdateTexture(picture, nullptr, pixels.data(), pw * 4);
  SDL_SetTextureBlendMode(picture, SDL_BLENDMODE_NONE);
  int ww = 0;
  int wh = 0;
  SDL_GetRendererOutputSize(renderer, &ww, &wh);
  float scale = float(ww) / float(pw);
  SDL_FRect dst{0.0f, (float(wh) - ph * scale) * 0.5f, pw * scale, ph * scale};

  std::vector<uint64_t> work;
  uint64_t wall = 0;
  const uint64_t end = microseconds() + uint64_t(seconds * 1e6);
  uint64_t frameStart = microseconds();
  while (frameStart < end) {
    SDL_Event e;
    while (SDL_PollEvent(&e)) {
    }
    SDL_SetRenderDrawColor(renderer, 0, 0, 0, 255);
    SDL_RenderClear(renderer);
    SDL_RenderCopyF(renderer, picture, nullptr, &dst);
    SDL_RenderPresent(renderer);
    uint64_t done = microseconds();
    work.push_back(done - frameStart);
    if (done - frameStart < 15000) {
      SDL_Delay(Uint32((15000 - (done - frameStart) + 999) / 1000));
    }
    uint64_t next = microseconds();
    wall += next - frameStart;
    frameStart = next;
  }
  size_t over =
      size_t(std::count_if(work.begin(), work.end(), [](uint64_t w) { return w > 15000; }));
  std::printf("renderer %s, window %dx%d\n", info.name, ww, wh);
  std::printf("%-15s %7zu  %9.2f  %6.2f  %11.1f  %6d  %11.2f\n", "minimal", work.size(),
              percentile(work, 0.5), percentile(work, 0.95),
              work.empty() ? 0.0 : 100.0 * double(over) / double(work.size()), 1, wall / 1e6);
  SDL_DestroyTexture(picture);
  SDL_DestroyRenderer(renderer);
  SDL_DestroyWindow(window);
  SDL_Quit();
  return 0;
}
