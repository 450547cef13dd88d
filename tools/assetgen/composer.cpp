// The tune composer. A song is a sequence of four-bar sections drawn from the
// tune's seed; each section is one 64-row pattern of drums, bass, lead with an
// echo, pad chords and plucked arpeggios or answers. MOD tunes fold this onto
// four channels with arpeggio-effect chords. Every section ends each of its
// voices by its last row, but for the pads and the bass, which every section
// strikes again on its first row; so a section sounds the same whatever came
// before, the loop back carries nothing over, and the music never stops
// between two sections. Each order has a pattern of its own: a repeated
// section comes back varied.
#include "composer.h"
#include "rhythm.h"
#include "sections.h"
#include <algorithm>
#include <cmath>
#include <map>

namespace {
// Channel plan of the wide formats, the last one for speed, tempo and the
// jump back; MOD uses its own four.
constexpr int32_t CH_KICK = 0, CH_SNARE = 1, CH_HAT = 2, CH_BASS = 3, CH_LEAD = 4, CH_ECHO = 5,
                  CH_PAD1 = 6, CH_ARP = 9, CH_CONTROL = 10, WIDE_CHANNELS = 11;
constexpr int32_t MOD_DRUMS = 0, MOD_BASS = 1, MOD_LEAD = 2, MOD_CHORD = 3, MOD_CHANNELS = 4;
constexpr int32_t LAST_ROW = PATTERN_ROWS - 1;
constexpr uint8_t FAST_FADE = 0x0E; // volume down 14 a tick: silent within a row

// The mix, by sample number: each voice's share of full volume. Every voice
// is equally loud at full volume (see instruments.h), so these set the
// balance: the melody leads, the hats cut through, bass and pads sit under.
const double MIX[] = {0.0, 0.75, 0.85, 1.0, 0.9, 0.65, 1.0, 0.55, 0.6};
constexpr double ECHO = 0.4; // the echo against the lead

Cell &cellAt(Song &song, Pattern &p, int32_t row, int32_t ch) {
  return p.at(row, ch, song.channels);
}

// libopenmpt mixes a four-channel MOD louder than the wide formats.
double formatGain(TuneFormat format) { return format == TuneFormat::Mod ? 0.82 : 1.0; }

uint8_t mixed(uint8_t instrument, uint8_t volume, double gain) {
  return static_cast<uint8_t>(
      std::clamp(static_cast<int32_t>(std::lround(volume * MIX[instrument] * gain)), 1, 64));
}

void placeDrums(Song &song, Pattern &p, const SectionScore &s, bool mod, double gain) {
  for (int32_t row = 0; row < PATTERN_ROWS; ++row) {
    const DrumHit &d = s.drums[static_cast<size_t>(row)];
    uint8_t hat = static_cast<uint8_t>(d.openHat ? INS_OPEN_HAT : INS_HAT);
    if (mod) {
      // One channel: the snare wins over the kick, the kick over the hat.
      Cell &c = cellAt(song, p, row, MOD_DRUMS);
      if (d.snare) {
        c = {60, INS_SNARE, mixed(INS_SNARE, d.snare, gain), Fx::None, 0};
      } else if (d.kick) {
        c = {60, INS_KICK, mixed(INS_KICK, d.kick, gain), Fx::None, 0};
      } else if (d.hat) {
        c = {60, hat, mixed(hat, d.hat, gain), Fx::None, 0};
      }
      continue;
    }
    if (d.kick) {
      cellAt(song, p, row, CH_KICK) = {60, INS_KICK, mixed(INS_KICK, d.kick, gain), Fx::None, 0};
    }
    if (d.snare) {
      cellAt(song, p, row, CH_SNARE) = {60, INS_SNARE, mixed(INS_SNARE, d.snare, gain), Fx::None,
                                        0};
    }
    if (d.hat) {
      cellAt(song, p, row, CH_HAT) = {60, hat, mixed(hat, d.hat, gain), Fx::None, 0};
    }
  }
}

// Chords: three pad voices in the wide formats; in a MOD one voice whose
// arpeggio effect plays the third and fifth on every row. Where a MOD section
// answers its melody, the chord voice plays the answers in those bars.
void placeChords(Song &song, Pattern &p, const SectionScore &s, bool mod, double gain) {
  int32_t count = mod ? 1 : 3;
  bool answers = mod && !s.answer.empty();
  std::vector<ScoreNote> voices[3];
  for (int32_t half = 0; half < 8; ++half) {
    int32_t from = half * CHORD_ROWS;
    if (answers && half / 2 % 2 == 1) {
      continue;
    }
    const Chord &chord = s.chords[static_cast<size_t>(half)];
    if (mod) {
      uint8_t param = static_cast<uint8_t>(chord.intervals[0] << 4 | chord.intervals[1]);
      for (int32_t r = from; r < from + CHORD_ROWS; ++r) {
        Cell &c = cellAt(song, p, r, MOD_CHORD);
        c.fx = Fx::Arpeggio;
        c.param = param;
      }
    }
    const Chord *before = half > 0 ? &s.chords[static_cast<size_t>(half - 1)] : nullptr;
    bool same = before != nullptr && !(answers && half % 2 == 0) &&
                (mod ? before->root == chord.root : before->tones == chord.tones);
    for (int32_t v = 0; v < count; ++v) {
      if (same) {
        voices[v].back().length += CHORD_ROWS;
      } else {
        int32_t pitch = mod ? chord.root + 60 : chord.tones[static_cast<size_t>(v)];
        voices[v].push_back({from, CHORD_ROWS, pitch, s.padVolume});
      }
    }
  }
  for (auto &voice : voices) {
    for (ScoreNote &n : voice) {
      n.volume = mixed(INS_PAD, static_cast<uint8_t>(n.volume), gain);
    }
  }
  if (answers) {
    // The answers are melody: at the lead's level, not the pads'.
    for (ScoreNote n : s.answer) {
      n.volume = static_cast<int32_t>(std::lround(n.volume * gain));
      voices[0].push_back(n);
    }
    std::sort(voices[0].begin(), voices[0].end(),
              [](const ScoreNote &a, const ScoreNote &b) { return a.row < b.row; });
  }
  for (int32_t v = 0; v < count; ++v) {
    placeNotes(p, song.channels, mod ? MOD_CHORD : CH_PAD1 + v, INS_PAD, voices[v], 1.0, false,
               true);
  }
}

// Speed and tempo on the first row of the loop's target and of the song, so
// every pass runs at the tune's own pace.
void stateTempo(Song &song, int32_t pattern, bool mod) {
  Pattern &p = song.patterns[static_cast<size_t>(pattern)];
  if (!mod) {
    Cell &c = p.at(0, CH_CONTROL, song.channels);
    c.fx = Fx::Speed;
    c.param = static_cast<uint8_t>(song.speed);
    // The tempo rides on the echo's first row, which no section fills.
    Cell &t = p.at(0, CH_ECHO, song.channels);
    t.fx = Fx::Tempo;
    t.param = static_cast<uint8_t>(song.tempo);
    return;
  }
  // A MOD has four busy channels: the bass and lead carry the two commands
  // and their notes start at the instrument's own volume.
  Cell &s = p.at(0, MOD_BASS, song.channels);
  s.fx = Fx::Speed;
  s.param = static_cast<uint8_t>(song.speed);
  Cell &t = p.at(0, MOD_LEAD, song.channels);
  t.fx = Fx::Tempo;
  t.param = static_cast<uint8_t>(song.tempo);
}

std::vector<Instrument> instrumentsFor(const TuneRecipe &recipe) {
  bool mod = recipe.format == TuneFormat::Mod;
  int32_t rate = mod ? 16574 : 22050;
  std::vector<Instrument> list;
  int32_t kit = static_cast<int32_t>(recipe.seed % 5); // the tunes take the kits in turn
  list.push_back(makeInstrument(Voice::Kick, rate, 60, kit));
  list.push_back(makeInstrument(Voice::Snare, rate, 60, kit));
  list.push_back(makeInstrument(Voice::HatClosed, rate, 60, kit));
  list.push_back(makeInstrument(Voice::HatOpen, rate, 60, kit));
  list.push_back(makeInstrument(recipe.bass, mod ? rate : 11025, mod ? 48 : 36));
  // A MOD plays three octaves; its lead sample's root sits so that the
  // melody's whole range (and a lifted last chorus) fits in them.
  list.push_back(makeInstrument(recipe.lead, rate, mod ? 79 : 72));
  list.push_back(mod ? makeInstrument(Voice::ChipChord, rate, 72)
                     : makeInstrument(recipe.pad, rate, 60));
  if (!mod) {
    list.push_back(makeInstrument(Voice::Pluck, rate, 72));
  }
  // A note's own volume sets its level; a MOD note whose row carries an effect
  // has none and plays at its sample's volume.
  // Bass and lead in the centre; drums, pads and plucks spread around them.
  const int32_t pans[] = {128, 118, 160, 150, 128, 128, 128, 170};
  for (size_t i = 0; i < list.size(); ++i) {
    list[i].volume = static_cast<int32_t>(std::lround(48 * MIX[i + 1]));
    list[i].panning = pans[i];
  }
  return list;
}

Pattern makePattern(Song &song, const TuneRecipe &recipe, const TuneMaterial &material,
                    SectionKind kind, int32_t round) {
  bool mod = recipe.format == TuneFormat::Mod;
  double gain = formatGain(recipe.format);
  SectionScore score = composeSection(recipe, material, kind, round);
  Pattern p;
  p.cells.assign(static_cast<size_t>(PATTERN_ROWS * song.channels), Cell{});
  placeDrums(song, p, score, mod, gain);
  placeChords(song, p, score, mod, gain);
  if (mod) {
    placeNotes(p, song.channels, MOD_BASS, INS_BASS, score.bass, MIX[INS_BASS] * gain, false,
               true);
    placeNotes(p, song.channels, MOD_LEAD, INS_LEAD, score.lead, MIX[INS_LEAD] * gain, true);
  } else {
    placeNotes(p, song.channels, CH_BASS, INS_BASS, score.bass, MIX[INS_BASS] * gain, false,
               true);
    placeNotes(p, song.channels, CH_LEAD, INS_LEAD, score.lead, MIX[INS_LEAD] * gain, true);
    // A dotted-eighth echo of the chord tones, short and within their chord,
    // so it never rubs against the melody's next note.
    std::vector<ScoreNote> echo;
    for (ScoreNote n : score.lead) {
      n.row += 3;
      n.length = std::min(n.length, 2);
      if (n.row + n.length > PATTERN_ROWS || !score.chordAt(n.row).has(n.pitch) ||
          !score.chordAt(n.row + n.length - 1).has(n.pitch)) {
        continue;
      }
      echo.push_back(n);
    }
    placeNotes(p, song.channels, CH_ECHO, INS_LEAD, echo, MIX[INS_LEAD] * ECHO * gain, false);
    bool answers = !score.answer.empty();
    placeNotes(p, song.channels, CH_ARP, INS_PLUCK, answers ? score.answer : score.arps,
               (answers ? 1.0 : MIX[INS_PLUCK]) * gain, false);
  }
  // The section's last row fades whatever still sounds, drums included, but
  // for the pads and the bass, which the next section takes over.
  for (int32_t ch = 0; ch < song.channels; ++ch) {
    bool held = mod ? ch == MOD_BASS || ch == MOD_CHORD
                    : ch == CH_BASS || (ch >= CH_PAD1 && ch < CH_PAD1 + 3);
    if (held) {
      continue;
    }
    Cell &c = cellAt(song, p, LAST_ROW, ch);
    if (c.fx == Fx::None || c.fx == Fx::Arpeggio || c.fx == Fx::Vibrato) {
      c.fx = Fx::VolumeDown;
      c.param = FAST_FADE;
    }
  }
  return p;
}
} // namespace

void placeNotes(Pattern &p, int32_t channels, int32_t ch, uint8_t instrument,
                const std::vector<ScoreNote> &notes, double volumeScale, bool vibrato,
                bool holdToEnd) {
  for (size_t i = 0; i < notes.size(); ++i) {
    const ScoreNote &n = notes[i];
    if (n.row < 0 || n.row >= PATTERN_ROWS) {
      continue;
    }
    Cell &c = p.at(n.row, ch, channels);
    c.note = static_cast<uint8_t>(std::clamp(n.pitch, 1, 119));
    c.instrument = instrument;
    c.volume = static_cast<uint8_t>(
        std::clamp(static_cast<int32_t>(std::lround(n.volume * volumeScale)), 1, 64));
    int32_t end = std::min(n.row + std::max(n.length, 1), LAST_ROW);
    bool nextStartsAtEnd = i + 1 < notes.size() && notes[i + 1].row <= end;
    if (vibrato && n.length >= 6) {
      for (int32_t r = n.row + 3; r < end; ++r) {
        Cell &v = p.at(r, ch, channels);
        if (v.fx == Fx::None && v.note == NOTE_NONE) {
          v.fx = Fx::Vibrato;
          v.param = 0x42;
        }
      }
    }
    if (nextStartsAtEnd || (holdToEnd && n.row + n.length >= PATTERN_ROWS && end > n.row)) {
      continue;
    }
    // The fade goes on the end row, or on the note's own row when it starts
    // on the section's last row.
    Cell &e = p.at(end, ch, channels);
    if (e.note == NOTE_NONE || end == n.row) {
      e.fx = Fx::VolumeDown;
      e.param = FAST_FADE;
    }
  }
}

ComposedTune composeTune(const TuneRecipe &recipe) {
  bool mod = recipe.format == TuneFormat::Mod;
  TuneMaterial material = drawMaterial(recipe);
  ComposedTune tune;
  Song &song = tune.song;
  song.title = recipe.title;
  song.channels = mod ? MOD_CHANNELS : WIDE_CHANNELS;
  song.speed = 6;
  song.tempo = recipe.tempo;
  song.instruments = instrumentsFor(recipe);
  if (!mod) {
    song.channelPan = {32, 28, 42, 32, 32, 38, 16, 32, 48, 40, 32};
  }
  tune.form = material.form;
  if (mod) {
    // A MOD has no tempo in its header and ProTracker players apply a tempo
    // command from its row's second tick, so a tune that set its tempo on its
    // first row would play that row's first tick at the default 125 BPM. A
    // silent lead-in of two two-tick rows sets the tempo before the intro starts.
    tune.form.insert(tune.form.begin(), SectionKind::LeadIn);
  }
  tune.loopOrder = mod ? 2 : 1;
  tune.leadChannel = mod ? MOD_LEAD : CH_LEAD;
  tune.bassChannel = mod ? MOD_BASS : CH_BASS;
  std::map<int32_t, int32_t> rounds; // repeats so far of each family of sections
  for (size_t order = 0; order < tune.form.size(); ++order) {
    SectionKind kind = tune.form[order];
    bool lifted = kind == SectionKind::Final && material.lift;
    tune.tonics.push_back(kind == SectionKind::LeadIn ? -1 : (recipe.key + (lifted ? 2 : 0)) % 12);
    if (kind == SectionKind::LeadIn) {
      Pattern p;
      p.cells.assign(static_cast<size_t>(PATTERN_ROWS * song.channels), Cell{});
      p.at(0, MOD_DRUMS, song.channels) = {NOTE_NONE, 0, 255, Fx::Speed, 2};
      p.at(0, MOD_BASS, song.channels) = {NOTE_NONE, 0, 255, Fx::Tempo,
                                          static_cast<uint8_t>(recipe.tempo)};
      // A MOD's channels sit hard left, right, right, left: the lead-in
      // brings bass and lead to the centre and the drums and chords to
      // either side of it, for the whole tune (a loop keeps them).
      p.at(0, MOD_LEAD, song.channels) = {NOTE_NONE, 0, 255, Fx::Pan, 0x80};
      p.at(0, MOD_CHORD, song.channels) = {NOTE_NONE, 0, 255, Fx::Pan, 0xA8};
      p.at(1, MOD_DRUMS, song.channels) = {NOTE_NONE, 0, 255, Fx::Pan, 0x58};
      p.at(1, MOD_BASS, song.channels) = {NOTE_NONE, 0, 255, Fx::Pan, 0x80};
      p.at(1, MOD_LEAD, song.channels) = {NOTE_NONE, 0, 255, Fx::PatternBreak, 0};
      song.patterns.push_back(std::move(p));
      song.orders.push_back(static_cast<uint8_t>(song.patterns.size() - 1));
      continue;
    }
    int32_t family = kind == SectionKind::Verse2                                    ? 1
                     : kind == SectionKind::Chorus2 || kind == SectionKind::Final ? 4
                                                                                  : static_cast<int32_t>(kind);
    song.patterns.push_back(makePattern(song, recipe, material, kind, rounds[family]++));
    song.orders.push_back(static_cast<uint8_t>(song.patterns.size() - 1));
  }
  stateTempo(song, song.orders[static_cast<size_t>(tune.loopOrder - 1)], mod);
  stateTempo(song, song.orders[static_cast<size_t>(tune.loopOrder)], mod);
  // The end goes back to the first section after the intro (the loop order
  // comes right after it): a MOD names the
  // order in its header; the other formats jump from the last pattern, which
  // no other order plays.
  song.loopOrder = tune.loopOrder;
  if (!mod) {
    Cell &jump = song.patterns[song.orders.back()].at(LAST_ROW, CH_CONTROL, song.channels);
    jump.fx = Fx::PatternJump;
    jump.param = static_cast<uint8_t>(tune.loopOrder);
  }
  return tune;
}

Song composeSong(const TuneRecipe &recipe) { return composeTune(recipe).song; }

// Plays the orders through once, row by row, following speed and tempo
// commands and leaving a pattern early at a break or jump.
double songSeconds(const Song &song) {
  double seconds = 0.0;
  int32_t speed = song.speed;
  int32_t tempo = song.tempo;
  for (uint8_t order : song.orders) {
    const Pattern &p = song.patterns[order];
    for (int32_t row = 0; row < PATTERN_ROWS; ++row) {
      bool leave = false;
      for (int32_t ch = 0; ch < song.channels; ++ch) {
        const Cell &c = p.at(row, ch, song.channels);
        speed = c.fx == Fx::Speed ? c.param : speed;
        tempo = c.fx == Fx::Tempo ? c.param : tempo;
        leave = leave || c.fx == Fx::PatternBreak || c.fx == Fx::PatternJump;
      }
      seconds += speed * 2.5 / tempo;
      if (leave) {
        break;
      }
    }
  }
  return seconds;
}
