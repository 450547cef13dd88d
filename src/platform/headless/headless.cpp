// The headless backend: no window, no device, no sound; everything the game
// asks of the platform is answered from scripted state and recorded.
#include "platform/headless/headless.h"
#include "platform/input.h"
#include "platform/key_states.h"
#include "platform/text.h"
#include "platform/timer.h"
#include <cstring>
#include <map>

namespace {
struct Texture {
  int width = 0;
  int height = 0;
  std::vector<uint32_t> pixels;
};

int16_t keyStates[VK_KEY_COUNT];
bool reportedDown[VK_KEY_COUNT];
uint32_t clockMs = 0;
uint64_t sleptMs = 0;
uint32_t calendarSeconds = 1700000000u;
int desktopW = 1920;
int desktopH = 1080;
int displays = 1;
int pointerOn = -1;
int displayChosen = 0;
headless::WindowShown shownAs{};
std::vector<DisplayModeInfo> displayModes;
int deviceFailures = 0;
bool deviceExists = false;
bool backBufferFails = false;
int backW = 0;
int backH = 0;
std::vector<WindowEvent> pendingEvents;
bool otherInstance = false;
bool raiseAsked = false;
std::string guard;
std::string videoDriver = "headless";
std::string windowClassName;
std::string windowIcon;
std::vector<DrawRecord> records;
std::map<int, Texture> textures;
int nextTexture = 1;
int nextSprite = 1;
std::map<int, Transform2D> spriteTransforms;
std::map<int, bool> spriteFlash;
std::map<int, int> fontHeights;
int nextFont = 1;
int fontCount = 0;
int textureCount = 0;
std::string messageBoxText;

const Transform2D IDENTITY{1, 0, 0, 1, 0, 0};
} // namespace

namespace headless {
void reset() {
  releaseAllKeys();
  std::memset(keyStates, 0, sizeof keyStates);
  clockMs = 0;
  sleptMs = 0;
  calendarSeconds = 1700000000u;
  desktopW = 1920;
  desktopH = 1080;
  displays = 1;
  pointerOn = -1;
  displayChosen = 0;
  shownAs = {};
  displayModes = {{1920, 1080, 60}};
  deviceFailures = 0;
  backBufferFails = false;
  pendingEvents.clear();
  otherInstance = false;
  raiseAsked = false;
  guard.clear();
  videoDriver = "headless";
  windowClassName.clear();
  windowIcon.clear();
  records.clear();
  fontCount = 0;
  textureCount = 0;
  messageBoxText.clear();
  resetAudio();
}
void setKey(int vk, bool down) {
  if (vk >= 0 && vk < VK_KEY_COUNT) {
    keyStates[vk] =
        static_cast<int16_t>(down ? (keyStates[vk] | int16_t(0x8000)) : (keyStates[vk] & 1));
  }
}
void setToggle(int vk, bool on) {
  if (vk >= 0 && vk < VK_KEY_COUNT) {
    keyStates[vk] = static_cast<int16_t>(on ? (keyStates[vk] | 1) : (keyStates[vk] & ~1));
  }
}
void keyEvent(int vk, bool down) {
  if (vk < 0 || vk >= VK_KEY_COUNT || reportedDown[vk] == down) {
    return; // the window system reports no second press of a held key
  }
  reportedDown[vk] = down;
  if (down) {
    pressVirtualKey(vk);
  } else {
    releaseVirtualKey(vk);
  }
}
void releaseAllKeys() {
  for (auto &k : keyStates) {
    k = static_cast<int16_t>(k & 1);
  }
  std::memset(reportedDown, 0, sizeof reportedDown);
  releaseAllVirtualKeys();
}
void setClock(uint32_t ms) { clockMs = ms; }
void advanceClock(uint32_t ms) { clockMs += ms; }
uint64_t totalSlept() { return sleptMs; }
void setCalendarTime(uint32_t seconds) { calendarSeconds = seconds; }
void setDesktop(int w, int h) {
  desktopW = w;
  desktopH = h;
}
void setDisplays(int count, int pointerDisplay) {
  displays = count;
  pointerOn = pointerDisplay;
}
int selectedDisplay() { return displayChosen; }
WindowShown windowShown() { return shownAs; }
void setDisplayModes(const std::vector<DisplayModeInfo> &modes) { displayModes = modes; }
void failDeviceCreation(int failuresLeft) { deviceFailures = failuresLeft; }
void failBackBufferRead(bool fail) { backBufferFails = fail; }
void pushWindowEvent(WindowEvent event) { pendingEvents.push_back(event); }
void setOtherInstanceRunning(bool running) { otherInstance = running; }
bool raiseRequested() { return raiseAsked; }
std::string guardName() { return guard; }
void setVideoDriver(const char *name) { videoDriver = name; }
std::string windowClass() { return windowClassName; }
std::string windowIconPath() { return windowIcon; }
const std::vector<DrawRecord> &drawLog() { return records; }
void clearDrawLog() { records.clear(); }
std::vector<std::string> drawnTexts() {
  std::vector<std::string> out;
  for (const auto &r : records) {
    if (r.kind == DrawKind::Text) {
      out.push_back(r.text);
    }
  }
  return out;
}
int fontsCreated() { return fontCount; }
int texturesCreated() { return textureCount; }
std::string lastMessageBox() { return messageBoxText; }
// Fixed pitch: 3/5 of the height, as the real font's advance is about 0.6 em.
int glyphAdvance(int height) { return (height * 3 + 2) / 5; }
} // namespace headless

// ---- input / timer / system ----
int16_t keyboardState(int vk) {
  if (vk < 0 || vk >= VK_KEY_COUNT) {
    return 0;
  }
  return static_cast<int16_t>(keyStates[vk] | (virtualKeyDown(vk) ? 0x8000 : 0));
}
uint32_t timeGetTime() { return clockMs; }
uint64_t timeMicroseconds() { return uint64_t(clockMs) * 1000u; }
void sleepMilliseconds(uint32_t ms) {
  clockMs += ms;
  sleptMs += ms;
}
uint32_t calendarTimeSeconds() { return calendarSeconds; }

bool acquireSingleInstance(const char *name) {
  guard = name;
  if (otherInstance) {
    raiseAsked = true;
    return false;
  }
  return true;
}
void releaseSingleInstance() {}
void installQuitHandlers() {}
WindowEvent pollWindowEvent() {
  if (pendingEvents.empty()) {
    return WindowEvent::None;
  }
  WindowEvent e = pendingEvents.front();
  pendingEvents.erase(pendingEvents.begin());
  return e;
}
void runMainLoop(bool (*pass)(), void (*finish)()) {
  while (pass()) {
  }
  finish();
}

bool loopPacedByDisplay() { return false; }

bool endMayBeCutShort() { return false; }

void showMessageBox(const char *caption, const char *text) {
  messageBoxText = std::string(caption) + ": " + text;
}

// ---- video ----
void setWindowClass(const char *appId) { windowClassName = appId; }
bool createMainWindow(const char *, const char *iconPath) {
  windowIcon = iconPath;
  return true;
}
const char *videoDriverName() { return videoDriver.c_str(); }
int displayCount() { return displays; }
int displayUnderPointer() { return pointerOn; }
void selectDisplay(int index) { displayChosen = index; }
void showMainWindow(bool inWindow, int width, int height) {
  shownAs = {shownAs.times + 1, inWindow, width, height};
}
void destroyMainWindow() {}
void desktopSize(int *w, int *h) {
  *w = desktopW;
  *h = desktopH;
}
int listDisplayModes(DisplayModeInfo *modes, int capacity) {
  int n = static_cast<int>(displayModes.size());
  for (int i = 0; i < n && i < capacity; ++i) {
    modes[i] = displayModes[i];
  }
  return n;
}
bool createGraphicsDevice(int w, int h, int) {
  if (deviceFailures > 0) {
    --deviceFailures;
    return false;
  }
  deviceExists = true;
  backW = w;
  backH = h;
  return true;
}
void releaseGraphicsDevice() { deviceExists = false; }
bool graphicsDeviceExists() { return deviceExists; }
void raiseMainWindow() { raiseAsked = true; }
bool recoverGraphicsDevice() { return false; }
void clearBackBuffer(uint32_t) {}
void presentFrame() {}
bool readBackBuffer(uint32_t *pixels, int w, int h) {
  if (backBufferFails || !deviceExists) {
    return false;
  }
  std::memset(pixels, 0, sizeof(uint32_t) * static_cast<size_t>(w) * static_cast<size_t>(h));
  return true;
}

// ---- textures and sprites ----
TextureId loadTexture(const char *) { return 0; }
TextureId createTexture(int w, int h, uint32_t argb) {
  if (w <= 0 || h <= 0) {
    return 0;
  }
  Texture t;
  t.width = w;
  t.height = h;
  t.pixels.assign(static_cast<size_t>(w) * static_cast<size_t>(h), argb);
  int id = nextTexture++;
  textures[id] = std::move(t);
  ++textureCount;
  return id;
}
void releaseTexture(TextureId texture) { textures.erase(texture); }
bool textureSize(TextureId texture, int *w, int *h) {
  auto it = textures.find(texture);
  if (it == textures.end()) {
    return false;
  }
  *w = it->second.width;
  *h = it->second.height;
  return true;
}
uint32_t *lockTexture(TextureId texture) {
  auto it = textures.find(texture);
  return it == textures.end() ? nullptr : it->second.pixels.data();
}
void unlockTexture(TextureId, int, int) {}

SpriteId createSprite() {
  int id = nextSprite++;
  spriteTransforms[id] = IDENTITY;
  spriteFlash[id] = false;
  return id;
}
void releaseSprite(SpriteId sprite) {
  spriteTransforms.erase(sprite);
  spriteFlash.erase(sprite);
}
void spriteSetTransform(SpriteId sprite, const Transform2D &t) { spriteTransforms[sprite] = t; }
void spriteBegin(SpriteId sprite) { spriteFlash[sprite] = false; }
void spriteEnd(SpriteId sprite) { spriteFlash[sprite] = false; }
void spriteDraw(SpriteId sprite, TextureId texture, const SourceRect *src, float x, float y,
                uint32_t argb) {
  DrawRecord r{};
  r.kind = DrawKind::Sprite;
  r.sprite = sprite;
  r.texture = texture;
  r.wholeTexture = src == nullptr;
  if (src) {
    r.src = *src;
  }
  r.x = x;
  r.y = y;
  r.colour = argb;
  r.flashBlend = spriteFlash[sprite];
  r.transform = spriteTransforms[sprite];
  records.push_back(std::move(r));
}
void spriteSetFlashBlend(SpriteId sprite, bool on) { spriteFlash[sprite] = on; }

// ---- text ----
bool registerFontFile(const char *) { return true; }
FontId createFont(int height) {
  int id = nextFont++;
  fontHeights[id] = height;
  ++fontCount;
  return id;
}
void releaseFont(FontId font) { fontHeights.erase(font); }
void measureText(FontId font, const char *text, int *w, int *h) {
  auto it = fontHeights.find(font);
  int height = it == fontHeights.end() ? 0 : it->second;
  *w = static_cast<int>(std::strlen(text)) * headless::glyphAdvance(height);
  *h = height;
}
void drawTextLine(SpriteId sprite, FontId font, const char *text, int left, int top,
                  uint32_t argb) {
  DrawRecord r{};
  r.kind = DrawKind::Text;
  r.sprite = sprite;
  r.x = static_cast<float>(left);
  r.y = static_cast<float>(top);
  r.colour = argb;
  r.transform = spriteTransforms[sprite];
  r.text = text;
  auto it = fontHeights.find(font);
  r.fontHeight = it == fontHeights.end() ? 0 : it->second;
  records.push_back(std::move(r));
}
