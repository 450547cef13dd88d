// The screens other than the game: their frame functions, and the Escape key
// that leads from the top ten and the instructions back to the menu.
#pragma once

void mainMenuFrame();
void topTenFrame();
void nameEntryFrame();
void instructionsFrame();
// The keys of a screen that is left only with Escape: once Escape held over
// from the last screen is up, Escape goes back to the main menu.
void returnToMenuOnEscape();
