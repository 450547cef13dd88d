// SPDX-License-Identifier: MIT
// The fields of a replay's check and end lines after the frame, in the order
// the line holds them. One table serves writing, reading, comparing and
// taking the values from the running game, so a new field is one new row.
#pragma once
#include "replay/replay_file.h"
#include <cstddef>
#include <cstdint>

struct CheckField {
  const char *name;     // names the field in the line's usage and in a difference
  int64_t low, high;    // what the game can hold there; a value beyond is damage
  bool crc;             // written as 8 lowercase hexadecimal digits
  const char *covers;   // what a differing CRC stands for ("" for none)
  int64_t (*get)(const ReplayCheck &);
  void (*set)(ReplayCheck &, int64_t);
  // The running game's value; `whites` as for currentCheck.
  int64_t (*current)(uint32_t whites);
};

extern const CheckField CHECK_FIELDS[];
extern const size_t CHECK_FIELD_COUNT;
