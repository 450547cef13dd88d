// Fuzzes the reading of the ten top-ten entries from a file's content.
#include "persistence/top_ten.h"
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  TopTenEntry table[TOP_TEN_SIZE];
  std::memset(table, 0, sizeof table);
  if (parseTopTenEntries(data, size, table)) {
    for (const TopTenEntry &row : table) {
      // Every name is ten characters and its terminator, whatever the file held.
      if (std::strlen(row.name) != 10) {
        std::abort();
      }
    }
  }
  return 0;
}
