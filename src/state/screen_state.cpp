// The screen switch and the quit request, with the values a program start has.
#include "state/screen_state.h"
#include "common/start_values.h"

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

// The globals above with the values they start with, for resetGameState.
namespace {
[[maybe_unused]] const bool startValuesKept = keepStartValues(
    screenState, screenEntryPending, keyLatch, quitPosted);
} // namespace
