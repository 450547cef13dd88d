// The tune composer: from a few choices (key, mode, tempo, progressions,
// voices) and a seed it writes a song of four-bar sections whose form,
// rhythms and grooves the seed draws. The intro plays once; the end jumps back
// to the first section after it.
#pragma once
#include "instruments.h"
#include "song.h"
#include <vector>

struct TuneRecipe {
  const char *title;
  TuneFormat format;
  uint32_t seed;
  int32_t key; // pitch class of the tonic, 0 = C
  bool minor;
  int32_t tempo; // beats per minute (speed 6, four rows a beat)
  int32_t verse; // progression numbers (see sections.cpp)
  int32_t chorus;
  int32_t bridge;
  Voice bass;
  Voice lead;
  Voice pad;
  // Optional hand-written verse and chorus melodies ("E5:4 G5:2 -:2 …",
  // lengths in rows, "-" a rest, 64 rows each); empty: composed from the seed.
  const char *verseTheme;
  const char *chorusTheme;
};

// Sections a song is built from. Build leads into a chorus; Breakdown drops
// the drums for a breath; Theme is a second melody in call and answer; Final
// is the last chorus, a whole step up when the tune lifts its key.
// Lead-in is a MOD's one silent row before the intro (see composeTune).
enum class SectionKind : uint8_t {
  Intro,
  Verse,
  Verse2,
  Build,
  Chorus,
  Chorus2,
  Bridge,
  Breakdown,
  Theme,
  Final,
  LeadIn
};

// Sample numbers (1-based) of the voices; MOD tunes have no pluck and play
// their answers with the chord sample.
enum : uint8_t {
  INS_KICK = 1,
  INS_SNARE,
  INS_HAT,
  INS_OPEN_HAT,
  INS_BASS,
  INS_LEAD,
  INS_PAD,
  INS_PLUCK
};

struct ComposedTune {
  Song song;
  std::vector<SectionKind> form; // the section of every order
  std::vector<int32_t> tonics;   // the key's pitch class at every order; -1 none
  int32_t loopOrder = 1;         // where the last order jumps back to
  int32_t leadChannel = 0;
  int32_t bassChannel = 0;
};

ComposedTune composeTune(const TuneRecipe &recipe);
Song composeSong(const TuneRecipe &recipe);
// Seconds one pass of the song lasts (constant speed and tempo).
double songSeconds(const Song &song);

// A note of a voice within one 64-row section.
struct ScoreNote {
  int32_t row;
  int32_t length; // rows
  int32_t pitch;  // MIDI
  int32_t volume; // 0 … 64
};

// Writes notes into one channel of a section. Every note is ended: by the
// next note, by a fast fade on its last row, or, when it would run past the
// section, by a fade on the section's last row (its own row, when it starts
// there), so no looped sample rings on into the next section. A voice that
// every section starts on its first row (pads, bass) may instead hold its
// last note to the end: the next section's first note takes over from it, and
// the music never stops between two sections.
void placeNotes(Pattern &p, int32_t channels, int32_t channel, uint8_t instrument,
                const std::vector<ScoreNote> &notes, double volumeScale, bool vibrato,
                bool holdToEnd = false);
