// Replays of the game screen. The program records every game it plays, from
// the first game frame after the main menu until the screen is left or the
// program ends; a recorded game can be played again, in the window or by
// pelta-sim, and is checked against the states it recorded. The shell calls
// the frame hooks, the game screen saves through saveGame.
#pragma once
#include "replay/replay_file.h"
#include <cstdint>
#include <string>

// Exit code of a replay whose state differs from the recording.
constexpr int REPLAY_DIFFERS_EXIT = 3;
// Exit code of a replay without its end line (its game was killed or
// crashed) that matched its recording up to its last line.
constexpr int REPLAY_CUT_SHORT_EXIT = 4;

// The program records the games it plays (off in tests and the simulator).
extern uint8_t recordingEnabled;

// Around every frame: before the screen runs, the frame's keys are fixed
// (sampled and recorded, or taken from the replay); after the frame, level
// changes are checked and a game screen that was left ends the replay.
void beginReplayFrame();
void endReplayFrame();
// Program end: a game still being recorded is written with its last state.
// Needs the playfield, so it runs before the playfield is freed.
void finishRecording();
bool recordingActive();
// The path of the last replay written, empty when none was.
const std::string &lastReplayPath();

// Writes the saved game; in a replay, draws from the generator what writing
// draws and takes the recorded outcome without touching the file. True when
// the game was (or, replayed, had been) saved.
bool saveGame();

// Plays `replay` from the next frame on: the game is set up as it was entered.
void startPlayback(const Replay &replay);
bool playbackActive();
// Ends a replay before its end (Pause, the window closed): it counts as stopped.
void stopPlayback();
// The replay has played to its end, or was left or stopped.
bool playbackFinished();
// The outcome, one line: "replay verified: ...", "replay differs at frame
// ...", or "replay stopped at frame ...".
std::string playbackReport();
// 0 when every check so far matched, REPLAY_DIFFERS_EXIT when one did not,
// REPLAY_CUT_SHORT_EXIT when a cut-short replay matched to its last line.
int playbackExitCode();
