// The top ten and the name entry; they draw nothing yet.
#include "shell/shell.h"

void topTenFrame() { screenEntryPending = 0; }
void nameEntryFrame() { screenEntryPending = 0; }
