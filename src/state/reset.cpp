// SPDX-License-Identifier: MIT
// resetGameState: every global registered with KEEP_START_VALUE, wherever it
// is defined, goes back to the value it had before main.
#include "state/reset.h"
#include "common/start_values.h"

void resetGameState() { restoreStartValues(); }
