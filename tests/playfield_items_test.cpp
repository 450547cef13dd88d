#include <gtest/gtest.h>
#include "common/random.h"
#include "playfield/items.h"
#include "playfield_helpers.h"

namespace {
int activeOfKind(int32_t kind) {
  int n = 0;
  for (const BonusItem &item : bonusItems) {
    n += item.active && item.kind == kind ? 1 : 0;
  }
  return n;
}

void onlyItem(int index, int32_t x, int32_t y) {
  for (BonusItem &item : bonusItems) {
    item.active = 0;
  }
  bonusItems[index].active = 1;
  placeBox(bonusItems[index].box, x, y);
}
} // namespace

TEST(Items, WhichItemsALevelHas) {
  freshField();
  struct Case {
    int32_t level;
    int shields, lives, slows;
  };
  const Case cases[] = {{1, 0, 0, 0},  {3, 0, 0, 1},  {4, 0, 1, 0},  {5, 1, 0, 0},
                        {12, 2, 1, 1}, {19, 3, 0, 0}, {20, 4, 1, 0}, {60, 4, 1, 1}};
  for (const Case &c : cases) {
    gameSrand(static_cast<uint32_t>(c.level));
    placeItems(c.level);
    EXPECT_EQ(activeOfKind(ITEM_SHIELD), c.shields) << "level " << c.level;
    EXPECT_EQ(activeOfKind(ITEM_LIFE), c.lives) << "level " << c.level;
    EXPECT_EQ(activeOfKind(ITEM_SLOW), c.slows) << "level " << c.level;
    EXPECT_EQ(bonusItems[4].kind, ITEM_LIFE);
    EXPECT_EQ(bonusItems[5].kind, ITEM_SLOW);
  }
}

TEST(Items, EverySixArePlacedApartInsideTheirRange) {
  freshField();
  for (uint32_t seed = 1; seed <= 200; ++seed) {
    gameSrand(seed);
    placeItems(60);
    for (int i = 0; i < BONUS_ITEM_COUNT; ++i) {
      const EntityBox &a = bonusItems[i].box;
      ASSERT_EQ(bonusItems[i].placed, 1);
      ASSERT_GE(a.x, 50);
      ASSERT_LE(a.x, 910);
      ASSERT_GE(a.y, 50);
      ASSERT_LE(a.y, 465);
      ASSERT_EQ(a.outerBottom, a.y + 5);
      for (int j = 0; j < i; ++j) {
        const EntityBox &b = bonusItems[j].box;
        const bool touch = a.x <= b.outerRight && a.right >= b.outerLeft && a.y <= b.outerBottom &&
                           a.bottom >= b.outerTop;
        ASSERT_FALSE(touch) << "seed " << seed << " items " << j << " and " << i;
      }
    }
  }
  // With no clash the draws are x then y per item, in table order.
  gameSrand(5);
  placeItems(1);
  gameSrand(5);
  const int32_t x0 = gameRand() % 861 + 50;
  const int32_t y0 = gameRand() % 416 + 50;
  EXPECT_EQ(bonusItems[0].box.x, x0);
  EXPECT_EQ(bonusItems[0].box.y, y0);
}

TEST(Items, OverlapTestCountsOnlyPlacedItemsAndTouching) {
  freshField();
  for (BonusItem &item : bonusItems) {
    item.placed = 0;
  }
  bonusItems[0].placed = 1;
  placeBox(bonusItems[0].box, 100, 100);
  BonusItem candidate{};
  placeBox(candidate.box, 106, 100); // one free column between
  EXPECT_FALSE(itemOverlapsPlaced(candidate));
  placeBox(candidate.box, 105, 100); // directly adjacent
  EXPECT_TRUE(itemOverlapsPlaced(candidate));
  placeBox(candidate.box, 105, 105); // corner to corner
  EXPECT_TRUE(itemOverlapsPlaced(candidate));
  bonusItems[0].placed = 0;
  EXPECT_FALSE(itemOverlapsPlaced(candidate));
}

TEST(Items, CollectingAppliesEachKind) {
  freshField();
  lives = 3;
  placeBox(playerBox, 300, 300);
  layTrackRect(290, 300, 299, 304);

  onlyItem(0, 305, 302); // adjacent to the player's right side
  collectItems();
  EXPECT_EQ(bonusItems[0].active, 0);
  EXPECT_EQ(trackShielded, 1);
  EXPECT_TRUE(cellPainted(295, 302, COLOUR_TRACK_SHIELDED)); // the track turns yellow at once

  // A second shield while shielded is used up without another effect.
  onlyItem(1, 296, 296);
  recolourTrackNormal(); // so a repaint would show
  collectItems();
  EXPECT_EQ(bonusItems[1].active, 0);
  EXPECT_EQ(trackShielded, 1);
  EXPECT_TRUE(cellPainted(295, 302, COLOUR_TRACK));

  onlyItem(4, 300, 295);
  collectItems();
  EXPECT_EQ(lives, 4);
  collectItems(); // gone once taken
  EXPECT_EQ(lives, 4);

  onlyItem(5, 304, 304);
  collectItems();
  EXPECT_EQ(enemiesSlowed, 1);

  // Out of reach, or inactive: nothing.
  onlyItem(2, 306, 300);
  collectItems();
  EXPECT_EQ(bonusItems[2].active, 1);
  bonusItems[2].active = 0;
  placeBox(bonusItems[2].box, 302, 302);
  collectItems();
  EXPECT_EQ(bonusItems[2].active, 0);
}

TEST(Items, SeveralOnOneStep) {
  freshField();
  lives = 1;
  placeBox(playerBox, 300, 300);
  for (BonusItem &item : bonusItems) {
    item.active = 0;
  }
  bonusItems[0].active = 1;
  placeBox(bonusItems[0].box, 295, 295);
  bonusItems[4].active = 1;
  placeBox(bonusItems[4].box, 305, 305);
  bonusItems[5].active = 1;
  placeBox(bonusItems[5].box, 295, 305);
  collectItems();
  EXPECT_EQ(trackShielded, 1);
  EXPECT_EQ(lives, 2);
  EXPECT_EQ(enemiesSlowed, 1);
}

// Any one captured corner cell removes an item, each corner on its own; a
// captured line through its middle or ground that only touches it does not.
TEST(Items, OneCapturedCornerRemovesTheItem) {
  const struct {
    int dx, dy;
    bool removes;
  } cells[] = {
      {0, 0, true},  {4, 0, true},   {0, 4, true},  {4, 4, true},    {2, 0, false},
      {0, 2, false}, {2, 2, false},  {4, 2, false}, {2, 4, false},   {-1, 0, false},
      {5, 4, false}, {0, -1, false}, {4, 5, false}, {-1, -1, false}, {5, 5, false},
  };
  for (const auto &c : cells) {
    freshField();
    onlyItem(5, 300, 300);
    cellAt(300 + c.dx, 300 + c.dy) = CELL_CAPTURED;
    removeCoveredItems();
    EXPECT_EQ(bonusItems[5].active, c.removes ? 0 : 1) << c.dx << "," << c.dy;
  }
}
