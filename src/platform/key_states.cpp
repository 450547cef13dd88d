// Held keys counted per source, and the presses that a frame has yet to see.
#include "platform/key_states.h"
#include "platform/input.h"
#include <cstdint>
#include <cstring>

namespace {
uint16_t holders[VK_KEY_COUNT];
bool pressedSinceFrame[VK_KEY_COUNT];

bool valid(int vk) { return vk > 0 && vk < VK_KEY_COUNT; }
} // namespace

void pressVirtualKey(int vk) {
  if (valid(vk)) {
    ++holders[vk];
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
