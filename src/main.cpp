// Process entry: the arguments joined as one command line, as the game expects.
#include "shell/command_line.h"
#include "shell/shell.h"

int main(int argc, char **argv) { return runPelta(joinCommandLine(argc, argv).c_str()); }
