// Composing one four-bar section of a tune: its chords, drums, bass line,
// melody and arpeggios, in rows of sixteenth notes.
#pragma once
#include <array>
#include <cstdint>
#include <vector>
#include "composer.h"

enum class SectionKind : uint8_t { Intro, Verse, Verse2, Chorus, Chorus2, Bridge, Chorus3 };

struct ScoreNote {
  int32_t row;
  int32_t length; // rows
  int32_t pitch;  // MIDI
  int32_t volume; // 0 … 64
};

struct DrumHit {
  uint8_t kick = 0; // volumes; 0 = no hit
  uint8_t snare = 0;
  uint8_t hat = 0;
  bool openHat = false;
};

struct Chord {
  int32_t root = 0;                      // pitch class
  std::array<int32_t, 2> intervals{};    // third and fifth above the root, semitones
  std::array<int32_t, 3> tones{};        // voiced MIDI notes for the pads
};

struct SectionScore {
  std::array<Chord, 4> chords;
  std::array<DrumHit, 64> drums;
  std::vector<ScoreNote> bass;
  std::vector<ScoreNote> lead;
  std::vector<ScoreNote> arps;
  int32_t padVolume = 28;
};

// The order of sections: at least 60 s and at least eight sections, ending on
// a chorus that leads back into the intro.
std::vector<SectionKind> sectionPlan(int32_t tempo);
SectionScore composeSection(const TuneRecipe &recipe, SectionKind kind);
