// White enemies (diagonal, in the black area) and black enemies (on captured
// ground, with corridors), sharing one record.
#pragma once
#include "state/entity_box.h"
#include <cstdint>

constexpr int32_t DIR_DOWN_RIGHT = 0;
constexpr int32_t DIR_UP_RIGHT = 1;
constexpr int32_t DIR_DOWN_LEFT = 2;
constexpr int32_t DIR_UP_LEFT = 3;
constexpr int32_t DIR_RIGHT = 4;
constexpr int32_t DIR_LEFT = 5;
constexpr int32_t DIR_UP = 6;
constexpr int32_t DIR_DOWN = 7;
// One step in each direction, by its number: the diagonals, then the straights.
constexpr int32_t DIRECTION_DX[8] = {1, 1, -1, -1, 1, -1, 0, 0};
constexpr int32_t DIRECTION_DY[8] = {1, -1, 1, -1, 0, 0, -1, 1};

constexpr int MAX_WHITE_ENEMIES = 200;
constexpr int MAX_BLACK_ENEMIES = 40;
constexpr int FLASH_SLOTS = 9;

struct BounceFlash {
  int32_t srcLeft, srcTop, srcRight, srcBottom;
  int32_t screenX, screenY; // virtual pixels, before the vertical offset
  int32_t alpha;            // 0 = slot free; 240 when spawned
};

struct Enemy {
  EntityBox box;
  int32_t direction;
  int32_t spriteShift; // 28 for the enemy that caused the current crash
  BounceFlash flashes[FLASH_SLOTS];
  uint8_t flashActive;
  uint8_t edgeNudged;
};

extern Enemy whiteEnemies[MAX_WHITE_ENEMIES];
extern Enemy blackEnemies[MAX_BLACK_ENEMIES];
extern uint32_t blackEnemyCount;

// One white enemy per level, at most MAX_WHITE_ENEMIES.
uint32_t whiteEnemiesInPlay();
void placeWhiteEnemies(int32_t count);
void placeBlackEnemies(int32_t level);
// One step of every white enemy in play (level of them); stops at a crash.
// Does nothing while crashed, or on the frames the slowing item skips.
void stepWhiteEnemies();
// One step of every black enemy in play; stops at a crash. Does nothing
// while crashed or once the level is complete.
void stepBlackEnemies();
// The direction a black enemy takes next from direction d, by the sums of the
// last probeRing; draws from the generator for side turns and coins.
int32_t chooseBlackDirection(int32_t d);
bool whiteTouchesPlayer(const Enemy &enemy);
bool bounceHitsTrack(const Enemy &enemy, int32_t newDirection);
// This enemy caused a crash: the cause is kept and its crashed sprite shown.
void enemyCrash(Enemy &enemy, int32_t cause);
// An enemy hit the unfinished track: a crash, unless the shield takes the hit.
bool trackHitCrashes(Enemy &enemy, int32_t cause);
void randomChoice(int32_t &destination, int32_t a, int32_t b);
