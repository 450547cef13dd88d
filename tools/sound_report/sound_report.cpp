// pelta_sound_report: prints the measures of the generated sounds as tables,
// for listening by numbers when the generator changes (not run by ctest).
// Per tune: loudness, pass length, energy below 200 Hz and in 2-8 kHz, voice
// levels, rhythm counts; per effect: loudness at the default volumes; per
// combination of effects started together: the worst peak over every tune.
#include "composer.h"
#include "music_measure.h"
#include "sound_measure.h"
#include "sounds.h"
#include "tune_rhythms.h"
#include <cstdio>
#include <map>
#include <set>
#include <string>

namespace {
const char *const EFFECT_NAMES[EFFECT_FILE_COUNT] = {"tick",
                                                     "capture",
                                                     "level done >90",
                                                     "crash",
                                                     "game over",
                                                     "track hum",
                                                     "pickup",
                                                     "shield",
                                                     "new entry",
                                                     "level done 80-90",
                                                     "level done <=80",
                                                     "screenshot",
                                                     "screenshot failed"};

double median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v.empty() ? 0.0 : v[v.size() / 2];
}

// The music as a listener judges it: dropouts, clashes, the lead on its
// chords, material, tuning, stereo and bands; then the timbres and kits.
void printMusic() {
  std::printf("MUSIC (one pass; clash and cross: seconds of voices a semitone or tritone apart "
              "over 0.25 s, cross with a tone outside the key; share: the lead on chord tones; "
              "unres: held lead notes off the chord; phrase: plays of the top four-bar phrase in "
              "20 min; bass: pitch and detune in cents; width: side/mid of lead and bass alone)\n");
  std::printf("%-3s %-15s %4s %6s %6s %5s %5s %4s %9s %6s %11s %11s %5s %5s %5s\n", "no", "title",
              "drop", "clash", "cross", "share", "unres", "pats", "bars", "phrase", "bass c/det",
              "width l/b", "<200", "2-8k", "lead");
  std::vector<std::vector<double>> prints;
  std::vector<std::vector<std::vector<double>>> kits;
  for (int n = 0; n < TUNE_COUNT; ++n) {
    const TuneRecipe &recipe = tuneRecipe(n);
    ComposedTune tune = composeTune(recipe);
    std::vector<uint8_t> bytes = writeSong(tune.song, recipe.format);
    double seconds = readModule(bytes).seconds;
    Stereo pass = renderTune(bytes, 0.0, seconds);
    Harmony h = harmonyOf(tune, recipe.minor);
    Material m = materialOf(tune);
    Tuning bass = tuningOf(tune.song.instruments[INS_BASS - 1]);
    double mid = seconds * 0.5;
    Stereo leadAlone = renderVoice(bytes, {INS_LEAD - 1}, mid, 20.0);
    double leadWidth = sideOverMid(leadAlone);
    double leadBright = bandShares(leadAlone, {{2000.0, 8000.0}})[0];
    double bassWidth = sideOverMid(renderVoice(bytes, {INS_BASS - 1}, mid, 20.0));
    auto shares = bandShares(pass, {{0.0, 200.0}, {2000.0, 8000.0}});
    char bars[16];
    std::snprintf(bars, sizeof bars, "%d/%d", m.distinctBars, m.bars);
    std::printf("%-3d %-15.15s %4d %6.1f %6.1f %4.0f%% %5d %4d %9s %6.1f %5.0f/%-5.0f %5.2f/%-5.2f "
                "%4.0f%% %4.1f%% %4.1f%%\n",
                n, recipe.title, dropouts(pass, 1.0), h.clashSeconds, h.crossSeconds,
                100.0 * h.chordToneShare, h.unresolved, m.patterns, bars, m.topPhrase,
                bass.pitchCents, bass.detuneCents, leadWidth, bassWidth, 100.0 * shares[0],
                100.0 * shares[1], 100.0 * leadBright);
    std::vector<std::vector<double>> kit;
    for (size_t i = 0; i < tune.song.instruments.size(); ++i) {
      prints.push_back(timbreOf(tune.song.instruments[i]));
      if (i < INS_BASS - 1) {
        kit.push_back(prints.back());
      }
    }
    kits.push_back(kit);
  }
  std::printf("audibly different timbres: %d; drum kits: %d\n", distinctTimbres(prints),
              distinctKits(kits));
  std::printf("sample tuning (cents, worst): ");
  double worstPitch = 0.0;
  double worstDetune = 0.0;
  for (int n = 0; n < TUNE_COUNT; ++n) {
    for (const Instrument &ins : composeTune(tuneRecipe(n)).song.instruments) {
      if (ins.loopLength > 0) {
        Tuning t = tuningOf(ins);
        worstPitch = std::max(worstPitch, std::fabs(t.pitchCents));
        worstDetune = std::max(worstDetune, std::fabs(t.detuneCents));
      }
    }
  }
  std::printf("pitch %.1f, detune %.1f\n\n", worstPitch, worstDetune);
}

// Whether the effects sit over any tune: their steady tones, their share of
// the lead's band, and how far apart the three level-done sounds open.
void printEffectShapes() {
  std::printf("EFFECT SHAPES (steady: share of energy in held tones; lead band: share in "
              "250-2000 Hz)\n");
  std::printf("%-3s %-18s %7s %7s\n", "id", "name", "steady", "lead");
  std::vector<std::vector<int16_t>> effects;
  for (int i = 0; i < EFFECT_FILE_COUNT; ++i) {
    effects.push_back(effectSound(i));
    auto shares = bandShares(effectStereo(effects.back(), 1.0), {{250.0, 2000.0}});
    std::printf("%-3d %-18s %6.0f%% %6.0f%%\n", i, EFFECT_NAMES[i],
                100.0 * steadyToneShare(effects.back()), 100.0 * shares[0]);
  }
  auto a = openingBands(effects[10], 0.35);
  auto b = openingBands(effects[9], 0.35);
  auto c = openingBands(effects[2], 0.35);
  std::printf("level-done openings (first 350 ms, dB apart): <=80/80-90 %.1f, 80-90/>90 %.1f, "
              "<=80/>90 %.1f\n\n",
              rmsDifference(a, b), rmsDifference(b, c), rmsDifference(a, c));
}
} // namespace

int main(int argc, char **argv) {
  printEffectShapes();
  if (argc > 1 && std::string(argv[1]) == "--effects") {
    return 0;
  }
  printMusic();
  if (argc > 1 && std::string(argv[1]) == "--music") {
    return 0;
  }
  std::printf("TUNES (full gain; LUFS integrated over one pass)\n");
  std::printf("%-3s %-15s %-4s %6s %5s %6s %4s %5s %6s %6s %6s %6s %5s  %s\n", "no", "title", "fmt",
              "LUFS", "LRA", "pass", "<200", "2-8k", "lead-b", "lead-p", "lead-a", "hat-k", "peak",
              "form");
  std::printf("(lead-b, -p, -a: the lead against the bass, the pads, the plucks; hat-k: hats "
              "against the kick; LU)\n");
  std::vector<double> loudness;
  std::set<std::string> leadRhythms;
  std::set<std::string> bassRhythms;
  std::set<std::string> forms;
  std::vector<Stereo> passes(TUNE_COUNT);
  std::vector<double> passSeconds(TUNE_COUNT);
  for (int n = 0; n < TUNE_COUNT; ++n) {
    std::vector<uint8_t> bytes = tuneBytes(n);
    ModuleInfo info = readModule(bytes);
    Stereo pass = renderTune(bytes, 0.0, info.seconds);
    double lufs = integratedLoudness(pass);
    auto shares = bandShares(pass, {{0.0, 200.0}, {2000.0, 8000.0}});
    double mid = info.seconds * 0.5;
    auto voice = [&](std::vector<int32_t> keep) {
      return integratedLoudness(renderVoice(bytes, keep, mid, 20.0));
    };
    ComposedTune tune = composeTune(tuneRecipe(n));
    double lead = voice({INS_LEAD - 1});
    double bass = voice({INS_BASS - 1});
    double pad = voice({INS_PAD - 1});
    double pluck = voice({INS_PLUCK - 1});
    double kick = voice({INS_KICK - 1});
    double hats = voice({INS_HAT - 1, INS_OPEN_HAT - 1});
    std::printf(
        "%-3d %-15.15s %-4s %6.1f %5.1f %6.1f %3.0f%% %4.1f%% %6.1f %6.1f %6.1f %6.1f %5.2f  %s\n",
        n, tuneRecipe(n).title, info.type.c_str(), lufs, loudnessRange(pass), info.seconds,
        100.0 * shares[0], 100.0 * shares[1], lead - bass, lead - pad,
        std::isfinite(pluck) ? lead - pluck : 0.0, hats - kick, peakOf(pass), formOf(tune).c_str());
    if (n > 0) {
      loudness.push_back(lufs);
      for (SectionKind k : {SectionKind::Chorus, SectionKind::Bridge}) {
        std::string r = leadRhythm(tune, k);
        if (!r.empty()) {
          leadRhythms.insert(r);
        }
      }
      forms.insert(formOf(tune));
    }
    bassRhythms.insert(bassRhythm(tune));
    passes[static_cast<size_t>(n)] = renderTune(bytes, 0.0, info.seconds + 4.0, DEFAULT_MUSIC_GAIN);
    passSeconds[static_cast<size_t>(n)] = info.seconds;
  }
  double musicLevel = median(loudness) + 20.0 * std::log10(DEFAULT_MUSIC_GAIN);
  double spreadLow = *std::min_element(loudness.begin(), loudness.end()) - median(loudness);
  double spreadHigh = *std::max_element(loudness.begin(), loudness.end()) - median(loudness);
  std::printf("in-game tunes: median %.1f LUFS (%.1f at the default music volume), spread %+.1f … "
              "%+.1f LU\n",
              median(loudness), musicLevel, spreadLow, spreadHigh);
  std::printf("distinct lead motifs in choruses and bridges: %zu; bass bar rhythms: %zu; section "
              "forms: %zu\n\n",
              leadRhythms.size(), bassRhythms.size(), forms.size());

  std::printf("EFFECTS (default volumes; loudness over the sounding part)\n");
  std::printf("%-3s %-18s %7s %7s %7s %7s %6s\n", "id", "name", "LUFS", "vs mus", "target", "peak",
              "<200");
  std::vector<std::vector<int16_t>> effects;
  for (int i = 0; i < EFFECT_FILE_COUNT; ++i) {
    effects.push_back(effectSound(i));
    Stereo s = effectStereo(effects.back(), DEFAULT_EFFECT_GAIN);
    double l = effectLoudness(effects.back(), DEFAULT_EFFECT_GAIN);
    auto shares = bandShares(s, {{0.0, 200.0}});
    std::printf("%-3d %-18s %7.1f %+7.1f %+7.1f %7.2f %5.0f%%\n", i, EFFECT_NAMES[i], l,
                l - musicLevel, effectTarget(i), peakOf(s), 100.0 * shares[0]);
  }

  std::printf("\nHEADROOM (effects started together over every in-game tune at 40 offsets)\n");
  struct Combo {
    const char *name;
    std::vector<std::pair<int, double>> plays; // effect, start in seconds
    double musicStops;                         // seconds after the first play; <0: never
  };
  const Combo combos[] = {
      {"capture + level done <=80", {{1, 0.0}, {10, 0.0}}, -1.0},
      {"capture + level done 80-90", {{1, 0.0}, {9, 0.0}}, -1.0},
      {"capture + level done >90", {{1, 0.0}, {2, 0.0}}, -1.0},
      {"capture + pickup", {{1, 0.0}, {6, 0.0}}, -1.0},
      {"crash, game over 60 frames on", {{3, 0.0}, {4, 0.9}}, 0.9},
      {"track hum + pickup", {{5, 0.0}, {6, 0.0}}, -1.0},
      {"track hum + shield", {{5, 0.0}, {7, 0.0}}, -1.0},
  };
  std::printf("%-32s %8s %8s %8s\n", "combination", "peak", "dBFS", "clipped");
  for (const Combo &c : combos) {
    Stereo together;
    for (const auto &[effect, at] : c.plays) {
      std::vector<int16_t> pcm = effects[static_cast<size_t>(effect)];
      if (effect == 5) {
        std::vector<int16_t> looped;
        while (looped.size() < 3 * 22050) {
          looped.insert(looped.end(), pcm.begin(), pcm.end());
        }
        pcm = looped;
      }
      mixInto(together, effectStereo(pcm, DEFAULT_EFFECT_GAIN), static_cast<size_t>(at * OUT_RATE));
    }
    size_t frames = together.size() / 2;
    size_t musicFrames = c.musicStops < 0 ? frames : static_cast<size_t>(c.musicStops * OUT_RATE);
    float worst = 0.0f;
    int clipped = 0;
    int placements = 0;
    for (int n = 1; n < TUNE_COUNT; ++n) {
      const Stereo &music = passes[static_cast<size_t>(n)];
      for (int k = 0; k < 40; ++k) {
        size_t start =
            static_cast<size_t>(passSeconds[static_cast<size_t>(n)] * k / 40.0 * OUT_RATE);
        float peak = 0.0f;
        for (size_t f = 0; f < frames; ++f) {
          for (size_t ch = 0; ch < 2; ++ch) {
            float m = f < musicFrames && 2 * (start + f) + ch < music.size()
                          ? music[2 * (start + f) + ch]
                          : 0.0f;
            peak = std::max(peak, std::fabs(m + together[2 * f + ch]));
          }
        }
        worst = std::max(worst, peak);
        clipped += peak > 1.0f ? 1 : 0;
        ++placements;
      }
    }
    std::printf("%-32s %8.2f %8.1f %4d/%d\n", c.name, worst, 20.0 * std::log10(worst), clipped,
                placements);
  }
  return 0;
}
