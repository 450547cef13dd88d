// The game screen's sprite batch: what is drawn, from which rectangle of the
// sprite sheet, where, and in which order.
#include "game_helpers.h"
#include "playfield/items.h"
#include "playfield/painting.h"
#include "presentation/assets.h"
#include <gtest/gtest.h>

namespace {

// The sprites of the first batch of the last frame (up to the first text).
std::vector<DrawRecord> fieldSprites() {
  std::vector<DrawRecord> sprites;
  for (const DrawRecord &r : headless::drawLog()) {
    if (r.kind != DrawKind::Sprite || r.flashBlend) {
      break;
    }
    sprites.push_back(r);
  }
  return sprites;
}

void expectSprite(const DrawRecord &r, SourceRect src, const EntityBox &box, const char *what) {
  EXPECT_EQ(r.texture, primitivesTexture) << what;
  EXPECT_FALSE(r.wholeTexture) << what;
  EXPECT_EQ(r.src.left, src.left) << what;
  EXPECT_EQ(r.src.top, src.top) << what;
  EXPECT_EQ(r.src.right, src.right) << what;
  EXPECT_EQ(r.src.bottom, src.bottom) << what;
  EXPECT_EQ(r.x, static_cast<float>(2 * box.x)) << what;
  EXPECT_EQ(r.y, static_cast<float>(2 * box.y) + verticalOffset) << what;
  EXPECT_EQ(r.colour, 0xFFFFFFFFu) << what;
}

} // namespace

TEST(GameSprites, FieldPlayerBlacksWhitesThenItemsFromTheirRectangles) {
  // Level 12: four black enemies, twelve white ones, two shields, the extra
  // life and the slowing item.
  enterGame(12, 31);
  headless::clearDrawLog();
  runFrames(1);
  std::vector<DrawRecord> sprites = fieldSprites();
  ASSERT_EQ(sprites.size(), 1u + 1u + 4u + 12u + 4u);
  EXPECT_EQ(sprites[0].texture, playfieldTexture);
  EXPECT_TRUE(sprites[0].wholeTexture);
  EXPECT_EQ(sprites[0].x, 0.0f);
  EXPECT_EQ(sprites[0].y, verticalOffset);
  expectSprite(sprites[1], {2, 2, 12, 12}, playerBox, "player");
  for (int i = 0; i < 4; ++i) {
    expectSprite(sprites[2 + i], {30, 2, 40, 12}, blackEnemies[i].box, "black enemy");
  }
  for (int i = 0; i < 12; ++i) {
    expectSprite(sprites[6 + i], {16, 2, 26, 12}, whiteEnemies[i].box, "white enemy");
  }
  const SourceRect itemRects[] = {{86, 2, 96, 12}, {100, 2, 110, 12}, {100, 16, 110, 26}};
  size_t next = 18;
  for (const BonusItem &item : bonusItems) {
    if (item.active != 0) {
      ASSERT_LT(next, sprites.size());
      expectSprite(sprites[next++], itemRects[item.kind], item.box, "item");
    }
  }

  // After a crash: the crashed player and the crashed white enemy, the others
  // as they were; once the level is complete the player and the black
  // enemies are not drawn at all.
  playerSpriteShift = 70;
  whiteEnemies[3].spriteShift = 28;
  blackEnemies[1].spriteShift = 28;
  headless::clearDrawLog();
  runFrames(1);
  sprites = fieldSprites();
  ASSERT_EQ(sprites.size(), 22u);
  expectSprite(sprites[1], {72, 2, 82, 12}, playerBox, "crashed player");
  expectSprite(sprites[3], {58, 2, 68, 12}, blackEnemies[1].box, "crashed black enemy");
  expectSprite(sprites[9], {44, 2, 54, 12}, whiteEnemies[3].box, "crashed white enemy");
  expectSprite(sprites[10], {16, 2, 26, 12}, whiteEnemies[4].box, "white enemy");
  levelComplete = 1;
  headless::clearDrawLog();
  runFrames(1);
  sprites = fieldSprites();
  ASSERT_EQ(sprites.size(), 1u + 12u + 4u);
  expectSprite(sprites[1], {16, 2, 26, 12}, whiteEnemies[0].box, "white enemy first");
}
