// Start-up loading of the font and the pictures.
#pragma once
#include "platform/sprites.h"
#include <string>

constexpr const char *FONT_FILE = "data/xf1.pta";
constexpr const char *PRIMITIVES_FILE = "data/primitives.pta";
constexpr const char *LOGO_FILE = "data/pta.pta";
constexpr const char *ICON_FILE = "data/icon.pta";

extern TextureId primitivesTexture;
extern TextureId logoTexture;

// The font (the current height left at 20) and the sprite sheet and logo.
void loadAssets();
// Frees what loadAssets allocated (program end).
void releaseAssets();
// Loads a picture of the game data ("data/game.pta"); a missing one is
// reported once on stderr and gives 0.
TextureId loadPicture(const char *name);
// The window icon's file in the data folder when it passes the picture
// check; "" (reported once) when the window goes without an icon.
std::string iconPath();
