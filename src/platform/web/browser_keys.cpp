// SPDX-License-Identifier: MIT
// Which virtual key a browser key event stands for. A key counts by its place
// (KeyboardEvent.code) except letters and digits, which count by what the
// layout gives (KeyboardEvent.key); a layout of another script keeps them
// where a US keyboard has them. No browser header: the unit tests build it.
#include "platform/web/browser_keys.h"
#include "platform/input.h"
#include <cstring>
#include <map>
#include <string>

namespace {
int placeKey(const char *code) {
  static const std::map<std::string, int> PLACES = {
      {"Enter", VK_RETURN},     {"NumpadEnter", VK_RETURN}, {"Escape", VK_ESCAPE},
      {"Backspace", VK_BACK},   {"Space", VK_SPACE},        {"ControlLeft", VK_CONTROL},
      {"ControlRight", VK_CONTROL}, {"Pause", VK_PAUSE},    {"CapsLock", VK_CAPITAL},
      {"PageUp", VK_PRIOR},     {"PageDown", VK_NEXT},      {"Home", VK_HOME},
      {"End", VK_END},          {"ArrowLeft", VK_LEFT},     {"ArrowRight", VK_RIGHT},
      {"ArrowUp", VK_UP},       {"ArrowDown", VK_DOWN}};
  auto it = PLACES.find(code);
  return it != PLACES.end() ? it->second : 0;
}

bool isOneChar(const char *key) { return key[0] != '\0' && key[1] == '\0'; }
// A UTF-8 string of one character beyond ASCII.
bool isOneOtherChar(const char *key) {
  const unsigned char c = static_cast<unsigned char>(key[0]);
  if (c < 0x80) {
    return false;
  }
  const size_t length = c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : c >= 0xC0 ? 2 : 1;
  return std::strlen(key) == length;
}
} // namespace

int virtualKeyOfBrowserKey(const char *code, const char *key) {
  if (int vk = placeKey(code); vk != 0) {
    return vk;
  }
  if (isOneChar(key)) {
    const char c = key[0];
    if (c >= 'a' && c <= 'z') {
      return 'A' + (c - 'a');
    }
    if ((c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9')) {
      return c;
    }
    return 0;
  }
  if (isOneOtherChar(key)) {
    if (std::strncmp(code, "Key", 3) == 0 && code[3] >= 'A' && code[3] <= 'Z' && code[4] == '\0') {
      return code[3];
    }
    if (std::strncmp(code, "Digit", 5) == 0 && code[5] >= '0' && code[5] <= '9' && code[6] == '\0') {
      return code[5];
    }
  }
  return 0;
}

