#include "audio/audio.h"
#include "common/files.h"
#include "common/notices.h"
#include "common/random.h"
#include "persistence/file_patch.h"
#include "persistence/record_code.h"
#include "persistence/saved_game.h"
#include "persistence/settings_file.h"
#include "persistence/top_ten.h"
#include "state/game_state.h"
#include "test_support.h"
#include <algorithm>
#include <cctype>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <gtest/gtest.h>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {
std::vector<uint8_t> fileBytes(const char *path) {
  std::vector<uint8_t> bytes;
  readWholeFile(path, bytes);
  return bytes;
}

void setRow(TopTenEntry *table, int row, uint32_t score, uint32_t lvl, const char *name,
            int32_t id) {
  table[row].score = score;
  table[row].level = lvl;
  std::memcpy(table[row].name, name, 11);
  table[row].gameId = id;
}

void setGame(uint32_t lvl, int32_t l, uint32_t score, int32_t id) {
  level = lvl;
  lives = l;
  totalScore = score;
  gameId = id;
}

// A fresh folder whose tt.pta has a known top ten and a saved game.
void prepareFile() {
  makeTempRoot();
  gameSrand(1);
  resetTopTenFile();
  setRow(topTenFileTable, 0, 5000, 9, "ANNA      ", 77);
  setRow(topTenFileTable, 1, 4000, 7, "BOB       ", 78);
  ASSERT_TRUE(writeTopTenFile());
  setGame(6, 3, 3210, 999);
  ASSERT_TRUE(writeSavedGame());
}
} // namespace

TEST(TopTenFile, FirstStartWritesDefaultsAndTheDefaultSavedGame) {
  makeTempRoot();
  gameSrand(42);
  setGame(7, 2, 300, 99); // the running game's values are not the default's
  loadTopTen();
  EXPECT_EQ(level, 7u);
  EXPECT_EQ(gameId, 99);
  std::vector<uint8_t> bytes = fileBytes(TOP_TEN_FILE);
  ASSERT_EQ(bytes.size(), 1815u);
  for (uint8_t b : bytes) {
    ASSERT_TRUE(std::isalnum(b));
  }
  for (int k = 0; k < TOP_TEN_SIZE; ++k) {
    EXPECT_EQ(topTenFileTable[k].score, 0u);
    EXPECT_STREQ(topTenFileTable[k].name, "..........");
    EXPECT_STREQ(topTenTable[k].name, "..........");
    EXPECT_EQ(topTenTable[k].gameId, 0);
  }
  setGame(50, 1, 777, 5);
  ASSERT_TRUE(loadSavedGame());
  EXPECT_EQ(level, 1u);
  EXPECT_EQ(lives, 5);
  EXPECT_EQ(totalScore, 0u);
  EXPECT_GT(gameId, 0);
}

TEST(TopTenFile, EachWriterKeepsEveryByteOutsideItsRange) {
  prepareFile();
  // Extra bytes behind the saved game belong to nobody and must survive.
  std::vector<uint8_t> bytes = fileBytes(TOP_TEN_FILE);
  bytes.insert(bytes.end(), {'x', 'y', 'z', 0, 255});
  ASSERT_TRUE(replaceFileAtomically(TOP_TEN_FILE, bytes));

  setRow(topTenFileTable, 2, 3000, 4, "CARL      ", 80);
  ASSERT_TRUE(writeTopTenFile());
  std::vector<uint8_t> afterTopTen = fileBytes(TOP_TEN_FILE);
  ASSERT_EQ(afterTopTen.size(), bytes.size());
  EXPECT_TRUE(std::equal(bytes.begin() + 1650, bytes.end(), afterTopTen.begin() + 1650));
  EXPECT_FALSE(std::equal(bytes.begin(), bytes.begin() + 1650, afterTopTen.begin()));

  setGame(10, 2, 100, 5);
  ASSERT_TRUE(writeSavedGame());
  std::vector<uint8_t> afterSave = fileBytes(TOP_TEN_FILE);
  ASSERT_EQ(afterSave.size(), bytes.size());
  EXPECT_TRUE(std::equal(afterTopTen.begin(), afterTopTen.begin() + 1650, afterSave.begin()));
  EXPECT_TRUE(std::equal(bytes.begin() + 1815, bytes.end(), afterSave.begin() + 1815));

  ASSERT_TRUE(readTopTenFile());
  EXPECT_STREQ(topTenFileTable[2].name, "CARL      ");
  ASSERT_TRUE(loadSavedGame());
  EXPECT_EQ(level, 11u);
}

TEST(TopTenFile, UnchangedTableWrittenTwiceDiffersButReadsTheSame) {
  prepareFile();
  std::vector<uint8_t> first = fileBytes(TOP_TEN_FILE);
  ASSERT_TRUE(writeTopTenFile());
  std::vector<uint8_t> second = fileBytes(TOP_TEN_FILE);
  EXPECT_NE(first, second);
  TopTenEntry a[TOP_TEN_SIZE];
  TopTenEntry b[TOP_TEN_SIZE];
  ASSERT_TRUE(parseTopTenEntries(first.data(), first.size(), a));
  ASSERT_TRUE(parseTopTenEntries(second.data(), second.size(), b));
  for (int k = 0; k < TOP_TEN_SIZE; ++k) {
    EXPECT_EQ(a[k].score, b[k].score);
    EXPECT_EQ(a[k].level, b[k].level);
    EXPECT_EQ(a[k].gameId, b[k].gameId);
    EXPECT_STREQ(a[k].name, b[k].name);
  }
  EXPECT_EQ(a[0].score, 5000u);
  EXPECT_EQ(a[1].gameId, 78);
  EXPECT_STREQ(a[1].name, "BOB       ");
}

// The reset stays, but what each damaged file held is kept beside it under
// a name of its own (private bits and extra bytes kept): a second damaged
// start never overwrites the first copy.
TEST(TopTenFile, DamagedStartsResetButKeepEveryDamagedCopy) {
  prepareFile();
  ASSERT_EQ(chmod(resolvePath(TOP_TEN_FILE).c_str(), 0600), 0);
  const char *kept[] = {"data/tt.pta.damaged", "data/tt.pta.damaged.1"};
  std::vector<uint8_t> damaged[2];
  for (int damage = 0; damage < 2; ++damage) {
    setGame(6, 3, 3210, 999);
    ASSERT_TRUE(writeSavedGame());
    std::vector<uint8_t> bytes = fileBytes(TOP_TEN_FILE);
    char *format = reinterpret_cast<char *>(bytes.data()) + 2 * ENTRY_FILE_LENGTH;
    if (damage == 0) {
      encodeNumberRecord(3, format); // a readable record that is not 2
    } else {
      std::memcpy(format, "---", 3); // a start code in no table
    }
    bytes.push_back('!');
    damaged[damage] = bytes;
    ASSERT_TRUE(replaceFileAtomically(TOP_TEN_FILE, bytes));
    testing::internal::CaptureStderr();
    loadTopTen();
    const std::string said = testing::internal::GetCapturedStderr();
    EXPECT_NE(said.find(std::string(kept[damage]) + "\n"), std::string::npos) << said;
    struct stat st;
    ASSERT_EQ(stat(resolvePath(kept[damage]).c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);
    for (int k = 0; k < TOP_TEN_SIZE; ++k) {
      EXPECT_EQ(topTenFileTable[k].score, 0u);
      EXPECT_STREQ(topTenTable[k].name, "..........");
    }
    ASSERT_TRUE(loadSavedGame());
    EXPECT_EQ(level, 1u);
    EXPECT_EQ(totalScore, 0u);
    EXPECT_EQ(fileBytes(TOP_TEN_FILE).back(), '!');
  }
  EXPECT_EQ(fileBytes(kept[0]), damaged[0]);
  EXPECT_EQ(fileBytes(kept[1]), damaged[1]);
  // An intact file is nobody's business: nothing is kept, nothing said.
  testing::internal::CaptureStderr();
  loadTopTen();
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
  EXPECT_FALSE(fileExists("data/tt.pta.damaged.2"));
}

// What cannot be read is not damaged: a file that is no regular file of a
// few kilobytes (a FIFO would block a reader, /dev/zero never ends), or whose
// read fails (EIO, EACCES, a descriptor limit), is left exactly as it is by
// every writer and by the start-up, which tells the player (the message box
// of the start) and keeps the defaults in memory only. The hold lasts the
// run, even when the file could be read again later.
TEST(PlayerFiles, UnreadableFilesAreLeftUntouchedAndThePlayerIsTold) {
  enum Kind { Fifo, LinkToZero, Oversized, ReadFails, NoDescriptors };
  auto failingRead = [](int, void *, size_t) -> ssize_t {
    errno = EIO;
    return -1;
  };
  const char *reasons[] = {"not a regular file", "not a regular file", "larger than",
                           "Input/output error", "Too many open files"};
  for (Kind kind : {Fifo, LinkToZero, Oversized, ReadFails, NoDescriptors}) {
    for (const char *path : {TOP_TEN_FILE, SETTINGS_FILE}) {
      SCOPED_TRACE(std::string(path) + " kind " + std::to_string(kind));
      prepareFile();
      effectsVolume = 1234;
      ASSERT_TRUE(writeSettings());
      const std::string real = resolvePath(path);
      std::vector<uint8_t> before = fileBytes(path);
      if (kind == Fifo || kind == LinkToZero) {
        std::remove(real.c_str());
        ASSERT_EQ(kind == Fifo ? mkfifo(real.c_str(), 0644) : symlink("/dev/zero", real.c_str()),
                  0);
      } else if (kind == Oversized) {
        before.resize(PLAYER_FILE_MAX_BYTES + 1, 'x');
        ASSERT_TRUE(replaceFileAtomically(path, before));
      }
      struct rlimit limit {};
      getrlimit(RLIMIT_NOFILE, &limit);
      const rlimit saved = limit;
      std::vector<int> spare;
      // The start reads its files as the game does: settings, then the top ten.
      const bool isTopTen = std::strcmp(path, TOP_TEN_FILE) == 0;
      takePlayerNotices();
      testing::internal::CaptureStderr();
      if (kind == ReadFails) {
        fileCalls.read = failingRead;
      } else if (kind == NoDescriptors) {
        // Every descriptor below a tight limit in use: the next open fails.
        limit.rlim_cur = 64;
        ASSERT_EQ(setrlimit(RLIMIT_NOFILE, &limit), 0);
        for (int fd; (fd = ::open("/dev/null", O_RDONLY)) >= 0;) {
          spare.push_back(fd);
        }
      }
      effectsVolume = 77;
      isTopTen ? loadTopTen() : readSettings();
      fileCalls = SYSTEM_FILE_CALLS;
      for (int fd : spare) {
        ::close(fd);
      }
      setrlimit(RLIMIT_NOFILE, &saved);
      const std::string said = testing::internal::GetCapturedStderr();
      const std::string notices = takePlayerNotices();
      EXPECT_NE(notices.find(real + " cannot be read"), std::string::npos) << notices;
      EXPECT_NE(notices.find(reasons[kind]), std::string::npos) << notices;
      EXPECT_NE(said.find(real + " cannot be read"), std::string::npos) << said;
      EXPECT_EQ(said.find("damaged"), std::string::npos) << said;
      EXPECT_EQ(effectsVolume, 77);
      // Readable again now, yet every writer leaves it alone for the run.
      EXPECT_FALSE(isTopTen ? writeTopTenFile() : writeSettings());
      EXPECT_EQ(writeSavedGame(), !isTopTen);
      EXPECT_EQ(writeSettings(), isTopTen);
      struct stat st;
      ASSERT_EQ(lstat(real.c_str(), &st), 0);
      if (kind == Fifo) {
        EXPECT_TRUE(S_ISFIFO(st.st_mode));
      } else if (kind == LinkToZero) {
        EXPECT_TRUE(S_ISLNK(st.st_mode));
      } else {
        EXPECT_EQ(fileBytes(path), before);
      }
      EXPECT_FALSE(fileExists("data/tt.pta.damaged"));
    }
  }
  fileCalls = SYSTEM_FILE_CALLS;
}

// A tt.pta its player may not read (mode 000) is kept, not called damaged.
// Root reads anything, so as root the start runs as user "nobody" (65534).
TEST(PlayerFiles, AFileWithoutReadPermissionIsLeftUntouched) {
  prepareFile();
  const std::vector<uint8_t> before = fileBytes(TOP_TEN_FILE);
  const std::string real = resolvePath(TOP_TEN_FILE);
  ASSERT_EQ(chmod(real.c_str(), 0), 0);
  auto start = [] {
    takePlayerNotices();
    loadTopTen();
    return takePlayerNotices().find("Permission denied") != std::string::npos &&
           !writeTopTenFile() && !writeSavedGame() && !fileExists("data/tt.pta.damaged");
  };
  if (::getuid() != 0) {
    EXPECT_TRUE(start());
  } else {
    for (const std::string &p : {userRoot(), userRoot() + "/data", real}) {
      ASSERT_EQ(chown(p.c_str(), 65534, 65534), 0);
    }
    const pid_t child = fork();
    if (child == 0) {
      _exit(setgid(65534) == 0 && setuid(65534) == 0 && start() ? 0 : 1);
    }
    int status = 0;
    waitpid(child, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  }
  ASSERT_EQ(chmod(real.c_str(), 0600), 0);
  EXPECT_EQ(fileBytes(TOP_TEN_FILE), before);
}

// A player's file linked into a synced folder stays a link (relative or
// absolute), and its target gets the new content.
TEST(PlayerFiles, ALinkedFileIsWrittenThroughItsLink) {
  prepareFile();
  ASSERT_TRUE(writeSettings());
  const std::string synced = userRoot() + "/synced";
  ASSERT_TRUE(makeDirectories(synced));
  for (const char *path : {TOP_TEN_FILE, SETTINGS_FILE}) {
    const std::string name = std::string(path).substr(5);
    ASSERT_EQ(std::rename(resolvePath(path).c_str(), (synced + "/" + name).c_str()), 0);
    const std::string link = path == TOP_TEN_FILE ? "../synced/" + name : synced + "/" + name;
    ASSERT_EQ(symlink(link.c_str(), resolvePath(path).c_str()), 0);
  }
  setRow(topTenFileTable, 0, 9999, 12, "LINKED    ", 5);
  ASSERT_TRUE(writeTopTenFile());
  effectsVolume = 4321;
  ASSERT_TRUE(writeSettings());
  struct stat st;
  for (const char *path : {TOP_TEN_FILE, SETTINGS_FILE}) {
    ASSERT_EQ(lstat(resolvePath(path).c_str(), &st), 0);
    EXPECT_TRUE(S_ISLNK(st.st_mode)) << path;
  }
  ASSERT_TRUE(readTopTenFile());
  EXPECT_EQ(topTenFileTable[0].score, 9999u);
  effectsVolume = 0;
  readSettings();
  EXPECT_EQ(effectsVolume, 4321);
  EXPECT_EQ(listFolder("synced").size(), 2u); // no temporary file left
}

TEST(TopTenFile, ShortOrMissingFileIsNotATopTen) {
  makeTempRoot();
  EXPECT_FALSE(readTopTenFile());
  prepareFile();
  std::vector<uint8_t> bytes = fileBytes(TOP_TEN_FILE);
  bytes.resize(1649);
  ASSERT_TRUE(replaceFileAtomically(TOP_TEN_FILE, bytes));
  EXPECT_FALSE(readTopTenFile());
  bytes.resize(1650 - 165);
  TopTenEntry table[TOP_TEN_SIZE];
  EXPECT_FALSE(parseTopTenEntries(bytes.data(), bytes.size(), table));
}

TEST(TopTenRank, TiesRankBelowAndZeroNeverRanks) {
  for (int k = 0; k < TOP_TEN_SIZE; ++k) {
    setRow(topTenFileTable, k, 1000 - 100 * k, 3, "ROW       ", k + 1);
  }
  gameLoaded = 0;
  setGame(4, 0, 800, 123);
  findTopTenRank();
  EXPECT_EQ(topTenRank, 3); // equal to row 2: below it
  setGame(4, 0, 801, 123);
  findTopTenRank();
  EXPECT_EQ(topTenRank, 2);
  setGame(4, 0, 101, 123);
  findTopTenRank();
  EXPECT_EQ(topTenRank, 9);
  setGame(4, 0, 100, 123);
  findTopTenRank();
  EXPECT_EQ(topTenRank, 10);
  setRow(topTenFileTable, 9, 0, 0, "..........", 0);
  setGame(4, 0, 0, 123);
  findTopTenRank();
  EXPECT_EQ(topTenRank, 10);
  setGame(4, 0, 4294967295u, 123);
  findTopTenRank();
  EXPECT_EQ(topTenRank, 0);
}

TEST(TopTenRank, AContinuedGameGetsInOnlyOnce) {
  for (int k = 0; k < TOP_TEN_SIZE; ++k) {
    setRow(topTenFileTable, k, 0, 0, "..........", 0);
  }
  setRow(topTenFileTable, 0, 900, 8, "SAVER     ", 555);
  setGame(8, 0, 900, 555);
  gameLoaded = 1;
  findTopTenRank();
  EXPECT_EQ(topTenRank, 10); // the same result of the same saved game
  setGame(9, 0, 900, 555);
  findTopTenRank();
  EXPECT_EQ(topTenRank, 1); // got further: ranks as usual
  gameLoaded = 0;
  setGame(8, 0, 900, 555);
  findTopTenRank();
  EXPECT_EQ(topTenRank, 1); // a new game with the same numbers ranks
}

TEST(TopTenRank, InsertionAtTheTopAndAtTheBottom) {
  for (int k = 0; k < TOP_TEN_SIZE; ++k) {
    char name[11];
    std::snprintf(name, sizeof name, "ROW%d      ", k);
    setRow(topTenTable, k, 1000 - 100 * k, 3, name, k + 1);
  }
  setGame(12, 0, 5000, 42);
  topTenRank = 0;
  insertTopTenEntry();
  EXPECT_EQ(topTenTable[0].score, 5000u);
  EXPECT_EQ(topTenTable[0].level, 12u);
  EXPECT_EQ(topTenTable[0].gameId, 42);
  EXPECT_STREQ(topTenTable[0].name, "ROW0      "); // until the name is typed
  for (int k = 1; k < TOP_TEN_SIZE; ++k) {
    EXPECT_EQ(topTenTable[k].score, 1000u - 100u * (k - 1)) << k;
    EXPECT_EQ(topTenTable[k].gameId, k);
  }
  EXPECT_STREQ(topTenTable[9].name, "ROW8      ");

  setGame(2, 0, 150, 43);
  topTenRank = 9;
  insertTopTenEntry();
  EXPECT_EQ(topTenTable[9].score, 150u);
  EXPECT_EQ(topTenTable[9].gameId, 43);
  EXPECT_EQ(topTenTable[8].score, 300u);

  copyTopTen(false);
  EXPECT_EQ(topTenFileTable[0].score, 5000u);
  EXPECT_STREQ(topTenFileTable[9].name, "ROW8      ");
}

TEST(SavedGame, SavedAfterLevelSevenContinuesAtEight) {
  prepareFile();
  setGame(7, 3, 123456, 31337);
  ASSERT_TRUE(writeSavedGame());
  setGame(1, 5, 0, 1);
  ASSERT_TRUE(loadSavedGame());
  EXPECT_EQ(level, 8u);
  EXPECT_EQ(lives, 3);
  EXPECT_EQ(totalScore, 123456u);
  EXPECT_EQ(gameId, 31337);
  // Loading does not remove it.
  setGame(1, 5, 0, 1);
  ASSERT_TRUE(loadSavedGame());
  EXPECT_EQ(level, 8u);

  setGame(200, 1, 4294967295u, -5);
  ASSERT_TRUE(writeSavedGame());
  ASSERT_TRUE(loadSavedGame());
  EXPECT_EQ(level, 200u);
  EXPECT_EQ(totalScore, 4294967295u);
  EXPECT_EQ(gameId, -5);
}

TEST(SavedGame, UnreadableSavedGamesChangeNothing) {
  prepareFile();
  std::vector<uint8_t> whole = fileBytes(TOP_TEN_FILE);
  std::vector<uint8_t> onlyEntries(whole.begin(), whole.begin() + 1650);
  ASSERT_TRUE(replaceFileAtomically(TOP_TEN_FILE, onlyEntries));
  setGame(3, 4, 55, 66);
  EXPECT_FALSE(loadSavedGame());
  EXPECT_EQ(level, 3u);
  EXPECT_EQ(lives, 4);
  EXPECT_EQ(totalScore, 55u);
  EXPECT_EQ(gameId, 66);

  // Values the game cannot play: levels 0 and 201, no lives, negative lives.
  SavedGame bad[] = {{10, 0, 3, 1}, {10, 201, 3, 1}, {10, 5, 0, 1}, {10, 5, -2, 1}};
  for (const SavedGame &game : bad) {
    std::vector<uint8_t> bytes = whole;
    encodeSavedGame(game, bytes.data() + SAVED_GAME_OFFSET);
    SavedGame read{};
    EXPECT_FALSE(parseSavedGame(bytes.data(), bytes.size(), &read))
        << game.level << " " << game.lives;
  }
  // A damaged start code in any record of the saved game.
  for (int record = 0; record < 5; ++record) {
    std::vector<uint8_t> bytes = whole;
    std::memcpy(bytes.data() + SAVED_GAME_OFFSET + 33 * record, "___", 3);
    SavedGame read{};
    EXPECT_FALSE(parseSavedGame(bytes.data(), bytes.size(), &read)) << record;
  }
  SavedGame read{};
  ASSERT_TRUE(parseSavedGame(whole.data(), whole.size(), &read));
  EXPECT_EQ(read.level, 7u);
  EXPECT_EQ(read.lives, 3);
}

TEST(SavedGame, WriteIntoAnUnwritableFolderReportsFailure) {
  setUserRoot("/nonexistent-pelta-folder");
  setGame(5, 2, 10, 11);
  testing::internal::CaptureStderr();
  EXPECT_FALSE(writeSavedGame());
  EXPECT_FALSE(writeTopTenFile());
  // Each failed write is told, naming the file and the reason.
  const std::string line =
      "pelta: cannot write /nonexistent-pelta-folder/data/tt.pta: No such file or directory\n";
  EXPECT_EQ(testing::internal::GetCapturedStderr(), line + line);
  EXPECT_FALSE(loadSavedGame());
  makeTempRoot();
  // A saved game into a missing file pads the entries with zero bytes, which
  // then read as no top ten; the saved game itself reads back.
  ASSERT_TRUE(writeSavedGame());
  EXPECT_EQ(fileBytes(TOP_TEN_FILE).size(), 1815u);
  EXPECT_FALSE(readTopTenFile());
  ASSERT_TRUE(loadSavedGame());
  EXPECT_EQ(level, 6u);
}

namespace {
std::vector<std::string> callLog;
int failing = -1; // which call of the replace fails: 0 write, 1 fsync, 2 rename

std::vector<std::string> folderEntries() {
  std::vector<std::string> names;
  for (const auto &entry : std::filesystem::directory_iterator(resolvePath("data"))) {
    names.push_back(entry.path().filename().string());
  }
  std::sort(names.begin(), names.end());
  return names;
}
} // namespace

// The temporary file is flushed before it is renamed over the old one; a
// failing write, flush or rename leaves the old file and no leftover; a link
// planted where a temporary file used to go is not written through; the new
// file keeps the old one's permission bits.
TEST(CrashSafety, FlushComesBeforeRenameAndEveryFailureLeavesTheOldFile) {
  fileCalls.write = [](int fd, const void *data, size_t size) -> ssize_t {
    callLog.push_back("write " + std::to_string(fd));
    if (failing == 0) {
      errno = ENOSPC;
      return -1;
    }
    return SYSTEM_FILE_CALLS.write(fd, data, size);
  };
  fileCalls.fsync = [](int fd) {
    callLog.push_back("fsync " + std::to_string(fd));
    return failing == 1 ? (errno = EIO, -1) : SYSTEM_FILE_CALLS.fsync(fd);
  };
  fileCalls.rename = [](const char *from, const char *to) {
    callLog.push_back("rename");
    return failing == 2 ? (errno = EXDEV, -1) : SYSTEM_FILE_CALLS.rename(from, to);
  };
  for (int fault = -1; fault <= 2; ++fault) {
    SCOPED_TRACE("failing call " + std::to_string(fault));
    prepareFile();
    const std::string victim = resolvePath("victim");
    ASSERT_EQ(symlink(victim.c_str(), resolvePath("data/tt.pta.tmp").c_str()), 0);
    ASSERT_EQ(chmod(resolvePath(TOP_TEN_FILE).c_str(), 0600), 0);
    const std::vector<uint8_t> before = fileBytes(TOP_TEN_FILE);
    const std::vector<std::string> entries = folderEntries();
    callLog.clear();
    failing = fault;
    setRow(topTenFileTable, 0, 1, 1, "NEW       ", 1);
    EXPECT_EQ(writeTopTenFile(), fault < 0);
    failing = -1;
    EXPECT_EQ(folderEntries(), entries); // no temporary file left behind
    EXPECT_FALSE(fileExists("victim"));
    EXPECT_EQ(fileBytes(TOP_TEN_FILE) == before, fault >= 0);
    struct stat st;
    ASSERT_EQ(stat(resolvePath(TOP_TEN_FILE).c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);
    if (fault < 0) {
      // The flush of the written file comes before the rename.
      ASSERT_FALSE(callLog.empty());
      const std::string written = callLog.front().substr(6);
      auto flushed = std::find(callLog.begin(), callLog.end(), "fsync " + written);
      auto renamed = std::find(callLog.begin(), callLog.end(), "rename");
      EXPECT_LT(flushed, renamed) << ::testing::PrintToString(callLog);
      EXPECT_NE(renamed, callLog.end());
    }
  }
  fileCalls = SYSTEM_FILE_CALLS;
  // A new file gets what the umask leaves of 0644.
  makeTempRoot();
  const mode_t mask = umask(022);
  ASSERT_TRUE(writeSettings());
  umask(mask);
  struct stat st;
  ASSERT_EQ(stat(resolvePath(SETTINGS_FILE).c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0644u);
}

TEST(CrashSafety, KillBetweenWriteAndRenameLeavesTheOldFile) {
  prepareFile();
  std::vector<uint8_t> before = fileBytes(TOP_TEN_FILE);
  pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    beforeReplaceHook = [] { raise(SIGKILL); };
    setRow(topTenFileTable, 0, 99999, 99, "INTRUDER  ", 1);
    writeTopTenFile();
    setGame(100, 1, 1, 1);
    writeSavedGame();
    _exit(0);
  }
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFSIGNALED(status));
  EXPECT_EQ(WTERMSIG(status), SIGKILL);
  EXPECT_EQ(fileBytes(TOP_TEN_FILE), before);
  ASSERT_TRUE(readTopTenFile());
  EXPECT_STREQ(topTenFileTable[0].name, "ANNA      ");
  ASSERT_TRUE(loadSavedGame());
  EXPECT_EQ(level, 7u);
  // The next write goes through despite the leftover temporary file.
  ASSERT_TRUE(writeTopTenFile());
  ASSERT_TRUE(readTopTenFile());
}
