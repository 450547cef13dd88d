// The game screen's own operations: level set-up, the player's step, crashes,
// the drawing of the field and its texts, and the screen's keys.
#pragma once
#include <cstdint>

constexpr int32_t START_COUNTDOWN_FRAMES = 180;
constexpr int32_t COUNTDOWN_DIGIT_FRAMES = 60;
constexpr int32_t CRASH_DELAY_FRAMES = 60;
constexpr int32_t TIME_BONUS_PER_LEVEL = 50000;
constexpr int32_t TIME_BONUS_STEP = 10;
constexpr int32_t PLAYER_START_X = 478;
constexpr int32_t PLAYER_START_Y = 5;
constexpr int32_t PLAYER_CRASH_SHIFT = 70;
constexpr int STATUS_LINE_Y = 1035;
constexpr int STATUS_FONT_HEIGHT = 30;

// The game screen's frame: set-up on entry, drawing, the play step, the keys.
void gameFrame();
// Level set-up: fresh field, player, enemies, items, full time bonus, countdown.
void setUpLevel();
// One frame of the start countdown: one less, a tick as each digit's last
// frame starts, and the level's music once it reaches 0.
void advanceStartCountdown();
// The next level Enter sets up: one more, but never beyond the last level.
uint32_t nextLevel();
// The player at the start in the middle of the top border, standing, unshielded.
void resetPlayer();

// The player's share of the play step: keys, time bonus, one cell, ground, capture.
void stepPlayer();
// Everything that moves in one frame, and the crash processing of that frame.
void playStep();

// In the frame of a crash: the life is taken, the track turns red.
void processCrash();
// Every frame while crashed: the delay, then the crash or game-over texts.
void crashDisplayStep();
// Enter on the crash screen: the track erased, the player back at the start.
void continueAfterCrash();

// Sprite batches: field, player, enemies, items; then the bounce flashes.
void drawGameSprites();
void drawBounceFlashes();
// Text batch items, each leaving the font at the status line's height.
void drawLevelComplete();
void drawStatusLine();
// The countdown's digit (and on level 1 the goal) for the current frame.
void drawCountdown();

// S, M, Escape and Enter with the key latch.
void handleGameKeys();
