// The application shell: start-up, the loop, the frame, the screen dispatcher
// and the window events.
#pragma once
#include "platform/system.h"
#include "replay/replay_file.h"
#include "state/screen_state.h"
#include <cstdint>

extern uint8_t screenshotLatch;
extern int32_t appActive;
extern uint32_t frameStartTime;
extern int desktopWidth;
extern int desktopHeight;

// --window and --display N as the command line gave them (-1: no display named).
extern bool startInWindow;
extern int requestedDisplay;
// Whether the game plays in a window now (--window, then every Alt+Enter),
// and that window's first size.
extern bool playingInWindow;
extern int windowedWidth;
extern int windowedHeight;

constexpr const char *PROGRAM_NAME = "Pelta 2.0";
// The one id of the desktop entry, the metainfo, the icons and the window's
// class, by which desktops match the window to its menu entry.
constexpr const char *APP_ID = "io.github.pelta.Pelta";
constexpr int EXIT_WINDOW_FAILED = static_cast<int>(0x80004005u); // E_FAIL
constexpr uint32_t FRAME_MS = 15;
constexpr uint32_t SLOW_FRAME_MS = 2000;

// The process: the options (--help, --version, a refused argument), the
// display check, the folders, then runPelta with the remaining words.
int peltaMain(int argc, const char *const *argv);
// The whole program: start-up, loop, shutdown. Returns the exit code.
// With a replay, the program plays it instead of the menus, reads and writes
// none of the player's files, and ends with it.
int runPelta(const char *commandLine, const Replay *replay = nullptr);
// From the window to a drawable device: the display mode, the device and the
// two sprites (kept when they exist). 0, or the exit code of a failure, whose
// error box has been shown.
int startDeviceAndSprites(const char *commandLine);
// After the device: the font and pictures, the playfield's memory, the
// ticker, the hall of fame (its defaults draw from the generator; left out
// for a replay, which brings its own) and the next free screenshot number,
// in this order.
void setUpSubsystems(bool readTopTen = true);
// One frame: clear, the current screen, screenshot key, volume keys, present, pacing.
void runFrame();
// The current screen's frame function, by screenState (nothing for other values).
void dispatchScreen();
// Whether the loop runs a frame now: always where the frame sleeps out its
// own length (the desktop); in a browser, whose loop runs once per display
// refresh, once frameLength has passed since the last frame started.
bool frameDue();
// Milliseconds a frame must last: 2000 in the game with Caps Lock on, else 15.
uint32_t frameLength();
// How long to sleep so the frame lasts `length` ms; unsigned arithmetic, so a
// wrapped millisecond clock still gives the right answer.
uint32_t frameSleepTime(uint32_t startMs, uint32_t nowMs, uint32_t length);
// The display to play on: the one asked for (0 when it does not exist),
// without a request the one holding the mouse pointer, else 0.
int chooseDisplay(int requested, int count, int pointerDisplay);
// The window's size with --window: the chosen mode's when it is smaller than
// the desktop both ways, else 1280x720, on a desktop too small for that the
// widest 16:9 size within three quarters of it.
void windowedSize(int modeWidth, int modeHeight, int desktopW, int desktopH, int *width,
                  int *height);
// Selects the display (one line on stderr when the one asked for is missing).
void placeOnDisplay();
// Once the mode is chosen: shows the window, in a window with --window.
void showGameWindow();
// The window procedure's share: activation, quit, Pause, raise requests,
// Alt+Enter.
void handleWindowEvent(WindowEvent event);
// Start-up error box of the graphics device, "Direct3D9 initialization failed...".
void showInitError(const char *code);
