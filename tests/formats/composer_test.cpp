// The composer: every note it places ends within its section, in every file
// format, and a tune's choices follow its seed.
#include "composer.h"
#include "module_reader.h"
#include "sounds.h"
#include "tune_rhythms.h"
#include <cmath>
#include <gtest/gtest.h>
#include <set>

namespace {
// Two sections at 150 BPM (6.4 s each) with a looped sine: notes go into the
// first through placeNotes, the second is empty and must stay silent.
Song twoSections(const std::vector<ScoreNote> &notes) {
  Song song;
  song.title = "ends";
  song.channels = 4;
  song.tempo = 150;
  Instrument tone;
  tone.name = "sine";
  tone.sampleRate = 22000;
  tone.rootNote = 69;
  for (int32_t i = 0; i < 22000; ++i) {
    tone.pcm.push_back(
        static_cast<int16_t>(std::lround(20000.0 * std::sin(2.0 * M_PI * i / 50.0))));
  }
  tone.loopLength = 22000;
  song.instruments = {tone};
  song.patterns.resize(2);
  for (Pattern &p : song.patterns) {
    p.cells.assign(static_cast<size_t>(PATTERN_ROWS * song.channels), Cell{});
  }
  song.patterns[0].at(0, 3, song.channels) = {NOTE_NONE, 0, 255, Fx::Speed, 6};
  song.patterns[0].at(0, 2, song.channels) = {NOTE_NONE, 0, 255, Fx::Tempo, 150};
  placeNotes(song.patterns[0], song.channels, 1, 1, notes, 1.0, true);
  song.orders = {0, 1};
  return song;
}

TEST(Composer, EveryNoteEndsWithinItsSectionInEveryFormat) {
  // A note on the last row; one running past the end; one ending on the last
  // row; a long one with vibrato up to the end.
  const std::vector<std::vector<ScoreNote>> cases = {{{63, 1, 69, 64}},
                                                     {{40, 40, 69, 64}},
                                                     {{60, 3, 69, 64}},
                                                     {{10, 20, 69, 64}, {30, 34, 72, 64}}};
  for (TuneFormat format : {TuneFormat::Mod, TuneFormat::S3m, TuneFormat::Xm, TuneFormat::It}) {
    for (size_t c = 0; c < cases.size(); ++c) {
      auto out = renderModule(writeSong(twoSections(cases[c]), format), 0.0, 12.8);
      ASSERT_GE(out.size(), static_cast<size_t>(12.7 * 44100));
      size_t first = static_cast<size_t>(cases[c][0].row * 0.1 * 44100);
      EXPECT_GT(rms(out, first, first + 4410), 0.01) << "case " << c;
      EXPECT_LT(rms(out, static_cast<size_t>(6.45 * 44100), static_cast<size_t>(12.7 * 44100)),
                1e-4)
          << "case " << c << " sounds on in the next section, format " << static_cast<int>(format);
    }
  }
}

// A draw that ignored the seed would give every tune the same rhythm, groove
// or form; the same seed always gives the same song.
TEST(Composer, ATunesRhythmsGrooveAndFormFollowItsSeed) {
  TuneRecipe recipe = tuneRecipe(1);
  std::set<std::string> chorus;
  std::set<std::string> bass;
  std::set<std::string> forms;
  std::set<std::string> drums;
  for (uint32_t seed = 1; seed <= 8; ++seed) {
    recipe.seed = seed;
    ComposedTune tune = composeTune(recipe);
    chorus.insert(leadRhythm(tune, SectionKind::Chorus));
    bass.insert(bassRhythm(tune));
    forms.insert(formOf(tune));
    std::string kicks;
    for (size_t order = 0; order < tune.form.size(); ++order) {
      if (tune.form[order] == SectionKind::Chorus) {
        kicks = onsetsOf(tune.song, tune.song.orders[order], 0, 0, 16) +
                onsetsOf(tune.song, tune.song.orders[order], 2, 0, 16);
      }
    }
    drums.insert(kicks);
  }
  EXPECT_GE(chorus.size(), 7u);
  EXPECT_GE(bass.size(), 6u);
  EXPECT_GE(forms.size(), 5u);
  EXPECT_GE(drums.size(), 4u);
  recipe.seed = 3;
  EXPECT_EQ(writeSong(composeSong(recipe), recipe.format),
            writeSong(composeSong(recipe), recipe.format));
}
} // namespace
