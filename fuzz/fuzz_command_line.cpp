// Fuzzes the command line: arguments (split at zero bytes) read by the
// option parser and joined and read as a display-mode row. The joined line
// stays within its limit, the row is one of the table or automatic, and
// parseDecimal agrees with the sum of every character times its power of ten;
// without any "--" word the options leave the words exactly as joined, and a
// refusal is one short line.
#include "presentation/video_modes.h"
#include "shell/command_line.h"
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

namespace {
// The digit-by-power sum written out, as a reference for short lines.
int32_t powerSum(const std::string &text) {
  uint32_t sum = 0;
  for (size_t j = 0; j < text.size(); ++j) {
    uint32_t power = 1;
    for (size_t k = 0; k + 1 + j < text.size(); ++k) {
      power *= 10u;
    }
    sum +=
        static_cast<uint32_t>(static_cast<int32_t>(static_cast<signed char>(text[j])) - 48) * power;
  }
  return static_cast<int32_t>(sum);
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  std::vector<std::string> args = {"pelta"};
  args.emplace_back();
  for (size_t i = 0; i < size; ++i) {
    if (data[i] == 0) {
      args.emplace_back();
    } else {
      args.back().push_back(static_cast<char>(data[i]));
    }
  }
  std::vector<const char *> argv;
  for (const std::string &a : args) {
    argv.push_back(a.c_str());
  }
  const int argc = static_cast<int>(argv.size());
  const std::string line = joinCommandLine(argc, argv.data());
  if (line.size() > MAX_COMMAND_LINE) {
    std::abort();
  }
  const StartOptions options = parseStartOptions(argc, argv.data());
  bool anyDashes = false;
  for (size_t i = 1; i < args.size(); ++i) {
    anyDashes = anyDashes || args[i].rfind("--", 0) == 0;
  }
  if (options.row.size() > MAX_COMMAND_LINE || options.error.size() > 200 ||
      options.error.find('\n') != std::string::npos || options.display < -1 ||
      options.display > 99 || (!anyDashes && (options.row != line || !options.error.empty()))) {
    std::abort();
  }
  applyCommandLine(options.row.c_str(), 1920, 1080);
  if (videoModeIndex > 16 && videoModeIndex != VIDEO_MODE_AUTOMATIC) {
    std::abort();
  }
  applyCommandLine(line.c_str(), 1920, 1080);
  if (videoModeIndex > 16 && videoModeIndex != VIDEO_MODE_AUTOMATIC) {
    std::abort();
  }
  if (line.size() <= 512 && parseDecimal(line.c_str()) != powerSum(line)) {
    std::abort();
  }
  return 0;
}
