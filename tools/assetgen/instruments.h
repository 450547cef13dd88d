// Synthesized tracker instruments: drums as one-shots, melodic voices with a
// seamless sustain loop.
#pragma once
#include "song.h"

enum class Voice : uint8_t {
  Kick,
  Snare,
  HatClosed,
  HatOpen,
  BassSaw,
  BassSquare,
  BassRound,
  LeadSquare,
  LeadSaw,
  LeadFlute,
  LeadPulse,
  PadStrings,
  PadOrgan,
  PadSoft,
  Pluck,
  ChipChord,
};

// Loudness of every voice's sustain at full volume (LUFS, one channel).
constexpr double INSTRUMENT_LOUDNESS = -11.5;

// Synthesizes a voice at sampleRate; melodic voices sound rootNote at that
// rate, drums are meant to be played at MIDI note 60 and come from one of
// five kits (0 … 4). Results are cached.
Instrument makeInstrument(Voice voice, int32_t sampleRate, int32_t rootNote, int32_t kit = 0);
