// SPDX-License-Identifier: MIT
// Measures of the composed music as a listener judges it, read from the song
// data the writers store and from the rendered mix: dropouts, clashing voices,
// the lead on its chords, how much material a pass holds, and the tuning and
// timbre of every sample. Shared by the sound check and the report.
#pragma once
#include "composer.h"
#include "sound_measure.h"
#include <algorithm>
#include <cmath>
#include <map>
#include <set>
#include <string>
#include <vector>

// Stretches of 20 ms or more where the whole mix stays below -50 dBFS (5 ms
// blocks, scaled back by `gain`), between the first and the last sounding block.
inline int32_t dropouts(const Stereo &s, double gain) {
  const size_t block = OUT_RATE / 200;
  std::vector<bool> quiet;
  for (size_t at = 0; at + 2 * block <= s.size(); at += 2 * block) {
    double sum = 0.0;
    for (size_t i = at; i < at + 2 * block; ++i) {
      sum += static_cast<double>(s[i]) * s[i];
    }
    double rmsLevel = std::sqrt(sum / (2.0 * block)) / gain;
    quiet.push_back(rmsLevel < std::pow(10.0, -50.0 / 20.0));
  }
  auto first = std::find(quiet.begin(), quiet.end(), false);
  auto last = std::find(quiet.rbegin(), quiet.rend(), false).base();
  int32_t count = 0;
  int32_t run = 0;
  for (auto it = first; it < last; ++it) {
    run = *it ? run + 1 : 0;
    count += run == 4 ? 1 : 0;
  }
  return count;
}

// One row of a pass as the song data plays it: how long it lasts and the
// pitches every voice sounds (a MOD chord's arpeggio counts as three voices).
struct PlayedRow {
  double seconds;
  int32_t tonic;                                 // of the section; -1 none
  std::vector<std::pair<int32_t, int32_t>> notes; // voice, MIDI pitch
  int32_t lead = -1;                             // the lead's pitch, -1 silent
  int32_t leadStart = -1;                        // a lead note starts here: its pitch
  std::vector<int32_t> passing;                  // voices whose note lasts this row only
  uint16_t chord = 0;                            // pitch classes of the pads
  int32_t order;
  int32_t row;
};

inline bool isDrum(uint8_t instrument) { return instrument >= INS_KICK && instrument <= INS_OPEN_HAT; }

// Plays one pass of the orders row by row. A note sounds from its row until
// the next note, a note-off or a fast fade (the fade's row is silent).
inline std::vector<PlayedRow> playRows(const ComposedTune &tune) {
  const Song &song = tune.song;
  std::vector<PlayedRow> rows;
  std::vector<int32_t> pitch(static_cast<size_t>(song.channels), -1);
  std::vector<uint8_t> ins(static_cast<size_t>(song.channels), 0);
  int32_t speed = song.speed;
  int32_t tempo = song.tempo;
  for (size_t order = 0; order < song.orders.size(); ++order) {
    const Pattern &p = song.patterns[song.orders[order]];
    for (int32_t r = 0; r < PATTERN_ROWS; ++r) {
      PlayedRow row{};
      row.order = static_cast<int32_t>(order);
      row.row = r;
      row.tonic = order < tune.tonics.size() ? tune.tonics[order] : -1;
      bool leave = false;
      for (int32_t ch = 0; ch < song.channels; ++ch) {
        const Cell &c = p.at(r, ch, song.channels);
        speed = c.fx == Fx::Speed ? c.param : speed;
        tempo = c.fx == Fx::Tempo ? c.param : tempo;
        leave = leave || c.fx == Fx::PatternBreak || c.fx == Fx::PatternJump;
        size_t k = static_cast<size_t>(ch);
        if (c.instrument != 0) {
          ins[k] = c.instrument;
        }
        if (c.note == NOTE_OFF || c.fx == Fx::NoteCut ||
            (c.fx == Fx::VolumeDown && c.param >= 0x0E)) {
          pitch[k] = -1;
        } else if (c.note != NOTE_NONE) {
          pitch[k] = c.note;
          if (ch == tune.leadChannel) {
            row.leadStart = c.note;
          }
        }
        if (pitch[k] < 0 || isDrum(ins[k])) {
          continue;
        }
        // A note of one row (a sixteenth) passes; it is not held against anything.
        if (c.note != NOTE_NONE && r + 1 < PATTERN_ROWS) {
          const Cell &next = p.at(r + 1, ch, song.channels);
          if (next.note != NOTE_NONE || (next.fx == Fx::VolumeDown && next.param >= 0x0E)) {
            row.passing.push_back(ch * 3);
          }
        }
        std::vector<int32_t> tones = {pitch[k]};
        if (c.fx == Fx::Arpeggio) {
          tones.push_back(pitch[k] + (c.param >> 4));
          tones.push_back(pitch[k] + (c.param & 15));
        }
        bool chordVoice = ins[k] == INS_PAD && (song.channels > 4 || c.fx == Fx::Arpeggio);
        for (size_t t = 0; t < tones.size(); ++t) {
          row.notes.push_back({ch * 3 + static_cast<int32_t>(t), tones[t]});
          if (chordVoice) {
            row.chord = static_cast<uint16_t>(row.chord | 1u << (tones[t] % 12));
          }
        }
        if (ch == tune.leadChannel) {
          row.lead = pitch[k];
        }
      }
      row.seconds = speed * 2.5 / tempo;
      rows.push_back(row);
      if (leave) {
        break;
      }
    }
  }
  return rows;
}

struct Harmony {
  double clashSeconds = 0.0; // two voices a semitone or tritone apart for more than 0.25 s,
                             // passing notes of a sixteenth aside
  double crossSeconds = 0.0; // of which one voice sounds a tone outside the key
  double chordToneShare = 0.0; // of the lead's sounding time over a chord
  int32_t unresolved = 0; // lead notes held past a sixteenth off the chord, not resolved in the beat
};

inline bool inScale(int32_t pitchClass, int32_t tonic, bool minor) {
  static const int32_t MAJOR_SET[7] = {0, 2, 4, 5, 7, 9, 11};
  static const int32_t MINOR_SET[7] = {0, 2, 3, 5, 7, 8, 10};
  const int32_t *set = minor ? MINOR_SET : MAJOR_SET;
  int32_t d = ((pitchClass - tonic) % 12 + 12) % 12;
  return std::find(set, set + 7, d) != set + 7;
}

inline Harmony harmonyOf(const ComposedTune &tune, bool minor) {
  std::vector<PlayedRow> rows = playRows(tune);
  Harmony h;
  struct Run {
    double seconds = 0.0;
    bool cross = false;
  };
  std::map<std::pair<int32_t, int32_t>, Run> runs;
  auto close = [&h](Run &run) {
    if (run.seconds > 0.25 + 1e-9) {
      h.clashSeconds += run.seconds;
      h.crossSeconds += run.cross ? run.seconds : 0.0;
    }
    run = Run{};
  };
  double leadSeconds = 0.0;
  double onChord = 0.0;
  for (size_t i = 0; i < rows.size(); ++i) {
    const PlayedRow &row = rows[i];
    std::set<std::pair<int32_t, int32_t>> now;
    for (size_t a = 0; a < row.notes.size(); ++a) {
      for (size_t b = a + 1; b < row.notes.size(); ++b) {
        int32_t pa = row.notes[a].second;
        int32_t pb = row.notes[b].second;
        auto passes = [&row](int32_t voice) {
          return std::find(row.passing.begin(), row.passing.end(), voice) != row.passing.end();
        };
        if (passes(row.notes[a].first) || passes(row.notes[b].first)) {
          continue;
        }
        int32_t ic = std::abs(pa - pb) % 12;
        if (ic != 1 && ic != 11 && ic != 6) {
          continue;
        }
        auto key = std::make_pair(row.notes[a].first, row.notes[b].first);
        now.insert(key);
        Run &run = runs[key];
        run.seconds += row.seconds;
        run.cross = run.cross || (ic != 6 && row.tonic >= 0 &&
                                  (!inScale(pa % 12, row.tonic, minor) ||
                                   !inScale(pb % 12, row.tonic, minor)));
      }
    }
    for (auto &[key, run] : runs) {
      if (now.count(key) == 0) {
        close(run);
      }
    }
    if (row.lead >= 0 && row.chord != 0) {
      leadSeconds += row.seconds;
      onChord += (row.chord >> (row.lead % 12) & 1u) ? row.seconds : 0.0;
    }
    // A lead note held past a sixteenth off its chord (from its start, or
    // from a chord change under it) must move to a chord tone within the beat.
    bool changed = i > 0 && rows[i - 1].chord != row.chord && rows[i - 1].lead == row.lead;
    if (row.lead >= 0 && row.chord != 0 && (row.leadStart >= 0 || changed) &&
        !(row.chord >> (row.lead % 12) & 1u)) {
      size_t next = i + 1;
      while (next < rows.size() && rows[next].leadStart < 0 && rows[next].lead == row.lead) {
        ++next;
      }
      bool held = next > i + 1;
      bool resolved = next < rows.size() && rows[next].order == row.order &&
                      rows[next].row / 4 == row.row / 4 && rows[next].leadStart >= 0 &&
                      (rows[next].chord >> (rows[next].leadStart % 12) & 1u);
      h.unresolved += held && !resolved ? 1 : 0;
    }
  }
  for (auto &[key, run] : runs) {
    close(run);
  }
  h.chordToneShare = leadSeconds > 0.0 ? onChord / leadSeconds : 0.0;
  return h;
}

struct Material {
  int32_t patterns = 0;  // distinct patterns played
  int32_t bars = 0;      // bars in a pass
  int32_t distinctBars = 0;
  double topPhrase = 0.0; // plays of the most repeated four-bar phrase in twenty minutes
};

// A four-bar phrase is what the melodic voices play (drum fills aside); its
// count in twenty minutes is the count in the looping part times the loops.
inline Material materialOf(const ComposedTune &tune) {
  const Song &song = tune.song;
  Material m;
  std::set<std::vector<uint8_t>> patterns;
  std::set<std::vector<uint8_t>> bars;
  std::map<std::vector<uint8_t>, int32_t> phrases;
  double loopSeconds = 0.0;
  std::vector<PlayedRow> rows = playRows(tune);
  for (const PlayedRow &r : rows) {
    loopSeconds += r.order >= tune.loopOrder ? r.seconds : 0.0;
  }
  for (size_t order = 0; order < song.orders.size(); ++order) {
    const Pattern &p = song.patterns[song.orders[order]];
    std::vector<uint8_t> all;
    std::vector<uint8_t> melodic;
    bool notes = false;
    for (int32_t bar = 0; bar < 4; ++bar) {
      std::vector<uint8_t> oneBar;
      for (int32_t r = bar * 16; r < bar * 16 + 16; ++r) {
        for (int32_t ch = 0; ch < song.channels; ++ch) {
          const Cell &c = p.at(r, ch, song.channels);
          notes = notes || c.note != NOTE_NONE;
          for (uint8_t v : {c.note, c.instrument, c.volume, static_cast<uint8_t>(c.fx), c.param}) {
            oneBar.push_back(v);
          }
          if (!isDrum(c.instrument) && !(song.channels == 4 && ch == 0)) {
            melodic.push_back(c.note);
          }
        }
      }
      all.insert(all.end(), oneBar.begin(), oneBar.end());
      if (notes) {
        bars.insert(oneBar);
        ++m.bars;
      }
    }
    if (!notes) {
      continue; // a MOD's silent lead-in row
    }
    patterns.insert(all);
    if (static_cast<int32_t>(order) >= tune.loopOrder) {
      ++phrases[melodic];
    }
  }
  m.patterns = static_cast<int32_t>(patterns.size());
  m.distinctBars = static_cast<int32_t>(bars.size());
  int32_t top = 0;
  for (const auto &[phrase, count] : phrases) {
    top = std::max(top, count);
  }
  m.topPhrase = loopSeconds > 0.0 ? top * 1200.0 / loopSeconds : 0.0;
  return m;
}

// A looped sample's pitch against its written note and the detune of the
// strongest other partial within 150 cents of the fundamental (cents; 0
// when none is within 30 dB). The loop holds whole cycles, so its spectrum
// has exact bins.
struct Tuning {
  double pitchCents = 0.0;
  double detuneCents = 0.0;
};

inline double binLevel(const Instrument &ins, double bin) {
  double re = 0.0;
  double im = 0.0;
  size_t n = static_cast<size_t>(ins.loopLength);
  for (size_t i = 0; i < n; ++i) {
    double a = 2.0 * M_PI * bin * static_cast<double>(i) / static_cast<double>(n);
    double v = ins.pcm[static_cast<size_t>(ins.loopStart) + i];
    re += v * std::cos(a);
    im += v * std::sin(a);
  }
  return std::hypot(re, im);
}

inline Tuning tuningOf(const Instrument &ins) {
  Tuning t;
  double written = ins.loopLength * 440.0 * std::pow(2.0, (ins.rootNote - 69) / 12.0) /
                   ins.sampleRate; // cycles of the written note in the loop
  int32_t lo = static_cast<int32_t>(std::ceil(written * std::pow(2.0, -1.5 / 12.0)));
  int32_t hi = static_cast<int32_t>(std::floor(written * std::pow(2.0, 1.5 / 12.0)));
  std::vector<std::pair<double, int32_t>> levels;
  for (int32_t b = std::max(1, lo); b <= hi; ++b) {
    levels.push_back({binLevel(ins, b), b});
  }
  std::sort(levels.rbegin(), levels.rend());
  if (levels.empty()) {
    t.pitchCents = 1200.0; // not even a semitone near: badly off
    return t;
  }
  t.pitchCents = 1200.0 * std::log2(levels[0].second / written);
  if (levels.size() > 1 && levels[1].first > levels[0].first * std::pow(10.0, -30.0 / 20.0)) {
    t.detuneCents = 1200.0 * std::log2(static_cast<double>(levels[1].second) / levels[0].second);
  }
  return t;
}

// A timbre's fingerprint in dB: a looped voice by its first ten harmonics
// against its loudest one and its attack; a one-shot by its octave bands
// against its loudest one and its decay. Doubling a time counts as 6 dB.
inline std::vector<double> timbreOf(const Instrument &ins) {
  std::vector<double> f;
  auto dB = [](double x) { return 20.0 * std::log10(std::max(x, 1e-9)); };
  if (ins.loopLength > 0) {
    double cycles = std::round(ins.loopLength * 440.0 * std::pow(2.0, (ins.rootNote - 69) / 12.0) /
                               ins.sampleRate);
    for (int h = 1; h <= 10; ++h) {
      f.push_back(binLevel(ins, cycles * h));
    }
    double top = *std::max_element(f.begin(), f.end());
    for (double &v : f) {
      v = std::max(-40.0, dB(v / top));
    }
    double peak = 0.0;
    for (int16_t v : ins.pcm) {
      peak = std::max(peak, std::fabs(static_cast<double>(v)));
    }
    size_t attack = 0;
    while (attack < ins.pcm.size() && std::abs(ins.pcm[attack]) < 0.7 * peak) {
      ++attack;
    }
    f.push_back(1000.0 + 6.0 * std::log2(1.0 + attack * 1000.0 / ins.sampleRate));
    return f;
  }
  std::vector<double> bands(9, 1e-12);
  double centre = 62.5;
  for (double &band : bands) {
    // One octave band by a Goertzel sum over the bins it spans (coarse steps).
    for (double hz = centre / std::sqrt(2.0); hz < centre * std::sqrt(2.0) && hz < ins.sampleRate / 2;
         hz += centre / 8.0) {
      double re = 0.0;
      double im = 0.0;
      for (size_t i = 0; i < ins.pcm.size(); ++i) {
        double a = 2.0 * M_PI * hz * static_cast<double>(i) / ins.sampleRate;
        re += ins.pcm[i] * std::cos(a);
        im += ins.pcm[i] * std::sin(a);
      }
      band += re * re + im * im;
    }
    centre *= 2.0;
  }
  double top = *std::max_element(bands.begin(), bands.end());
  for (double b : bands) {
    f.push_back(std::max(-40.0, 10.0 * std::log10(b / top)));
  }
  size_t peakAt = 0;
  for (size_t i = 0; i < ins.pcm.size(); ++i) {
    peakAt = std::abs(ins.pcm[i]) > std::abs(ins.pcm[peakAt]) ? i : peakAt;
  }
  size_t end = ins.pcm.size();
  while (end > peakAt && std::abs(ins.pcm[end - 1]) < std::abs(ins.pcm[peakAt]) / 10) {
    --end;
  }
  f.push_back(-1000.0 + 6.0 * std::log2(1.0 + (end - peakAt) * 1000.0 / ins.sampleRate));
  return f;
}

// Two timbres a listener tells apart: fingerprints of one kind that differ by
// 4 dB or more (root mean square over their entries).
inline bool audiblyDifferent(const std::vector<double> &a, const std::vector<double> &b) {
  if (a.size() != b.size() || (a.back() > 0.0) != (b.back() > 0.0)) {
    return true;
  }
  double sum = 0.0;
  for (size_t i = 0; i < a.size(); ++i) {
    sum += (a[i] - b[i]) * (a[i] - b[i]);
  }
  return std::sqrt(sum / static_cast<double>(a.size())) >= 4.0;
}

// How many of the fingerprints are audibly different from all listed before.
inline int32_t distinctTimbres(const std::vector<std::vector<double>> &prints) {
  std::vector<std::vector<double>> kept;
  for (const auto &p : prints) {
    bool fresh = std::all_of(kept.begin(), kept.end(),
                             [&p](const std::vector<double> &k) { return audiblyDifferent(p, k); });
    if (fresh) {
      kept.push_back(p);
    }
  }
  return static_cast<int32_t>(kept.size());
}

// Side against mid energy of a stretch: 0 in the centre, 1 hard to one side.
inline double sideOverMid(const Stereo &s) {
  double mid = 1e-30;
  double side = 0.0;
  for (size_t i = 0; i + 1 < s.size(); i += 2) {
    double m = 0.5 * (s[i] + s[i + 1]);
    double d = 0.5 * (s[i] - s[i + 1]);
    mid += m * m;
    side += d * d;
  }
  return std::sqrt(side / mid);
}

// How many drum kits (fingerprints of kick, snare and hats) differ audibly
// from every kit listed before them in at least one drum.
inline int32_t distinctKits(const std::vector<std::vector<std::vector<double>>> &kits) {
  int32_t count = 0;
  for (size_t a = 0; a < kits.size(); ++a) {
    bool fresh = true;
    for (size_t b = 0; b < a && fresh; ++b) {
      bool differs = false;
      for (size_t d = 0; d < kits[a].size(); ++d) {
        differs = differs || audiblyDifferent(kits[a][d], kits[b][d]);
      }
      fresh = differs;
    }
    count += fresh ? 1 : 0;
  }
  return count;
}

// Power spectra of a mono 16-bit sound in Hann-windowed frames of `size`
// samples, `hop` apart (zero-padded at the end).
inline std::vector<std::vector<double>> spectraOf(const std::vector<int16_t> &pcm, size_t size,
                                                  size_t hop) {
  std::vector<std::vector<double>> out;
  for (size_t start = 0; start < pcm.size(); start += hop) {
    std::vector<std::complex<double>> x(size);
    for (size_t i = 0; i < size && start + i < pcm.size(); ++i) {
      double w = 0.5 - 0.5 * std::cos(2.0 * M_PI * static_cast<double>(i) / size);
      x[i] = w * pcm[start + i] / 32768.0;
    }
    fft(x);
    std::vector<double> power(size / 2);
    for (size_t k = 0; k < size / 2; ++k) {
      power[k] = std::norm(x[k]);
    }
    out.push_back(power);
  }
  return out;
}

// The share of a sound's energy in steady tones: spectral peaks 15 dB above
// the median of their neighbourhood that stay within a bin of one frequency for three
// frames (about 140 ms), from 100 Hz up (below, a tone is a rumble rather
// than a note). A held note scores high; noise, clicks and glides, which
// belong to no key, score low.
inline double steadyToneShare(const std::vector<int16_t> &pcm) {
  auto frames = spectraOf(pcm, 2048, 1024);
  std::vector<std::vector<bool>> peak(frames.size());
  double total = 1e-30;
  for (size_t f = 0; f < frames.size(); ++f) {
    const auto &p = frames[f];
    peak[f].assign(p.size(), false);
    for (size_t k = 2; k + 2 < p.size(); ++k) {
      total += p[k];
    }
    for (size_t k = 10; k + 2 < p.size(); ++k) {
      if (p[k] < p[k - 1] || p[k] < p[k + 1]) {
        continue;
      }
      size_t lo = k >= 24 ? k - 24 : 0;
      size_t hi = std::min(p.size(), k + 25);
      std::vector<double> around(p.begin() + static_cast<std::ptrdiff_t>(lo),
                                 p.begin() + static_cast<std::ptrdiff_t>(hi));
      std::nth_element(around.begin(), around.begin() + static_cast<std::ptrdiff_t>(around.size() / 2),
                       around.end());
      peak[f][k] = p[k] > around[around.size() / 2] * 31.6;
    }
  }
  auto near = [&peak](size_t f, size_t k) {
    return peak[f][k] || peak[f][k - 1] || peak[f][k + 1];
  };
  double steady = 0.0;
  for (size_t f = 1; f + 1 < frames.size(); ++f) {
    for (size_t k = 2; k + 2 < frames[f].size(); ++k) {
      if (peak[f][k] && near(f - 1, k) && near(f + 1, k)) {
        steady += frames[f][k - 1] + frames[f][k] + frames[f][k + 1];
      }
    }
  }
  return steady / total;
}

// Octave-band levels (dB against the whole) of a sound's first `seconds`.
inline std::vector<double> openingBands(const std::vector<int16_t> &pcm, double seconds) {
  std::vector<int16_t> head(pcm.begin(),
                            pcm.begin() + static_cast<std::ptrdiff_t>(std::min<size_t>(
                                              pcm.size(), static_cast<size_t>(seconds * 22050))));
  auto frames = spectraOf(head, 8192, 8192);
  std::vector<double> bands(8, 1e-20);
  double total = 1e-20;
  for (size_t k = 1; k < frames[0].size(); ++k) {
    double hz = k * 22050.0 / 8192;
    int band = static_cast<int>(std::floor(std::log2(hz / 44.0)));
    total += frames[0][k];
    if (band >= 0 && band < 8) {
      bands[static_cast<size_t>(band)] += frames[0][k];
    }
  }
  for (double &b : bands) {
    b = std::max(-40.0, 10.0 * std::log10(b / total));
  }
  return bands;
}

inline double rmsDifference(const std::vector<double> &a, const std::vector<double> &b) {
  double sum = 0.0;
  for (size_t i = 0; i < a.size(); ++i) {
    sum += (a[i] - b[i]) * (a[i] - b[i]);
  }
  return std::sqrt(sum / static_cast<double>(a.size()));
}
