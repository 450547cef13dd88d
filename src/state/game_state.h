// The state the rules share: game-wide values, the current level's flags and
// counters, and the player. The playfield's rules and the game screen both
// read and write it; it depends on nothing of either.
#pragma once
#include "state/entity_box.h"
#include <cstdint>

constexpr uint32_t MAX_LEVEL = 200;
constexpr int32_t START_LIVES = 5;
constexpr int32_t NO_TOP_TEN_PLACE = 10; // topTenRank of a game outside the top ten

constexpr int32_t GROUND_SAFE = 1;
constexpr int32_t GROUND_OPEN = 2;
constexpr int32_t GROUND_TRACK = 3;

// Crash causes, in the order of the crash screen's lines.
constexpr int32_t CRASH_OWN_TRACK = 0;
constexpr int32_t CRASH_BLACK_PLAYER = 1;
constexpr int32_t CRASH_WHITE_PLAYER = 2;
constexpr int32_t CRASH_BLACK_TRACK = 3;
constexpr int32_t CRASH_WHITE_TRACK = 4;

// Game-wide, kept from level to level.
extern uint32_t level;
extern int32_t lives;
extern uint32_t totalScore;
extern int32_t gameId;
extern uint8_t gameLoaded;
extern int32_t topTenRank;

// The current level.
extern int32_t timeBonus;
extern int32_t startCountdown;
extern uint8_t levelComplete;
extern uint8_t gameSaved;
extern uint8_t enemiesSlowed;
extern int32_t slowFrameToggle;
extern uint8_t crashed;
extern uint8_t crashHandled;
extern int32_t crashCause;
extern int32_t crashFrames;
extern uint32_t capturedCells;
extern float capturedPercent;
extern int32_t percentWhole;
extern int32_t percentHundredths;
extern int32_t percentTenThousandths;
extern uint32_t basicScore;
extern int32_t levelScore;
extern uint8_t trackShielded;

// What a new game starts from: level startLevel, START_LIVES, no score,
// nothing loaded or saved (the main menu's set-up, and the simulator's).
void prepareNewGame(uint32_t startLevel);

// The player.
extern EntityBox playerBox;
extern int32_t playerDx;
extern int32_t playerDy;
extern uint8_t playerMoving;
extern int32_t playerGround;
extern int32_t previousGround;
extern int32_t playerSpriteShift;
