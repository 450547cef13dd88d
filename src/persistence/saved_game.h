// The one saved game, stored behind the top ten in the top-ten file.
#pragma once

// Stores the point reached; true only when the file was really written.
bool writeSavedGame();
// Reads the saved game into the game globals; true when one was read.
bool loadSavedGame();
