// The main menu; it draws nothing yet.
#include "shell/shell.h"

void mainMenuFrame() { screenEntryPending = 0; }
