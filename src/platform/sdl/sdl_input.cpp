// Keys and gamepads on SDL. Each keyboard key and each pad input is one
// source of the key states: it holds the virtual key it stood for when it
// went down until it goes up, so a layout change or a modifier never leaves
// a key stuck.
#include "platform/sdl/sdl_input.h"
#include "platform/input.h"
#include "platform/key_states.h"

namespace {
// The key each keyboard key holds down since its press, 0 while it is up;
// HOLDS_NOTHING for a key the game does not read and for an Enter pressed
// with Alt, until they are let go.
constexpr int HOLDS_NOTHING = -1;
int heldKeyOf[SDL_NUM_SCANCODES];

// Stick and trigger positions (of 32767) past which they count as pressed.
constexpr int STICK_DEAD_ZONE = 8000;
constexpr int TRIGGER_THRESHOLD = 24000;

// A pad's inputs: its buttons, then the stick's four directions, then the
// two triggers.
enum PadInput {
  STICK_LEFT = SDL_CONTROLLER_BUTTON_MAX,
  STICK_RIGHT,
  STICK_UP,
  STICK_DOWN,
  TRIGGER_LEFT,
  TRIGGER_RIGHT,
  PAD_INPUT_COUNT
};

int padKey(int input) {
  switch (input) {
  case SDL_CONTROLLER_BUTTON_A:
  case SDL_CONTROLLER_BUTTON_START:
    return VK_RETURN;
  case SDL_CONTROLLER_BUTTON_B:
  case SDL_CONTROLLER_BUTTON_BACK:
    return VK_ESCAPE;
  case SDL_CONTROLLER_BUTTON_X:
    return 'S';
  case SDL_CONTROLLER_BUTTON_Y:
    return 'M';
  case SDL_CONTROLLER_BUTTON_LEFTSHOULDER:
    return VK_PRIOR;
  case SDL_CONTROLLER_BUTTON_RIGHTSHOULDER:
    return VK_NEXT;
  case TRIGGER_LEFT:
    return VK_HOME;
  case TRIGGER_RIGHT:
    return VK_END;
  case SDL_CONTROLLER_BUTTON_DPAD_LEFT:
  case STICK_LEFT:
    return VK_LEFT;
  case SDL_CONTROLLER_BUTTON_DPAD_RIGHT:
  case STICK_RIGHT:
    return VK_RIGHT;
  case SDL_CONTROLLER_BUTTON_DPAD_UP:
  case STICK_UP:
    return VK_UP;
  case SDL_CONTROLLER_BUTTON_DPAD_DOWN:
  case STICK_DOWN:
    return VK_DOWN;
  default:
    return 0;
  }
}

struct Pad {
  SDL_GameController *controller = nullptr;
  SDL_JoystickID id = -1;
  bool held[PAD_INPUT_COUNT] = {};
};
constexpr int MAX_PADS = 8;
Pad pads[MAX_PADS];

Pad *padById(SDL_JoystickID id) {
  for (Pad &p : pads) {
    if (p.controller != nullptr && p.id == id) {
      return &p;
    }
  }
  return nullptr;
}

void setPadInput(Pad &pad, int input, bool down) {
  if (pad.held[input] == down) {
    return;
  }
  pad.held[input] = down;
  if (down) {
    pressVirtualKey(padKey(input));
  } else {
    releaseVirtualKey(padKey(input));
  }
}

void openPad(int deviceIndex) {
  const SDL_JoystickID id = SDL_JoystickGetDeviceInstanceID(deviceIndex);
  if (padById(id) != nullptr) {
    return; // pads present at start are announced twice
  }
  for (Pad &p : pads) {
    if (p.controller == nullptr) {
      p.controller = SDL_GameControllerOpen(deviceIndex);
      if (p.controller != nullptr) {
        p.id = SDL_JoystickInstanceID(SDL_GameControllerGetJoystick(p.controller));
      }
      return;
    }
  }
}

// A pad pulled out lets go of everything it held.
void closePad(SDL_JoystickID id) {
  if (Pad *p = padById(id)) {
    for (int input = 0; input < PAD_INPUT_COUNT; ++input) {
      setPadInput(*p, input, false);
    }
    SDL_GameControllerClose(p->controller);
    *p = Pad{};
  }
}

void moveAxis(Pad &pad, int axis, int value) {
  switch (axis) {
  case SDL_CONTROLLER_AXIS_LEFTX:
    setPadInput(pad, STICK_LEFT, value < -STICK_DEAD_ZONE);
    setPadInput(pad, STICK_RIGHT, value > STICK_DEAD_ZONE);
    break;
  case SDL_CONTROLLER_AXIS_LEFTY: // positive is down
    setPadInput(pad, STICK_UP, value < -STICK_DEAD_ZONE);
    setPadInput(pad, STICK_DOWN, value > STICK_DEAD_ZONE);
    break;
  case SDL_CONTROLLER_AXIS_TRIGGERLEFT:
    setPadInput(pad, TRIGGER_LEFT, value > TRIGGER_THRESHOLD);
    break;
  case SDL_CONTROLLER_AXIS_TRIGGERRIGHT:
    setPadInput(pad, TRIGGER_RIGHT, value > TRIGGER_THRESHOLD);
    break;
  default:
    break;
  }
}

bool isEnter(SDL_Scancode position) {
  return position == SDL_SCANCODE_RETURN || position == SDL_SCANCODE_KP_ENTER;
}

WindowEvent keyWentDown(const SDL_Keysym &key) {
  const int position = key.scancode;
  if (position <= SDL_SCANCODE_UNKNOWN || position >= SDL_NUM_SCANCODES ||
      heldKeyOf[position] != 0) {
    return WindowEvent::None; // held already: the window system's repeat
  }
  if (isEnter(key.scancode) && (key.mod & KMOD_ALT) != 0) {
    // Enter stays unseen until let go, even when Alt goes up first: the
    // menu would start a game with it.
    heldKeyOf[position] = HOLDS_NOTHING;
    return WindowEvent::ToggleWindow;
  }
  const int vk = virtualKeyOf(key.sym, key.scancode);
  heldKeyOf[position] = vk != 0 ? vk : HOLDS_NOTHING;
  pressVirtualKey(vk);
  if ((key.mod & KMOD_CTRL) != 0 && vk != VK_CONTROL) {
    keepVirtualKeyForFrame(VK_CONTROL); // a chord rolled off Ctrl first
  }
  return key.scancode == SDL_SCANCODE_PAUSE ? WindowEvent::PauseKey : WindowEvent::None;
}

void keyWentUp(const SDL_Keysym &key) {
  const int position = key.scancode;
  if (position <= SDL_SCANCODE_UNKNOWN || position >= SDL_NUM_SCANCODES) {
    return;
  }
  if (heldKeyOf[position] > 0) {
    releaseVirtualKey(heldKeyOf[position]);
  }
  heldKeyOf[position] = 0;
}
} // namespace

int virtualKeyOf(SDL_Keycode key, SDL_Scancode position) {
  switch (position) {
  case SDL_SCANCODE_RETURN:
  case SDL_SCANCODE_KP_ENTER:
    return VK_RETURN;
  case SDL_SCANCODE_ESCAPE:
    return VK_ESCAPE;
  case SDL_SCANCODE_BACKSPACE:
    return VK_BACK;
  case SDL_SCANCODE_SPACE:
    return VK_SPACE;
  case SDL_SCANCODE_LCTRL:
  case SDL_SCANCODE_RCTRL:
    return VK_CONTROL;
  case SDL_SCANCODE_PAUSE:
    return VK_PAUSE;
  case SDL_SCANCODE_CAPSLOCK:
    return VK_CAPITAL;
  case SDL_SCANCODE_PAGEUP:
    return VK_PRIOR;
  case SDL_SCANCODE_PAGEDOWN:
    return VK_NEXT;
  case SDL_SCANCODE_HOME:
    return VK_HOME;
  case SDL_SCANCODE_END:
    return VK_END;
  case SDL_SCANCODE_LEFT:
    return VK_LEFT;
  case SDL_SCANCODE_RIGHT:
    return VK_RIGHT;
  case SDL_SCANCODE_UP:
    return VK_UP;
  case SDL_SCANCODE_DOWN:
    return VK_DOWN;
  default:
    break;
  }
  if (key >= SDLK_a && key <= SDLK_z) {
    return 'A' + (key - SDLK_a);
  }
  if (key >= SDLK_0 && key <= SDLK_9) {
    return key;
  }
  // Key codes of other scripts are their characters, beyond ASCII; key codes
  // of keys without a character carry the scancode mask and are no letter.
  const bool otherScript = key >= 0x80 && (key & SDLK_SCANCODE_MASK) == 0;
  if (otherScript && position >= SDL_SCANCODE_A && position <= SDL_SCANCODE_Z) {
    return 'A' + (position - SDL_SCANCODE_A);
  }
  if (otherScript && position >= SDL_SCANCODE_1 && position <= SDL_SCANCODE_9) {
    return '1' + (position - SDL_SCANCODE_1);
  }
  if (otherScript && position == SDL_SCANCODE_0) {
    return '0';
  }
  return 0;
}

WindowEvent takeInputEvent(const SDL_Event &e) {
  switch (e.type) {
  case SDL_KEYDOWN:
    return keyWentDown(e.key.keysym);
  case SDL_KEYUP:
    keyWentUp(e.key.keysym);
    break;
  case SDL_CONTROLLERDEVICEADDED:
    openPad(e.cdevice.which);
    break;
  case SDL_CONTROLLERDEVICEREMOVED:
    closePad(e.cdevice.which);
    break;
  case SDL_CONTROLLERBUTTONDOWN:
  case SDL_CONTROLLERBUTTONUP:
    if (Pad *p = padById(e.cbutton.which);
        p != nullptr && e.cbutton.button < SDL_CONTROLLER_BUTTON_MAX) {
      setPadInput(*p, e.cbutton.button, e.type == SDL_CONTROLLERBUTTONDOWN);
    }
    break;
  case SDL_CONTROLLERAXISMOTION:
    if (Pad *p = padById(e.caxis.which)) {
      moveAxis(*p, e.caxis.axis, e.caxis.value);
    }
    break;
  default:
    break;
  }
  return WindowEvent::None;
}

void keyboardFocusLost() {
  for (int &vk : heldKeyOf) {
    if (vk > 0) {
      releaseVirtualKey(vk);
    }
    vk = 0;
  }
  endKeyFrame();
}

int openGamepadCount() {
  int n = 0;
  for (const Pad &p : pads) {
    n += p.controller != nullptr ? 1 : 0;
  }
  return n;
}

int16_t keyboardState(int vk) {
  int16_t state = virtualKeyDown(vk) ? int16_t(0x8000) : int16_t(0);
  if (vk == VK_CAPITAL && (SDL_GetModState() & KMOD_CAPS) != 0) {
    state = static_cast<int16_t>(state | 1);
  }
  return state;
}
