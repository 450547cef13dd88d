#include "common/files.h"
#include "common/random.h"
#include "persistence/record_code.h"
#include "persistence/saved_game.h"
#include "persistence/top_ten.h"
#include "state/game_state.h"
#include "test_support.h"
#include <cctype>
#include <csignal>
#include <cstring>
#include <gtest/gtest.h>
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

TEST(TopTenFile, DamagedThirdEntryResetsEverythingIncludingTheSavedGame) {
  for (int damage = 0; damage < 2; ++damage) {
    prepareFile();
    std::vector<uint8_t> bytes = fileBytes(TOP_TEN_FILE);
    char *format = reinterpret_cast<char *>(bytes.data()) + 2 * ENTRY_FILE_LENGTH;
    if (damage == 0) {
      encodeNumberRecord(3, format); // a readable record that is not 2
    } else {
      std::memcpy(format, "---", 3); // a start code in no table
    }
    ASSERT_TRUE(replaceFileAtomically(TOP_TEN_FILE, bytes));
    loadTopTen();
    for (int k = 0; k < TOP_TEN_SIZE; ++k) {
      EXPECT_EQ(topTenFileTable[k].score, 0u);
      EXPECT_STREQ(topTenTable[k].name, "..........");
    }
    ASSERT_TRUE(loadSavedGame());
    EXPECT_EQ(level, 1u);
    EXPECT_EQ(totalScore, 0u);
  }
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
  setFileRoot("/nonexistent-pelta-folder");
  setGame(5, 2, 10, 11);
  EXPECT_FALSE(writeSavedGame());
  EXPECT_FALSE(writeTopTenFile());
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
