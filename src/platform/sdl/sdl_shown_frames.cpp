// SPDX-License-Identifier: MIT
// What the window showed, for the desktop tests: with PELTA_SHOWN_FRAMES set
// to a folder, every frame presented at a new window size (and the next one
// after a file named "dump" appears there) is saved whole, bars included, as
// shown-N.bmp, with a line in frames.log: its number, the milliseconds since
// the last switch between window and full screen, the window's pixel size,
// the picture's place in it and the picture's own size. Compositors lend no screenshot; this does. Where
// no tool can press keys or resize a window (native Wayland), a line in a file
// named "do" asks for Alt+Enter ("toggle") or a window size ("size W H").
#include "platform/sdl/sdl_state.h"
#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>

namespace {
Uint64 switchedAt = 0;
int loggedW = -1;
int loggedH = -1;
int frameNumber = 0;

// Carries out the line of the "do" file, as the player's keys or the window
// manager's resize would, and removes the file.
void takeOrder(const char *folder) {
  const std::string name = std::string(folder) + "/do";
  FILE *f = std::fopen(name.c_str(), "r");
  if (f == nullptr) {
    return;
  }
  char word[16] = "";
  int w = 0;
  int h = 0;
  const int got = std::fscanf(f, "%15s %d %d", word, &w, &h);
  std::fclose(f);
  if (got < 1) {
    return; // made but not yet written: read at the next frame
  }
  std::remove(name.c_str());
  if (got >= 1 && std::string(word) == "toggle") {
    for (Uint32 type : {SDL_KEYDOWN, SDL_KEYUP}) {
      SDL_Event e{};
      e.type = type;
      e.key.keysym.scancode = SDL_SCANCODE_RETURN;
      e.key.keysym.sym = SDLK_RETURN;
      e.key.keysym.mod = KMOD_LALT;
      SDL_PushEvent(&e);
    }
  } else if (got == 3 && std::string(word) == "size" && w > 0 && h > 0) {
    SDL_SetWindowSize(sdl::window, w, h);
  }
}
} // namespace

namespace sdl {
void noteWindowSwitch() {
  switchedAt = SDL_GetTicks64();
  loggedW = -1; // the first frame after a switch is always kept
}

void noteShownFrame() {
  static const char *folder = std::getenv("PELTA_SHOWN_FRAMES");
  if (folder == nullptr || folder[0] == '\0' || renderer == nullptr) {
    return;
  }
  int ow = 0;
  int oh = 0;
  SDL_GetRendererOutputSize(renderer, &ow, &oh);
  takeOrder(folder);
  const std::string trigger = std::string(folder) + "/dump";
  const bool asked = access(trigger.c_str(), F_OK) == 0;
  if (!asked && ow == loggedW && oh == loggedH) {
    return;
  }
  loggedW = ow;
  loggedH = oh;
  ++frameNumber;
  const Uint64 sinceSwitch = SDL_GetTicks64() - switchedAt; // before the slow save
  SDL_Surface *shot = SDL_CreateRGBSurfaceWithFormat(0, ow, oh, 32, SDL_PIXELFORMAT_ARGB8888);
  if (shot != nullptr) {
    SDL_RenderSetViewport(renderer, nullptr);
    if (SDL_RenderReadPixels(renderer, nullptr, SDL_PIXELFORMAT_ARGB8888, shot->pixels,
                             shot->pitch) == 0) {
      const std::string name = std::string(folder) + "/shown-" + std::to_string(frameNumber);
      SDL_SaveBMP(shot, (name + ".tmp").c_str());
      std::rename((name + ".tmp").c_str(), (name + ".bmp").c_str());
    }
    SDL_FreeSurface(shot);
    placeInWindow();
  }
  if (FILE *log = std::fopen((std::string(folder) + "/frames.log").c_str(), "a")) {
    std::fprintf(log, "%d %llu %dx%d %d,%d,%dx%d %dx%d\n", frameNumber,
                 static_cast<unsigned long long>(sinceSwitch), ow, oh,
                 placement.x, placement.y, placement.w, placement.h, backBufferW, backBufferH);
    std::fclose(log);
  }
  if (asked) {
    std::remove(trigger.c_str());
  }
}
} // namespace sdl
