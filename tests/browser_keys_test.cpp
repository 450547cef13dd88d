// SPDX-License-Identifier: MIT
// The browser page's keys: places by KeyboardEvent.code, letters and digits
// by the layout's KeyboardEvent.key, and those of another script by place.
#include "platform/input.h"
#include "platform/web/browser_keys.h"
#include <gtest/gtest.h>

TEST(BrowserKeys, PlacesLettersAndDigitsOfEveryLayout) {
  struct Case {
    const char *code;
    const char *key;
    int want;
  } cases[] = {
      {"ArrowLeft", "ArrowLeft", VK_LEFT},
      {"NumpadEnter", "Enter", VK_RETURN},
      {"Space", " ", VK_SPACE},
      {"ControlRight", "Control", VK_CONTROL},
      {"PageDown", "PageDown", VK_NEXT},
      {"KeyQ", "a", 'A'},       // a French layout's A where US has Q
      {"KeyY", "Z", 'Z'},       // a German layout's Z, with Shift
      {"Digit7", "7", '7'},
      {"KeyQ", "\xD0\xB9", 'Q'}, // Cyrillic: by place
      {"Digit5", "\xD9\xA5", '5'}, // an Arabic-Indic five: by place
      {"KeyM", ",", 0},         // punctuation from a letter's place
      {"Digit1", "&", 0},       // a French layout's unshifted digit row
      {"Backquote", "\xD1\x91", 0}, // another script's letter off the letter block
      {"KeyE", "Dead", 0},      // a dead key waits for the next one
      {"F5", "F5", 0},
      {"", "", 0},
  };
  for (const Case &c : cases) {
    EXPECT_EQ(virtualKeyOfBrowserKey(c.code, c.key), c.want) << c.code << " / " << c.key;
  }
}
