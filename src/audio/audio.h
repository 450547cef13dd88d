// Sound effects, tunes, the two global volumes and the volume keys.
#pragma once
#include <cstdint>
#include "platform/audio_device.h"

constexpr int EFFECT_TICK = 0;
constexpr int EFFECT_CAPTURE = 1;
constexpr int EFFECT_LEVEL_DONE_90 = 2;
constexpr int EFFECT_CRASH = 3;
constexpr int EFFECT_GAME_OVER = 4;
constexpr int EFFECT_TRACK = 5;
constexpr int EFFECT_PICKUP = 6;
constexpr int EFFECT_SHIELD_HIT = 7;
constexpr int EFFECT_NEW_ENTRY = 8;
constexpr int EFFECT_LEVEL_DONE_80 = 9;
constexpr int EFFECT_LEVEL_DONE_75 = 10;
constexpr int EFFECT_SCREENSHOT = 11;
constexpr int EFFECT_SCREENSHOT_FAILED = 12;
constexpr int EFFECT_COUNT = 13;

constexpr int32_t MENU_MUSIC = 0;
constexpr int32_t LAST_MUSIC_NUMBER = 20; // the game's tunes are 1 … 20
constexpr int32_t MUSIC_SILENT = 21;      // the tune choice after the last: no music
constexpr int32_t VOLUME_MAX = 10000;
// A volume kept within silence … full volume.
inline int32_t clampVolume(int32_t v) { return v < 0 ? 0 : (v > VOLUME_MAX ? VOLUME_MAX : v); }
// Frames the status line shows a volume after a step.
constexpr int32_t VOLUME_DISPLAY_FRAMES = 60;

// Simultaneous plays allowed per effect; a new play takes over the oldest.
constexpr int32_t EFFECT_CHANNEL_COUNT = 17; // 3 + 3 + 11 x 1
constexpr int32_t EFFECT_RATE = 22050;
constexpr int32_t MIX_RATE = 44100;

extern int32_t audioReady;
extern SampleId effectSamples[EFFECT_COUNT];
extern TuneId musicChannel;
extern int32_t currentMusic;
extern int32_t effectsVolume;
extern int32_t musicVolume;
extern int32_t musicNumber;
extern int32_t lastMusicNumber;
extern uint8_t volumeKeyHeld;
extern int32_t volumeDisplayFrames;
extern int32_t volumeDisplayWhich;

void initAudio();
void loadEffects();
void shutdownAudio();
// Plays a loaded sample at rateHz and volume 0 … 255 on a channel of its
// effect; returns the channel handle (channel + 1), 0 when nothing played.
int32_t playSample(SampleId sample, int32_t rateHz, int32_t volume);
void playEffect(int effect);
void stopEffect(int effect);
void stopEffects();
void playMusic(int32_t number, const char *path);
// Loads tune `number` ahead of its first playMusic, which then starts at once.
void prepareMusic(int32_t number);
void selectMusic(int32_t number);
void stopMusic();
void pauseAudio();
void resumeAudio();
// Page Up/Page Down for the music; Home/End for the effects only when
// effectKeysActive (the game screen).
void handleVolumeKeys(bool effectKeysActive);

// Hands the current global volume to the device (linear gain, 0 … 10000).
void applyEffectsVolume();
void applyMusicVolume();

// Where each effect lives in the channel bank.
int32_t effectPlayLimit(int effect);
int32_t effectFirstChannel(int effect);
// File of a tune number 0 … 20; nullptr for any other number.
const char *tuneFile(int32_t number);
