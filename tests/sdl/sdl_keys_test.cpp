// The SDL keyboard: which key stands for which virtual key under several
// layouts, taps between frames, Alt+Enter, Pause and the focus going away.
#include "platform/input.h"
#include "platform/sdl/sdl_input.h"
#include "platform/system.h"
#include <SDL2/SDL.h>
#include <gtest/gtest.h>
#include <vector>

namespace {
void pushKey(SDL_Scancode position, SDL_Keycode key, bool down, Uint16 mod = KMOD_NONE) {
  SDL_Event e{};
  e.type = down ? SDL_KEYDOWN : SDL_KEYUP;
  e.key.state = down ? SDL_PRESSED : SDL_RELEASED;
  e.key.keysym.scancode = position;
  e.key.keysym.sym = key;
  e.key.keysym.mod = mod;
  SDL_PushEvent(&e);
}

// The dummy video driver keeps SDL's US keyboard layout.
void pushUsKey(SDL_Scancode position, bool down, Uint16 mod = KMOD_NONE) {
  pushKey(position, SDL_GetKeyFromScancode(position), down, mod);
}

// What the loop does between two frames: every pending event, in order.
std::vector<WindowEvent> pump() {
  std::vector<WindowEvent> told;
  for (WindowEvent e = pollWindowEvent(); e != WindowEvent::None; e = pollWindowEvent()) {
    told.push_back(e);
  }
  return told;
}

// One frame: the key as that frame reads it, then the frame's end.
bool frameSees(int vk) {
  const bool down = keyDown(vk);
  endKeyFrame();
  return down;
}
} // namespace

TEST(SdlKeys, LettersFollowTheLayoutAndTheOtherKeysTheirPlace) {
  struct Case {
    const char *layout;
    SDL_Scancode position;
    SDL_Keycode key;
    int vk;
  };
  const Case cases[] = {
      {"us", SDL_SCANCODE_T, SDLK_t, 'T'},
      {"us", SDL_SCANCODE_0, SDLK_0, '0'},
      {"dvorak", SDL_SCANCODE_K, SDLK_t, 'T'}, // the key labelled T
      {"dvorak", SDL_SCANCODE_T, SDLK_y, 'Y'},
      {"dvorak", SDL_SCANCODE_SEMICOLON, SDLK_s, 'S'},
      {"dvorak", SDL_SCANCODE_S, SDLK_o, 'O'},
      {"dvorak", SDL_SCANCODE_R, SDLK_p, 'P'},
      {"dvorak", SDL_SCANCODE_Q, SDLK_QUOTE, 0},
      {"azerty", SDL_SCANCODE_Q, SDLK_a, 'A'},
      {"azerty", SDL_SCANCODE_A, SDLK_q, 'Q'},
      {"azerty", SDL_SCANCODE_SEMICOLON, SDLK_m, 'M'},
      {"azerty", SDL_SCANCODE_M, SDLK_COMMA, 0},
      {"azerty", SDL_SCANCODE_2, SDLK_2, '2'},
      {"azerty", SDL_SCANCODE_APOSTROPHE, 0xF9, 0}, // ù: no letter of the game
      {"russian", SDL_SCANCODE_T, 0x0435, 'T'},     // Cyrillic: where US has it
      {"russian", SDL_SCANCODE_SEMICOLON, 0x0436, 0},
      {"any", SDL_SCANCODE_KP_ENTER, SDLK_KP_ENTER, VK_RETURN},
      {"any", SDL_SCANCODE_RETURN, SDLK_RETURN, VK_RETURN},
      {"any", SDL_SCANCODE_ESCAPE, SDLK_ESCAPE, VK_ESCAPE},
      {"any", SDL_SCANCODE_PAGEUP, SDLK_PAGEUP, VK_PRIOR},
      {"any", SDL_SCANCODE_PAGEDOWN, SDLK_PAGEDOWN, VK_NEXT},
      {"any", SDL_SCANCODE_HOME, SDLK_HOME, VK_HOME},
      {"any", SDL_SCANCODE_END, SDLK_END, VK_END},
      {"any", SDL_SCANCODE_LEFT, SDLK_LEFT, VK_LEFT},
      {"any", SDL_SCANCODE_DOWN, SDLK_DOWN, VK_DOWN},
      {"any", SDL_SCANCODE_PAUSE, SDLK_PAUSE, VK_PAUSE},
      {"any", SDL_SCANCODE_CAPSLOCK, SDLK_CAPSLOCK, VK_CAPITAL},
      {"any", SDL_SCANCODE_RCTRL, SDLK_RCTRL, VK_CONTROL},
      {"any", SDL_SCANCODE_BACKSPACE, SDLK_BACKSPACE, VK_BACK},
      {"any", SDL_SCANCODE_SPACE, SDLK_SPACE, VK_SPACE},
      {"any", SDL_SCANCODE_KP_7, SDLK_KP_7, 0},
      {"any", SDL_SCANCODE_TAB, SDLK_TAB, 0},
  };
  for (const Case &c : cases) {
    EXPECT_EQ(virtualKeyOf(c.key, c.position), c.vk)
        << c.layout << " " << SDL_GetScancodeName(c.position);
  }
}

TEST(SdlKeys, OnlyTheTwoEnterKeysReadAsEnter) {
  for (int position = 0; position < SDL_NUM_SCANCODES; ++position) {
    const auto sc = static_cast<SDL_Scancode>(position);
    const bool enter = sc == SDL_SCANCODE_RETURN || sc == SDL_SCANCODE_KP_ENTER;
    // A key whose layout gives it Return's code stays the key it is.
    for (SDL_Keycode key : {SDL_GetKeyFromScancode(sc), SDL_Keycode(SDLK_RETURN),
                            SDL_Keycode(SDLK_KP_ENTER), SDL_Keycode(SDLK_RETURN2)}) {
      EXPECT_EQ(virtualKeyOf(key, sc) == VK_RETURN, enter) << SDL_GetScancodeName(sc);
    }
  }
}

TEST(SdlKeys, ATapBetweenFramesIsReadInExactlyOneFrameAndAHeldKeyInEvery) {
  struct Case {
    SDL_Scancode position;
    SDL_Keycode key;
    int vk;
  };
  for (const Case &c : {Case{SDL_SCANCODE_I, SDLK_i, 'I'}, Case{SDL_SCANCODE_K, SDLK_t, 'T'},
                        Case{SDL_SCANCODE_ESCAPE, SDLK_ESCAPE, VK_ESCAPE},
                        Case{SDL_SCANCODE_PAGEUP, SDLK_PAGEUP, VK_PRIOR},
                        Case{SDL_SCANCODE_KP_ENTER, SDLK_KP_ENTER, VK_RETURN}}) {
    SCOPED_TRACE(c.vk);
    pushKey(c.position, c.key, true);
    pushKey(c.position, c.key, false);
    EXPECT_TRUE(pump().empty());
    EXPECT_TRUE(keyDown(c.vk)); // read twice in its frame
    EXPECT_TRUE(frameSees(c.vk));
    EXPECT_FALSE(frameSees(c.vk));

    pushKey(c.position, c.key, true);
    pump();
    for (int frame = 0; frame < 3; ++frame) {
      pushKey(c.position, c.key, true); // the window system's repeat
      pump();
      EXPECT_TRUE(frameSees(c.vk));
    }
    pushKey(c.position, c.key, false);
    pump();
    EXPECT_FALSE(frameSees(c.vk));
  }
}

TEST(SdlKeys, CtrlAndPTappedTogetherAreBothReadInTheNextFrame) {
  pushUsKey(SDL_SCANCODE_LCTRL, true);
  pushUsKey(SDL_SCANCODE_P, true, KMOD_LCTRL);
  pushUsKey(SDL_SCANCODE_P, false, KMOD_LCTRL);
  pushUsKey(SDL_SCANCODE_LCTRL, false);
  pump();
  EXPECT_TRUE(keyDown('P') && keyDown(VK_CONTROL));
  endKeyFrame();
  EXPECT_FALSE(keyDown('P') || keyDown(VK_CONTROL));

  // Rolled: a frame sees Ctrl alone, then P goes down with Ctrl held and
  // Ctrl is let go before the next frame: that frame still reads the chord.
  pushUsKey(SDL_SCANCODE_RCTRL, true);
  pump();
  EXPECT_TRUE(frameSees(VK_CONTROL));
  pushUsKey(SDL_SCANCODE_P, true, KMOD_RCTRL);
  pushUsKey(SDL_SCANCODE_RCTRL, false);
  pump();
  EXPECT_TRUE(keyDown('P') && keyDown(VK_CONTROL));
  endKeyFrame();
  EXPECT_FALSE(keyDown(VK_CONTROL));
  pushUsKey(SDL_SCANCODE_P, false);
  pump();
  EXPECT_FALSE(frameSees('P'));
  // P without Ctrl held brings no Ctrl with it.
  pushUsKey(SDL_SCANCODE_P, true);
  pushUsKey(SDL_SCANCODE_P, false);
  pump();
  EXPECT_TRUE(keyDown('P'));
  EXPECT_FALSE(frameSees(VK_CONTROL));
}

TEST(SdlKeys, AltEnterSwitchesTheWindowAndTheGameNeverSeesThatEnter) {
  for (SDL_Scancode enter : {SDL_SCANCODE_RETURN, SDL_SCANCODE_KP_ENTER}) {
    pushUsKey(SDL_SCANCODE_LALT, true);
    pushUsKey(enter, true, KMOD_LALT);
    pushUsKey(enter, true, KMOD_LALT); // repeat: no second switch
    EXPECT_EQ(pump(), std::vector<WindowEvent>{WindowEvent::ToggleWindow});
    EXPECT_FALSE(frameSees(VK_RETURN));
    pushUsKey(SDL_SCANCODE_LALT, false); // Alt up first, Enter still held
    pushUsKey(enter, true);
    EXPECT_TRUE(pump().empty());
    EXPECT_FALSE(frameSees(VK_RETURN));
    pushUsKey(enter, false);
    pump();
    EXPECT_FALSE(frameSees(VK_RETURN));
    pushUsKey(enter, true); // without Alt it is Enter again
    pump();
    EXPECT_TRUE(frameSees(VK_RETURN));
    pushUsKey(enter, false);
    pump();
  }
}

TEST(SdlKeys, PauseIsToldAtOnceAndALostFocusLetsGoOfEveryKey) {
  pushUsKey(SDL_SCANCODE_PAUSE, true);
  EXPECT_EQ(pump(), std::vector<WindowEvent>{WindowEvent::PauseKey});
  pushUsKey(SDL_SCANCODE_PAUSE, false);
  pump();

  pushUsKey(SDL_SCANCODE_LEFT, true);
  pushUsKey(SDL_SCANCODE_I, true);
  pushUsKey(SDL_SCANCODE_I, false);
  SDL_Event lost{};
  lost.type = SDL_WINDOWEVENT;
  lost.window.event = SDL_WINDOWEVENT_FOCUS_LOST;
  SDL_PushEvent(&lost);
  EXPECT_EQ(pump(), std::vector<WindowEvent>{WindowEvent::Deactivated});
  EXPECT_FALSE(keyDown(VK_LEFT));
  EXPECT_FALSE(keyDown('I'));
  pushUsKey(SDL_SCANCODE_LEFT, false); // the release may still come
  pump();
  pushUsKey(SDL_SCANCODE_LEFT, true);
  pump();
  EXPECT_TRUE(frameSees(VK_LEFT));
  pushUsKey(SDL_SCANCODE_LEFT, false);
  pump();
}
