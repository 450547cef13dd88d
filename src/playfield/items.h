// Bonus items: track shield, extra life, slowing of the white enemies.
#pragma once
#include "state/entity_box.h"
#include <cstdint>

constexpr int32_t ITEM_SHIELD = 0;
constexpr int32_t ITEM_LIFE = 1;
constexpr int32_t ITEM_SLOW = 2;
constexpr int BONUS_ITEM_COUNT = 6;

struct BonusItem {
  uint8_t active;
  uint8_t placed;
  int32_t kind;
  EntityBox box;
};

extern BonusItem bonusItems[BONUS_ITEM_COUNT];

void placeItems(int32_t level);
// Whether a candidate position touches an item already placed this level.
bool itemOverlapsPlaced(const BonusItem &candidate);
// Applies every active item the player's box touches.
void collectItems();
// After a capture: an item with a captured cell at a corner is gone.
void removeCoveredItems();
