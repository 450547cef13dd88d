// The process arguments: the options, and the words left over, joined into
// the one command line that the display-mode choice reads.
#pragma once
#include <cstddef>
#include <string>

// Far more than any option needs; what lies beyond is not joined, so a huge
// argument list neither costs memory nor time to read.
constexpr size_t MAX_COMMAND_LINE = 4096;
// Exit code of a start refused for its arguments.
constexpr int EXIT_USAGE = 2;

// The arguments after the program's name, joined by single spaces and cut
// after MAX_COMMAND_LINE characters.
std::string joinCommandLine(int argc, const char *const *argv);

// What the arguments ask for. Options may stand anywhere; "--" ends them.
struct StartOptions {
  bool help = false;
  bool version = false;
  bool window = false;
  bool frameStats = false; // --frame-stats: frame costs per screen on stderr at exit
  int display = -1; // --display N, -1 without it
  std::string dataDir;
  std::string userDir;
  std::string replayFile; // --replay FILE: watch that game instead of playing
  // The other words joined as joinCommandLine joins them: "5" is row 5,
  // "abc" and "-5" mean automatic, exactly as without options.
  std::string row;
  // One line naming what was refused; empty when the arguments are fine.
  std::string error;
};

// Reads the arguments; a word starting with "--" that names no option, an
// option without its value or with a bad one, sets `error`. No side effects.
StartOptions parseStartOptions(int argc, const char *const *argv);
// The usage text, one line per option of the table, for --help and errors.
std::string usageText();
// "pelta 2.0 (build ...)" for --version.
std::string versionText(const char *program);
