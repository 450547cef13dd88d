// The name entry: its buffer, caret and the typed-key reader.
#pragma once
#include <cstdint>

constexpr int NAME_LENGTH = 10;
constexpr int CARET_PERIOD = 31;  // frames of one blink cycle
constexpr int CARET_VISIBLE = 20; // frames of it with the caret shown

extern char nameBuffer[NAME_LENGTH + 1];
extern int32_t lastTypedKey;
extern int32_t caretBlink;

// Takes the first key down in the scan order Backspace, Space, 0-9, A-Z and
// edits `name` (room for 11 characters); a held key acts once. Returns the
// length the name had before this call.
int readTypedKey(char *name);
