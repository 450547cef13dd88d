// The replay file: written text reads back the same; damaged, cut or
// out-of-range files are refused with one line naming the fault; the folder
// keeps the newest 50 and a failed write leaves nothing behind.
#include "common/files.h"
#include "platform/input.h"
#include "replay/replay_file.h"
#include "replay/replay_folder.h"
#include "sim.h"
#include "test_support.h"
#include <algorithm>
#include <cerrno>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>

namespace {

Replay sampleReplay() {
  Replay r;
  r.start.program = "2.0";
  r.start.seed = 4294967295u;
  r.start.level = 7;
  r.start.gameId = -5;
  r.start.gameLoaded = 1;
  r.start.keyLatch = 1;
  r.start.musicNumber = 21;
  r.start.topTen[0] = {99, 12, -1};
  r.keys = {{1, VK_RETURN, true},  {4, VK_RETURN, false}, {181, VK_DOWN, true},
            {181, VK_RIGHT, true}, {900, 'S', true},      {902, 'S', false}};
  r.saves = {{900, true}, {901, false}};
  r.checks = {{902, 2, 8, 3, 1000, 0, 0xdeadbeef, 0x1}};
  r.end = {902, 1, 8, 3, 1000, 0, 0xdeadbeef, 0x0badf00d};
  return r;
}

bool parse(const std::string &text, Replay &replay, std::string &error) {
  std::istringstream in(text);
  return parseReplay(in, replay, error);
}

// The text with the first line starting with `from` replaced by `to` (which
// may be empty, or hold several lines).
std::string withLine(std::string text, const std::string &from, const std::string &to) {
  const size_t at = text[0] == from[0] && text.compare(0, from.size(), from) == 0
                        ? 0
                        : text.find("\n" + from) + 1;
  const size_t end = text.find('\n', at) + 1;
  return text.replace(at, end - at, to);
}

} // namespace

TEST(ReplayFile, WrittenTextReadsBackAsTheSameReplay) {
  const std::string text = formatReplay(sampleReplay());
  Replay read;
  std::string error;
  ASSERT_TRUE(parse(text, read, error)) << error << '\n' << text;
  EXPECT_EQ(formatReplay(read), text);
  // Within a frame: the keys as it starts, the saves in it, the state after it.
  EXPECT_NE(text.find("900 S +\nsave 900 written\nsave 901 failed\n902 S -\n"
                      "check 902 2 8 3 1000 0 deadbeef 00000001\nend 902 1 8 3 1000 0 "
                      "deadbeef 0badf00d\n"),
            std::string::npos)
      << text;
  EXPECT_EQ(read.start.seed, 4294967295u);
  EXPECT_EQ(read.start.gameId, -5);
  EXPECT_EQ(read.start.topTen[0].gameId, -1);
  EXPECT_EQ(read.keys.size(), 6u);
}

TEST(ReplayFile, DamagedFilesAreRefusedWithOneLineNamingTheFault) {
  const std::string good = formatReplay(sampleReplay());
  const std::string endLine = good.substr(good.find("\nend ") + 1);
  const struct {
    std::string text;
    const char *error;
  } cases[] = {
      {"", "the replay is empty"},
      {"# only a comment\n", "the replay is empty"},
      {"hello world\n", "line 1: not a replay"},
      {withLine(good, "pelta-replay", "pelta-replay 2\n"), "line 1: replay format \"2\""},
      {good.substr(0, good.find("top ")), "stops in its header, before its \"top\" line"},
      {good.substr(0, good.find("top ")) + "162 UP", "stops in its header, before its \"top\" line"},
      {good.substr(0, good.size() - 3) + "\n", "line 37: stateCrc must be 8 hexadecimal digits"},
      {withLine(good, "seed", ""), "the header lacks its \"seed\" line"},
      {withLine(good, "seed", "seed 1\nseed 2\n"), "line 5: seed given twice"},
      {withLine(good, "seed", "colour 3\n"), "unknown header line \"colour\""},
      {withLine(good, "top", "top 1 2 3\ntop 1 2 3\n"), "more than 10 top lines"},
      {withLine(good, "level", "level 99999999999999999999999\n"),
       "level must be a number from 1 to 200"},
      {withLine(good, "seed", "seed 4294967296\n"), "seed must be a number from 0 to 4294967295"},
      {withLine(good, "lives", "lives 0\n"), "lives must be a number from 1"},
      {withLine(good, "gameId", "gameId -2147483649\n"), "gameId must be a number"},
      {withLine(good, "181 DOWN", "181 JUMP +\n"), "line 30: unknown key \"JUMP\""},
      {withLine(good, "181 RIGHT", "180 RIGHT +\n"), "line 31: frame 180 comes before"},
      {withLine(good, "save 901", "save 10 failed\n"), "frame 10 comes before"},
      {withLine(good, "save 901", "save 901 maybe\n"), "expected \"save FRAME written\""},
      {withLine(good, "1 ENTER", "5760001 ENTER +\n"), "lies beyond 5760000"},
      // No file asks for more than a day's work, nor for many checks at once.
      {withLine(good, "end", "end 4294967295 1 8 3 1000 0 deadbeef 0badf00d\n"),
       "frame \"4294967295\" is not a number from 1 to 5760000"},
      {withLine(good, "check", "check 902 2 8 3 1000 0 deadbeef 00000001\n"
                               "check 902 2 8 3 1000 0 deadbeef 00000001\n"),
       "a second check at frame 902 (one a frame at most)"},
      {withLine(good, "check", "check 902 2 8 3 1000 0 deadbeeg 00000001\n"),
       "gridCrc must be 8 hexadecimal digits"},
      {withLine(good, "check", "check 902 2 0 3 1000 0 deadbeef 00000001\n"),
       "level must be a number from 1 to 200, not \"0\""},
      {good + "903 UP +\n", "nothing may follow the end line"},
      {"pelta-replay 1\n" + std::string(5000, 'x') + "\n", "line 2: longer than 4096"},
  };
  for (const auto &c : cases) {
    Replay replay;
    std::string error;
    EXPECT_FALSE(parse(c.text, replay, error)) << c.error;
    EXPECT_NE(error.find(c.error), std::string::npos)
        << "expected: " << c.error << "\ngot: " << error;
    EXPECT_EQ(error.find('\n'), std::string::npos) << error;
  }
}

// A replay without its end line (its game was killed or crashed) reads as
// cut short, up to its last line; a last line torn off in the middle is left
// out. Written again it is the same text.
TEST(ReplayFile, AReplayWithoutItsEndLineIsCutShort) {
  const std::string good = formatReplay(sampleReplay());
  const std::string body = good.substr(0, good.find("\nend ") + 1);
  for (const std::string &text : {body, body + "903 UP", body + "check 950 2 8"}) {
    Replay replay;
    std::string error;
    ASSERT_TRUE(parse(text, replay, error)) << error;
    EXPECT_TRUE(replay.cutShort);
    EXPECT_EQ(replay.end.frame, 902u);
    EXPECT_EQ(replay.checks.size(), 1u);
    EXPECT_EQ(formatReplay(replay), body);
  }
}

// pelta-sim refuses a damaged, missing or unreadable replay or key script
// and a replay given with a seed with exit code 2, one line on stderr, nothing on stdout.
TEST(ReplayFile, TheSimulatorRefusesWhatItCannotReplay) {
  const std::string root = makeTempRoot();
  const std::string damaged = root + "/damaged.replay";
  const std::string good = root + "/good.replay";
  std::ofstream(damaged) << "pelta-replay 1\nprogram 2.0\n";
  std::ofstream(good) << formatReplay(sampleReplay());
  const std::vector<std::vector<std::string>> refused = {
      {"--replay", damaged},
      {"--replay", root + "/missing.replay"},
      {"--replay", root},
      {"--replay", good, "--seed", "1"},
      {"--replay", good, "--keys", "-"},
      {"--replay", ""},
      // Read errors (EIO at the first read): refused with the reason, no abort.
      {"--replay", "/proc/self/mem"},
      {"--seed", "1", "--keys", "/proc/self/mem"},
  };
  for (const auto &args : refused) {
    std::istringstream in;
    std::ostringstream out;
    std::ostringstream err;
    EXPECT_EQ(simMain(args, in, out, err), 2) << args[1];
    EXPECT_EQ(out.str(), "");
    const std::string message = err.str();
    EXPECT_EQ(std::count(message.begin(), message.end(), '\n'), 1) << message;
    EXPECT_EQ(message.rfind("pelta-sim: ", 0), 0u) << message;
    if (args.back() == "/proc/self/mem") {
      EXPECT_NE(message.find("could not be read: Input/output error"), std::string::npos)
          << message;
    }
  }
}

// The next number follows the highest; beyond 50 the oldest go; other files
// in the folder are left alone; a write that fails leaves no file, no
// temporary file, and removes nothing.
TEST(ReplayFolder, KeepsTheNewestFiftyAndAFailedWriteLeavesNothing) {
  makeTempRoot();
  ASSERT_TRUE(makeDirectory(replayFolder()));
  const std::string folder = std::string(replayFolder()) + "/";
  for (uint64_t n = 1; n <= 55; ++n) {
    std::ofstream(resolvePath((folder + replayFileName(n)).c_str())) << "pelta-replay 1\n# " << n;
  }
  for (const char *other : {"notes.txt", "game-7.replay", "game-000999.replay.tmp-x"}) {
    std::ofstream(resolvePath((folder + other).c_str())) << "mine";
  }
  const std::vector<std::string> before = listFolder(replayFolder());

  fileCalls.write = [](int, const void *, size_t) -> ssize_t { return errno = EIO, -1; };
  testing::internal::CaptureStderr();
  EXPECT_EQ(storeReplay("new"), "");
  EXPECT_NE(testing::internal::GetCapturedStderr().find("Input/output error"), std::string::npos);
  fileCalls = SYSTEM_FILE_CALLS;
  std::vector<std::string> after = listFolder(replayFolder());
  std::sort(after.begin(), after.end());
  std::vector<std::string> expected = before;
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(after, expected);

  EXPECT_EQ(storeReplay("new"), folder + "game-000056.replay");
  std::vector<uint64_t> kept;
  size_t others = 0;
  for (const std::string &name : listFolder(replayFolder())) {
    const uint64_t n = replayFileNumber(name);
    if (n != 0 && replayFileName(n) == name) {
      kept.push_back(n);
    } else {
      ++others;
    }
  }
  std::sort(kept.begin(), kept.end());
  ASSERT_EQ(kept.size(), 50u);
  EXPECT_EQ(kept.front(), 7u);
  EXPECT_EQ(kept.back(), 56u);
  EXPECT_EQ(others, 3u);
  std::vector<uint8_t> bytes;
  ASSERT_TRUE(readWholeFile((folder + "game-000056.replay").c_str(), bytes));
  EXPECT_EQ(std::string(bytes.begin(), bytes.end()), "new");
}
