// The instructions page: seven game elements beside their icons, the rules of
// play and the other keys, and a footer; Escape goes back to the menu.
#include "presentation/assets.h"
#include "presentation/text_draw.h"
#include "screens/screens.h"
#include "state/screen_state.h"

namespace {
struct Icon {
  SourceRect src;
  float x;
  float y;
};

struct Line {
  int y;
  int x;
  const char *text; // passed through the formatter: "%%" prints one percent sign
};

struct Paragraph {
  Icon icon;
  int firstLine;
  int lineCount;
};

// Continuation lines start with two spaces; "\xB0" is the degree sign.
constexpr Line LINES[] = {
    {20, 100,
     "- This is you. Maybe you look little different in real life, but in this game you "
     "are a white square. ;-)"},
    {70, 100,
     "- These are your white enemies. The element itself moves diagonally in the empty "
     "(black) game area, and"},
    {100, 100,
     "  is bonunce from captured game area in 90\xB0 angles. The starting position and "
     "move direction for all"},
    {130, 100,
     "  this elements in any level is always randomly. In every next level this "
     "elements increases linearly."},
    {180, 100,
     "- These are your black enemies. This element is moving diagonally on the border "
     "or captured game area,"},
    {210, 100,
     "  and is bonunce from uncaptured (black) game area in 90\xB0 angles. The starting "
     "position of this elements"},
    {240, 100,
     "  is on opposite border to you. The starting direction of their movement is "
     "always random. In every"},
    {270, 100, "  fourth level this elements increases one by one."},
    {320, 100,
     "- Slowing enemies. If you run over this element, all white enemies will be "
     "slowing to half speed until"},
    {350, 100,
     "  you reach the safety. This element is present in every third level and its "
     "position is always random."},
    {380, 100,
     "  Warning! If your captured area covers this element, it disappears forever! "
     "(This rule also applies to"},
    {410, 100, "  any other bonus element!)"},
    {460, 100,
     "- Extra life. If you run over this element, the amount of your lives will be "
     "increased by 1. This element"},
    {490, 100, "  is present in every fourth level and its position is always random."},
    {540, 100,
     "- Temporary track invulnerability. If you run over this element, your TRACK (not "
     "you yourself!) will be"},
    {570, 100,
     "  colored yellow and will be immune against ONE hit from white or black enemies. "
     "This element is present"},
    {600, 100,
     "  in level 5 and higher. One more item (to four) is added in every fifth level. "
     "Positions are random."},
    {650, 100,
     "- Your track. This track is left behind you if you move into the black area. If "
     "you reach the safety"},
    {680, 100,
     "  (captured or bordered area), this track will be converted into captured area. "
     "The whole area which"},
    {710, 100, "  DOESN'T contain any white enemies will be captured in the same moment too."},
    {760, 50,
     "Game principles: In every level you must capture at least 75%% of the black area "
     "surface. White or black"},
    {790, 50,
     "enemies MUST NOT hit you or your unfinished track! You yourself must not hit your "
     "own unfinished track"},
    {820, 50,
     "either. Your movement can be controlled using arrow keys. Once you're in motion, "
     "you cannot stop until you"},
    {850, 50, "capture some part of the enemy area or until you reach playground borders."},
    {900, 50,
     "Other functionalities: Press [Ctrl]+[P] to make a screenshot (stored in the "
     "folder named \"screenshots\""},
    {930, 50,
     "located in the pelta folder among your own files). Press [Pause] to immediately "
     "leave the game at any"},
    {960, 50,
     "time. Press [Page Up] or [Page Down] to music volume up or down. Press [M] to "
     "change music and press [S] to"},
    {990, 50,
     "silent music (in game). Press [Home] or [End] to sound effects volume up or down "
     "(in game)."},
};

// Each element's icon is drawn just before its first line.
constexpr Paragraph PARAGRAPHS[] = {
    {{{2, 30, 32, 60}, 50, 20}, 0, 1},      // the player
    {{{36, 30, 66, 60}, 50, 70}, 1, 3},     // white enemies
    {{{2, 64, 42, 104}, 45, 175}, 4, 4},    // black enemies
    {{{104, 30, 134, 60}, 50, 320}, 8, 4},  // slowing item
    {{{46, 66, 76, 96}, 50, 460}, 12, 2},   // extra life item
    {{{70, 30, 100, 60}, 50, 540}, 14, 3},  // track invulnerability item
    {{{80, 66, 100, 106}, 55, 643}, 17, 3}, // the track
};
constexpr int FIRST_RULES_LINE = 20;
constexpr int LINE_COUNT = static_cast<int>(sizeof LINES / sizeof LINES[0]);

void drawLine(const Line &line) {
  formatText(line.text);
  drawText(line.x, line.y, 0, COLOUR_WHITE);
}
} // namespace

void instructionsFrame() {
  if (screenEntryPending) {
    screenEntryPending = 0;
  }
  spriteBegin(textSprite);
  setFontHeight(30);
  for (const Paragraph &p : PARAGRAPHS) {
    drawPicture(primitivesTexture, &p.icon.src, p.icon.x, p.icon.y, COLOUR_WHITE);
    for (int i = p.firstLine; i < p.firstLine + p.lineCount; ++i) {
      drawLine(LINES[i]);
    }
  }
  for (int i = FIRST_RULES_LINE; i < LINE_COUNT; ++i) {
    drawLine(LINES[i]);
  }
  setFontHeight(40);
  formatText("Press Escape to return to the menu");
  drawText(0, 1030, 1, COLOUR_WHITE);
  spriteEnd(textSprite);

  returnToMenuOnEscape();
}
