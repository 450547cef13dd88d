// SPDX-License-Identifier: MIT
// The name entry after a top-ten result: the typed-key reader, the caret, and
// the name stored into the new result's row.
#include "audio/audio.h"
#include "common/start_values.h"
#include "platform/input.h"
#include "presentation/text_draw.h"
#include "screens/name_entry.h"
#include "screens/screens.h"
#include "screens/top_ten_screen.h"
#include "state/game_state.h"
#include "state/screen_state.h"
#include <cstring>

char nameBuffer[NAME_LENGTH + 1] = "";
int32_t lastTypedKey = 0;
int32_t caretBlink = 0;

namespace {
// Backspace, Space, the digits, then the letters: the first one down wins.
int firstTypedKeyDown() {
  if (keyDown(VK_BACK)) {
    return VK_BACK;
  }
  if (keyDown(VK_SPACE)) {
    return VK_SPACE;
  }
  for (int vk = '0'; vk <= '9'; ++vk) {
    if (keyDown(vk)) {
      return vk;
    }
  }
  for (int vk = 'A'; vk <= 'Z'; ++vk) {
    if (keyDown(vk)) {
      return vk;
    }
  }
  return 0;
}

bool rankIsARow() { return topTenRank >= 0 && topTenRank < TOP_TEN_SIZE; }

void setUpNameEntry() {
  if (audioReady) {
    stopMusic();
    stopEffects();
  }
  nameBuffer[0] = '\0';
  insertTopTenEntry();
  screenEntryPending = 0;
  playEffect(EFFECT_NEW_ENTRY);
}

void confirmName(int n) {
  if (rankIsARow()) {
    // The first n typed characters padded with spaces to ten. Backspace in
    // the same frame as Enter leaves fewer than n: the padding starts at the
    // end of the name, so no NUL ever lands inside a stored name.
    char *name = topTenTable[topTenRank].name;
    std::memset(name, ' ', NAME_LENGTH);
    for (int i = 0; i < n && nameBuffer[i] != '\0'; ++i) {
      name[i] = nameBuffer[i];
    }
    name[NAME_LENGTH] = '\0';
  }
  copyTopTen(false);
  // Stored at once, so a killed program loses no entry; the end writes it again.
  writeTopTenFile();
  changeScreen(TopTen);
}
} // namespace

int readTypedKey(char *name) {
  int len = static_cast<int>(std::strlen(name));
  int key = firstTypedKeyDown();
  if (key == 0) {
    lastTypedKey = 0;
    return len;
  }
  // A held key acts once. Deliberately, while a key earlier in the scan is
  // held, a later one pressed meanwhile is not seen at all: the scan stops at
  // the first key down.
  if (key == lastTypedKey) {
    return len;
  }
  if (key == VK_BACK) {
    if (len > 0) {
      name[len - 1] = '\0';
    }
  } else if (len < NAME_LENGTH) {
    name[len] = static_cast<char>(key);
    name[len + 1] = '\0';
  }
  lastTypedKey = key;
  return len;
}

void nameEntryFrame() {
  if (screenEntryPending) {
    setUpNameEntry();
  }
  int n = readTypedKey(nameBuffer);
  caretBlink += 1;
  if (caretBlink > CARET_PERIOD - 1) {
    caretBlink = 0;
  }
  bool caret = n < NAME_LENGTH && caretBlink < CARET_VISIBLE;
  drawTopTenTable(topTenTable, rankIsARow() ? topTenRank : -1, nameBuffer, caret,
                  "Type your name and press Enter");

  bool enterDown = keyDown(VK_RETURN);
  if (keyLatch) {
    if (enterDown) {
      return;
    }
    keyLatch = 0;
  }
  if (enterDown && n > 0) {
    confirmName(n);
  }
}

// The globals above with the values they start with, for resetGameState.
namespace {
[[maybe_unused]] const bool startValuesKept = keepStartValues(
    nameBuffer, lastTypedKey, caretBlink);
} // namespace
