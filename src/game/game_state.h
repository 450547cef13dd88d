// The state of a running game: game-wide values, the current level's flags
// and counters, and the player.
#pragma once
#include <cstdint>
#include "playfield/grid.h"

constexpr uint32_t MAX_LEVEL = 200;

constexpr int32_t GROUND_SAFE = 1;
constexpr int32_t GROUND_OPEN = 2;
constexpr int32_t GROUND_TRACK = 3;

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

// The player.
extern EntityBox playerBox;
extern int32_t playerDx;
extern int32_t playerDy;
extern uint8_t playerMoving;
extern int32_t playerGround;
extern int32_t previousGround;
extern int32_t playerSpriteShift;
