// The replay folder: naming the next file, writing it, and keeping the last 50.
#include "replay/replay_folder.h"
#include "common/files.h"
#include <algorithm>
#include <cstdio>
#include <vector>

namespace {
constexpr const char *PREFIX = "game-";
constexpr const char *SUFFIX = ".replay";
constexpr size_t PREFIX_LENGTH = 5;
constexpr size_t SUFFIX_LENGTH = 7;

std::string pathOf(const std::string &name) { return std::string(replayFolder()) + "/" + name; }
} // namespace

const char *replayFolder() { return "replays"; }

std::string replayFileName(uint64_t number) {
  char name[48];
  std::snprintf(name, sizeof name, "%s%06llu%s", PREFIX, static_cast<unsigned long long>(number),
                SUFFIX);
  return name;
}

uint64_t replayFileNumber(const std::string &name) {
  if (name.size() <= PREFIX_LENGTH + SUFFIX_LENGTH || name.compare(0, PREFIX_LENGTH, PREFIX) != 0 ||
      name.compare(name.size() - SUFFIX_LENGTH, SUFFIX_LENGTH, SUFFIX) != 0) {
    return 0;
  }
  const std::string digits =
      name.substr(PREFIX_LENGTH, name.size() - PREFIX_LENGTH - SUFFIX_LENGTH);
  if (digits.size() > 18 || digits.find_first_not_of("0123456789") != std::string::npos) {
    return 0;
  }
  return std::stoull(digits);
}

std::string storeReplay(const std::string &text) {
  makeDirectory(replayFolder());
  std::vector<uint64_t> numbers;
  for (const std::string &name : listFolder(replayFolder())) {
    // Only what the game named itself: any other file there is left alone.
    const uint64_t number = replayFileNumber(name);
    if (number != 0 && replayFileName(number) == name) {
      numbers.push_back(number);
    }
  }
  std::sort(numbers.begin(), numbers.end());
  const uint64_t next = numbers.empty() ? 1 : numbers.back() + 1;
  const std::string path = pathOf(replayFileName(next));
  if (!replaceFileAtomically(path.c_str(), std::vector<uint8_t>(text.begin(), text.end()))) {
    std::fprintf(stderr, "pelta: the replay of this game could not be written to %s\n",
                 resolvePath(path.c_str()).c_str());
    return "";
  }
  numbers.push_back(next);
  const size_t excess = numbers.size() > KEPT_REPLAYS ? numbers.size() - KEPT_REPLAYS : 0;
  for (size_t i = 0; i < excess; ++i) {
    removeFile(pathOf(replayFileName(numbers[i])).c_str());
  }
  return path;
}
