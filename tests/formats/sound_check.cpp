// The sound check: the generated tunes and effects as a player hears them,
// rendered by libopenmpt and measured with libebur128. One run renders every
// tune once and shares the renders between the checks (ctest runs it whole).
#include "composer.h"
#include "music_measure.h"
#include "sound_measure.h"
#include "sounds.h"
#include "tune_rhythms.h"
#include <algorithm>
#include <gtest/gtest.h>
#include <map>
#include <set>

namespace {
struct RenderedTune {
  ComposedTune tune;
  std::vector<uint8_t> bytes;
  double seconds = 0.0;  // one pass
  Stereo music;          // the first pass and a little of the second, at the default music volume
  double loudness = 0.0; // of the first pass at full gain
};

const std::vector<RenderedTune> &tunes() {
  static const std::vector<RenderedTune> all = [] {
    std::vector<RenderedTune> out;
    for (int n = 0; n < TUNE_COUNT; ++n) {
      RenderedTune t;
      t.tune = composeTune(tuneRecipe(n));
      t.bytes = tuneBytes(n);
      t.seconds = readModule(t.bytes).seconds;
      t.music = renderTune(t.bytes, 0.0, t.seconds + 4.0, DEFAULT_MUSIC_GAIN);
      Stereo pass(t.music.begin(),
                  t.music.begin() + static_cast<std::ptrdiff_t>(2 * t.seconds * OUT_RATE));
      t.loudness = integratedLoudness(pass) - 20.0 * std::log10(DEFAULT_MUSIC_GAIN);
      out.push_back(std::move(t));
    }
    return out;
  }();
  return all;
}

double median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

// The in-game music's level at the default music volume.
double musicLevel() {
  std::vector<double> levels;
  for (int n = 1; n < TUNE_COUNT; ++n) {
    levels.push_back(tunes()[static_cast<size_t>(n)].loudness);
  }
  return median(levels) + 20.0 * std::log10(DEFAULT_MUSIC_GAIN);
}

// Loudness of 20 ms blocks of one channel on its own (8 kHz is enough to
// hear whether it sounds), and the order playing at each block. The others
// are turned down rather than muted: a muted S3M channel skips its commands,
// the jump back included.
struct ChannelTrace {
  std::vector<float> rms;
  std::vector<int32_t> order;
};

ChannelTrace traceChannel(const std::vector<uint8_t> &bytes, int32_t channel, double seconds) {
  ChannelTrace trace;
  openmpt_module_ext *ext = openmpt_module_ext_create_from_memory(
      bytes.data(), bytes.size(), openmpt_log_func_silent, nullptr, openmpt_error_func_ignore,
      nullptr, nullptr, nullptr, nullptr);
  openmpt_module *mod = openmpt_module_ext_get_module(ext);
  openmpt_module_ext_interface_interactive interactive{};
  openmpt_module_ext_get_interface(ext, LIBOPENMPT_EXT_C_INTERFACE_INTERACTIVE, &interactive,
                                   sizeof interactive);
  for (int32_t c = 0; c < openmpt_module_get_num_channels(mod); ++c) {
    interactive.set_channel_volume(ext, c, c == channel ? 1.0 : 0.0);
  }
  openmpt_module_set_repeat_count(mod, -1);
  std::vector<float> block(160);
  for (double t = 0.0; t < seconds; t += 0.02) {
    openmpt_module_read_float_mono(mod, 8000, block.size(), block.data());
    double sum = 0.0;
    for (float v : block) {
      sum += static_cast<double>(v) * v;
    }
    trace.rms.push_back(static_cast<float>(std::sqrt(sum / static_cast<double>(block.size()))));
    trace.order.push_back(openmpt_module_get_current_order(mod));
  }
  openmpt_module_ext_destroy(ext);
  return trace;
}

TEST(SoundCheck, NoVoiceSoundsInTheSecondPassWhereTheFirstIsSilent) {
  for (int n = 0; n < TUNE_COUNT; ++n) {
    const RenderedTune &t = tunes()[static_cast<size_t>(n)];
    int32_t channels = t.tune.song.channels;
    for (int32_t ch = 0; ch < channels; ++ch) {
      ChannelTrace trace = traceChannel(t.bytes, ch, t.seconds + 3.0);
      // The loop's target the first time round, and after the wrap.
      auto first = std::find(trace.order.begin(), trace.order.end(), t.tune.loopOrder);
      size_t second = 0;
      for (size_t i = 1; i < trace.order.size() && second == 0; ++i) {
        second = trace.order[i] < trace.order[i - 1] ? i : 0;
      }
      ASSERT_NE(first, trace.order.end());
      ASSERT_GT(second, 0u) << "tune " << n << " never loops";
      EXPECT_EQ(trace.order[second], t.tune.loopOrder) << "tune " << n;
      size_t a = static_cast<size_t>(first - trace.order.begin());
      for (size_t k = 0; k < 100 && second + k < trace.rms.size(); ++k) {
        // Silent in the first pass at this block and the blocks either side
        // (the two passes need not align to a block).
        float before =
            std::max({trace.rms[a + k], k > 0 ? trace.rms[a + k - 1] : 0.0f, trace.rms[a + k + 1]});
        if (before < 1e-4f && trace.rms[second + k] >= 1e-3f) {
          ADD_FAILURE() << "tune " << n << ", channel " << ch << " sounds " << k * 0.02
                        << " s into the second pass";
          break;
        }
      }
    }
  }
}

// One table over every tune, as a listener hears it: the music never drops
// out inside a pass; no two voices rub a semitone or tritone apart for more
// than a quarter second but for passing sixteenths, nor against a tone the
// chord has raised; the lead sits on its chords; a pass holds twelve
// patterns of its own and no phrase comes round more than fifteen times in
// twenty minutes; every sample is in tune and any second oscillator detuned
// by a gentle 5 to 15 cents; bass and lead in the centre; flute leads keep 5 %
// of their energy at 2 to 8 kHz. Across the soundtrack: four drum kits and
// fourteen timbres a listener tells apart.
TEST(SoundCheck, EveryTuneFlowsInHarmonyInTuneAndWithMaterialToLast) {
  std::vector<std::vector<double>> prints;
  std::vector<std::vector<std::vector<double>>> kits;
  for (int n = 0; n < TUNE_COUNT; ++n) {
    const RenderedTune &t = tunes()[static_cast<size_t>(n)];
    const TuneRecipe &recipe = tuneRecipe(n);
    Stereo pass(t.music.begin(),
                t.music.begin() + static_cast<std::ptrdiff_t>(2 * t.seconds * OUT_RATE));
    EXPECT_EQ(dropouts(pass, DEFAULT_MUSIC_GAIN), 0) << "tune " << n;
    Harmony h = harmonyOf(t.tune, recipe.minor);
    EXPECT_EQ(h.clashSeconds, 0.0) << "tune " << n;
    EXPECT_EQ(h.crossSeconds, 0.0) << "tune " << n;
    EXPECT_EQ(h.unresolved, 0) << "tune " << n;
    EXPECT_GE(h.chordToneShare, 0.9) << "tune " << n;
    Material m = materialOf(t.tune);
    EXPECT_GE(m.patterns, 12) << "tune " << n;
    EXPECT_LE(m.topPhrase, 15.0) << "tune " << n;
    std::vector<std::vector<double>> kit;
    for (const Instrument &ins : t.tune.song.instruments) {
      prints.push_back(timbreOf(ins));
      if (kit.size() < INS_BASS - 1) {
        kit.push_back(prints.back());
      }
      if (ins.loopLength > 0) {
        Tuning tuning = tuningOf(ins);
        EXPECT_LE(std::fabs(tuning.pitchCents), 10.0) << "tune " << n << ", " << ins.name;
        double detune = std::fabs(tuning.detuneCents);
        EXPECT_TRUE(detune == 0.0 || (detune >= 5.0 && detune <= 15.0))
            << "tune " << n << ", " << ins.name << " detuned by " << detune << " cents";
      }
    }
    kits.push_back(kit);
    double mid = t.seconds * 0.5;
    Stereo lead = renderVoice(t.bytes, {INS_LEAD - 1}, mid, 10.0);
    EXPECT_LE(sideOverMid(lead), 0.1) << "tune " << n;
    EXPECT_LE(sideOverMid(renderVoice(t.bytes, {INS_BASS - 1}, mid, 10.0)), 0.1) << "tune " << n;
    if (recipe.lead == Voice::LeadFlute) {
      EXPECT_GE(bandShares(lead, {{2000.0, 8000.0}})[0], 0.05) << "tune " << n;
    }
  }
  EXPECT_GE(distinctKits(kits), 4);
  EXPECT_GE(distinctTimbres(prints), 14);
}

TEST(SoundCheck, EveryInGameTuneIsWithinOneAndAHalfLUOfTheirMedian) {
  std::vector<double> levels;
  for (int n = 1; n < TUNE_COUNT; ++n) {
    levels.push_back(tunes()[static_cast<size_t>(n)].loudness);
  }
  double middle = median(levels);
  for (int n = 1; n < TUNE_COUNT; ++n) {
    EXPECT_NEAR(levels[static_cast<size_t>(n - 1)], middle, 1.5) << "tune " << n;
  }
}

// Loudness at the default volumes against the music: each effect within 1 LU
// of its written target, and in the order of importance a player hears.
TEST(SoundCheck, EffectsMeetTheirLoudnessTargetsOverTheMusic) {
  double music = musicLevel();
  std::vector<double> lu;
  for (int e = 0; e < EFFECT_FILE_COUNT; ++e) {
    lu.push_back(effectLoudness(effectSound(e), DEFAULT_EFFECT_GAIN) - music);
    EXPECT_NEAR(lu.back(), effectTarget(e), 1.0) << "effect " << e;
    if (e != 5) {
      EXPECT_GE(lu.back(), -2.0) << "effect " << e;
      EXPECT_LE(lu.back(), 6.0) << "effect " << e;
    }
  }
  // The track hum sounds all the time the player draws: no louder than the
  // music and above the bass line.
  EXPECT_LE(lu[5], 1.0);
  EXPECT_LT(bandShares(effectStereo(effectSound(5), 1.0), {{0.0, 200.0}})[0], 0.5);
  double routine = std::max({lu[0], lu[1], lu[6]});
  for (int important : {2, 3, 4, 9, 10}) {
    EXPECT_GE(lu[static_cast<size_t>(important)], routine + 2.0) << "effect " << important;
  }
  EXPECT_GT(lu[7], routine); // the shield hit is a warning
  EXPECT_LE(lu[12], lu[1]);  // the failed screenshot no louder than a capture
  EXPECT_LE(lu[10], lu[9]);  // a better level result is no quieter
  EXPECT_LE(lu[9], lu[2]);
}

// Effects that sound over the music belong to no key (noise, clicks, glides,
// no held notes); the three level-done sounds differ from their first moment
// on; the shield hit warns outside the melody's band.
TEST(SoundCheck, EffectsOverTheMusicFitEveryKeyAndStandApart) {
  for (int e = 0; e < EFFECT_FILE_COUNT; ++e) {
    if (e != 4 && e != 8) { // game over and a new entry: the music has stopped
      EXPECT_LE(steadyToneShare(effectSound(e)), 0.1) << "effect " << e;
    }
  }
  const int done[3] = {10, 9, 2};
  for (int a = 0; a < 3; ++a) {
    for (int b = a + 1; b < 3; ++b) {
      EXPECT_GE(rmsDifference(openingBands(effectSound(done[a]), 0.35),
                              openingBands(effectSound(done[b]), 0.35)),
                6.0)
          << "effects " << done[a] << " and " << done[b];
    }
  }
  EXPECT_LE(bandShares(effectStereo(effectSound(7), 1.0), {{250.0, 2000.0}})[0], 0.2);
}

// The effects the rules start together, over every in-game tune at evenly
// spread moments: the sum never reaches full scale.
TEST(SoundCheck, EffectsStartedTogetherLeaveHeadroomOverEveryTune) {
  struct Combination {
    std::vector<std::pair<int, double>> plays; // effect, start in seconds
    double musicStops;                         // seconds; < 0: plays on
  };
  // A capture and the level-done sound of the same capture; a capture and a
  // pickup; the game-over sound 60 frames (at least 0.9 s) after the last
  // crash, when the music stops; a pickup or shield hit while drawing.
  const Combination combinations[] = {{{{1, 0.0}, {10, 0.0}}, -1.0}, {{{1, 0.0}, {9, 0.0}}, -1.0},
                                      {{{1, 0.0}, {2, 0.0}}, -1.0},  {{{1, 0.0}, {6, 0.0}}, -1.0},
                                      {{{3, 0.0}, {4, 0.9}}, 0.9},   {{{5, 0.0}, {6, 0.0}}, -1.0},
                                      {{{5, 0.0}, {7, 0.0}}, -1.0}};
  for (const Combination &c : combinations) {
    Stereo together;
    for (const auto &[effect, at] : c.plays) {
      std::vector<int16_t> pcm = effectSound(effect);
      if (effect == 5) {
        std::vector<int16_t> loop = pcm;
        for (int i = 0; i < 4; ++i) {
          pcm.insert(pcm.end(), loop.begin(), loop.end());
        }
      }
      mixInto(together, effectStereo(pcm, DEFAULT_EFFECT_GAIN), static_cast<size_t>(at * OUT_RATE));
    }
    size_t frames = together.size() / 2;
    size_t musicFrames = c.musicStops < 0.0 ? frames : static_cast<size_t>(c.musicStops * OUT_RATE);
    for (int n = 1; n < TUNE_COUNT; ++n) {
      const RenderedTune &t = tunes()[static_cast<size_t>(n)];
      float worst = 0.0f;
      for (int k = 0; k < 24; ++k) {
        size_t start = static_cast<size_t>(t.seconds * k / 24.0 * OUT_RATE);
        for (size_t i = 0; i < 2 * frames && 2 * start + i < t.music.size(); ++i) {
          float m = i / 2 < musicFrames ? t.music[2 * start + i] : 0.0f;
          worst = std::max(worst, std::fabs(m + together[i]));
        }
      }
      // Half a decibel for the device's own resampling.
      EXPECT_LT(worst, 0.95f) << "effects " << c.plays[0].first << " and " << c.plays[1].first
                              << " over tune " << n;
    }
  }
}

TEST(SoundCheck, TheTwentyTunesHaveRhythmsOfTheirOwn) {
  std::set<std::string> lead;
  std::set<std::string> bass;
  for (int n = 1; n < TUNE_COUNT; ++n) {
    const ComposedTune &tune = tunes()[static_cast<size_t>(n)].tune;
    for (SectionKind kind : {SectionKind::Chorus, SectionKind::Bridge}) {
      std::string r = leadRhythm(tune, kind);
      if (!r.empty()) {
        lead.insert(r);
      }
    }
    bass.insert(bassRhythm(tune));
  }
  EXPECT_GE(lead.size(), 12u);
  EXPECT_GE(bass.size(), 10u);
}

// One pass of an in-game tune lasts at least 90 s; the loop goes back to the
// first section after the intro, so the intro plays once.
TEST(SoundCheck, PassesLastAMinuteAndAHalfAndTheIntroPlaysOnce) {
  for (int n = 0; n < TUNE_COUNT; ++n) {
    const RenderedTune &t = tunes()[static_cast<size_t>(n)];
    if (n > 0) {
      EXPECT_GE(t.seconds, 90.0) << "tune " << n;
    }
    const std::vector<SectionKind> &form = t.tune.form;
    int32_t intro = static_cast<int32_t>(std::find(form.begin(), form.end(), SectionKind::Intro) -
                                         form.begin());
    EXPECT_EQ(t.tune.loopOrder, intro + 1) << "tune " << n;
    EXPECT_EQ(std::count(form.begin(), form.end(), SectionKind::Intro), 1) << "tune " << n;
  }
}

// A MOD's intro starts on the tune's own tempo: its first row lasts six ticks
// of it, not a tick at the format's default 125 BPM and five of its own.
TEST(SoundCheck, ModTunesPlayTheirFirstRowAtTheirOwnTempo) {
  for (int n = 0; n < TUNE_COUNT; ++n) {
    const RenderedTune &t = tunes()[static_cast<size_t>(n)];
    if (tuneRecipe(n).format != TuneFormat::Mod) {
      continue;
    }
    std::string log;
    openmpt_module *mod = openModule(t.bytes, &log);
    std::vector<float> buffer(2);
    std::map<std::pair<int32_t, int32_t>, int32_t> firstFrame; // (order, row) -> frame
    for (int32_t frame = 0; frame < OUT_RATE / 2; ++frame) {
      openmpt_module_read_interleaved_float_stereo(mod, OUT_RATE, 1, buffer.data());
      firstFrame.emplace(std::make_pair(openmpt_module_get_current_order(mod),
                                        openmpt_module_get_current_row(mod)),
                         frame);
    }
    openmpt_module_destroy(mod);
    int32_t introOrder = t.tune.loopOrder - 1;
    double row =
        (firstFrame[{introOrder, 1}] - firstFrame[{introOrder, 0}]) / static_cast<double>(OUT_RATE);
    EXPECT_NEAR(row, 6 * 2.5 / tuneRecipe(n).tempo, 0.0005) << "tune " << n;
  }
}
} // namespace
