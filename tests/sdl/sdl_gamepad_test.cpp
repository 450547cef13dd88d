// A gamepad, as SDL's virtual game controller: its buttons, D-pad, stick and
// triggers feed the same key states as the keyboard, and a pad pulled out
// lets go of what it held.
#include "platform/input.h"
#include "platform/sdl/sdl_input.h"
#include "platform/system.h"
#include <SDL2/SDL.h>
#include <gtest/gtest.h>

namespace {
void pump() {
  while (pollWindowEvent() != WindowEvent::None) {
  }
}

// A pad with every button and axis of a game controller, plugged in and
// taken up by the backend; its triggers at rest.
SDL_Joystick *plugInPad(int *deviceIndex) {
  SDL_VirtualJoystickDesc desc{};
  desc.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
  desc.type = SDL_JOYSTICK_TYPE_GAMECONTROLLER;
  desc.naxes = SDL_CONTROLLER_AXIS_MAX;
  desc.nbuttons = SDL_CONTROLLER_BUTTON_MAX;
  desc.button_mask = (1u << SDL_CONTROLLER_BUTTON_MAX) - 1;
  desc.axis_mask = (1u << SDL_CONTROLLER_AXIS_MAX) - 1;
  desc.name = "test pad";
  *deviceIndex = SDL_JoystickAttachVirtualEx(&desc);
  if (*deviceIndex < 0) {
    return nullptr;
  }
  pump();
  SDL_Joystick *pad = SDL_JoystickFromInstanceID(SDL_JoystickGetDeviceInstanceID(*deviceIndex));
  if (pad != nullptr) {
    SDL_JoystickSetVirtualAxis(pad, SDL_CONTROLLER_AXIS_TRIGGERLEFT, -32768);
    SDL_JoystickSetVirtualAxis(pad, SDL_CONTROLLER_AXIS_TRIGGERRIGHT, -32768);
    pump();
    endKeyFrame();
  }
  return pad;
}

// Every key the pad can stand for, down or not, as the next frame reads them.
std::vector<int> keysDown() {
  std::vector<int> down;
  for (int vk : {VK_RETURN, VK_ESCAPE, int('S'), int('M'), VK_PRIOR, VK_NEXT, VK_HOME, VK_END,
                 VK_LEFT, VK_RIGHT, VK_UP, VK_DOWN}) {
    if (keyDown(vk)) {
      down.push_back(vk);
    }
  }
  endKeyFrame();
  return down;
}
} // namespace

TEST(SdlGamepad, ButtonsDpadStickAndTriggersReadAsTheirKeys) {
  int index = -1;
  SDL_Joystick *pad = plugInPad(&index);
  ASSERT_NE(pad, nullptr) << SDL_GetError();
  EXPECT_EQ(openGamepadCount(), 1);
  EXPECT_TRUE(keysDown().empty());

  using V = std::vector<int>;
  struct Press {
    int button;
    V keys;
  };
  for (const Press &p :
       {Press{SDL_CONTROLLER_BUTTON_A, V{VK_RETURN}},
        Press{SDL_CONTROLLER_BUTTON_START, V{VK_RETURN}},
        Press{SDL_CONTROLLER_BUTTON_B, V{VK_ESCAPE}},
        Press{SDL_CONTROLLER_BUTTON_BACK, V{VK_ESCAPE}}, Press{SDL_CONTROLLER_BUTTON_X, V{'S'}},
        Press{SDL_CONTROLLER_BUTTON_Y, V{'M'}},
        Press{SDL_CONTROLLER_BUTTON_LEFTSHOULDER, V{VK_PRIOR}},
        Press{SDL_CONTROLLER_BUTTON_RIGHTSHOULDER, V{VK_NEXT}},
        Press{SDL_CONTROLLER_BUTTON_DPAD_LEFT, V{VK_LEFT}},
        Press{SDL_CONTROLLER_BUTTON_DPAD_RIGHT, V{VK_RIGHT}},
        Press{SDL_CONTROLLER_BUTTON_DPAD_UP, V{VK_UP}},
        Press{SDL_CONTROLLER_BUTTON_DPAD_DOWN, V{VK_DOWN}}, Press{SDL_CONTROLLER_BUTTON_GUIDE, V{}},
        Press{SDL_CONTROLLER_BUTTON_LEFTSTICK, V{}}}) {
    SCOPED_TRACE(SDL_GameControllerGetStringForButton(SDL_GameControllerButton(p.button)));
    SDL_JoystickSetVirtualButton(pad, p.button, SDL_PRESSED);
    pump();
    EXPECT_EQ(keysDown(), p.keys);
    EXPECT_EQ(keysDown(), p.keys); // held
    SDL_JoystickSetVirtualButton(pad, p.button, SDL_RELEASED);
    pump();
    EXPECT_TRUE(keysDown().empty());
  }

  struct Tilt {
    int axis;
    int value;
    V keys;
  };
  for (const Tilt &t :
       {Tilt{SDL_CONTROLLER_AXIS_LEFTX, -32768, V{VK_LEFT}},
        Tilt{SDL_CONTROLLER_AXIS_LEFTX, 12000, V{VK_RIGHT}},
        Tilt{SDL_CONTROLLER_AXIS_LEFTX, 6000, V{}}, // inside the dead zone
        Tilt{SDL_CONTROLLER_AXIS_LEFTX, -6000, V{}},
        Tilt{SDL_CONTROLLER_AXIS_LEFTY, -20000, V{VK_UP}},
        Tilt{SDL_CONTROLLER_AXIS_LEFTY, 32767, V{VK_DOWN}},
        Tilt{SDL_CONTROLLER_AXIS_LEFTY, 7000, V{}}, Tilt{SDL_CONTROLLER_AXIS_RIGHTX, 32767, V{}},
        Tilt{SDL_CONTROLLER_AXIS_TRIGGERLEFT, 32767, V{VK_HOME}},
        Tilt{SDL_CONTROLLER_AXIS_TRIGGERRIGHT, 32767, V{VK_END}},
        Tilt{SDL_CONTROLLER_AXIS_TRIGGERRIGHT, 0, V{}}}) { // half way
    SCOPED_TRACE(t.value);
    SDL_JoystickSetVirtualAxis(pad, t.axis, t.value);
    pump();
    EXPECT_EQ(keysDown(), t.keys);
    SDL_JoystickSetVirtualAxis(pad, t.axis, t.axis >= SDL_CONTROLLER_AXIS_TRIGGERLEFT ? -32768 : 0);
    pump();
    EXPECT_TRUE(keysDown().empty());
  }

  // A tap between two frames is read once, as a key's is.
  SDL_JoystickSetVirtualButton(pad, SDL_CONTROLLER_BUTTON_A, SDL_PRESSED);
  pump();
  SDL_JoystickSetVirtualButton(pad, SDL_CONTROLLER_BUTTON_A, SDL_RELEASED);
  pump();
  EXPECT_EQ(keysDown(), V{VK_RETURN});
  EXPECT_TRUE(keysDown().empty());
  SDL_JoystickDetachVirtual(index);
  pump();
}

TEST(SdlGamepad, APadPulledOutWhileHeldLetsGoOfItsKeys) {
  int index = -1;
  SDL_Joystick *pad = plugInPad(&index);
  ASSERT_NE(pad, nullptr) << SDL_GetError();
  SDL_JoystickSetVirtualAxis(pad, SDL_CONTROLLER_AXIS_LEFTX, -32768);
  SDL_JoystickSetVirtualButton(pad, SDL_CONTROLLER_BUTTON_DPAD_UP, SDL_PRESSED);
  pump();
  EXPECT_EQ(keysDown(), (std::vector<int>{VK_LEFT, VK_UP}));
  ASSERT_EQ(SDL_JoystickDetachVirtual(index), 0);
  pump();
  EXPECT_EQ(openGamepadCount(), 0);
  EXPECT_TRUE(keysDown().empty());

  // Plugged in again, it plays again.
  pad = plugInPad(&index);
  ASSERT_NE(pad, nullptr);
  SDL_JoystickSetVirtualButton(pad, SDL_CONTROLLER_BUTTON_B, SDL_PRESSED);
  pump();
  EXPECT_EQ(keysDown(), std::vector<int>{VK_ESCAPE});
  SDL_JoystickDetachVirtual(index);
  pump();
}
