// The key-script reader, shared by pelta-sim's scripts and the replays.
#include "replay/key_script.h"
#include "platform/input.h"
#include <cerrno>
#include <cstring>
#include <exception>
#include <istream>
#include <sstream>

namespace {

struct KeyName {
  const char *name;
  int virtualKey;
};

const KeyName KEY_NAMES[SCRIPT_KEY_COUNT] = {
    {"UP", VK_UP},        {"DOWN", VK_DOWN},     {"LEFT", VK_LEFT},    {"RIGHT", VK_RIGHT},
    {"ENTER", VK_RETURN}, {"ESCAPE", VK_ESCAPE}, {"S", 'S'},           {"M", 'M'},
    {"HOME", VK_HOME},    {"END", VK_END},       {"PAGEUP", VK_PRIOR}, {"PAGEDOWN", VK_NEXT},
};

int keyByName(const std::string &name) {
  for (const KeyName &k : KEY_NAMES) {
    if (name == k.name) {
      return k.virtualKey;
    }
  }
  return -1;
}

std::vector<std::string> splitWords(const std::string &line) {
  std::vector<std::string> words;
  std::istringstream in(line);
  std::string word;
  while (in >> word) {
    words.push_back(word);
  }
  return words;
}

enum class LineRead { Line, End, TooLong };

// One line without its line break, as std::getline gives it, but never more
// than the limits allow to be read or held.
LineRead readScriptLine(ScriptReading &reading, std::string &line) {
  line.clear();
  std::streambuf *buffer = reading.in.rdbuf();
  if (buffer == nullptr) {
    return LineRead::End;
  }
  bool any = false;
  for (;;) {
    int c = 0;
    // The stream buffer throws on a read error (a file buffer does) and
    // returns end of file on others; either way the stream is marked bad.
    try {
      errno = 0;
      c = buffer->sbumpc();
    } catch (const std::exception &) {
      reading.readError = errno != 0 ? errno : EIO;
      reading.in.setstate(std::ios::badbit);
      return LineRead::End;
    }
    if (c == std::char_traits<char>::eof()) {
      reading.in.setstate(std::ios::eofbit);
      reading.lineUnended = any;
      return any ? LineRead::Line : LineRead::End;
    }
    any = true;
    if (++reading.bytesRead > reading.limits.maxBytes) {
      return LineRead::TooLong;
    }
    if (c == '\n') {
      return LineRead::Line;
    }
    if (line.size() >= reading.limits.maxLineLength) {
      return LineRead::TooLong;
    }
    line.push_back(static_cast<char>(c));
  }
}

} // namespace

const int SCRIPT_KEYS[SCRIPT_KEY_COUNT] = {VK_UP, VK_DOWN, VK_LEFT, VK_RIGHT, VK_RETURN, VK_ESCAPE,
                                           'S',   'M',     VK_HOME, VK_END,   VK_PRIOR,  VK_NEXT};

const char *scriptKeyName(int virtualKey) {
  for (const KeyName &k : KEY_NAMES) {
    if (virtualKey == k.virtualKey) {
      return k.name;
    }
  }
  return nullptr;
}

bool parseScriptNumber(const std::string &text, uint64_t low, uint64_t high, uint64_t &value) {
  if (text.empty() || text.size() > 20) {
    return false;
  }
  uint64_t v = 0;
  for (char c : text) {
    if (c < '0' || c > '9') {
      return false;
    }
    const uint64_t digit = static_cast<uint64_t>(c - '0');
    if (v > (UINT64_MAX - digit) / 10) {
      return false;
    }
    v = v * 10 + digit;
  }
  if (v < low || v > high) {
    return false;
  }
  value = v;
  return true;
}

bool parseSignedScriptNumber(const std::string &text, int64_t low, int64_t high, int64_t &value) {
  const bool negative = !text.empty() && text[0] == '-';
  uint64_t magnitude = 0;
  if (!parseScriptNumber(negative ? text.substr(1) : text, 0, uint64_t(INT64_MAX), magnitude)) {
    return false;
  }
  const int64_t v = negative ? -static_cast<int64_t>(magnitude) : static_cast<int64_t>(magnitude);
  if (v < low || v > high) {
    return false;
  }
  value = v;
  return true;
}

bool nextScriptWords(ScriptReading &reading, std::vector<std::string> &words, std::string &error) {
  std::string line;
  for (;;) {
    const LineRead read = readScriptLine(reading, line);
    if (read == LineRead::End) {
      if (reading.in.bad()) {
        error = std::string(reading.what) + " could not be read" +
                (reading.readError != 0 ? std::string(": ") + std::strerror(reading.readError) : "");
      }
      return false;
    }
    ++reading.lineNumber;
    if (read == LineRead::TooLong) {
      error = reading.bytesRead > reading.limits.maxBytes
                  ? std::string(reading.what) + " is larger than " +
                        std::to_string(reading.limits.maxBytes) + " bytes"
                  : scriptLineLabel(reading) + "longer than " +
                        std::to_string(reading.limits.maxLineLength) + " characters";
      return false;
    }
    const size_t hash = line.find('#');
    if (hash != std::string::npos) {
      line.erase(hash);
    }
    words = splitWords(line);
    if (!words.empty()) {
      return true;
    }
  }
}

std::string scriptLineLabel(const ScriptReading &reading) {
  return "line " + std::to_string(reading.lineNumber) + ": ";
}

bool countScriptEvent(ScriptReading &reading, std::string &error) {
  if (reading.events >= reading.limits.maxEvents) {
    error = std::string(reading.what) + " holds more than " +
            std::to_string(reading.limits.maxEvents) + " events";
    return false;
  }
  ++reading.events;
  return true;
}

bool parseKeyEventWords(const std::vector<std::string> &words, uint64_t lastFrame, KeyEvent &event,
                        std::string &error) {
  if (words.size() != 3) {
    error = "expected \"FRAME KEY +\" or \"FRAME KEY -\"";
    return false;
  }
  if (!parseScriptNumber(words[0], 1, UINT64_MAX / 2, event.frame)) {
    error = "frame \"" + words[0] + "\" is not a number from 1 on";
    return false;
  }
  if (event.frame < lastFrame) {
    error = "frame " + words[0] + " comes before the frame of the line above";
    return false;
  }
  event.virtualKey = keyByName(words[1]);
  if (event.virtualKey < 0) {
    error = "unknown key \"" + words[1] +
            "\" (UP DOWN LEFT RIGHT ENTER ESCAPE S M HOME END PAGEUP PAGEDOWN)";
    return false;
  }
  if (words[2] != "+" && words[2] != "-") {
    error = "expected + or - after the key, not \"" + words[2] + "\"";
    return false;
  }
  event.down = words[2] == "+";
  return true;
}

bool parseKeyScript(std::istream &script, std::vector<KeyEvent> &events, std::string &error,
                    const ScriptLimits &limits) {
  ScriptReading reading{script, limits};
  std::vector<std::string> words;
  uint64_t lastFrame = 1;
  while (nextScriptWords(reading, words, error)) {
    KeyEvent event{};
    if (!parseKeyEventWords(words, lastFrame, event, error)) {
      error = scriptLineLabel(reading) + error;
      return false;
    }
    lastFrame = event.frame;
    if (!countScriptEvent(reading, error)) {
      return false;
    }
    events.push_back(event);
  }
  return error.empty();
}
