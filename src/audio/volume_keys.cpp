// The volume keys: Page Up/Page Down for the music on every screen, Home/End
// for the effects in the game, one step per press, and the display counter
// that the game's status line reads.
#include "audio/audio.h"
#include "common/start_values.h"
#include "platform/input.h"

uint8_t volumeKeyHeld = 0;
int32_t volumeDisplayFrames = 0;
int32_t volumeDisplayWhich = 0;

namespace {
constexpr int32_t VOLUME_STEP = 1000;

// Steps kept within 0 … 10000, so the start value 252 (not a multiple of a
// step) can neither go below silence nor above full volume.
int32_t stepVolume(int32_t volume, int32_t delta) { return clampVolume(volume + delta); }

// One step up while upKey is down, else one down while downKey is; true when
// either key is down, even at the bound where the volume stays.
bool stepVolumeByKeys(int32_t &volume, int upKey, int downKey) {
  if (keyDown(upKey)) {
    if (volume < VOLUME_MAX) {
      volume = stepVolume(volume, VOLUME_STEP);
    }
    return true;
  }
  if (keyDown(downKey)) {
    if (volume > 0) {
      volume = stepVolume(volume, -VOLUME_STEP);
    }
    return true;
  }
  return false;
}
} // namespace

// Holding any of the four keys blocks the other three until all are up; Page Up
// and Home in one frame both act and the effects volume is the one shown.
void handleVolumeKeys(bool effectKeysActive) {
  if (volumeKeyHeld) {
    if (keyDown(VK_PRIOR) || keyDown(VK_NEXT) || keyDown(VK_HOME) || keyDown(VK_END)) {
      if (volumeDisplayFrames > 0) {
        --volumeDisplayFrames;
      }
      return;
    }
    volumeKeyHeld = 0;
  }
  if (stepVolumeByKeys(musicVolume, VK_PRIOR, VK_NEXT)) {
    volumeKeyHeld = 1;
    applyMusicVolume();
    volumeDisplayWhich = 0;
    volumeDisplayFrames = VOLUME_DISPLAY_FRAMES;
  }
  if (effectKeysActive && stepVolumeByKeys(effectsVolume, VK_HOME, VK_END)) {
    volumeKeyHeld = 1;
    applyEffectsVolume();
    volumeDisplayWhich = 1;
    // One less than the music's: this path returns before the count down at
    // the end of the frame, which the music's full count goes through.
    volumeDisplayFrames = VOLUME_DISPLAY_FRAMES - 1;
    return;
  }
  if (volumeDisplayFrames > 0) {
    --volumeDisplayFrames;
  }
}

// The globals above with the values they start with, for resetGameState.
namespace {
[[maybe_unused]] const bool startValuesKept = keepStartValues(
    volumeKeyHeld, volumeDisplayFrames, volumeDisplayWhich);
} // namespace
