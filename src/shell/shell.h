// The application shell: start-up, the loop, the frame, the screen dispatcher
// and the window events.
#pragma once
#include <cstdint>
#include "platform/system.h"

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
extern uint8_t screenshotLatch;
extern int32_t appActive;
extern uint32_t frameStartTime;
extern int desktopWidth;
extern int desktopHeight;
extern uint8_t quitPosted;

constexpr const char *PROGRAM_NAME = "Pelta 2.0";
constexpr int EXIT_WINDOW_FAILED = static_cast<int>(0x80004005u); // E_FAIL
constexpr uint32_t FRAME_MS = 15;
constexpr uint32_t SLOW_FRAME_MS = 2000;

// The whole program: start-up, loop, shutdown. Returns the exit code.
int runPelta(const char *commandLine);
// From the window to a drawable device: the display mode, the device and the
// two sprites (kept when they exist). 0, or the exit code of a failure, whose
// error box has been shown.
int startDeviceAndSprites(const char *commandLine);
// One frame: clear, the current screen, screenshot key, volume keys, present, pacing.
void runFrame();
// The current screen's frame function, by screenState (nothing for other values).
void dispatchScreen();
// Milliseconds a frame must last: 2000 in the game with Caps Lock on, else 15.
uint32_t frameLength();
// How long to sleep so the frame lasts `length` ms; unsigned arithmetic, so a
// wrapped millisecond clock still gives the right answer.
uint32_t frameSleepTime(uint32_t startMs, uint32_t nowMs, uint32_t length);
// The window procedure's share: activation, quit, Pause, raise requests.
void handleWindowEvent(WindowEvent event);
// Asks the loop to end after this frame (the quit message).
void postQuitMessage();
// Start-up error box of the graphics device, "Direct3D9 initialization failed...".
void showInitError(const char *code);
// Screen change helper: the target's first frame runs its set-up, and the
// keys that caused the change are ignored there until released.
void changeScreen(uint8_t target);
// The keys of a screen that is left only with Escape: once Escape held over
// from the last screen is up, Escape goes back to the main menu.
void returnToMenuOnEscape();

// Frame functions of the five screens.
void mainMenuFrame();
void gameFrame();
void topTenFrame();
void nameEntryFrame();
void instructionsFrame();
