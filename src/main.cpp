// Process entry: the arguments go to the shell, which takes out a replay and
// joins the rest into the one command line that the display-mode choice reads.
#include "shell/shell.h"

int main(int argc, char **argv) { return runPeltaWithArguments(argc, argv); }
