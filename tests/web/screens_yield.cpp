// SPDX-License-Identifier: MIT
// Linked into the browser build of the screens program (with ASYNCIFY): its
// two thousand frames run in one call of main, which would hold the page,
// and the test driving it, for minutes. After each tenth of a second of
// frames the page gets a turn.
#include <emscripten/emscripten.h>

extern "C" void peltaFramePresented() {
  static double lastTurn = 0;
  if (emscripten_get_now() - lastTurn >= 100) {
    emscripten_sleep(0);
    lastTurn = emscripten_get_now();
  }
}
