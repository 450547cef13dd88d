// What the game screen draws every frame: the field with its sprites, the
// fading bounce flashes, the level-complete screen and the status line.
#include "audio/audio.h"
#include "game/game_screen.h"
#include "playfield/enemies.h"
#include "playfield/items.h"
#include "playfield/painting.h"
#include "presentation/assets.h"
#include "presentation/text_draw.h"
#include "presentation/video_modes.h"
#include "state/game_state.h"

namespace {

constexpr SourceRect PLAYER_SPRITE = {2, 2, 12, 12};
constexpr SourceRect WHITE_ENEMY_SPRITE = {16, 2, 26, 12};
constexpr SourceRect BLACK_ENEMY_SPRITE = {30, 2, 40, 12};
constexpr SourceRect ITEM_SPRITES[3] = {
    {86, 2, 96, 12},   // shield
    {100, 2, 110, 12}, // extra life
    {100, 16, 110, 26} // slowing
};
constexpr int32_t FLASH_FADE_STEP = 8;

// A 5 x 5 entity at cell (x, y) is a 10 x 10 sprite at (2x, 2y).
void drawEntity(SourceRect src, int32_t shift, const EntityBox &box) {
  src.left += shift;
  src.right += shift;
  spriteDraw(textSprite, primitivesTexture, &src, static_cast<float>(2 * box.x),
             static_cast<float>(2 * box.y) + verticalOffset, COLOUR_WHITE);
}

void drawMusicField() {
  if (volumeDisplayFrames != 0) {
    if (volumeDisplayWhich == 0) {
      formatText("Music volume:%d%%", musicVolume / 100);
    } else {
      formatText("Samples volume:%d%%", effectsVolume / 100);
    }
  } else if (musicNumber == MUSIC_SILENT) {
    formatText("[M]usic(-) [S]ilent");
  } else if (musicNumber >= 10) {
    formatText("[M]usic(%d)[S]ilent", musicNumber);
  } else {
    // One space more, so that the field keeps its width.
    formatText("[M]usic(%d) [S]ilent", musicNumber);
  }
  drawText(1590, STATUS_LINE_Y, 0, COLOUR_WHITE);
}

} // namespace

void drawGameSprites() {
  spriteBegin(textSprite);
  spriteDraw(textSprite, playfieldTexture, nullptr, 0.0f, verticalOffset, COLOUR_WHITE);
  if (levelComplete == 0) {
    drawEntity(PLAYER_SPRITE, playerSpriteShift, playerBox);
    for (uint32_t i = 0; i < blackEnemyCount && i < MAX_BLACK_ENEMIES; ++i) {
      drawEntity(BLACK_ENEMY_SPRITE, blackEnemies[i].spriteShift, blackEnemies[i].box);
    }
  }
  for (uint32_t i = 0; i < whiteEnemiesInPlay(); ++i) {
    drawEntity(WHITE_ENEMY_SPRITE, whiteEnemies[i].spriteShift, whiteEnemies[i].box);
  }
  for (const BonusItem &item : bonusItems) {
    if (item.active != 0 && item.kind >= ITEM_SHIELD && item.kind <= ITEM_SLOW) {
      drawEntity(ITEM_SPRITES[item.kind], 0, item.box);
    }
  }
  spriteEnd(textSprite);
}

// Each drawn frame takes 8 from a flash's alpha, so a fresh flash (240) is
// gone after 30 frames in every phase of the game, countdown and crash included.
void drawBounceFlashes() {
  spriteBegin(textSprite);
  spriteSetFlashBlend(textSprite, true);
  for (uint32_t i = 0; i < whiteEnemiesInPlay(); ++i) {
    Enemy &enemy = whiteEnemies[i];
    if (enemy.flashActive == 0) {
      continue;
    }
    bool drawn = false;
    for (int k = FLASH_SLOTS - 1; k >= 0; --k) {
      BounceFlash &flash = enemy.flashes[k];
      if (flash.alpha == 0) {
        continue;
      }
      const SourceRect src = {flash.srcLeft, flash.srcTop, flash.srcRight, flash.srcBottom};
      const uint32_t colour = (static_cast<uint32_t>(flash.alpha) << 24) + 0xFFFFFFu;
      spriteDraw(textSprite, primitivesTexture, &src, static_cast<float>(flash.screenX),
                 static_cast<float>(flash.screenY) + verticalOffset, colour);
      flash.alpha -= FLASH_FADE_STEP;
      drawn = true;
    }
    if (!drawn) {
      enemy.flashActive = 0;
    }
  }
  spriteSetFlashBlend(textSprite, false);
  spriteEnd(textSprite);
}

void drawStatusLine() {
  formatText("Level: %d", static_cast<int32_t>(level));
  drawText(5, STATUS_LINE_Y, 0, COLOUR_WHITE);
  formatText("Captured area: %.2d.%.2d%%", percentWhole, percentHundredths);
  drawText(200, STATUS_LINE_Y, 0, COLOUR_WHITE);
  formatText("Time bonus: %.8d", timeBonus);
  drawText(610, STATUS_LINE_Y, 0, COLOUR_WHITE);
  formatText("Total score: %.10lu", totalScore);
  drawText(990, STATUS_LINE_Y, 0, COLOUR_WHITE);
  formatText("Lives: %d", lives);
  drawText(1420, STATUS_LINE_Y, 0, COLOUR_WHITE);
  drawMusicField();
}

void drawLevelComplete() {
  const int32_t levelNumber = static_cast<int32_t>(level);
  formatText("Level %d completed!", levelNumber);
  drawCentred(120, 60);
  formatText("Captured area: %.2d.%.4d%%", percentWhole, percentTenThousandths);
  drawCentred(50, 210);
  formatText("Level basic score (capt. area * 10000): %lu", basicScore);
  drawCentred(50, 280);
  formatText("Level basic score multiplier: %d.%d", (levelNumber + 9) / 10, (levelNumber + 9) % 10);
  drawCentred(50, 350);
  formatText("Time bonus: %lu", static_cast<uint32_t>(timeBonus));
  drawCentred(50, 420);
  formatText("Level final score (multiplied basic plus time bonus): %d", levelScore);
  drawCentred(50, 490);
  formatText("Total score: %.10lu", totalScore);
  drawCentred(80, 610);
  formatText("Press Enter to continue to Level %d", static_cast<int32_t>(nextLevel()));
  drawCentred(60, 770);
  if (gameSaved != 0) {
    formatText("Game was saved!");
  } else {
    formatText("Press [S] to save this reached point");
  }
  drawCentred(60, 850);
  formatText("Press Escape if you are a coward ;-)");
  drawCentred(60, 930);
  setFontHeight(STATUS_FONT_HEIGHT);
}
