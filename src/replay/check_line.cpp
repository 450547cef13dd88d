// SPDX-License-Identifier: MIT
// The check line's field table; see check_line.h.
#include "replay/check_line.h"
#include "common/checksum.h"
#include "playfield/grid.h"
#include "replay/game_values.h"
#include "state/game_state.h"
#include "state/screen_state.h"

#define CHECK_FIELD(field, low, high, crc, covers, now)                                            \
  CheckField {                                                                                     \
    #field, low, high, crc, covers, [](const ReplayCheck &c) -> int64_t { return c.field; },       \
        [](ReplayCheck &c, int64_t v) { c.field = static_cast<decltype(c.field)>(v); },            \
        [](uint32_t whites) -> int64_t {                                                           \
          (void)whites;                                                                            \
          return now;                                                                              \
        }                                                                                          \
  }

const CheckField CHECK_FIELDS[] = {
    CHECK_FIELD(screen, 0, UINT8_MAX, false, "", screenState),
    CHECK_FIELD(level, 1, MAX_LEVEL, false, "", level),
    CHECK_FIELD(lives, INT32_MIN, INT32_MAX, false, "", lives),
    CHECK_FIELD(totalScore, 0, UINT32_MAX, false, "", totalScore),
    CHECK_FIELD(capturedCells, 0, UINT32_MAX, false, "", capturedCells),
    CHECK_FIELD(gridCrc, 0, UINT32_MAX, true, "",
                playfield != nullptr ? crc32(playfield, GRID_BYTES) : 0),
    CHECK_FIELD(stateCrc, 0, UINT32_MAX, true,
                " (the generator, the player, the enemies, the items or the sound settings)",
                stateChecksum(whites)),
};
#undef CHECK_FIELD
const size_t CHECK_FIELD_COUNT = sizeof CHECK_FIELDS / sizeof CHECK_FIELDS[0];
