// Process-level services: single instance, events from the window system,
// the start-up error box.
#pragma once
#include <cstdint>

// Takes the single-instance guard at the path `name` (a lock file and a
// socket with that name and ".lock"/".socket" added, in a folder only this
// user can reach). Returns false when another instance holds it; that
// instance has then been asked to raise its window (never waiting long).
bool acquireSingleInstance(const char *name);
void releaseSingleInstance();
// SIGINT, SIGTERM and SIGHUP from now on post WindowEvent::Quit, so the
// normal shutdown runs and saves.
void installQuitHandlers();

// What the window system reports between frames (the window procedure's share).
enum class WindowEvent : uint8_t {
  None,
  Quit,         // window closed, or SIGINT/SIGTERM/SIGHUP
  PauseKey,     // the Pause key went down
  Activated,    // the window got the focus
  Deactivated,  // the window lost the focus
  RaiseRequest, // a second start asked us to come to the front
  ToggleWindow  // Alt+Enter: from the full screen into a window, or back
};
// Takes the next pending event; WindowEvent::None when there is none.
WindowEvent pollWindowEvent();

// Runs the program's loop: `pass` until it returns false, then `finish`
// once. The desktop loops here, each pass sleeping as its pacing needs, and
// returns after `finish`. A browser page cannot wait: it calls `pass` once
// per display refresh from its own loop and returns at once, before `finish`.
void runMainLoop(bool (*pass)(), void (*finish)());
// True where the loop runs once per display refresh and a pass must not sleep.
bool loopPacedByDisplay();
// True where the program may be gone before its end has written the player's
// files (a browser page that is closed or reloaded): the settings are then
// written as they change rather than only at the end.
bool endMayBeCutShort();

// Modal error box; returns when dismissed (or at once where no display exists).
void showMessageBox(const char *caption, const char *text);
