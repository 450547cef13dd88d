// Sound output: one device, effect samples played on numbered channels, and
// one tracker tune at a time. Called only by the audio subsystem, from the
// main thread; the backend mixes on its own thread.
#pragma once
#include <cstddef>
#include <cstdint>

// Handles are small positive numbers; 0 means "none" and every call accepts it
// harmlessly.
using SampleId = int32_t;
using TuneId = int32_t;

// Opens the default output device at mixRate Hz with `channels` effect
// channels (0 … channels-1). False when there is no usable device.
bool openAudioDevice(int32_t mixRate, int32_t channels);
// Stops everything, frees every sample and tune, closes the device.
void closeAudioDevice();

// A RIFF WAV file held in memory; 0 when it cannot be decoded or no device is open.
SampleId loadSample(const uint8_t *bytes, size_t size);
void freeSample(SampleId sample);
// Starts `sample` on `channel`, replacing whatever played there. rateHz is the
// playback rate of the sample's frames, volume 0.0 … 1.0; loop repeats it until
// stopped. False when nothing was started.
bool playOnChannel(int32_t channel, SampleId sample, int32_t rateHz, float volume, bool loop);
void stopChannel(int32_t channel);
// True while the channel still sounds (a one-shot ends by itself).
bool channelPlaying(int32_t channel);

// A MOD, S3M, XM or IT module held in memory; 0 when it does not load.
TuneId loadTune(const uint8_t *bytes, size_t size);
// Makes `tune` the one tune heard, from its start, looping for ever.
void playTune(TuneId tune);
// Silences `tune` if it is the one heard.
void stopTune(TuneId tune);
void freeTune(TuneId tune);

// Linear gains 0.0 … 1.0 applied to every effect channel / to the tune.
void setEffectsGain(float gain);
void setMusicGain(float gain);
// Pauses all output (effects and tune) where it stands; resume continues it.
void pauseAudioOutput();
void resumeAudioOutput();
