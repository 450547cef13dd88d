// The options of the command line, what the process answers to them, and
// what the start-up hands the platform: guard name, window class, icon.
#include "common/files.h"
#include "platform/headless/headless.h"
#include "presentation/assets.h"
#include "presentation/video_modes.h"
#include "shell/command_line.h"
#include "shell/folders.h"
#include "shell/shell.h"
#include "test_support.h"
#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>
#include <unistd.h>

namespace {
StartOptions parse(std::vector<const char *> args) {
  args.insert(args.begin(), "pelta");
  return parseStartOptions(static_cast<int>(args.size()), args.data());
}

// Runs peltaMain; returns the exit code with what it printed.
struct Answer {
  int code;
  std::string out, err;
};
Answer run(std::vector<const char *> args) {
  args.insert(args.begin(), "pelta");
  testing::internal::CaptureStdout();
  testing::internal::CaptureStderr();
  const int code = peltaMain(static_cast<int>(args.size()), args.data());
  return {code, testing::internal::GetCapturedStdout(), testing::internal::GetCapturedStderr()};
}

// Sets an environment variable for the life of a test (nullptr unsets it).
struct Variable {
  std::string name;
  std::string old;
  bool had;
  Variable(const char *n, const char *value) : name(n) {
    const char *o = std::getenv(n);
    had = o != nullptr;
    old = had ? o : "";
    value != nullptr ? ::setenv(n, value, 1) : ::unsetenv(n);
  }
  ~Variable() { had ? ::setenv(name.c_str(), old.c_str(), 1) : ::unsetenv(name.c_str()); }
};
} // namespace

TEST(StartOptions, OptionsAnywhereAndTheOtherWordsAsBefore) {
  const std::string huge(100000, '7');
  const struct {
    std::vector<const char *> args;
    bool window;
    int display;
    const char *dataDir, *userDir, *row;
  } cases[] = {
      {{}, false, -1, "", "", ""},
      {{"5"}, false, -1, "", "", "5"},
      {{"abc"}, false, -1, "", "", "abc"},
      {{"-5"}, false, -1, "", "", "-5"},
      {{""}, false, -1, "", "", ""},
      {{"", "x"}, false, -1, "", "", " x"},
      {{"--window", "5"}, true, -1, "", "", "5"},
      {{"1", "--window", "6"}, true, -1, "", "", "1 6"},
      {{"--display", "1", "7"}, false, 1, "", "", "7"},
      {{"--display=12"}, false, 12, "", "", ""},
      {{"--data-dir", "/d", "--user-dir=/u", "3"}, false, -1, "/d", "/u", "3"},
      {{"--user-dir=/a", "--user-dir", "/b"}, false, -1, "", "/b", ""}, // the last counts
      {{"--", "--window", "-5"}, false, -1, "", "", "--window -5"},
  };
  for (const auto &c : cases) {
    const StartOptions o = parse(c.args);
    EXPECT_EQ(o.error, "") << c.row;
    EXPECT_EQ(o.window, c.window) << c.row;
    EXPECT_EQ(o.display, c.display) << c.row;
    EXPECT_EQ(o.dataDir, c.dataDir) << c.row;
    EXPECT_EQ(o.userDir, c.userDir) << c.row;
    EXPECT_EQ(o.row, c.row);
  }
  EXPECT_EQ(parse({"--replay", "g.replay", "5"}).replayFile, "g.replay");
  EXPECT_EQ(parse({"--replay", "g.replay", "5"}).row, "5");
  // Without options the row is the joined line, its limit included.
  std::vector<const char *> words = {"pelta", "9", huge.c_str()};
  EXPECT_EQ(parse({"9", huge.c_str()}).row, joinCommandLine(3, words.data()));
  EXPECT_EQ(parse({"9", huge.c_str()}).row.size(), MAX_COMMAND_LINE);
  // What reaches the row choice is unchanged by the options around it.
  applyCommandLine(parse({"--window", "5"}).row.c_str(), 1920, 1080);
  EXPECT_EQ(videoModeIndex, 5);
  for (const char *word : {"abc", "-5", ""}) {
    applyCommandLine(parse({"--window", word}).row.c_str(), 1920, 1080);
    EXPECT_EQ(videoModeIndex, VIDEO_MODE_AUTOMATIC) << word;
  }
}

TEST(StartOptions, RefusedArgumentsNameTheProblemOnOneShortLine) {
  const std::string longName = "--" + std::string(5000, 'a');
  const std::string longFolder = "--data-dir=" + std::string(5000, 'd');
  const std::pair<std::vector<const char *>, const char *> cases[] = {
      {{"--foo"}, "unknown option \"--foo\""},
      {{"5", "--windows"}, "unknown option \"--windows\""},
      {{"--help\nx"}, "unknown option \"--help?x\""},
      {{longName.c_str()}, "unknown option \"--aaaa"},
      {{"--window=1"}, "--window takes no value"},
      {{"--display"}, "--display needs a value (N)"},
      {{"--display", "x"}, "--display needs a display number from 0 to 99"},
      {{"--display", "100"}, "--display needs a display number"},
      {{"--display", "-1"}, "--display needs a display number"},
      {{"--display=99999999999"}, "--display needs a display number"},
      {{"--data-dir", ""}, "--data-dir needs a folder"},
      {{longFolder.c_str()}, "--data-dir names too long a folder"},
      {{"--user-dir"}, "--user-dir needs a value (DIR)"},
      {{"--replay"}, "--replay needs a value (FILE)"},
      {{"--replay="}, "--replay needs a file name"},
  };
  for (const auto &[args, error] : cases) {
    const std::string said = parse(args).error;
    EXPECT_EQ(said.rfind(error, 0), 0u) << said;
    EXPECT_LT(said.size(), 100u);
    EXPECT_EQ(said.find('\n'), std::string::npos);
  }
}

TEST(StartOptions, HelpVersionAndRefusalsAnswerWithoutStarting) {
  headless::reset();
  Answer a = run({"--help"});
  EXPECT_EQ(a.code, 0);
  EXPECT_EQ(a.out, usageText());
  EXPECT_EQ(a.out.rfind("Usage: pelta [OPTIONS] [ROW]\n", 0), 0u);
  EXPECT_EQ(a.err, "");
  a = run({"5", "--version"});
  EXPECT_EQ(a.code, 0);
  EXPECT_EQ(a.out.rfind("pelta 2.0 (build ", 0), 0u) << a.out;
  a = run({"--replay", "/nonexistent/game.replay"});
  EXPECT_EQ(a.code, 2);
  EXPECT_EQ(a.err, "pelta: /nonexistent/game.replay: cannot be read as a replay file: No such file or "
                   "directory\n");
  a = run({"--help", "--foo"});
  EXPECT_EQ(a.code, EXIT_USAGE);
  EXPECT_EQ(a.out, "");
  EXPECT_EQ(a.err, "pelta: unknown option \"--foo\"\n" + usageText());
  EXPECT_EQ(headless::guardName(), ""); // none of these started the game
}

TEST(StartOptions, NoDisplayOrNoDataEndsAtOnceWithOneLine) {
  headless::reset();
  {
    Variable display("DISPLAY", nullptr);
    Variable wayland("WAYLAND_DISPLAY", "");
    const Answer a = run({});
    EXPECT_EQ(a.code, 1);
    EXPECT_EQ(a.err, "pelta: no display to play on: neither DISPLAY nor WAYLAND_DISPLAY is set\n");
  }
  const std::string empty = makeTempRoot();
  const std::string installed = installedDataFolder();
  if (std::filesystem::exists(installed + "/" + DATA_MARK_FILE)) {
    GTEST_SKIP() << "the game is installed in " << installed;
  }
  Variable display("DISPLAY", ":99");
  Variable data("PELTA_DATA_DIR", empty.c_str());
  const Answer a = run({"--data-dir", "missing"});
  EXPECT_EQ(a.code, 1);
  const std::string here = std::filesystem::current_path().string();
  EXPECT_EQ(a.err, "pelta: no game data (primitives.pta) found in " + here + "/missing, " + empty +
                       ", " + programFolder() + "/data, " +
                       std::filesystem::path(programFolder() + "/../share/pelta/data")
                           .lexically_normal()
                           .string() +
                       ", " + installed + "\n");
  EXPECT_EQ(headless::guardName(), "");
}

// The start-up hands the platform a guard in the player's private runtime
// folder (any display),
// the application id as the window's class and the icon from the data
// folder; a video driver that draws nowhere ends the start with 1.
TEST(StartOptions, GuardClassIconAndAnInvisibleDriver) {
  Variable display("DISPLAY", ":42");
  headless::reset();
  const std::string root = makeTempRoot();
  Variable runtime("XDG_RUNTIME_DIR", root.c_str());
  headless::setVideoDriver("offscreen");
  testing::internal::CaptureStderr();
  EXPECT_EQ(runPelta(""), 1);
  EXPECT_NE(testing::internal::GetCapturedStderr().find(
                "pelta: cannot open display :42 (SDL could only open its offscreen video driver)\n"),
            std::string::npos);
  EXPECT_EQ(headless::guardName(), root + "/" + APP_ID);
  EXPECT_EQ(headless::windowClass(), APP_ID);
  EXPECT_EQ(headless::windowIconPath(), ""); // the scratch data folder holds no icon
  EXPECT_FALSE(std::filesystem::exists(root + "/data/setting.pta")); // nothing ran
  // A picture that passes the header check is handed over by its full path.
  const std::vector<uint8_t> png = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n', 0, 0, 0, 13,
                                    'I',  'H', 'D', 'R', 0,    0,    0,    64,   0, 0, 0, 64};
  ASSERT_TRUE(replaceFileAtomically(ICON_FILE, png));
  testing::internal::CaptureStderr();
  EXPECT_EQ(runPelta(""), 1);
  testing::internal::GetCapturedStderr();
  EXPECT_EQ(headless::windowIconPath(), root + "/data/icon.pta");
  headless::reset();
}
