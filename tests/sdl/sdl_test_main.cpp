// The SDL backend's own tests run on SDL's dummy video and sound drivers:
// events are pushed or come from a virtual gamepad, no display is needed.
#include "platform/video.h"
#include <SDL2/SDL.h>
#include <cstdlib>
#include <gtest/gtest.h>

int main(int argc, char **argv) {
  setenv("SDL_VIDEODRIVER", "dummy", 1);
  setenv("SDL_AUDIODRIVER", "dummy", 1);
  // The dummy driver gives no window the keyboard, and SDL drops a pad's
  // presses while none has it.
  SDL_SetHint(SDL_HINT_JOYSTICK_ALLOW_BACKGROUND_EVENTS, "1");
  ::testing::InitGoogleTest(&argc, argv);
  if (!createMainWindow("Pelta 2.0 test", "")) {
    return 1;
  }
  const int result = RUN_ALL_TESTS();
  destroyMainWindow();
  SDL_Quit();
  return result;
}
