// The seeded choices of a tune: its random source, melody and bass rhythms,
// drum groove and form. Each is drawn once per tune from the tune's seed.
#pragma once
#include "composer.h"
#include <array>
#include <cstdint>
#include <string>
#include <vector>

// A random source whose every draw depends on the whole seed and on what the
// draw is for (the purpose), so two tunes or two uses never share a sequence.
struct Rng {
  uint64_t state;
  Rng(uint32_t seed, uint32_t purpose);
  uint32_t next();
  int32_t below(int32_t n);
  // Index into weights, chosen in proportion to them.
  int32_t weighted(const std::vector<int32_t> &weights);
};

// Purposes of draws (any distinct numbers).
enum : uint32_t {
  DRAW_VERSE_RHYTHM = 1,
  DRAW_CHORUS_RHYTHM,
  DRAW_BRIDGE_RHYTHM,
  DRAW_THEME_RHYTHM,
  DRAW_ENDINGS,
  DRAW_BASS,
  DRAW_GROOVE,
  DRAW_FORM,
  DRAW_MELODY = 100, // + the section kind
};

// Rhythm strings, one character a row: x onset, - hold, . rest.
// Drum strings: x hit, and for hats c closed, o open.
struct Groove {
  std::string kick, snare, hat; // one bar of 16 rows
};

struct TuneMaterial {
  std::string verseRhythm, chorusRhythm, bridgeRhythm, themeRhythm; // two bars
  std::array<std::string, 3> endings;                               // one bar each
  std::string verseBass, chorusBass; // one bar: R root, F fifth, O octave, - . as above
  Groove groove;
  int32_t themeProgression = 0;
  bool lift = false; // the final chorus goes up a whole step
  std::vector<SectionKind> form;
};

TuneMaterial drawMaterial(const TuneRecipe &recipe);
// The order of sections: an intro, then rounds of verses and choruses with
// breaks between them, ending on a final chorus or a breakdown; at least
// minSeconds long.
std::vector<SectionKind> drawForm(uint32_t seed, int32_t tempo, double minSeconds);
