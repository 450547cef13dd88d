// getKeyState for both backends: the frame's fixed keys where a recording or
// a replay set them, the backend's keyboard for every other key.
#include "platform/input.h"

namespace {
const KeyStateOverride *keyOverride = nullptr;
}

void setKeyStateOverride(const KeyStateOverride *keys) { keyOverride = keys; }

int16_t getKeyState(int virtualKey) {
  if (keyOverride != nullptr && virtualKey >= 0 && virtualKey < VK_KEY_COUNT &&
      keyOverride->replaced[virtualKey]) {
    return keyOverride->state[virtualKey];
  }
  return keyboardState(virtualKey);
}
