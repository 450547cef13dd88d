// Bonus items: placement per level, collection by the player, and removal by
// a capture that reaches one of their corners.
#include "playfield/items.h"
#include "audio/audio.h"
#include "common/random.h"
#include "common/start_values.h"
#include "playfield/grid.h"
#include "playfield/painting.h"
#include "state/game_state.h"

BonusItem bonusItems[BONUS_ITEM_COUNT];

bool itemOverlapsPlaced(const BonusItem &candidate) {
  for (const BonusItem &placedItem : bonusItems) {
    if (placedItem.placed == 1 && boxesTouch(candidate.box, placedItem.box)) {
      return true;
    }
  }
  return false;
}

void placeItems(int32_t levelNumber) {
  for (BonusItem &item : bonusItems) {
    item.placed = 0;
    item.kind = ITEM_SHIELD;
  }
  bonusItems[4].kind = ITEM_LIFE;
  bonusItems[5].kind = ITEM_SLOW;
  // Every record gets a position, active or not, so an inactive one still
  // keeps the later ones away; the draws are repeated until nothing touches.
  for (BonusItem &item : bonusItems) {
    do {
      int32_t x = gameRand() % 861 + 50;
      int32_t y = gameRand() % 416 + 50;
      placeBox(item.box, x, y);
      item.active = 0;
    } while (itemOverlapsPlaced(item));
    item.placed = 1;
  }
  int32_t shields = levelNumber / 5;
  if (shields > 4) {
    shields = 4;
  }
  for (int32_t i = 0; i < shields; ++i) {
    bonusItems[i].active = 1;
  }
  bonusItems[4].active = levelNumber % 4 == 0 ? 1 : 0;
  bonusItems[5].active = levelNumber % 3 == 0 ? 1 : 0;
}

void collectItems() {
  for (BonusItem &item : bonusItems) {
    if (item.active == 0 || !boxesTouch(playerBox, item.box)) {
      continue;
    }
    playEffect(EFFECT_PICKUP);
    item.active = 0;
    switch (item.kind) {
    case ITEM_SHIELD:
      // A second shield while the track is still yellow is simply used up.
      if (trackShielded == 0) {
        trackShielded = 1;
        recolourTrackShielded();
      }
      break;
    case ITEM_LIFE:
      lives += 1;
      break;
    case ITEM_SLOW:
      enemiesSlowed = 1;
      break;
    default:
      break;
    }
  }
}

void removeCoveredItems() {
  for (BonusItem &item : bonusItems) {
    if (item.active == 0) {
      continue;
    }
    const EntityBox &b = item.box;
    if (cellAt(b.x, b.y) == CELL_CAPTURED || cellAt(b.x, b.y + 4) == CELL_CAPTURED ||
        cellAt(b.x + 4, b.y) == CELL_CAPTURED || cellAt(b.x + 4, b.y + 4) == CELL_CAPTURED) {
      item.active = 0;
    }
  }
}

// The globals above with the values they start with, for resetGameState.
namespace {
[[maybe_unused]] const bool startValuesKept = keepStartValues(
    bonusItems);
} // namespace
