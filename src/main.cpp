// Process entry: the arguments joined by spaces into the one command line
// that the display-mode choice reads.
#include <string>
#include "shell/shell.h"

int main(int argc, char **argv) {
  std::string commandLine;
  for (int i = 1; i < argc; ++i) {
    if (i > 1) {
      commandLine += ' ';
    }
    commandLine += argv[i];
  }
  return runPelta(commandLine.c_str());
}
