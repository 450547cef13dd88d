// Where the data is searched, which per-user root is chosen, and what the
// first run puts there.
#include "audio/audio.h"
#include "common/files.h"
#include "common/notices.h"
#include "persistence/settings_file.h"
#include "persistence/top_ten.h"
#include "platform/input.h"
#include "shell/folders.h"
#include "shell/session.h"
#include "shell/shell.h"
#include "state/screen_state.h"
#include "test_support.h"
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {
void writeBytes(const std::string &path, const std::vector<uint8_t> &bytes) {
  fs::create_directories(fs::path(path).parent_path());
  ASSERT_TRUE(replaceFileAtomically(path.c_str(), bytes));
}

std::vector<uint8_t> bytesOf(const std::string &path) {
  std::vector<uint8_t> bytes;
  readWholeFile(path.c_str(), bytes);
  return bytes;
}
} // namespace

TEST(DataSearch, FirstFolderHoldingTheSpriteSheetWinsInTheGivenOrder) {
  const std::string t = makeTempRoot();
  const std::string program = t + "/prefix/bin";
  const std::vector<std::string> folders = {t + "/option", t + "/variable", program + "/data",
                                            t + "/prefix/share/pelta/data", t + "/installed"};
  const std::vector<std::string> candidates =
      dataFolderCandidates("option", (t + "/variable").c_str(), program, t + "/installed", t);
  ASSERT_EQ(candidates, folders);
  for (const std::string &folder : folders) {
    fs::create_directories(folder);
  }
  // Marks added from the last folder to the first: each time the new one wins.
  EXPECT_EQ(findDataFolder(candidates), "");
  for (size_t i = folders.size(); i-- > 0;) {
    if (i == 1) {
      // A folder of that name is no sprite sheet: the search passes it by.
      fs::create_directory(folders[i] + "/" + DATA_MARK_FILE);
      EXPECT_EQ(findDataFolder(candidates), folders[2]);
      fs::remove(folders[i] + "/" + DATA_MARK_FILE);
    }
    writeBytes(folders[i] + "/" + DATA_MARK_FILE, {1});
    EXPECT_EQ(findDataFolder(candidates), folders[i]) << i;
  }
  // Without the overrides and without a program folder only the installed one is left.
  EXPECT_EQ(dataFolderCandidates("", nullptr, "", t + "/installed", t),
            std::vector<std::string>{t + "/installed"});
}

TEST(DataSearch, NothingIsTakenFromTheWorkingFolder) {
  const std::string t = makeTempRoot();
  writeBytes(t + "/data/" + DATA_MARK_FILE, {1});
  const fs::path before = fs::current_path();
  fs::current_path(t);
  const std::vector<std::string> candidates =
      dataFolderCandidates("", "", t + "/elsewhere/bin", t + "/installed", t);
  fs::current_path(before);
  EXPECT_EQ(findDataFolder(candidates), "");
}

TEST(UserRoot, OptionThenVariableThenAbsoluteXdgDataHomeThenHome) {
  const struct {
    const char *option, *variable, *xdg, *home, *root;
  } cases[] = {
      {"", nullptr, "/x", "/h", "/x/pelta"},
      {"", nullptr, nullptr, "/h", "/h/.local/share/pelta"},
      {"", nullptr, "", "/h", "/h/.local/share/pelta"},
      {"", nullptr, "x/rel", "/h", "/h/.local/share/pelta"}, // XDG: relative is invalid
      {"", nullptr, "/x/../y/", "/h", "/y/pelta"},
      {"", "/v", "/x", "/h", "/v"},
      {"", "", "/x", "/h", "/x/pelta"},
      {"", "v", "/x", "/h", "/work/v"},
      {"/o", "/v", "/x", "/h", "/o"},
      {"o/", "/v", "/x", "/h", "/work/o"},
      {"", nullptr, nullptr, "", ""},
  };
  for (const auto &c : cases) {
    EXPECT_EQ(chooseUserRoot(c.option, c.variable, c.xdg, c.home, "/work"), c.root)
        << c.option << "|" << (c.variable ? c.variable : "null") << "|" << (c.xdg ? c.xdg : "null")
        << "|" << c.home;
  }
}

// The first run makes the folder (private) and takes an earlier build's
// hall of fame and settings, else the default settings; later runs never
// replace what is there.
TEST(PlayerFolder, FirstRunCopiesOnceAndNeverReplaces) {
  const std::string t = makeTempRoot();
  const std::string oldBuild = t + "/build/data";
  const std::string data = t + "/share/pelta/data";
  const std::string root = t + "/home/.local/share/pelta";
  writeBytes(data + "/setting.pta", {0x40, 0x1F, 0, 0, 0x58, 0x1B, 0, 0, 1, 0, 0, 0, 1, 0, 0, 0});
  writeBytes(oldBuild + "/tt.pta", std::vector<uint8_t>(1815, 'A'));
  ASSERT_EQ(::chmod((oldBuild + "/tt.pta").c_str(), 0600), 0);

  testing::internal::CaptureStderr();
  ASSERT_TRUE(preparePlayerFolder(root, {oldBuild, data}));
  const std::string said = testing::internal::GetCapturedStderr();
  EXPECT_NE(said.find(root + "/data/tt.pta"), std::string::npos) << said;
  struct stat st;
  ASSERT_EQ(::stat((t + "/home/.local").c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0700u);
  ASSERT_EQ(::stat((root + "/data/tt.pta").c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0600u); // a private hall of fame stays private
  EXPECT_EQ(bytesOf(root + "/data/tt.pta"), bytesOf(oldBuild + "/tt.pta"));
  EXPECT_EQ(bytesOf(root + "/data/setting.pta"), bytesOf(data + "/setting.pta"));
  setUserRoot(root);
  const int32_t kept[2] = {effectsVolume, musicVolume};
  readSettings();
  EXPECT_EQ(effectsVolume, 8000);
  EXPECT_EQ(musicVolume, 7000);
  effectsVolume = kept[0];
  musicVolume = kept[1];

  // What the player has now stays, whatever the earlier folders hold.
  writeBytes(root + "/data/tt.pta", std::vector<uint8_t>(1815, 'P'));
  writeBytes(oldBuild + "/setting.pta", std::vector<uint8_t>(16, 9));
  ASSERT_TRUE(preparePlayerFolder(root, {oldBuild, data}));
  EXPECT_EQ(bytesOf(root + "/data/tt.pta"), std::vector<uint8_t>(1815, 'P'));
  EXPECT_EQ(bytesOf(root + "/data/setting.pta"), bytesOf(data + "/setting.pta"));
  // An earlier build's settings come before the default ones; an oversized
  // tt.pta is no player file and is not taken.
  const std::string second = t + "/second";
  writeBytes(oldBuild + "/tt.pta", std::vector<uint8_t>(9000, 'A'));
  ASSERT_TRUE(preparePlayerFolder(second, {oldBuild, data}));
  EXPECT_EQ(bytesOf(second + "/data/setting.pta"), std::vector<uint8_t>(16, 9));
  EXPECT_FALSE(fs::exists(second + "/data/tt.pta"));
  // A copy never replaces a file that appears meanwhile, not even a link.
  ASSERT_EQ(::symlink("/nonexistent-target", (root + "/data/new.pta").c_str()), 0);
  errno = 0;
  EXPECT_FALSE(writeNewFile((root + "/data/new.pta").c_str(), {1, 2}));
  EXPECT_EQ(errno, EEXIST);
  EXPECT_TRUE(fs::is_symlink(root + "/data/new.pta"));
}

// A root that cannot be made says so in one line, and the game runs on: its
// writes fail, each naming the file and the reason.
TEST(PlayerFolder, AnUnusableRootIsToldAndTheGameGoesOn) {
  const std::string t = makeTempRoot();
  writeBytes(t + "/file", {1});
  const std::string root = t + "/file/pelta";
  testing::internal::CaptureStderr();
  EXPECT_FALSE(preparePlayerFolder(root, {}));
  std::string said = testing::internal::GetCapturedStderr();
  EXPECT_EQ(said, "pelta: cannot use the folder " + root +
                      "/data: Not a directory; scores, the saved game and settings will not be "
                      "kept\n");
  EXPECT_EQ(takePlayerNotices(), said.substr(7)); // for the start's message box
  startHeadless();
  setUserRoot(root);
  testing::internal::CaptureStderr();
  tapKey(VK_PRIOR);
  tapKey('T');
  runFrames(3);
  EXPECT_FALSE(writeSettings());
  said = testing::internal::GetCapturedStderr();
  EXPECT_NE(said.find("pelta: cannot write " + root + "/data/setting.pta: Not a directory\n"),
            std::string::npos)
      << said;
  EXPECT_EQ(screenState, TopTen);
}

// What a killed run left half-written goes at the next start; the files of
// this run, and any name the game does not give, stay.
TEST(TemporaryFiles, OnlyTheGamesOwnOlderThanTheRunAreRemoved) {
  const std::string root = makeTempRoot();
  const char *names[] = {"tt.pta.tmp-a1B2c3", "setting.pta.tmp-zzzzzz", "notes.tmp-abc",
                         "tt.pta.tmp-new123", "mine.txt"};
  for (const char *name : names) {
    std::ofstream(root + "/data/" + name) << "x";
  }
  const timespec old[2] = {{1000, 0}, {1000, 0}};
  for (int i = 0; i < 3; ++i) {
    utimensat(AT_FDCWD, (root + "/data/" + names[i]).c_str(), old, 0);
  }
  EXPECT_EQ(removeStaleTemporaryFiles("data", 2000), 2);
  for (int i = 0; i < 5; ++i) {
    EXPECT_EQ(fileExists((std::string("data/") + names[i]).c_str()), i >= 2) << names[i];
  }
}
