// SPDX-License-Identifier: MIT
// What the player must be told about their own files (scores or settings
// that cannot be kept): said on stderr at once, and gathered so that the
// start-up shows it once in a message box, where a player who started the
// game from a desktop menu sees it.
#pragma once
#include <string>

// One line naming the file, the reason and what happens; said once.
void tellPlayer(const std::string &message);
// Everything told since the last take, one line each; then forgotten.
std::string takePlayerNotices();
