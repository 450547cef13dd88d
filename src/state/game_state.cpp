// Definitions of the game state, with the values a program start has.
#include "state/game_state.h"
#include "common/start_values.h"

uint32_t level = 1;
int32_t lives = START_LIVES;
uint32_t totalScore = 0;
int32_t gameId = 0;
uint8_t gameLoaded = 0;
int32_t topTenRank = NO_TOP_TEN_PLACE;

int32_t timeBonus = 0;
int32_t startCountdown = 0;
uint8_t levelComplete = 0;
uint8_t gameSaved = 0;
uint8_t enemiesSlowed = 0;
int32_t slowFrameToggle = 0;
uint8_t crashed = 0;
uint8_t crashHandled = 0;
int32_t crashCause = 0;
int32_t crashFrames = 0;
uint32_t capturedCells = 0;
float capturedPercent = 0.0f;
int32_t percentWhole = 0;
int32_t percentHundredths = 0;
int32_t percentTenThousandths = 0;
uint32_t basicScore = 0;
int32_t levelScore = 0;
uint8_t trackShielded = 0;

EntityBox playerBox = {478, 5, 482, 9, 477, 483, 4, 10};
int32_t playerDx = 0;
int32_t playerDy = 0;
uint8_t playerMoving = 0;
int32_t playerGround = GROUND_SAFE;
int32_t previousGround = GROUND_SAFE;
int32_t playerSpriteShift = 0;

void prepareNewGame(uint32_t startLevel) {
  level = startLevel;
  lives = START_LIVES;
  totalScore = 0;
  gameLoaded = 0;
  gameSaved = 0;
}

// The globals above with the values they start with, for resetGameState.
namespace {
[[maybe_unused]] const bool startValuesKept = keepStartValues(
    level, lives, totalScore, gameId, gameLoaded, topTenRank, timeBonus, startCountdown,
    levelComplete, gameSaved, enemiesSlowed, slowFrameToggle, crashed, crashHandled, crashCause,
    crashFrames, capturedCells, capturedPercent, percentWhole, percentHundredths,
    percentTenThousandths, basicScore, levelScore, trackShielded, playerBox, playerDx, playerDy,
    playerMoving, playerGround, previousGround, playerSpriteShift);
} // namespace
