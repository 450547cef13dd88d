// Process entry: the arguments joined by spaces into the one command line
// that the display-mode choice reads.
#include "shell/command_line.h"
#include "shell/shell.h"

int main(int argc, char **argv) { return runPelta(joinCommandLine(argc, argv).c_str()); }
