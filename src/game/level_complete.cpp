// The level-complete screen: the level's result line by line, the total, and
// the offers to go on, to save, or to leave.
#include "game/game_screen.h"
#include "game/game_state.h"
#include "presentation/text_draw.h"

uint32_t nextLevel() { return level < MAX_LEVEL ? level + 1 : MAX_LEVEL; }

namespace {

void drawCentred(int height, int y) {
  setFontHeight(height);
  drawText(0, y, 1, COLOUR_WHITE);
}

} // namespace

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
