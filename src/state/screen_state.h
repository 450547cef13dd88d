// What the screens ask of the loop: which screen runs, whether its set-up is
// due, the key latch across a change of screen, and the end of the program.
#pragma once
#include <cstdint>

enum ScreenState : uint8_t {
  MainMenu = 1,
  Game = 2,
  TopTen = 3,
  NameEntry = 4,
  Instructions = 5,
};

extern uint8_t screenState;
extern uint8_t screenEntryPending;
extern uint8_t keyLatch;
extern uint8_t quitPosted;

// Screen change: the target's first frame runs its set-up, and the keys that
// caused the change are ignored there until released.
void changeScreen(uint8_t target);
// The current screen's set-up runs again on the next frame, keys latched.
void restartScreen();
// Asks the loop to end after this frame (the quit message).
void postQuitMessage();
