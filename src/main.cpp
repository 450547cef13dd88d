// Process entry: the arguments joined by spaces into the one command line
// that the display-mode choice reads; --frame-stats is taken out first.
#include "shell/command_line.h"
#include "shell/frame_stats.h"
#include "shell/shell.h"
#include <cstring>

int main(int argc, char **argv) {
  int kept = 1;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--frame-stats") == 0) {
      frameStatsEnabled = 1;
    } else {
      argv[kept++] = argv[i];
    }
  }
  return runPelta(joinCommandLine(kept, argv).c_str());
}
