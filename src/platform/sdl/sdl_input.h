// The SDL backend's keyboard and gamepads: its events turned into the key
// states getKeyState answers from. Seen only by the SDL backend and its tests.
#pragma once
#include "platform/system.h"
#include <SDL2/SDL.h>

// The virtual key a keyboard key stands for, 0 for none. Letters and digits
// follow the layout (the key code), so the key labelled T is 'T' on any
// layout; a layout of another script, whose keys give no Latin letter, keeps
// them where a US keyboard has them. Every other key the game reads counts by
// its place: the arrows, Enter (either one), Escape, Page Up/Down, Home/End,
// Pause, Caps Lock, Ctrl, Space and Backspace.
int virtualKeyOf(SDL_Keycode key, SDL_Scancode position);

// Takes a keyboard or game controller event into the key states; returns
// what the window system has to be told of it: PauseKey, ToggleWindow (Alt
// with Enter, an Enter the game never sees), or None.
WindowEvent takeInputEvent(const SDL_Event &event);
// The keyboard went to another window: every key it held reads up, and no
// press made before reads down in a later frame.
void keyboardFocusLost();
// The game controllers open now (for tests).
int openGamepadCount();
