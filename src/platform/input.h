// Keyboard state, polled once per frame by the screens.
// Keys are named by Windows virtual-key codes (a letter or digit is its own
// character code); each backend maps its own key codes (and a gamepad's
// buttons) onto these.
#pragma once
#include <cstdint>

constexpr int VK_BACK = 0x08;
constexpr int VK_RETURN = 0x0D;
constexpr int VK_CONTROL = 0x11;
constexpr int VK_PAUSE = 0x13;
constexpr int VK_CAPITAL = 0x14;
constexpr int VK_ESCAPE = 0x1B;
constexpr int VK_SPACE = 0x20;
constexpr int VK_PRIOR = 0x21; // Page Up
constexpr int VK_NEXT = 0x22;  // Page Down
constexpr int VK_END = 0x23;
constexpr int VK_HOME = 0x24;
constexpr int VK_LEFT = 0x25;
constexpr int VK_UP = 0x26;
constexpr int VK_RIGHT = 0x27;
constexpr int VK_DOWN = 0x28;
// '0'..'9' are 0x30..0x39 and 'A'..'Z' are 0x41..0x5A, as their character codes.
constexpr int VK_KEY_COUNT = 256;

// Windows key-state shape: negative while the key is down, bit 0 set while a
// toggle key (Caps Lock) is on. Any other code reads as up. A key pressed
// and let go between two frames reads down for the whole next frame, so a
// tap shorter than a frame is never lost. Answers from the override below
// where it replaces a key, else from the keyboard (and pads).
int16_t getKeyState(int virtualKey);
// The keyboard (and pads) itself, in the same shape, whatever the override says.
int16_t keyboardState(int virtualKey);
// The frame has read its keys: the taps it saw read up from now on.
void endKeyFrame();

// Key states fixed for a frame: a replay feeds its recorded keys through it,
// and a recording holds the keys it sampled so that every read in the frame
// sees what was recorded. Keys not marked `replaced` still read the keyboard.
struct KeyStateOverride {
  bool replaced[VK_KEY_COUNT];
  int16_t state[VK_KEY_COUNT];
};
// nullptr gives every key back to the keyboard. The table must outlive its use.
void setKeyStateOverride(const KeyStateOverride *keys);
// The key is held down now.
inline bool keyDown(int virtualKey) { return getKeyState(virtualKey) < 0; }
