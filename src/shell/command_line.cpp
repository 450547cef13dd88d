// Joining the arguments into the command line.
#include "shell/command_line.h"
#include <cstring>

std::string joinCommandLine(int argc, const char *const *argv) {
  std::string line;
  for (int i = 1; i < argc && line.size() < MAX_COMMAND_LINE; ++i) {
    if (i > 1) {
      line += ' ';
    }
    line.append(argv[i], strnlen(argv[i], MAX_COMMAND_LINE));
  }
  if (line.size() > MAX_COMMAND_LINE) {
    line.resize(MAX_COMMAND_LINE);
  }
  return line;
}
