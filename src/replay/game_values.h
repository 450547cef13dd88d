// The game's values a replay starts from and checks: taken from the globals
// as a game is entered, put back into them when it is played again.
#pragma once
#include "replay/replay_file.h"

// What the game frame will read besides the keys, as it stands now.
ReplayStart currentReplayStart();
// Sets the game up as the main menu left it for the recorded game: the next
// frame enters the game screen.
void applyReplayStart(const ReplayStart &start);
// The state after frame `frame`, the playfield's checksum included; `whites`
// is the number of white enemies in play as the frame began (Enter on the
// level-complete screen raises the level before the next set-up places more).
ReplayCheck currentCheck(uint64_t frame, uint32_t whites);
// The stateCrc of a check: the generator, the time bonus, the player, the
// first `whites` white enemies, the black enemies, the items, the tune and
// the volumes.
uint32_t stateChecksum(uint32_t whites);
