#include "common/random.h"
#include "persistence/record_code.h"
#include <cctype>
#include <cstring>
#include <gtest/gtest.h>
#include <set>
#include <string>

namespace {
std::string codeOf(int table, int number) { return std::string(codeTables[table] + 3 * number, 3); }

int tablesHolding(const char *code) {
  int count = 0;
  for (int t = 0; t < CODE_TABLE_COUNT; ++t) {
    count += findCode(codeTables[t], code, 0) != CODE_NOT_FOUND;
  }
  return count;
}

// A three-character code from the alphabet that stands in no table.
std::string unknownCode() {
  const char *alphabet = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
  for (int a = 0; a < 62; ++a) {
    for (int b = 0; b < 62; ++b) {
      std::string code = {alphabet[a], alphabet[b], 'z'};
      if (tablesHolding(code.c_str()) == 0) {
        return code;
      }
    }
  }
  return "";
}
} // namespace

TEST(CodeTables, HoldTwelveHundredEightyDifferentCodesOfLettersAndDigits) {
  std::set<std::string> codes;
  for (int t = 0; t < CODE_TABLE_COUNT; ++t) {
    ASSERT_EQ(std::strlen(codeTables[t]), 768u);
    for (int i = 0; i < 768; ++i) {
      EXPECT_TRUE(std::isalnum(static_cast<unsigned char>(codeTables[t][i]))) << t << " " << i;
    }
    for (int i = 0; i < 256; ++i) {
      codes.insert(codeOf(t, i));
      EXPECT_EQ(findCode(codeTables[t], codeTables[t], 3 * i), i);
    }
  }
  EXPECT_EQ(codes.size(), 1280u);
}

// Every table and start value, every plain byte 1..127 at every position: a
// record of ten equal bytes b starting at s visits s + i*b at position i, so
// over all s each position sees every previous code, wrap past 255 included.
TEST(RecordCode, EveryByteSurvivesEveryTableStartAndPosition) {
  // Seeds that make the two draws pick each (table, start) pair.
  int seedFor[CODE_TABLE_COUNT][256];
  std::memset(seedFor, -1, sizeof seedFor);
  int found = 0;
  for (int seed = 0; found < CODE_TABLE_COUNT * 256; ++seed) {
    gameSrand(static_cast<uint32_t>(seed));
    int t = gameRand() % 5;
    int s = gameRand() % 256;
    if (seedFor[t][s] < 0) {
      seedFor[t][s] = seed;
      ++found;
    }
  }
  for (int t = 0; t < CODE_TABLE_COUNT; ++t) {
    for (int s = 0; s < 256; ++s) {
      for (int b = 1; b <= 127; ++b) {
        uint8_t plain[10];
        std::memset(plain, b, sizeof plain);
        char text[RECORD_TEXT_LENGTH];
        gameSrand(static_cast<uint32_t>(seedFor[t][s]));
        encodeRecord(plain, text);
        // The table is drawn first, then the start value.
        ASSERT_EQ(std::string(text, 3), codeOf(t, s));
        ASSERT_EQ(std::string(text + 30, 3), codeOf(t, (s + 10 * b) % 256));
        uint8_t back[10];
        ASSERT_TRUE(decodeRecord(text, back));
        ASSERT_EQ(std::memcmp(back, plain, 10), 0)
            << "table " << t << " start " << s << " byte " << b;
      }
    }
  }
}

TEST(RecordCode, OutputIsLettersAndDigitsAndDiffersFromWriteToWrite) {
  gameSrand(77);
  const uint8_t plain[10] = {'0', '0', '0', '0', '0', '1', '2', '3', '4', '5'};
  char first[RECORD_TEXT_LENGTH];
  char second[RECORD_TEXT_LENGTH];
  encodeRecord(plain, first);
  encodeRecord(plain, second);
  for (int i = 0; i < RECORD_TEXT_LENGTH; ++i) {
    EXPECT_TRUE(std::isalnum(static_cast<unsigned char>(first[i])));
  }
  EXPECT_EQ(tablesHolding(first), 1);
  EXPECT_NE(std::string(first, 33), std::string(second, 33));
  uint8_t a[10];
  uint8_t b[10];
  ASSERT_TRUE(decodeRecord(first, a));
  ASSERT_TRUE(decodeRecord(second, b));
  EXPECT_EQ(std::memcmp(a, plain, 10), 0);
  EXPECT_EQ(std::memcmp(b, plain, 10), 0);
}

TEST(RecordCode, RepeatedCodeDecodesAs255AndAnUnknownStartIsDamage) {
  std::string text;
  for (int i = 0; i < 11; ++i) {
    text += codeOf(3, 200);
  }
  uint8_t out[10];
  ASSERT_TRUE(decodeRecord(text.c_str(), out));
  for (uint8_t byte : out) {
    EXPECT_EQ(byte, 255);
  }

  std::string unknown = unknownCode();
  ASSERT_EQ(unknown.size(), 3u);
  text.replace(0, 3, unknown);
  EXPECT_FALSE(decodeRecord(text.c_str(), out));
  uint32_t value = 12345;
  EXPECT_FALSE(decodeNumberRecord(text.c_str(), &value));

  // A later code missing from the table counts as the number 1000 and marks
  // the record as damaged; here its byte even comes out as 0.
  std::string later = codeOf(1, 232) + unknown + codeOf(1, 20);
  for (int i = 3; i < 11; ++i) {
    later += codeOf(1, 20);
  }
  EXPECT_FALSE(decodeRecord(later.c_str(), out));
  EXPECT_EQ(out[0], 0);
  EXPECT_EQ(out[1], (20 - 1000 + 256) & 0xFF);
  EXPECT_EQ(out[2], 255);
}

TEST(RecordNumbers, TenDigitsAndAWrappingReadBack) {
  uint8_t digits[10];
  formatRecordNumber(12345, digits);
  EXPECT_EQ(std::string(reinterpret_cast<char *>(digits), 10), "0000012345");
  formatRecordNumber(4294967295u, digits);
  EXPECT_EQ(std::string(reinterpret_cast<char *>(digits), 10), "4294967295");
  EXPECT_EQ(parseRecordNumber(digits), 4294967295u);
  const uint8_t nines[10] = {'9', '9', '9', '9', '9', '9', '9', '9', '9', '9'};
  EXPECT_EQ(parseRecordNumber(nines), static_cast<uint32_t>(9999999999ull));
  // Bytes that are not digits count as they come, as signed bytes.
  const uint8_t odd[10] = {'0', '0', '0', '0', '0', '0', '0', '0', '0', 200};
  EXPECT_EQ(parseRecordNumber(odd), static_cast<uint32_t>(-56 - 48));
  gameSrand(5);
  char text[RECORD_TEXT_LENGTH];
  encodeNumberRecord(2, text);
  uint32_t value = 0;
  ASSERT_TRUE(decodeNumberRecord(text, &value));
  EXPECT_EQ(value, 2u);
}
