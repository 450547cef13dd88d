// SPDX-License-Identifier: MIT
// Keys and gamepads in a browser page (which key stands for which virtual
// key: browser_keys.cpp). Each key holds the virtual key it stood for
// when it went down until it goes up. The browser's own use of the keys the
// game reads (scrolling, going back, printing) is kept from the page.
#include "platform/input.h"
#include "platform/key_states.h"
#include "platform/system.h"
#include "platform/web/browser_keys.h"
#include "platform/web/web_state.h"
#include <algorithm>
#include <emscripten/emscripten.h>
#include <emscripten/html5.h>
#include <map>
#include <string>

namespace {
constexpr int HOLDS_NOTHING = -1;
std::map<std::string, int> heldKeyOf; // by KeyboardEvent.code

// Caps Lock's toggle as the page last saw it (events carry it).
EM_JS(int, capsLockOn, (), { return Module.peltaCapsLock ? 1 : 0; });
// Alt+Enter and F11: the page's element full screen, or back.
EM_JS(void, toggleFullScreen, (), {
  if (Module.peltaToggleFullScreen) Module.peltaToggleFullScreen();
});

EM_BOOL keyDown(int, const EmscriptenKeyboardEvent *e, void *) {
  const std::string code = e->code;
  if (code == "F11" || (e->altKey && (code == "Enter" || code == "NumpadEnter"))) {
    if (!e->repeat) {
      toggleFullScreen();
    }
    if (code != "F11") {
      heldKeyOf[code] = HOLDS_NOTHING; // never seen by the game, until let go
    }
    return EM_TRUE;
  }
  const int vk = virtualKeyOfBrowserKey(e->code, e->key);
  // Ctrl+P is the screenshot, never the print dialogue; other chords with
  // Ctrl, Alt or Meta stay the browser's.
  const bool chord = e->ctrlKey || e->altKey || e->metaKey;
  const bool keep = vk != 0 && (!chord || vk == 'P' || vk == VK_CONTROL);
  auto held = heldKeyOf.find(code);
  if (held != heldKeyOf.end() && held->second != 0) {
    return keep ? EM_TRUE : EM_FALSE; // held already: the key's repeat
  }
  heldKeyOf[code] = vk != 0 ? vk : HOLDS_NOTHING;
  pressVirtualKey(vk);
  if (e->ctrlKey && vk != VK_CONTROL && vk != 0) {
    keepVirtualKeyForFrame(VK_CONTROL); // a chord rolled off Ctrl first
  }
  if (vk == VK_PAUSE) {
    web::postWindowEvent(int(WindowEvent::PauseKey));
  }
  return keep ? EM_TRUE : EM_FALSE;
}

EM_BOOL keyUp(int, const EmscriptenKeyboardEvent *e, void *) {
  auto held = heldKeyOf.find(e->code);
  if (held == heldKeyOf.end()) {
    return EM_FALSE;
  }
  const int vk = held->second;
  heldKeyOf.erase(held);
  if (vk > 0) {
    releaseVirtualKey(vk);
  }
  return vk > 0 ? EM_TRUE : EM_FALSE;
}

// Stick and trigger positions past which they count as pressed, as on the desktop.
constexpr double STICK_DEAD_ZONE = 8000.0 / 32767.0;
constexpr double TRIGGER_THRESHOLD = 24000.0 / 32767.0;
constexpr int MAX_PADS = 8;
// The standard mapping's buttons, then the stick's four directions.
constexpr int PAD_INPUTS = 17 + 4;
bool padHeld[MAX_PADS][PAD_INPUTS];

int padKey(int input) {
  switch (input) {
  case 0: // A
  case 9: // Start
    return VK_RETURN;
  case 1: // B
  case 8: // Back
    return VK_ESCAPE;
  case 2:
    return 'S'; // X
  case 3:
    return 'M'; // Y
  case 4:
    return VK_PRIOR; // left shoulder
  case 5:
    return VK_NEXT;
  case 6:
    return VK_HOME; // left trigger
  case 7:
    return VK_END;
  case 12:
  case 19:
    return VK_UP;
  case 13:
  case 20:
    return VK_DOWN;
  case 14:
  case 17:
    return VK_LEFT;
  case 15:
  case 18:
    return VK_RIGHT;
  default:
    return 0;
  }
}

void setPadInput(int pad, int input, bool down) {
  if (padHeld[pad][input] == down) {
    return;
  }
  padHeld[pad][input] = down;
  if (down) {
    pressVirtualKey(padKey(input));
  } else {
    releaseVirtualKey(padKey(input));
  }
}
} // namespace

namespace web {
void startInput() {
  const char *target = EMSCRIPTEN_EVENT_TARGET_WINDOW;
  emscripten_set_keydown_callback(target, nullptr, EM_TRUE, keyDown);
  emscripten_set_keyup_callback(target, nullptr, EM_TRUE, keyUp);
}

void keyboardFocusLost() {
  for (auto &entry : heldKeyOf) {
    if (entry.second > 0) {
      releaseVirtualKey(entry.second);
    }
  }
  heldKeyOf.clear();
  endKeyFrame();
}

void pollGamepads() {
  if (emscripten_sample_gamepad_data() != EMSCRIPTEN_RESULT_SUCCESS) {
    return;
  }
  const int count = std::min(emscripten_get_num_gamepads(), MAX_PADS);
  for (int pad = 0; pad < MAX_PADS; ++pad) {
    EmscriptenGamepadEvent g;
    const bool present = pad < count &&
                         emscripten_get_gamepad_status(pad, &g) == EMSCRIPTEN_RESULT_SUCCESS &&
                         g.connected && std::strcmp(g.mapping, "standard") == 0;
    for (int input = 0; input < PAD_INPUTS; ++input) {
      bool down = false;
      if (present && input < 17 && input < g.numButtons) {
        down = (input == 6 || input == 7) ? g.analogButton[input] > TRIGGER_THRESHOLD
                                          : g.digitalButton[input] != 0;
      } else if (present && input >= 17 && g.numAxes >= 2) {
        const double x = g.axis[0];
        const double y = g.axis[1];
        down = input == 17 ? x < -STICK_DEAD_ZONE
               : input == 18 ? x > STICK_DEAD_ZONE
               : input == 19 ? y < -STICK_DEAD_ZONE
                             : y > STICK_DEAD_ZONE;
      }
      setPadInput(pad, input, down);
    }
  }
}
} // namespace web

int16_t keyboardState(int vk) {
  int16_t state = virtualKeyDown(vk) ? int16_t(0x8000) : int16_t(0);
  if (vk == VK_CAPITAL && capsLockOn() != 0) {
    state = static_cast<int16_t>(state | 1);
  }
  return state;
}
