// Inside the replay folder: the frame's fixed keys, and the recorder's and
// the player's share of the frame hooks.
#pragma once
#include "platform/input.h"

// The keys of the frame: every script key replaced, the rest left to the keyboard.
extern KeyStateOverride frameKeys;
// Every script key up.
void releaseFrameKeys();
// The white enemies in play as the frame began, for the checks after it.
extern uint32_t whitesAtFrameStart;

void beginRecordedFrame();
void endRecordedFrame();
void beginPlayedFrame();
void endPlayedFrame();
// The save of a replayed game: the generator's draws, the recorded outcome.
bool replayedSave();
