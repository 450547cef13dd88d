// SPDX-License-Identifier: MIT
// The browser's key names to the game's virtual keys.
#pragma once

// The virtual key of a browser key event (KeyboardEvent.code, .key), 0 for
// none: by place for every key but letters and digits, which follow the
// layout; letters and digits of another script count by their place.
int virtualKeyOfBrowserKey(const char *code, const char *key);
