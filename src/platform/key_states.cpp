// Held keys counted per source, the presses that a frame has yet to see, and
// getKeyState for both backends: the frame's fixed keys where a recording or
// a replay set them, the backend's keyboard and pads for every other key.
#include "platform/key_states.h"
#include "platform/input.h"
#include <cstdint>
#include <cstring>

namespace {
uint16_t holders[VK_KEY_COUNT];
bool pressedSinceFrame[VK_KEY_COUNT];

bool valid(int vk) { return vk > 0 && vk < VK_KEY_COUNT; }
const KeyStateOverride *keyOverride = nullptr;
} // namespace

void setKeyStateOverride(const KeyStateOverride *keys) { keyOverride = keys; }

int16_t getKeyState(int virtualKey) {
  if (keyOverride != nullptr && virtualKey >= 0 && virtualKey < VK_KEY_COUNT &&
      keyOverride->replaced[virtualKey]) {
    return keyOverride->state[virtualKey];
  }
  return keyboardState(virtualKey);
}

void pressVirtualKey(int vk) {
  if (valid(vk)) {
    ++holders[vk];
    pressedSinceFrame[vk] = true;
  }
}

void keepVirtualKeyForFrame(int vk) {
  if (valid(vk)) {
    pressedSinceFrame[vk] = true;
  }
}

void releaseVirtualKey(int vk) {
  if (valid(vk) && holders[vk] > 0) {
    --holders[vk];
  }
}

void releaseAllVirtualKeys() {
  std::memset(holders, 0, sizeof holders);
  std::memset(pressedSinceFrame, 0, sizeof pressedSinceFrame);
}

bool virtualKeyDown(int vk) { return valid(vk) && (holders[vk] > 0 || pressedSinceFrame[vk]); }

void endKeyFrame() { std::memset(pressedSinceFrame, 0, sizeof pressedSinceFrame); }
