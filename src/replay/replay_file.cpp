// Reading and writing the replay file. Every number has its range, so a
// damaged file is refused with the line it went wrong on, never played.
#include "replay/replay_file.h"
#include "audio/audio.h"
#include "replay/check_line.h"
#include "state/game_state.h"
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <sys/stat.h>
#include <filesystem>
#include <fstream>
#include <istream>

namespace {

// The header's numbers with their ranges: what the game itself can hold there.
struct HeaderNumber {
  const char *name;
  int64_t low;
  int64_t high;
  int64_t (*get)(const ReplayStart &);
  void (*set)(ReplayStart &, int64_t);
};

#define HEADER_NUMBER(field, low, high)                                                              \
  HeaderNumber {                                                                                     \
#field, low, high,                                                                               \
        [](const ReplayStart &s)                                                                     \
             -> int64_t { return s.field; },                                                         \
                                          [](ReplayStart & s,                                        \
                                             int64_t                                                 \
                                                 v) { s.field = static_cast<decltype(s.field)>(v); } \
  }
const HeaderNumber HEADER_NUMBERS[] = {
    HEADER_NUMBER(seed, 0, UINT32_MAX),
    HEADER_NUMBER(level, 1, MAX_LEVEL),
    HEADER_NUMBER(lives, 1, INT32_MAX),
    HEADER_NUMBER(totalScore, 0, UINT32_MAX),
    HEADER_NUMBER(gameId, INT32_MIN, INT32_MAX),
    HEADER_NUMBER(gameLoaded, 0, 1),
    HEADER_NUMBER(keyLatch, 0, 1),
    HEADER_NUMBER(musicNumber, 1, MUSIC_SILENT),
    HEADER_NUMBER(lastMusicNumber, 1, LAST_MUSIC_NUMBER),
    HEADER_NUMBER(musicVolume, 0, VOLUME_MAX),
    HEADER_NUMBER(effectsVolume, 0, VOLUME_MAX),
    HEADER_NUMBER(volumeKeyHeld, 0, 1),
    HEADER_NUMBER(volumeDisplayFrames, 0, VOLUME_DISPLAY_FRAMES),
    HEADER_NUMBER(volumeDisplayWhich, 0, 1),
};
#undef HEADER_NUMBER
constexpr size_t HEADER_NUMBER_COUNT = sizeof HEADER_NUMBERS / sizeof HEADER_NUMBERS[0];
constexpr size_t MAX_PROGRAM_LENGTH = 64;

std::string rangeText(int64_t low, int64_t high) {
  return std::to_string(low) + " to " + std::to_string(high);
}

bool parseInRange(const std::string &word, int64_t low, int64_t high, int64_t &value,
                  const char *name, std::string &error) {
  if (!parseSignedScriptNumber(word, low, high, value)) {
    error = std::string(name) + " must be a number from " + rangeText(low, high) + ", not \"" +
            word + "\"";
    return false;
  }
  return true;
}

// What the header has seen so far, so a missing or repeated line is named.
struct HeaderSeen {
  bool numbers[HEADER_NUMBER_COUNT] = {};
  bool program = false;
  int topRows = 0;
};

// The first header line still missing; nullptr when the header is whole.
const char *missingHeaderLine(const HeaderSeen &seen) {
  if (!seen.program) {
    return "program";
  }
  for (size_t i = 0; i < HEADER_NUMBER_COUNT; ++i) {
    if (!seen.numbers[i]) {
      return HEADER_NUMBERS[i].name;
    }
  }
  return seen.topRows < TOP_TEN_SIZE ? "top" : nullptr;
}

bool parseHeaderLine(const std::vector<std::string> &words, ReplayStart &start, HeaderSeen &seen,
                     std::string &error) {
  const std::string &name = words[0];
  if (name == "top") {
    if (words.size() != 4) {
      error = "expected \"top SCORE LEVEL GAMEID\"";
      return false;
    }
    if (seen.topRows >= TOP_TEN_SIZE) {
      error = "more than " + std::to_string(TOP_TEN_SIZE) + " top lines";
      return false;
    }
    int64_t score = 0;
    int64_t rowLevel = 0;
    int64_t id = 0;
    if (!parseInRange(words[1], 0, UINT32_MAX, score, "a top score", error) ||
        !parseInRange(words[2], 0, UINT32_MAX, rowLevel, "a top level", error) ||
        !parseInRange(words[3], INT32_MIN, INT32_MAX, id, "a top game id", error)) {
      return false;
    }
    start.topTen[seen.topRows++] = TopTenRow{
        static_cast<uint32_t>(score), static_cast<uint32_t>(rowLevel), static_cast<int32_t>(id)};
    return true;
  }
  bool *seenFlag = nullptr;
  const HeaderNumber *number = nullptr;
  if (name == "program") {
    seenFlag = &seen.program;
  }
  for (size_t i = 0; i < HEADER_NUMBER_COUNT; ++i) {
    if (name == HEADER_NUMBERS[i].name) {
      number = &HEADER_NUMBERS[i];
      seenFlag = &seen.numbers[i];
    }
  }
  if (seenFlag == nullptr) {
    error = "unknown header line \"" + name + "\"";
    return false;
  }
  if (*seenFlag) {
    error = name + " given twice";
    return false;
  }
  if (words.size() != 2) {
    error = "expected \"" + name + " VALUE\"";
    return false;
  }
  *seenFlag = true;
  if (number == nullptr) {
    if (words[1].size() > MAX_PROGRAM_LENGTH) {
      error = "program longer than " + std::to_string(MAX_PROGRAM_LENGTH) + " characters";
      return false;
    }
    start.program = words[1];
    return true;
  }
  int64_t value = 0;
  if (!parseInRange(words[1], number->low, number->high, value, number->name, error)) {
    return false;
  }
  number->set(start, value);
  return true;
}

bool parseFrame(const std::string &word, uint64_t lastFrame, uint64_t &frame, std::string &error) {
  if (!parseScriptNumber(word, 1, MAX_REPLAY_FRAMES, frame)) {
    error = "frame \"" + word + "\" is not a number from 1 to " + std::to_string(MAX_REPLAY_FRAMES);
    return false;
  }
  if (frame < lastFrame) {
    error = "frame " + word + " comes before the frame of the line above";
    return false;
  }
  return true;
}

bool parseCrc(const std::string &word, const char *name, uint32_t &crc, std::string &error) {
  if (word.size() != 8 || word.find_first_not_of("0123456789abcdef") != std::string::npos) {
    error = std::string(name) + " must be 8 hexadecimal digits, not \"" + word + "\"";
    return false;
  }
  crc = static_cast<uint32_t>(std::stoul(word, nullptr, 16));
  return true;
}

// A check field as the line holds it: a CRC as 8 hexadecimal digits.
std::string fieldText(const CheckField &f, int64_t value) {
  if (!f.crc) {
    return std::to_string(value);
  }
  char text[9];
  std::snprintf(text, sizeof text, "%08x", static_cast<uint32_t>(value));
  return text;
}

// "check|end FRAME" and then the fields of the check table.
bool parseCheckWords(const std::vector<std::string> &words, uint64_t lastFrame, ReplayCheck &check,
                     std::string &error) {
  if (words.size() != 2 + CHECK_FIELD_COUNT) {
    error = "expected \"" + words[0] + " FRAME";
    for (size_t i = 0; i < CHECK_FIELD_COUNT; ++i) {
      error += ' ';
      for (const char *c = CHECK_FIELDS[i].name; *c != '\0'; ++c) {
        error += static_cast<char>(std::toupper(static_cast<unsigned char>(*c)));
      }
    }
    error += '"';
    return false;
  }
  if (!parseFrame(words[1], lastFrame, check.frame, error)) {
    return false;
  }
  for (size_t i = 0; i < CHECK_FIELD_COUNT; ++i) {
    const CheckField &f = CHECK_FIELDS[i];
    const std::string &word = words[2 + i];
    int64_t value = 0;
    if (f.crc) {
      uint32_t crc = 0;
      if (!parseCrc(word, f.name, crc, error)) {
        return false;
      }
      value = crc;
    } else if (!parseInRange(word, f.low, f.high, value, f.name, error)) {
      return false;
    }
    f.set(check, value);
  }
  return true;
}

bool parseSaveWords(const std::vector<std::string> &words, uint64_t lastFrame, ReplaySave &save,
                    std::string &error) {
  if (words.size() != 3 || (words[2] != "written" && words[2] != "failed")) {
    error = "expected \"save FRAME written\" or \"save FRAME failed\"";
    return false;
  }
  save.written = words[2] == "written";
  return parseFrame(words[1], lastFrame, save.frame, error);
}

// One line after the header: a key change, a save, a check or the end.
bool parseBodyLine(const std::vector<std::string> &words, Replay &replay, uint64_t &lastFrame,
                   bool &ended, std::string &error) {
  const std::string &kind = words[0];
  if (kind == "save") {
    ReplaySave save{};
    if (!parseSaveWords(words, lastFrame, save, error)) {
      return false;
    }
    replay.saves.push_back(save);
    lastFrame = save.frame;
  } else if (kind == "check" || kind == "end") {
    ReplayCheck check;
    if (!parseCheckWords(words, lastFrame, check, error)) {
      return false;
    }
    if (kind == "check" && !replay.checks.empty() && check.frame <= replay.checks.back().frame) {
      error = "a second check at frame " + words[1] + " (one a frame at most)";
      return false;
    }
    (kind == "end" ? replay.end : replay.checks.emplace_back()) = check;
    ended = kind == "end";
    lastFrame = check.frame;
  } else {
    KeyEvent event{};
    if (!parseKeyEventWords(words, lastFrame, event, error)) {
      return false;
    }
    if (event.frame > MAX_REPLAY_FRAMES) {
      error = "frame " + words[0] + " lies beyond " + std::to_string(MAX_REPLAY_FRAMES);
      return false;
    }
    replay.keys.push_back(event);
    lastFrame = event.frame;
  }
  return true;
}

bool isBodyLine(const std::string &first) {
  return first == "save" || first == "check" || first == "end" ||
         (!first.empty() && first[0] >= '0' && first[0] <= '9');
}

void appendCheck(std::string &out, const char *kind, const ReplayCheck &c) {
  out += std::string(kind) + ' ' + std::to_string(c.frame);
  for (size_t i = 0; i < CHECK_FIELD_COUNT; ++i) {
    out += ' ' + fieldText(CHECK_FIELDS[i], CHECK_FIELDS[i].get(c));
  }
  out += '\n';
}

} // namespace

bool parseReplay(std::istream &in, Replay &replay, std::string &error, const ScriptLimits &limits) {
  replay = Replay{};
  ScriptReading reading{in, limits, "the replay"};
  std::vector<std::string> words;
  HeaderSeen seen;
  bool versionRead = false;
  bool inBody = false;
  bool ended = false;
  uint64_t lastFrame = 1;
  while (nextScriptWords(reading, words, error)) {
    std::string lineError;
    if (!versionRead) {
      if (words.size() != 2 || words[0] != REPLAY_MAGIC) {
        lineError = "not a replay: it must begin with \"pelta-replay " +
                    std::to_string(REPLAY_FORMAT) + "\"";
      } else if (words[1] != std::to_string(REPLAY_FORMAT)) {
        lineError = "replay format \"" + words[1] + "\" is not " + std::to_string(REPLAY_FORMAT) +
                    ", the one this program reads";
      }
      versionRead = true;
    } else if (ended) {
      lineError = "nothing may follow the end line";
    } else if (!inBody && !isBodyLine(words[0])) {
      parseHeaderLine(words, replay.start, seen, lineError);
    } else {
      const char *missing = inBody ? nullptr : missingHeaderLine(seen);
      inBody = true;
      if (missing != nullptr) {
        lineError = std::string("the header lacks its \"") + missing + "\" line";
      } else if (countScriptEvent(reading, error)) {
        parseBodyLine(words, replay, lastFrame, ended, lineError);
      } else {
        return false;
      }
    }
    if (!lineError.empty() && reading.lineUnended && !ended) {
      break; // torn off where the writing stopped: the replay is cut short there
    }
    if (!lineError.empty()) {
      error = scriptLineLabel(reading) + lineError;
      return false;
    }
  }
  if (!error.empty()) {
    return false;
  }
  if (!ended) {
    // Asked again even in the body: a torn first body line opens the body
    // without the header having been checked.
    const char *missing = missingHeaderLine(seen);
    if (!versionRead) {
      error = "the replay is empty";
      return false;
    }
    if (missing != nullptr) {
      error = std::string("the replay stops in its header, before its \"") + missing + "\" line";
      return false;
    }
    // A game killed or crashed while it was recorded: checked up to its last
    // check line, played up to its last line.
    replay.cutShort = true;
    replay.end = ReplayCheck{};
    replay.end.frame = lastFrame;
  }
  return true;
}

bool readReplayFile(const std::string &path, Replay &replay, std::string &error) {
  // A FIFO or a device would block or never end; only a file is read.
  struct stat st;
  std::ifstream file;
  if (::stat(path.c_str(), &st) != 0) {
    error = std::string("cannot be read as a replay file: ") + std::strerror(errno);
    return false;
  }
  if (!S_ISREG(st.st_mode)) {
    error = "cannot be read as a replay file: it is not a regular file";
    return false;
  }
  errno = 0;
  file.open(path, std::ios::binary);
  if (!file.is_open() || !file) {
    error = std::string("cannot be read as a replay file: ") +
            std::strerror(errno != 0 ? errno : EIO);
    return false;
  }
  return parseReplay(file, replay, error);
}

std::string formatReplayHeader(const ReplayStart &s) {
  std::string out;
  out += std::string(REPLAY_MAGIC) + ' ' + std::to_string(REPLAY_FORMAT) + '\n';
  out += "# pelta-sim --replay FILE checks this game; pelta --replay FILE shows it.\n";
  out += "program " + s.program + '\n';
  for (const HeaderNumber &n : HEADER_NUMBERS) {
    out += std::string(n.name) + ' ' + std::to_string(n.get(s)) + '\n';
  }
  for (const TopTenRow &row : s.topTen) {
    out += "top " + std::to_string(row.score) + ' ' + std::to_string(row.level) + ' ' +
           std::to_string(row.gameId) + '\n';
  }
  return out;
}

std::string formatKeyLine(const KeyEvent &e) {
  return std::to_string(e.frame) + ' ' + scriptKeyName(e.virtualKey) + ' ' +
         (e.down ? '+' : '-') + '\n';
}

std::string formatSaveLine(const ReplaySave &save) {
  return "save " + std::to_string(save.frame) + ' ' + (save.written ? "written" : "failed") +
         '\n';
}

std::string formatCheckLine(const char *kind, const ReplayCheck &check) {
  std::string out;
  appendCheck(out, kind, check);
  return out;
}

std::string formatReplay(const Replay &replay) {
  std::string out = formatReplayHeader(replay.start);
  out.reserve(out.size() + replay.keys.size() * 16 + replay.checks.size() * 64);
  // In frame order; within a frame the keys come first (they are read as it
  // starts), then the save made in it, then the state after it.
  size_t save = 0;
  size_t check = 0;
  for (size_t key = 0; key <= replay.keys.size(); ++key) {
    const uint64_t until = key < replay.keys.size() ? replay.keys[key].frame : UINT64_MAX;
    for (;;) {
      const uint64_t saveFrame = save < replay.saves.size() ? replay.saves[save].frame : UINT64_MAX;
      const uint64_t checkFrame =
          check < replay.checks.size() ? replay.checks[check].frame : UINT64_MAX;
      if (saveFrame < until && saveFrame <= checkFrame) {
        out += formatSaveLine(replay.saves[save++]);
      } else if (checkFrame < until) {
        appendCheck(out, "check", replay.checks[check++]);
      } else {
        break;
      }
    }
    if (key < replay.keys.size()) {
      out += formatKeyLine(replay.keys[key]);
    }
  }
  if (!replay.cutShort) {
    appendCheck(out, "end", replay.end);
  }
  return out;
}

std::string checkDifference(const ReplayCheck &got, const ReplayCheck &want) {
  for (size_t i = 0; i < CHECK_FIELD_COUNT; ++i) {
    const CheckField &f = CHECK_FIELDS[i];
    const int64_t a = f.get(got);
    const int64_t b = f.get(want);
    if (a != b) {
      return std::string(f.name) + " is " + fieldText(f, a) + ", the recording says " +
             fieldText(f, b) + f.covers;
    }
  }
  return "";
}
