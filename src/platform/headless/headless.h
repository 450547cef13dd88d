// Controls of the headless backend, for tests and the simulator: scripted key
// states, a settable clock, made-up display modes, and the recorded draw calls.
#pragma once
#include "platform/audio_device.h"
#include "platform/sprites.h"
#include "platform/system.h"
#include "platform/video.h"
#include <cstdint>
#include <string>
#include <vector>

// One call that reached the headless sound device.
enum class AudioCall : uint8_t {
  PlayChannel,
  StopChannel,
  PlayTune,
  StopTune,
  EffectsGain,
  MusicGain,
  Pause,
  Resume
};

struct AudioRecord {
  AudioCall call;
  int32_t channel; // PlayChannel, StopChannel
  int32_t id;      // sample or tune
  int32_t rate;    // PlayChannel
  float value;     // volume or gain
  bool loop;       // PlayChannel
};

enum class DrawKind : uint8_t { Sprite, Text };

struct DrawRecord {
  DrawKind kind;
  SpriteId sprite;
  TextureId texture; // Sprite
  bool wholeTexture; // Sprite: no source rectangle given
  SourceRect src;    // Sprite
  float x, y;        // Sprite position, or text left/top
  uint32_t colour;
  bool flashBlend; // Sprite drawn with the flash blend
  Transform2D transform;
  std::string text; // Text
  int fontHeight;   // Text
};

namespace headless {
// Puts every control back to its start: keys up, clock 0, log empty,
// one 1920x1080 60 Hz display mode, no pending events.
void reset();
// A key's state as a script sets it: down from now on, or up from now on
// (a press and a release before the next frame leave no trace).
void setKey(int virtualKey, bool down);
void setToggle(int virtualKey, bool on);
// A key going down or up as the window system reports it, with the real
// backend's rule: pressed and let go before a frame, it reads down in that
// frame.
void keyEvent(int virtualKey, bool down);
// Every key up, scripted or reported.
void releaseAllKeys();
void setClock(uint32_t ms);
void advanceClock(uint32_t ms);
// Sleeps advance the fake clock; this counts the total slept.
uint64_t totalSlept();
void setCalendarTime(uint32_t seconds);
void setDesktop(int width, int height);
// How many displays there are and which holds the pointer (-1: unknown).
void setDisplays(int count, int pointerDisplay);
int selectedDisplay();
// How showMainWindow last showed the window.
struct WindowShown {
  int times; // calls so far
  bool inWindow;
  int width;
  int height;
};
WindowShown windowShown();
void setDisplayModes(const std::vector<DisplayModeInfo> &modes);
void failDeviceCreation(int failuresLeft);
void failBackBufferRead(bool fail);
void pushWindowEvent(WindowEvent event);
// Whether another instance was simulated as running.
void setOtherInstanceRunning(bool running);
bool raiseRequested();
// The name the single-instance guard was taken by.
std::string guardName();
// What videoDriverName reports ("headless" after reset).
void setVideoDriver(const char *name);
// The class and icon the window was given.
std::string windowClass();
std::string windowIconPath();
const std::vector<DrawRecord> &drawLog();
void clearDrawLog();
// Texts drawn since the log was cleared, in order.
std::vector<std::string> drawnTexts();
int fontsCreated();
int texturesCreated();
std::string lastMessageBox();
// Width of one character of a font of this height (fixed pitch).
int glyphAdvance(int height);

// Sound: whether a device "opens", the calls it received, and its state.
// reset() makes the device available with every channel silent.
void resetAudio();
void setAudioAvailable(bool available);
bool audioDeviceOpen();
const std::vector<AudioRecord> &audioLog();
void clearAudioLog();
// Ends a one-shot play on this channel, as time passing would.
void finishChannel(int32_t channel);
// The sample sounding on a channel, 0 when it is silent.
SampleId channelSample(int32_t channel);
// The tune currently heard, 0 when none; how many tunes were loaded so far.
TuneId tuneHeard();
int32_t tunesLoaded();
bool audioPaused();
} // namespace headless
