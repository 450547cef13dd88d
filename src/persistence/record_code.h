// Record scrambling: ten plain bytes become 33 letters and digits (a start
// code and one code per byte, from one of five fixed code tables), and back.
#pragma once
#include <cstdint>

constexpr int RECORD_DATA_LENGTH = 10;
constexpr int CODE_LENGTH = 3;
constexpr int RECORD_TEXT_LENGTH = 33;
constexpr int CODE_NOT_FOUND = 1000;
constexpr int CODE_TABLE_COUNT = 5;
constexpr int CODE_TABLE_LENGTH = 768; // 256 codes of 3 characters
constexpr uint32_t FORMAT_NUMBER = 2;

// The five tables, fixed for good: files written with other tables cannot
// be read. Within a table and across tables every code is different.
extern const char codeTables[CODE_TABLE_COUNT][CODE_TABLE_LENGTH + 1];

// Number (0..255) of the code in `table` equal to text[pos..pos+2], searched
// from code 0 upwards; CODE_NOT_FOUND when none is.
int findCode(const char *table, const char *text, int pos);
// Scrambles 10 bytes into exactly 33 characters (no terminator). Draws the
// table and then the start value from the game's generator.
void encodeRecord(const uint8_t *data, char *out);
// Unscrambles 33 characters into 10 bytes. False when the record is damaged:
// its start code stands in no table (10 zero bytes then), or a later code is
// missing from the start code's table (the bytes are still worked out, with
// the missing code counted as 1000). A record that decodes true never holds 0.
bool decodeRecord(const char *text, uint8_t *out);

// A value as ten decimal digits with leading zeros, no terminator.
void formatRecordNumber(uint32_t value, uint8_t *out);
// Ten decoded bytes read back as a decimal number: sum of (b - 48) * 10^(9-i),
// b taken as a signed byte,
// in wrapping 32-bit arithmetic; no byte is rejected.
uint32_t parseRecordNumber(const uint8_t *bytes);
// Encodes one number record straight into out (33 characters).
void encodeNumberRecord(uint32_t value, char *out);
// Decodes one number record; false when the record is damaged.
bool decodeNumberRecord(const char *text, uint32_t *value);
