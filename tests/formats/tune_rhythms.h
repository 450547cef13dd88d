// Rhythm fingerprints of the composed tunes: where the lead and the bass
// start their notes, one character a row (x a note, . none).
#pragma once
#include "composer.h"
#include <string>

inline std::string onsetsOf(const Song &song, int32_t pattern, int32_t channel, int32_t from,
                            int32_t rows) {
  std::string r;
  for (int32_t row = from; row < from + rows; ++row) {
    const Cell &c = song.patterns[static_cast<size_t>(pattern)].at(row, channel, song.channels);
    r += (c.note != NOTE_NONE && c.note != NOTE_OFF) ? 'x' : '.';
  }
  return r;
}

// The lead's rhythm over the first two bars of the first section of the given
// kind, the motif a listener knows the section by; empty when the tune has
// no such section. (Whole sections would count a changed cadence as a new
// rhythm.)
inline std::string leadRhythm(const ComposedTune &tune, SectionKind kind) {
  for (size_t order = 0; order < tune.form.size(); ++order) {
    if (tune.form[order] == kind) {
      return onsetsOf(tune.song, tune.song.orders[order], tune.leadChannel, 0, 32);
    }
  }
  return "";
}

// The bass's first bar in the first chorus.
inline std::string bassRhythm(const ComposedTune &tune) {
  for (size_t order = 0; order < tune.form.size(); ++order) {
    if (tune.form[order] == SectionKind::Chorus) {
      return onsetsOf(tune.song, tune.song.orders[order], tune.bassChannel, 0, 16);
    }
  }
  return "";
}

inline std::string formOf(const ComposedTune &tune) {
  std::string f;
  for (SectionKind k : tune.form) {
    f += "IVWBCDGKTFL"[static_cast<int>(k)];
  }
  return f;
}
