// SPDX-License-Identifier: MIT
// One way back to the state a program start has.
#pragma once

// Puts every global of the game (the game state, the screens', the sound
// settings, the playfield's enemies and items, the generator, the replay
// recorder and player) back to its start value. The game calls it as it
// starts, the simulator before each run and the tests before each case, so
// none of them depends on what ran before in the same process. Within a run
// of the game nothing else calls it: what one game leaves for the next (the
// cause of the last crash) stays as players know it. Resources (the window,
// textures, sprites, sounds, the playfield's memory) are not values and stay.
void resetGameState();
