// pelta-sim: replay from a seed and a key script, its state lines, its
// checksum, and the refusal of bad arguments and scripts.
#include "sim.h"
#include "test_support.h"
#include <algorithm>
#include <cstdio>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>
#include <string>
#include <vector>

namespace {

struct SimRun {
  int code;
  std::string out;
  std::string err;
};

SimRun runSim(const std::vector<std::string> &args, const std::string &input = "") {
  std::istringstream in(input);
  std::ostringstream out;
  std::ostringstream err;
  const int code = simMain(args, in, out, err);
  return {code, out.str(), err.str()};
}

std::vector<std::string> lines(const std::string &text) {
  std::vector<std::string> result;
  std::istringstream in(text);
  std::string line;
  while (std::getline(in, line)) {
    result.push_back(line);
  }
  return result;
}

// The value of one key of a state line, as text: a number, a quoted string
// or a whole (nested) array.
std::string field(const std::string &line, const std::string &key) {
  const std::string name = "\"" + key + "\":";
  const size_t at = line.find(name);
  if (at == std::string::npos) {
    return "";
  }
  const size_t from = at + name.size();
  size_t to = from;
  if (line[from] == '"') {
    to = line.find('"', from + 1) + 1;
  } else if (line[from] == '[') {
    int depth = 0;
    do {
      depth += line[to] == '[' ? 1 : line[to] == ']' ? -1 : 0;
      ++to;
    } while (depth > 0 && to < line.size());
  } else {
    while (to < line.size() && (line[to] == '-' || (line[to] >= '0' && line[to] <= '9'))) {
      ++to;
    }
  }
  return line.substr(from, to - from);
}

// The keys of the outermost object, in order.
std::vector<std::string> topLevelKeys(const std::string &line) {
  std::vector<std::string> keys;
  int depth = 0;
  for (size_t i = 0; i < line.size(); ++i) {
    const char c = line[i];
    if (c == '[') {
      ++depth;
    } else if (c == ']') {
      --depth;
    } else if (c == '"' && depth == 0) {
      const size_t close = line.find('"', i + 1);
      if (close + 1 < line.size() && line[close + 1] == ':') {
        keys.push_back(line.substr(i + 1, close - i - 1));
      }
      i = close;
    }
  }
  return keys;
}

bool isLowerHex8(const std::string &quoted) {
  if (quoted.size() != 10 || quoted.front() != '"' || quoted.back() != '"') {
    return false;
  }
  return std::all_of(quoted.begin() + 1, quoted.end() - 1,
                     [](char c) { return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'); });
}

std::string writeScript(const std::string &text) {
  const std::string path = makeTempRoot() + "/keys.txt";
  std::ofstream(path) << text;
  return path;
}

// Out into the free area and back to the border: one capture.
const char *const OUT_AND_BACK = "# down for 30 frames, right for 10, then up to the border\n"
                                 "181 DOWN +\n"
                                 "211 DOWN -\n"
                                 "211 RIGHT +   # turning\n"
                                 "221 RIGHT -\n"
                                 "\n"
                                 "221 UP +\n"
                                 "222 UP -\n";

} // namespace

TEST(Simulator, SameSeedAndScriptGiveTheSameLinesAndSeedsDiffer) {
  const std::string path = writeScript(OUT_AND_BACK);
  const SimRun a = runSim({"--seed", "42", "--frames", "300", "--keys", path});
  const SimRun b = runSim({"--seed", "42", "--frames", "300", "--keys", path});
  ASSERT_EQ(a.code, 0) << a.err;
  EXPECT_EQ(a.err, "");
  EXPECT_EQ(a.out, b.out);
  EXPECT_EQ(lines(a.out).size(), 300u);
  const SimRun other = runSim({"--seed", "43", "--frames", "1"});
  const std::string first = lines(a.out)[0];
  const std::string otherFirst = lines(other.out)[0];
  EXPECT_NE(field(first, "white"), field(otherFirst, "white"));
  EXPECT_NE(field(first, "black"), field(otherFirst, "black"));
}

TEST(Simulator, StateLineKeysInTheirOrder) {
  const SimRun run = runSim({"--seed", "7", "--frames", "1", "--level", "12"});
  ASSERT_EQ(run.code, 0);
  const std::string line = lines(run.out).at(0);
  const std::vector<std::string> keys = topLevelKeys(line);
  const std::vector<std::string> expected = {
      "frame",         "screen",         "level",           "lives",        "totalScore",
      "timeBonus",     "startCountdown", "levelComplete",   "crashed",      "crashHandled",
      "crashCause",    "crashFrames",    "capturedCells",   "percentWhole", "percentHundredths",
      "trackShielded", "enemiesSlowed",  "slowFrameToggle", "player",       "white",
      "black",         "items",          "trackCells",      "gridCrc"};
  EXPECT_EQ(keys, expected);
  EXPECT_EQ(line.rfind("{\"frame\":1,\"screen\":2,\"level\":12,\"lives\":5,\"totalScore\":0,", 0),
            0u);
  EXPECT_EQ(field(line, "timeBonus"), "650000");
  EXPECT_EQ(field(line, "player"), "[478,5,0,0,0,1,1]");
  // Twelve white enemies, four black ones, all six item records.
  const std::string white = field(line, "white");
  EXPECT_EQ(std::count(white.begin(), white.end(), '['), 13);
  const std::string black = field(line, "black");
  EXPECT_EQ(std::count(black.begin(), black.end(), '['), 5);
  const std::string items = field(line, "items");
  EXPECT_EQ(std::count(items.begin(), items.end(), '['), 7);
  EXPECT_TRUE(isLowerHex8(field(line, "gridCrc"))) << field(line, "gridCrc");
}

TEST(Simulator, ACaptureChangesTheGridAndTheOwnTrackEndsWithCauseZero) {
  SimRun run =
      runSim({"--seed", "42", "--frames", "300", "--every", "100", "--keys", "-"}, OUT_AND_BACK);
  ASSERT_EQ(run.code, 0) << run.err;
  auto out = lines(run.out);
  ASSERT_EQ(out.size(), 3u);
  EXPECT_EQ(field(out[0], "frame"), "100");
  EXPECT_EQ(field(out[0], "capturedCells"), "0");
  EXPECT_NE(field(out[2], "capturedCells"), "0");
  EXPECT_NE(field(out[0], "gridCrc"), field(out[2], "gridCrc"));
  EXPECT_EQ(field(out[2], "trackCells"), "0");
  EXPECT_EQ(field(out[2], "crashed"), "0");

  run = runSim({"--seed", "42", "--frames", "250", "--every", "1000", "--keys", "-"},
               "181 DOWN +\n201 DOWN -\n201 RIGHT +\n211 RIGHT -\n211 UP +\n212 UP -\n"
               "212 LEFT +\n213 LEFT -\n");
  ASSERT_EQ(run.code, 0) << run.err;
  out = lines(run.out);
  ASSERT_EQ(out.size(), 1u); // only the last frame
  EXPECT_EQ(field(out[0], "frame"), "250");
  EXPECT_EQ(field(out[0], "crashed"), "1");
  EXPECT_EQ(field(out[0], "crashCause"), "0");
  EXPECT_EQ(field(out[0], "lives"), "4");
  EXPECT_EQ(field(out[0], "crashFrames"), "38");
}

TEST(Simulator, HandingOverToTheMenuEndsTheRun) {
  const SimRun run =
      runSim({"--seed", "1", "--frames", "500", "--every", "50", "--keys", "-"}, "120 ESCAPE +\n");
  ASSERT_EQ(run.code, 0);
  const auto out = lines(run.out);
  ASSERT_EQ(out.size(), 3u); // frames 50, 100 and the hand-over in 120
  EXPECT_EQ(field(out[2], "frame"), "120");
  EXPECT_EQ(field(out[2], "screen"), "1");
}

TEST(Simulator, ChecksumIsTheZlibCrc32) {
  const std::string text = "123456789";
  EXPECT_EQ(crc32(reinterpret_cast<const uint8_t *>(text.data()), text.size()), 0xCBF43926u);
  EXPECT_EQ(crc32(nullptr, 0), 0u);
}

TEST(Simulator, BadArgumentsAreRefusedWithExitCodeTwo) {
  const std::vector<std::vector<std::string>> bad = {
      {},
      {"--level", "3"},
      {"--seed"},
      {"--seed", "-1"},
      {"--seed", "4294967296"},
      {"--seed", "12abc"},
      {"--seed", "1", "--level", "0"},
      {"--seed", "1", "--level", "201"},
      {"--seed", "1", "--frames", "0"},
      {"--seed", "1", "--every", "0"},
      {"--seed", "1", "--every", ""},
      {"--seed", "1", "--seed", "2"},
      {"--seed", "1", "--speed", "2"},
      {"--seed", "1", "--keys", "/nonexistent/keys.txt"},
  };
  for (const auto &args : bad) {
    const SimRun run = runSim(args);
    std::string joined;
    for (const std::string &a : args) {
      joined += a + " ";
    }
    EXPECT_EQ(run.code, 2) << joined;
    EXPECT_EQ(run.out, "") << joined;
    EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << joined;
    EXPECT_EQ(run.err.rfind("pelta-sim: ", 0), 0u) << run.err;
  }
  EXPECT_EQ(runSim({"--seed", "4294967295", "--frames", "1"}).code, 0);
  EXPECT_NE(runSim({"--seed", "1", "--level", "201"}).err.find("--level"), std::string::npos);
}

TEST(Simulator, MalformedScriptLinesNameTheirLine) {
  const char *const bad[][2] = {
      {"10 UP +\n11 JUMP +\n", "line 2"},
      {"10 UP\n", "line 1"},
      {"10 UP + extra\n", "line 1"},
      {"# fine\n0 UP +\n", "line 2"},
      {"20 UP +\n10 UP -\n", "line 2"},
      {"x UP +\n", "line 1"},
      {"10 up +\n", "line 1"},
      {"10 UP *\n", "line 1"},
  };
  for (const auto &script : bad) {
    const SimRun run = runSim({"--seed", "1", "--keys", "-"}, script[0]);
    EXPECT_EQ(run.code, 2) << script[0];
    EXPECT_EQ(run.out, "");
    EXPECT_NE(run.err.find(script[1]), std::string::npos) << run.err;
    EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << run.err;
  }
  // Comments, blank lines, repeated frames and every key name are fine.
  const SimRun good = runSim({"--seed", "1", "--frames", "3", "--keys", "-"},
                             "\n# nothing\n1 UP +\n1 DOWN +  # same frame\n2 LEFT -\n"
                             "2 RIGHT +\n2 ENTER -\n2 ESCAPE -\n2 S -\n2 M -\n2 HOME -\n"
                             "2 END -\n2 PAGEUP -\n2 PAGEDOWN -\n");
  EXPECT_EQ(good.code, 0) << good.err;
  EXPECT_EQ(lines(good.out).size(), 3u);
}

namespace {
// A stream that never ends: the same text over and over.
class EndlessText : public std::streambuf {
public:
  explicit EndlessText(std::string text) : text_(std::move(text)) {}

protected:
  int_type underflow() override {
    setg(text_.data(), text_.data(), text_.data() + text_.size());
    return traits_type::to_int_type(text_[0]);
  }

private:
  std::string text_;
};
} // namespace

TEST(Simulator, AnEndlessScriptIsRefusedAtItsLimit) {
  // An endless line (a pipe from /dev/zero) through the whole program.
  EndlessText zeros(std::string(512, '\0'));
  std::istream endlessLine(&zeros);
  std::ostringstream out;
  std::ostringstream err;
  EXPECT_EQ(simMain({"--seed", "1", "--keys", "-"}, endlessLine, out, err), 2);
  EXPECT_EQ(out.str(), "");
  EXPECT_EQ(err.str(), "pelta-sim: -: line 1: longer than 4096 characters\n");
  // Endless events and endless blank lines, with small limits.
  ScriptLimits limits;
  limits.maxEvents = 1000;
  limits.maxBytes = 100000;
  const struct {
    std::string repeated;
    const char *error;
  } cases[] = {
      {"7 UP +\n", "the key script holds more than 1000 events"},
      {"\n", "the key script is larger than 100000 bytes"},
      {"# a comment\n", "the key script is larger than 100000 bytes"},
  };
  for (const auto &c : cases) {
    EndlessText text(c.repeated);
    std::istream script(&text);
    std::vector<KeyEvent> events;
    std::string error;
    EXPECT_FALSE(parseKeyScript(script, events, error, limits));
    EXPECT_EQ(error, c.error);
  }
  // Right at the limits a script is fine.
  std::string thousand;
  for (int i = 0; i < 1000; ++i) {
    thousand += "7 UP +\n";
  }
  std::istringstream script(thousand);
  std::vector<KeyEvent> events;
  std::string error;
  limits.maxBytes = thousand.size();
  EXPECT_TRUE(parseKeyScript(script, events, error, limits)) << error;
  EXPECT_EQ(events.size(), 1000u);
}
