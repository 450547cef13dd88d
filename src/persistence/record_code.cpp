// Encoding and decoding of scrambled records and of the ten-digit numbers
// they usually carry.
#include "persistence/record_code.h"
#include "common/format.h"
#include "common/random.h"
#include <cstring>

int findCode(const char *table, const char *text, int pos) {
  const char *code = text + pos;
  for (int i = 0; i < 256; ++i) {
    const char *candidate = table + CODE_LENGTH * i;
    if (candidate[0] == code[0] && candidate[1] == code[1] && candidate[2] == code[2]) {
      return i;
    }
  }
  return CODE_NOT_FOUND;
}

void encodeRecord(const uint8_t *data, char *out) {
  // The table is drawn before the start value; both come from the one generator.
  const char *table = codeTables[gameRand() % CODE_TABLE_COUNT];
  uint32_t s = static_cast<uint32_t>(gameRand()) % 256;
  std::memcpy(out, table + CODE_LENGTH * s, CODE_LENGTH);
  for (int i = 0; i < RECORD_DATA_LENGTH; ++i) {
    s = (s + data[i]) % 256;
    std::memcpy(out + CODE_LENGTH * (i + 1), table + CODE_LENGTH * s, CODE_LENGTH);
  }
}

bool decodeRecord(const char *text, uint8_t *out) {
  const char *table = nullptr;
  int p = CODE_NOT_FOUND;
  for (int k = 0; k < CODE_TABLE_COUNT && table == nullptr; ++k) {
    p = findCode(codeTables[k], text, 0);
    if (p != CODE_NOT_FOUND) {
      table = codeTables[k];
    }
  }
  if (table == nullptr) {
    std::memset(out, 0, RECORD_DATA_LENGTH);
    return false;
  }
  bool allFound = true;
  for (int j = 1; j <= RECORD_DATA_LENGTH; ++j) {
    // A later code missing from the table still counts, as the number 1000,
    // so the bytes after it decode the same; but it marks the record as
    // damaged: its byte could even come out as 0 and cut a name short.
    int v = findCode(table, text, CODE_LENGTH * j);
    allFound = allFound && v != CODE_NOT_FOUND;
    int d = v - p;
    if (v < p) {
      d += 256;
    }
    if (d == 0) {
      d = 255; // two equal codes in a row: a plain zero never comes back
    }
    out[j - 1] = static_cast<uint8_t>(d);
    p = v;
  }
  return allFound;
}

void formatRecordNumber(uint32_t value, uint8_t *out) {
  char digits[16];
  formatInto(digits, sizeof digits, "%.10lu", {value});
  std::memcpy(out, digits, RECORD_DATA_LENGTH);
}

uint32_t parseRecordNumber(const uint8_t *bytes) {
  uint32_t value = 0;
  for (int i = 0; i < RECORD_DATA_LENGTH; ++i) {
    // Each byte counts as a signed byte, the reading of parseDecimal.
    value = value * 10u +
            static_cast<uint32_t>(static_cast<int32_t>(static_cast<int8_t>(bytes[i])) - 48);
  }
  return value;
}

void encodeNumberRecord(uint32_t value, char *out) {
  uint8_t plain[RECORD_DATA_LENGTH];
  formatRecordNumber(value, plain);
  encodeRecord(plain, out);
}

bool decodeNumberRecord(const char *text, uint32_t *value) {
  uint8_t plain[RECORD_DATA_LENGTH];
  bool ok = decodeRecord(text, plain);
  *value = parseRecordNumber(plain);
  return ok;
}
