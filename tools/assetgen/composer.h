// The tune composer: from a few choices (key, mode, tempo, progressions,
// groove, voices) it writes a song with an intro, verses, choruses and a
// bridge that loops back to its start without a seam.
#pragma once
#include "instruments.h"
#include "song.h"

struct TuneRecipe {
  const char *title;
  TuneFormat format;
  uint32_t seed;
  int32_t key;         // pitch class of the tonic, 0 = C
  bool minor;
  int32_t tempo;       // beats per minute (speed 6, four rows a beat)
  int32_t verse;       // progression numbers (see composer.cpp)
  int32_t chorus;
  int32_t bridge;
  int32_t groove;      // drum pattern
  int32_t bassStyle;
  Voice bass;
  Voice lead;
  Voice pad;
  // Optional hand-written verse and chorus melodies ("E5:4 G5:2 -:2 …",
  // lengths in rows, "-" a rest, 64 rows each); empty: composed from the seed.
  const char *verseTheme;
  const char *chorusTheme;
};

Song composeSong(const TuneRecipe &recipe);
// Seconds one pass of the song lasts (speed 6, no tempo changes).
double songSeconds(const Song &song);
