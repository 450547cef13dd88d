// The screen switch and the quit request, with the values a program start has.
#include "state/screen_state.h"

uint8_t screenState = MainMenu;
uint8_t screenEntryPending = 1;
uint8_t keyLatch = 0;
uint8_t quitPosted = 0;

void changeScreen(uint8_t target) {
  screenEntryPending = 1;
  keyLatch = 1;
  screenState = target;
}

void restartScreen() { changeScreen(screenState); }

void postQuitMessage() { quitPosted = 1; }
