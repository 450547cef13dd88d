// The instructions page; it draws nothing yet.
#include "shell/shell.h"

void instructionsFrame() { screenEntryPending = 0; }
