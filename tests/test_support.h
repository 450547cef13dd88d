// Shared set-up for behaviour tests: a headless "started" program in a
// temporary folder, and helpers to run frames and press keys.
#pragma once
#include <string>
#include <vector>
#include "platform/headless/headless.h"

// A fresh temporary folder as the per-user root, its data/ also standing in
// for the game data folder.
std::string makeTempRoot();
// Start-up without the loop: every global at its start value, headless
// platform reset, device, sprites, assets.
void startHeadless();
// Runs n frames of the dispatcher the way the loop does (one runFrame each).
void runFrames(int n);
void pressKey(int vk);
void releaseKey(int vk);
// Frames with `vk` held, then released for one frame.
void tapKey(int vk, int holdFrames = 1);
// Texts drawn in the frames since the log was last cleared.
std::vector<std::string> textsDrawn();
bool textWasDrawn(const std::string &text);
