// Timer, single-instance guard, window events and the message box on SDL and
// POSIX (the keys and pads are sdl_input.cpp's). The guard is an
// abstract-namespace Unix socket: the first instance listens on it; a second
// start connects, asks for a raise and exits.
#include "platform/sdl/sdl_input.h"
#include "platform/sdl/sdl_state.h"
#include "platform/system.h"
#include "platform/timer.h"
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace {
int instanceSocket = -1;
volatile sig_atomic_t quitSignal = 0;

void onQuitSignal(int) { quitSignal = 1; }

socklen_t makeAddress(const char *name, sockaddr_un *addr) {
  std::memset(addr, 0, sizeof *addr);
  addr->sun_family = AF_UNIX;
  size_t n = std::strlen(name);
  if (n > sizeof addr->sun_path - 2) {
    n = sizeof addr->sun_path - 2;
  }
  std::memcpy(addr->sun_path + 1, name, n); // leading NUL: abstract namespace
  return static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + 1 + n);
}
} // namespace

uint32_t timeGetTime() {
  timespec ts;
  clock_gettime(CLOCK_MONOTONIC, &ts);
  uint64_t ms =
      static_cast<uint64_t>(ts.tv_sec) * 1000u + static_cast<uint64_t>(ts.tv_nsec) / 1000000u;
  return static_cast<uint32_t>(ms);
}

uint64_t timeMicroseconds() {
  timespec ts;
  clock_gettime(CLOCK_MONOTONIC, &ts);
  return static_cast<uint64_t>(ts.tv_sec) * 1000000u + static_cast<uint64_t>(ts.tv_nsec) / 1000u;
}

void sleepMilliseconds(uint32_t ms) {
  timespec ts{static_cast<time_t>(ms / 1000), static_cast<long>(ms % 1000) * 1000000L};
  while (nanosleep(&ts, &ts) != 0 && errno == EINTR && !quitSignal) {
  }
}

uint32_t calendarTimeSeconds() { return static_cast<uint32_t>(std::time(nullptr)); }

bool acquireSingleInstance(const char *name) {
  sockaddr_un addr;
  socklen_t len = makeAddress(name, &addr);
  int s = socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
  if (s < 0) {
    return true; // no guard possible; run anyway
  }
  if (bind(s, reinterpret_cast<sockaddr *>(&addr), len) == 0 && listen(s, 4) == 0) {
    instanceSocket = s;
    struct sigaction sa {};
    sa.sa_handler = onQuitSignal;
    sigemptyset(&sa.sa_mask);
    sigaction(SIGINT, &sa, nullptr);
    sigaction(SIGTERM, &sa, nullptr);
    sigaction(SIGHUP, &sa, nullptr);
    return true;
  }
  close(s);
  // Another instance holds the name: ask it to come to the front.
  int c = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (c >= 0) {
    if (connect(c, reinterpret_cast<sockaddr *>(&addr), len) == 0) {
      // The name carries our user id, so only a program of another user
      // holding it on purpose could answer here: it must not keep us out.
      ucred peer{};
      socklen_t size = sizeof peer;
      if (getsockopt(c, SOL_SOCKET, SO_PEERCRED, &peer, &size) == 0 && peer.uid != getuid()) {
        close(c);
        return true;
      }
      const char msg[] = "raise";
      ssize_t ignored = write(c, msg, sizeof msg - 1);
      (void)ignored;
    }
    close(c);
  }
  return false;
}

void releaseSingleInstance() {
  if (instanceSocket >= 0) {
    close(instanceSocket);
    instanceSocket = -1;
  }
}

WindowEvent pollWindowEvent() {
  if (quitSignal) {
    quitSignal = 0;
    return WindowEvent::Quit;
  }
  if (instanceSocket >= 0) {
    int c = accept4(instanceSocket, nullptr, nullptr, SOCK_CLOEXEC);
    if (c >= 0) {
      close(c);
      return WindowEvent::RaiseRequest;
    }
  }
  SDL_Event e;
  while (SDL_WasInit(SDL_INIT_VIDEO) && SDL_PollEvent(&e)) {
    switch (e.type) {
    case SDL_QUIT:
      return WindowEvent::Quit;
    case SDL_WINDOWEVENT:
      if (e.window.event == SDL_WINDOWEVENT_FOCUS_GAINED) {
        return WindowEvent::Activated;
      }
      if (e.window.event == SDL_WINDOWEVENT_FOCUS_LOST) {
        keyboardFocusLost();
        return WindowEvent::Deactivated;
      }
      if (e.window.event == SDL_WINDOWEVENT_MOVED || e.window.event == SDL_WINDOWEVENT_SIZE_CHANGED) {
        sdl::windowPlaced();
      }
      if (e.window.event == SDL_WINDOWEVENT_CLOSE) {
        return WindowEvent::Quit;
      }
      break;
    default:
      if (WindowEvent told = takeInputEvent(e); told != WindowEvent::None) {
        return told;
      }
      break;
    }
  }
  return WindowEvent::None;
}

void runMainLoop(bool (*pass)(), void (*finish)()) {
  while (pass()) {
  }
  finish();
}

bool loopPacedByDisplay() { return false; }

void showMessageBox(const char *caption, const char *text) {
  std::fprintf(stderr, "%s: %s\n", caption, text);
  SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_ERROR, caption, text, nullptr);
}
