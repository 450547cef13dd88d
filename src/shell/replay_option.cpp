// `--replay FILE`, the one option besides the display-mode row. It is taken
// out of the arguments before the rest is joined into the command line.
#include "replay/replay_file.h"
#include "shell/command_line.h"
#include "shell/shell.h"
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

int runPeltaWithArguments(int argc, const char *const *argv) {
  std::vector<const char *> rest{argc > 0 ? argv[0] : "pelta"};
  const char *replayPath = nullptr;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--replay") != 0) {
      rest.push_back(argv[i]);
    } else if (replayPath != nullptr) {
      std::fputs("pelta: --replay given twice\n", stderr);
      return 2;
    } else if (i + 1 >= argc || argv[i + 1][0] == '\0') {
      std::fputs("pelta: --replay needs a file name\n", stderr);
      return 2;
    } else {
      replayPath = argv[++i];
    }
  }
  const std::string commandLine = joinCommandLine(static_cast<int>(rest.size()), rest.data());
  if (replayPath == nullptr) {
    return runPelta(commandLine.c_str());
  }
  Replay replay;
  std::string error;
  if (!readReplayFile(replayPath, replay, error)) {
    std::fprintf(stderr, "pelta: %s: %s\n", replayPath, error.c_str());
    return 2;
  }
  return runPelta(commandLine.c_str(), &replay);
}
