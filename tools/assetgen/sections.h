// Composing one four-bar section of a tune: its chords, drums, bass line,
// melody, answers and arpeggios, in rows of sixteenth notes.
#pragma once
#include "composer.h"
#include "rhythm.h"
#include <array>
#include <cstdint>
#include <vector>

struct DrumHit {
  uint8_t kick = 0; // volumes; 0 = no hit
  uint8_t snare = 0;
  uint8_t hat = 0;
  bool openHat = false;
};

struct Chord {
  int32_t root = 0;                   // pitch class
  int32_t degree = 0;                 // scale degree of the root (a secondary dominant's too)
  std::array<int32_t, 2> intervals{}; // third and fifth above the root, semitones
  std::array<int32_t, 3> tones{};     // voiced MIDI notes for the pads
  bool has(int32_t pitch) const;      // a chord tone in any octave
};

// Chords change at most every half bar (eight rows).
constexpr int32_t CHORD_ROWS = 8;

struct SectionScore {
  std::array<Chord, 8> chords; // one a half bar
  const Chord &chordAt(int32_t row) const { return chords[static_cast<size_t>(row / CHORD_ROWS)]; }
  std::array<DrumHit, 64> drums;
  std::vector<ScoreNote> bass;
  std::vector<ScoreNote> lead;
  std::vector<ScoreNote> answer; // call and answer: the second voice's replies
  std::vector<ScoreNote> arps;
  int32_t padVolume = 28;
};

// `round` counts the earlier sections of the same family (verses, choruses)
// in the pass: each repeat varies its melody, bass and fills.
SectionScore composeSection(const TuneRecipe &recipe, const TuneMaterial &material,
                            SectionKind kind, int32_t round);
