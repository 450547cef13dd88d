// The options table, reading the arguments with it, and joining the words
// left over into the command line.
#include "shell/command_line.h"
#include "common/version.h"
#include <cstring>
#include <vector>

namespace {

// Longer than any path the system takes (PATH_MAX); such a value is refused.
constexpr size_t MAX_OPTION_VALUE = 4096;
constexpr int MAX_DISPLAY = 99;

bool setHelp(StartOptions &o, const std::string &, std::string &) { return o.help = true; }
bool setVersion(StartOptions &o, const std::string &, std::string &) { return o.version = true; }
bool setWindow(StartOptions &o, const std::string &, std::string &) { return o.window = true; }
bool setFrameStats(StartOptions &o, const std::string &, std::string &) {
  return o.frameStats = true;
}

bool setDisplay(StartOptions &o, const std::string &value, std::string &error) {
  // At most two digits: no sign, no spaces, nothing that could overflow.
  int n = 0;
  bool digits = !value.empty() && value.size() <= 2;
  for (size_t i = 0; digits && i < value.size(); ++i) {
    digits = value[i] >= '0' && value[i] <= '9';
    n = n * 10 + (value[i] - '0');
  }
  if (!digits || n > MAX_DISPLAY) {
    error = "--display needs a display number from 0 to " + std::to_string(MAX_DISPLAY);
    return false;
  }
  o.display = n;
  return true;
}

bool setFolder(std::string &to, const char *option, const std::string &value, std::string &error) {
  if (value.empty() || value.size() >= MAX_OPTION_VALUE) {
    error = std::string(option) + (value.empty() ? " needs a folder" : " names too long a folder");
    return false;
  }
  to = value;
  return true;
}

bool setDataDir(StartOptions &o, const std::string &value, std::string &error) {
  return setFolder(o.dataDir, "--data-dir", value, error);
}

bool setUserDir(StartOptions &o, const std::string &value, std::string &error) {
  return setFolder(o.userDir, "--user-dir", value, error);
}

bool setReplay(StartOptions &o, const std::string &value, std::string &error) {
  if (value.empty() || value.size() >= MAX_OPTION_VALUE) {
    error = value.empty() ? "--replay needs a file name" : "--replay names too long a file";
    return false;
  }
  o.replayFile = value;
  return true;
}

// One row per option: a new option is one more row (and its field).
struct OptionRow {
  const char *name;
  const char *argument; // shown in the usage; nullptr for an option without a value
  const char *help;     // lines after the first are indented under the first
  bool (*apply)(StartOptions &options, const std::string &value, std::string &error);
};

const OptionRow OPTIONS[] = {
    {"--window", nullptr, "play in a window instead of covering the screen", setWindow},
    {"--display", "N", "play on display N (0 is the first)", setDisplay},
    {"--data-dir", "DIR", "read the game data from DIR", setDataDir},
    {"--user-dir", "DIR",
     "keep scores, settings and screenshots in DIR\n"
     "(default $XDG_DATA_HOME/pelta, else ~/.local/share/pelta)",
     setUserDir},
    {"--replay", "FILE", "watch a recorded game again (see replays/ in the user folder)",
     setReplay},
    {"--frame-stats", nullptr, "at exit, show on stderr what the frames of each screen cost",
     setFrameStats},
    {"--help", nullptr, "show this help and exit", setHelp},
    {"--version", nullptr, "show the version and exit", setVersion},
};

const OptionRow *findOption(const std::string &name) {
  for (const OptionRow &row : OPTIONS) {
    if (name == row.name) {
      return &row;
    }
  }
  return nullptr;
}

// An argument as an error line may show it: short, on one line.
std::string shown(const char *arg) {
  std::string out;
  const size_t length = strnlen(arg, 61);
  for (size_t i = 0; i < length && i < 60; ++i) {
    const unsigned char c = static_cast<unsigned char>(arg[i]);
    out += c < 0x20 || c == 0x7F ? '?' : static_cast<char>(c);
  }
  return "\"" + out + (length > 60 ? "...\"" : "\"");
}

} // namespace

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

StartOptions parseStartOptions(int argc, const char *const *argv) {
  StartOptions options;
  std::vector<const char *> words = {argc > 0 ? argv[0] : "pelta"};
  bool optionsEnded = false;
  for (int i = 1; i < argc && options.error.empty(); ++i) {
    const char *arg = argv[i];
    if (optionsEnded || std::strncmp(arg, "--", 2) != 0) {
      words.push_back(arg);
      continue;
    }
    if (arg[2] == '\0') {
      optionsEnded = true;
      continue;
    }
    // "--name=value" or "--name value"; a name longer than any option's is no option.
    const size_t length = strnlen(arg, MAX_OPTION_VALUE + 32);
    const char *equals = static_cast<const char *>(std::memchr(arg, '=', length));
    const std::string name(arg, equals != nullptr ? static_cast<size_t>(equals - arg) : length);
    const OptionRow *row = findOption(name);
    if (row == nullptr) {
      options.error = "unknown option " + shown(arg);
      break;
    }
    std::string value;
    if (row->argument == nullptr) {
      if (equals != nullptr) {
        options.error = name + " takes no value";
        break;
      }
    } else if (equals != nullptr) {
      value.assign(equals + 1, strnlen(equals + 1, MAX_OPTION_VALUE));
    } else if (i + 1 < argc) {
      ++i;
      value.assign(argv[i], strnlen(argv[i], MAX_OPTION_VALUE));
    } else {
      options.error = name + " needs a value (" + row->argument + ")";
      break;
    }
    row->apply(options, value, options.error);
  }
  options.row = joinCommandLine(static_cast<int>(words.size()), words.data());
  return options;
}

std::string usageText() {
  std::string text = "Usage: pelta [OPTIONS] [ROW]\n"
                     "Pelta 2.0, a single-player area-capture arcade game.\n"
                     "\n"
                     "ROW is a row of the display-mode table, 0 (800x600) to 16 (1920x1200);\n"
                     "without it, or when the display does not offer it, the game chooses.\n"
                     "\n"
                     "Options:\n";
  for (const OptionRow &row : OPTIONS) {
    std::string left = std::string("  ") + row.name;
    if (row.argument != nullptr) {
      left += std::string(" ") + row.argument;
    }
    left.resize(20, ' ');
    for (const char *line = row.help; *line != '\0';) {
      const char *end = std::strchr(line, '\n');
      const size_t n = end != nullptr ? static_cast<size_t>(end - line) : std::strlen(line);
      text += left + std::string(line, n) + "\n";
      left.assign(20, ' ');
      line += n + (end != nullptr ? 1 : 0);
    }
  }
  text += "\nSee pelta(6) for the keys, the player's files and where the data is found.\n";
  return text;
}

std::string versionText(const char *program) {
  return std::string(program) + " " + PROGRAM_VERSION + " (build " + BUILD_VERSION + ")\n";
}
