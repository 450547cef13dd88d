// SPDX-License-Identifier: MIT
// Clocks, the one-tab guard, the page's events and the loop in a browser
// page. The page takes a Web Lock before the game starts; a second tab finds
// it held and is told the game is open elsewhere. The loop runs once per
// display refresh (requestAnimationFrame): a page cannot wait in a loop of
// its own.
#include "platform/system.h"
#include "platform/timer.h"
#include "platform/web/web_state.h"
#include <cstdio>
#include <ctime>
#include <deque>
#include <emscripten/emscripten.h>
#include <emscripten/html5.h>
#include <sys/stat.h>

namespace {
// The page's C library starts with every permission masked, which would
// make each file the game writes unreadable to itself; 022 as on a desktop.
[[maybe_unused]] const mode_t startMask = ::umask(022);

std::deque<WindowEvent> pending;
bool (*loopBody)() = nullptr;
void (*loopEnd)() = nullptr;
bool hidden = false;
bool focused = true;
bool active = true;

EM_JS(int, pageOwnsGame, (), {
  return Module.peltaOwnsLock === false ? 0 : 1;
});
EM_JS(void, tellPage, (const char *kind, const char *text), {
  if (Module.peltaTell) Module.peltaTell(UTF8ToString(kind), UTF8ToString(text));
});

// Activated while the tab is shown and the page has the focus.
void noteActivity() {
  const bool now = !hidden && focused;
  if (now == active) {
    return;
  }
  active = now;
  if (!now) {
    web::keyboardFocusLost();
  }
  pending.push_back(now ? WindowEvent::Activated : WindowEvent::Deactivated);
}

EM_BOOL onVisibility(int, const EmscriptenVisibilityChangeEvent *e, void *) {
  hidden = e->hidden != 0;
  noteActivity();
  return EM_FALSE;
}

EM_BOOL onFocus(int type, const EmscriptenFocusEvent *, void *) {
  focused = type == EMSCRIPTEN_EVENT_FOCUS;
  noteActivity();
  return EM_FALSE;
}

void loopStep() {
  if (loopBody == nullptr) {
    return;
  }
  // The events that came since the last refresh, then the frame if one is due.
  for (;;) {
    const bool hadEvent = !pending.empty();
    if (!loopBody()) {
      emscripten_cancel_main_loop();
      loopBody = nullptr;
      if (loopEnd != nullptr) {
        loopEnd();
      }
      tellPage("ended", "");
      return;
    }
    if (!hadEvent) {
      return;
    }
  }
}
} // namespace

namespace web {
void postWindowEvent(int event) { pending.push_back(static_cast<WindowEvent>(event)); }
} // namespace web

// The page is closed or reloaded: the program ends now, as after a closed
// window, so the player's files and the replay are written.
extern "C" EMSCRIPTEN_KEEPALIVE void peltaPageClosing() {
  if (loopBody == nullptr) {
    return;
  }
  pending.push_front(WindowEvent::Quit);
  loopStep();
}

uint32_t timeGetTime() { return static_cast<uint32_t>(static_cast<uint64_t>(emscripten_get_now())); }

uint64_t timeMicroseconds() { return static_cast<uint64_t>(emscripten_get_now() * 1000.0); }

// Only waits the loop never makes reach here; a page cannot sleep, so this
// waits by watching the clock.
void sleepMilliseconds(uint32_t ms) {
  const double until = emscripten_get_now() + ms;
  while (emscripten_get_now() < until) {
  }
}

uint32_t calendarTimeSeconds() { return static_cast<uint32_t>(std::time(nullptr)); }

bool acquireSingleInstance(const char *) {
  if (pageOwnsGame() == 0) {
    tellPage("elsewhere", "Pelta 2.0 is already open in another tab or window of this browser.");
    return false;
  }
  return true;
}

void releaseSingleInstance() {}

WindowEvent pollWindowEvent() {
  if (pending.empty()) {
    web::pollGamepads();
    return WindowEvent::None;
  }
  const WindowEvent e = pending.front();
  pending.pop_front();
  return e;
}

// The page's events are listened to here, not with the guard: watching a
// replay takes no guard, and still needs its keys and its first activation.
void runMainLoop(bool (*pass)(), void (*finish)()) {
  web::startInput();
  const char *window = EMSCRIPTEN_EVENT_TARGET_WINDOW;
  emscripten_set_visibilitychange_callback(nullptr, EM_FALSE, onVisibility);
  emscripten_set_focus_callback(window, nullptr, EM_FALSE, onFocus);
  emscripten_set_blur_callback(window, nullptr, EM_FALSE, onFocus);
  EmscriptenVisibilityChangeEvent v;
  if (emscripten_get_visibility_status(&v) == EMSCRIPTEN_RESULT_SUCCESS) {
    hidden = v.hidden != 0;
  }
  active = !hidden;
  // The game starts active, as the desktop's first focus makes it.
  pending.push_back(WindowEvent::Activated);
  loopBody = pass;
  loopEnd = finish;
  tellPage("started", "");
  // 0 frames per second: once per requestAnimationFrame.
  emscripten_set_main_loop(loopStep, 0, EM_FALSE);
}

bool loopPacedByDisplay() { return true; }

// The storage write started while a page closes is not waited for.
bool endMayBeCutShort() { return true; }

void showMessageBox(const char *caption, const char *text) {
  std::fprintf(stderr, "%s: %s\n", caption, text);
  tellPage("error", text);
}

// A page gets no signals; its closing runs the shutdown (peltaPageClosing).
void installQuitHandlers() {}
