// Process entry: the arguments joined as one command line, as the game expects.
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
