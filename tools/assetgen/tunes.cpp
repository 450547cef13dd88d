// The game's 21 tunes: 0 is the menu's signature theme, 1 … 20 play in the
// game. Each has its own key, tempo, progressions and voices; its seed draws
// its form, rhythms and groove. Each is written in the format its file name
// says.
#include "composer.h"
#include "sounds.h"
#include <cstdio>

namespace {
using V = Voice;
constexpr TuneFormat MOD = TuneFormat::Mod;
constexpr TuneFormat S3M = TuneFormat::S3m;
constexpr TuneFormat XM = TuneFormat::Xm;
constexpr TuneFormat IT = TuneFormat::It;

// The menu theme: E minor, a hook that climbs a third on its repeat, and a
// chorus that reaches up to the octave before turning on the dominant.
const char *const THEME_VERSE = "E5:3 E5:3 G5:2 B5:4 A5:2 G5:2 "
                                "A5:3 G5:3 E5:2 C6:6 B5:2 "
                                "B5:3 B5:3 D6:2 B5:4 A5:2 G5:2 "
                                "F#5:6 A5:2 G5:4 F#5:2 D5:2";
const char *const THEME_CHORUS = "B5:4 E6:4 D6:2 B5:2 G5:4 "
                                 "C6:4 E6:4 D6:2 C6:2 B5:2 G5:2 "
                                 "A5:4 C6:4 E6:4 D6:2 C6:2 "
                                 "B5:6 A5:2 F#5:4 D#5:4";

// title, format, seed, key, minor, tempo, verse, chorus, bridge, bass, lead, pad
const TuneRecipe TUNES[TUNE_COUNT] = {
    {"Pelta", XM, 1000, 4, true, 128, 5, 7, 9, V::BassSaw, V::LeadSaw, V::PadStrings, THEME_VERSE,
     THEME_CHORUS},
    {"Quiet Sector", S3M, 1001, 0, false, 118, 0, 2, 4, V::BassRound, V::LeadSquare, V::PadSoft, "",
     ""},
    {"Neon Grid", S3M, 1002, 9, true, 132, 5, 11, 9, V::BassSaw, V::LeadPulse, V::PadStrings, "",
     ""},
    {"Long Way Round", S3M, 1003, 7, false, 100, 1, 3, 4, V::BassRound, V::LeadFlute, V::PadOrgan,
     "", ""},
    {"Afterglow", XM, 1004, 5, true, 124, 6, 7, 9, V::BassSaw, V::LeadSaw, V::PadStrings, "", ""},
    {"Tin Soldiers", MOD, 1005, 2, false, 140, 3, 2, 4, V::BassSquare, V::LeadSquare, V::PadSoft,
     "", ""},
    {"Crystal Caves", MOD, 1006, 11, true, 112, 8, 7, 9, V::BassSquare, V::LeadPulse, V::PadSoft,
     "", ""},
    {"Sprint", MOD, 1007, 4, false, 150, 0, 2, 4, V::BassSaw, V::LeadSquare, V::PadSoft, "", ""},
    {"Moonlit Run", MOD, 1008, 7, true, 126, 5, 7, 9, V::BassRound, V::LeadFlute, V::PadSoft, "",
     ""},
    {"Cloud Harbour", S3M, 1009, 10, false, 108, 10, 2, 4, V::BassRound, V::LeadFlute, V::PadSoft,
     "", ""},
    {"Voltage", XM, 1010, 0, true, 138, 6, 11, 9, V::BassSquare, V::LeadSaw, V::PadOrgan, "", ""},
    {"Pixel Parade", MOD, 1011, 5, false, 130, 1, 3, 4, V::BassSquare, V::LeadPulse, V::PadSoft, "",
     ""},
    {"Deep Field", MOD, 1012, 1, true, 104, 7, 8, 9, V::BassRound, V::LeadFlute, V::PadSoft, "",
     ""},
    {"Rush Hour", MOD, 1013, 9, false, 146, 3, 0, 4, V::BassSaw, V::LeadSaw, V::PadSoft, "", ""},
    {"Night Shift", IT, 1014, 2, true, 120, 5, 7, 6, V::BassSaw, V::LeadSquare, V::PadStrings, "",
     ""},
    {"Glass Garden", S3M, 1015, 4, false, 114, 2, 0, 4, V::BassRound, V::LeadPulse, V::PadOrgan, "",
     ""},
    {"Iron Lines", MOD, 1016, 4, true, 136, 8, 11, 9, V::BassSaw, V::LeadSquare, V::PadSoft, "",
     ""},
    {"Horizon", XM, 1017, 8, false, 122, 0, 10, 4, V::BassRound, V::LeadFlute, V::PadStrings, "",
     ""},
    {"Static Storm", XM, 1018, 6, true, 144, 6, 5, 9, V::BassSquare, V::LeadPulse, V::PadSoft, "",
     ""},
    {"Homeward", MOD, 1019, 0, false, 110, 3, 1, 4, V::BassRound, V::LeadFlute, V::PadSoft, "", ""},
    {"Last Level", XM, 1020, 7, true, 156, 7, 11, 9, V::BassSaw, V::LeadSaw, V::PadStrings, "", ""},
};

const char *extensionOf(TuneFormat f) {
  switch (f) {
  case TuneFormat::Mod:
    return "mod";
  case TuneFormat::S3m:
    return "s3m";
  case TuneFormat::Xm:
    return "xm";
  case TuneFormat::It:
    return "it";
  }
  return "";
}
} // namespace

const TuneRecipe &tuneRecipe(int number) { return TUNES[number]; }

std::string tuneFileName(int number) {
  if (number < 0 || number >= TUNE_COUNT) {
    return "";
  }
  char name[16];
  std::snprintf(name, sizeof name, "xm%02d.%s", number, extensionOf(TUNES[number].format));
  return name;
}

std::vector<uint8_t> tuneBytes(int number) {
  if (number < 0 || number >= TUNE_COUNT) {
    return {};
  }
  return writeSong(composeSong(TUNES[number]), TUNES[number].format);
}
