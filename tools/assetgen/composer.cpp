// The tune composer. A song is a sequence of four-bar sections (intro, verse,
// chorus, bridge and their variants); each section is one 64-row pattern of
// drums, bass, lead with an echo, pad chords and plucked arpeggios. MOD tunes
// fold this onto four channels with arpeggio-effect chords.
#include "composer.h"
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <string>
#include "sections.h"

namespace {
// Channel plan of the wide formats; MOD uses its own four.
enum : int32_t { CH_KICK, CH_SNARE, CH_HAT, CH_BASS, CH_LEAD, CH_ECHO, CH_PAD1, CH_PAD2, CH_PAD3, CH_ARP, WIDE_CHANNELS };
enum : int32_t { MOD_DRUMS, MOD_BASS, MOD_LEAD, MOD_CHORD };
enum : uint8_t { INS_KICK = 1, INS_SNARE, INS_HAT, INS_OPEN_HAT, INS_BASS, INS_LEAD, INS_PAD, INS_PLUCK };

Cell &cellAt(Song &song, Pattern &p, int32_t row, int32_t ch) { return p.at(row, ch, song.channels); }

// A note with an explicit end: the end row gets a fast fade unless another
// note starts there, so a looped voice never rings on into the next section.
void placeNotes(Song &song, Pattern &p, int32_t ch, uint8_t instrument, const std::vector<ScoreNote> &notes,
                int32_t transpose, double volumeScale, bool vibrato) {
  for (size_t i = 0; i < notes.size(); ++i) {
    const ScoreNote &n = notes[i];
    if (n.row < 0 || n.row >= PATTERN_ROWS) {
      continue;
    }
    Cell &c = cellAt(song, p, n.row, ch);
    c.note = static_cast<uint8_t>(std::clamp(n.pitch + transpose, 1, 119));
    c.instrument = instrument;
    c.volume = static_cast<uint8_t>(std::clamp(static_cast<int32_t>(std::lround(n.volume * volumeScale)), 1, 64));
    int32_t end = std::min(n.row + n.length, PATTERN_ROWS - 1);
    bool nextStartsAtEnd = i + 1 < notes.size() && notes[i + 1].row <= end;
    if (vibrato && n.length >= 6) {
      for (int32_t r = n.row + 3; r < end; ++r) {
        Cell &v = cellAt(song, p, r, ch);
        if (v.fx == Fx::None && v.note == NOTE_NONE) {
          v.fx = Fx::Vibrato;
          v.param = 0x42;
        }
      }
    }
    if (!nextStartsAtEnd && end > n.row) {
      Cell &e = cellAt(song, p, end, ch);
      if (e.note == NOTE_NONE) {
        e.fx = Fx::VolumeDown;
        e.param = 0x0E;
      }
    }
  }
}

void placeDrums(Song &song, Pattern &p, const SectionScore &s, bool mod) {
  for (int32_t row = 0; row < PATTERN_ROWS; ++row) {
    const DrumHit &d = s.drums[static_cast<size_t>(row)];
    if (mod) {
      // One channel: the snare wins over the kick, the kick over the hat.
      Cell &c = cellAt(song, p, row, MOD_DRUMS);
      if (d.snare) {
        c = {60, INS_SNARE, d.snare, Fx::None, 0};
      } else if (d.kick) {
        c = {60, INS_KICK, d.kick, Fx::None, 0};
      } else if (d.hat) {
        c = {60, static_cast<uint8_t>(d.openHat ? INS_OPEN_HAT : INS_HAT), d.hat, Fx::None, 0};
      }
      continue;
    }
    if (d.kick) {
      cellAt(song, p, row, CH_KICK) = {60, INS_KICK, d.kick, Fx::None, 0};
    }
    if (d.snare) {
      cellAt(song, p, row, CH_SNARE) = {60, INS_SNARE, d.snare, Fx::None, 0};
    }
    if (d.hat) {
      cellAt(song, p, row, CH_HAT) = {60, static_cast<uint8_t>(d.openHat ? INS_OPEN_HAT : INS_HAT), d.hat, Fx::None, 0};
    }
  }
}

// Chords: three pad voices in the wide formats; in a MOD one voice whose
// arpeggio effect plays the third and fifth on every row.
void placeChords(Song &song, Pattern &p, const SectionScore &s, bool mod) {
  for (int32_t bar = 0; bar < 4; ++bar) {
    const Chord &chord = s.chords[static_cast<size_t>(bar)];
    bool same = bar > 0 && s.chords[static_cast<size_t>(bar - 1)].tones == chord.tones;
    int32_t row0 = bar * 16;
    if (mod) {
      uint8_t third = static_cast<uint8_t>(chord.intervals[0]);
      uint8_t fifth = static_cast<uint8_t>(chord.intervals[1]);
      for (int32_t r = row0; r < row0 + 16; ++r) {
        Cell &c = cellAt(song, p, r, MOD_CHORD);
        if (r == row0 && !same) {
          c.note = static_cast<uint8_t>(chord.root + 60);
          c.instrument = INS_PAD;
        }
        c.fx = Fx::Arpeggio;
        c.param = static_cast<uint8_t>(third << 4 | fifth);
      }
      continue;
    }
    if (same) {
      continue;
    }
    for (int32_t v = 0; v < 3; ++v) {
      Cell &c = cellAt(song, p, row0, CH_PAD1 + v);
      c.note = static_cast<uint8_t>(chord.tones[static_cast<size_t>(v)]);
      c.instrument = INS_PAD;
      c.volume = static_cast<uint8_t>(s.padVolume);
    }
  }
}

void placeArps(Song &song, Pattern &p, const SectionScore &s) {
  for (const ScoreNote &n : s.arps) {
    Cell &c = cellAt(song, p, n.row, CH_ARP);
    c.note = static_cast<uint8_t>(n.pitch);
    c.instrument = INS_PLUCK;
    c.volume = static_cast<uint8_t>(n.volume);
  }
}

// Speed and tempo are restated on the first row, so every pass through the
// loop starts from the same state.
void stateTempo(Song &song) {
  Pattern &p = song.patterns[song.orders[0]];
  bool speedDone = false;
  for (int32_t ch = song.channels - 1; ch >= 0; --ch) {
    Cell &c = p.at(0, ch, song.channels);
    if (c.fx != Fx::None) {
      continue;
    }
    if (!speedDone) {
      c.fx = Fx::Speed;
      c.param = static_cast<uint8_t>(song.speed);
      speedDone = true;
    } else {
      c.fx = Fx::Tempo;
      c.param = static_cast<uint8_t>(song.tempo);
      return;
    }
  }
}

std::vector<Instrument> instrumentsFor(const TuneRecipe &recipe) {
  bool mod = recipe.format == TuneFormat::Mod;
  int32_t rate = mod ? 16574 : 22050;
  std::vector<Instrument> list;
  list.push_back(makeInstrument(Voice::Kick, rate, 60));
  list.push_back(makeInstrument(Voice::Snare, rate, 60));
  list.push_back(makeInstrument(Voice::HatClosed, rate, 60));
  list.push_back(makeInstrument(Voice::HatOpen, rate, 60));
  list.push_back(makeInstrument(recipe.bass, mod ? rate : 11025, mod ? 48 : 36));
  list.push_back(makeInstrument(recipe.lead, rate, 72));
  list.push_back(mod ? makeInstrument(Voice::ChipChord, rate, 72) : makeInstrument(recipe.pad, rate, 60));
  if (!mod) {
    list.push_back(makeInstrument(Voice::Pluck, rate, 72));
  }
  const int32_t volumes[] = {64, 56, 36, 34, 60, 52, mod ? 30 : 48, 44};
  const int32_t pans[] = {128, 118, 160, 150, 128, 100, 128, 170};
  for (size_t i = 0; i < list.size(); ++i) {
    list[i].volume = volumes[i];
    list[i].panning = pans[i];
  }
  return list;
}
} // namespace

Song composeSong(const TuneRecipe &recipe) {
  bool mod = recipe.format == TuneFormat::Mod;
  Song song;
  song.title = recipe.title;
  song.channels = mod ? 4 : WIDE_CHANNELS;
  song.speed = 6;
  song.tempo = recipe.tempo;
  song.instruments = instrumentsFor(recipe);
  if (!mod) {
    song.channelPan = {32, 28, 42, 32, 22, 46, 16, 32, 48, 40};
  }
  std::vector<SectionKind> plan = sectionPlan(recipe.tempo);
  std::vector<SectionKind> made;
  for (SectionKind kind : plan) {
    auto found = std::find(made.begin(), made.end(), kind);
    if (found != made.end()) {
      song.orders.push_back(static_cast<uint8_t>(found - made.begin()));
      continue;
    }
    SectionScore score = composeSection(recipe, kind);
    Pattern p;
    p.cells.assign(static_cast<size_t>(PATTERN_ROWS * song.channels), Cell{});
    placeDrums(song, p, score, mod);
    placeChords(song, p, score, mod);
    if (mod) {
      placeNotes(song, p, MOD_BASS, INS_BASS, score.bass, 0, 1.0, false);
      placeNotes(song, p, MOD_LEAD, INS_LEAD, score.lead, 0, 1.0, true);
    } else {
      placeNotes(song, p, CH_BASS, INS_BASS, score.bass, 0, 1.0, false);
      placeNotes(song, p, CH_LEAD, INS_LEAD, score.lead, 0, 1.0, true);
      std::vector<ScoreNote> echo;
      for (ScoreNote n : score.lead) {
        n.row += 3; // a dotted-eighth echo
        n.length = std::min(n.length, 4);
        if (n.row < PATTERN_ROWS) {
          echo.push_back(n);
        }
      }
      placeNotes(song, p, CH_ECHO, INS_LEAD, echo, 0, 0.4, false);
      placeArps(song, p, score);
    }
    song.patterns.push_back(std::move(p));
    made.push_back(kind);
    song.orders.push_back(static_cast<uint8_t>(song.patterns.size() - 1));
  }
  stateTempo(song);
  return song;
}

double songSeconds(const Song &song) {
  return static_cast<double>(song.orders.size()) * PATTERN_ROWS * song.speed * 2.5 / song.tempo;
}
