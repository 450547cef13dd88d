// SPDX-License-Identifier: MIT
// The top ten screen: the table layout it shares with the name entry.
#include "platform/sprites.h"
#include "presentation/text_draw.h"
#include "screens/screens.h"
#include "screens/top_ten_screen.h"
#include "state/screen_state.h"

void drawTopTenTable(const TopTenEntry *table, int editRow, const char *editName, bool caret,
                     const char *footer) {
  setFontHeight(100);
  spriteBegin(textSprite);
  formatText("Top ten");
  drawText(0, 100, 1, COLOUR_WHITE);
  setFontHeight(60);
  for (int r = 0; r < TOP_TEN_SIZE; ++r) {
    if (r == editRow && caret) {
      formatText("%.10lu - %s%c", table[r].score, editName, '_');
    } else {
      formatText("%.10lu - %s", table[r].score, r == editRow ? editName : table[r].name);
    }
    drawText(570, 250 + 60 * r, 0, COLOUR_WHITE);
  }
  formatText(footer);
  drawText(0, 900, 1, COLOUR_WHITE);
  spriteEnd(textSprite);
}

void topTenFrame() {
  if (screenEntryPending) {
    screenEntryPending = 0;
  }
  drawTopTenTable(topTenFileTable, -1, "", false, "Press Escape to return to the menu");
  returnToMenuOnEscape();
}
