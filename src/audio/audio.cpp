// Audio before the sound device layer exists: the game runs silently
// (audioReady stays 0) and every operation does nothing.
#include "audio/audio.h"

int32_t audioReady = 0;
int32_t currentMusic = -1;
int32_t effectsVolume = 0;
int32_t musicVolume = 252;
int32_t musicNumber = 1;
int32_t lastMusicNumber = 1;
uint8_t volumeKeyHeld = 0;
int32_t volumeDisplayFrames = 0;
int32_t volumeDisplayWhich = 0;

void initAudio() {}
void loadEffects() {}
void shutdownAudio() {}
void playEffect(int) {}
void stopEffect(int) {}
void stopEffects() {}
void playMusic(int32_t, const char *) {}
void selectMusic(int32_t) {}
void stopMusic() { currentMusic = -1; }
void pauseAudio() {}
void resumeAudio() {}
void handleVolumeKeys() {}
