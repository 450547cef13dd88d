// The game screen; it draws nothing yet.
#include "shell/shell.h"

void gameFrame() { screenEntryPending = 0; }
