// The key states both backends answer getKeyState from: which virtual keys
// some source holds down (a keyboard key, a pad button, a stick direction),
// and which were pressed since the last frame read them. The backends feed
// it from their events; nothing of the game includes this file.
#pragma once

// One more source holds vk down. The key reads down in the next frame even
// when it is let go before that frame runs.
void pressVirtualKey(int vk);
// vk reads down in the next frame, as after a tap, with no source holding
// it: Ctrl held when P went down, so the frame that sees P sees Ctrl+P even
// when Ctrl was let go before that frame ran.
void keepVirtualKeyForFrame(int vk);
// One source fewer holds vk (a release without a press is ignored).
void releaseVirtualKey(int vk);
// No source holds any key and no press is pending: the keyboard went to
// another window, which receives the rest of what the player does.
void releaseAllVirtualKeys();
// Held by a source, or pressed since the last endKeyFrame.
bool virtualKeyDown(int vk);
