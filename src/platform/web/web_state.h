// SPDX-License-Identifier: MIT
// State shared by the browser backend's files; nothing outside
// src/platform/web sees it.
#pragma once
#include "platform/sprites.h"
#include <GLES3/gl3.h>
#include <cstdint>
#include <vector>

namespace web {
// The back buffer: a texture of the chosen mode's size drawn through a
// framebuffer; 0 before the device exists.
extern GLuint backBufferFramebuffer;
extern int backBufferW;
extern int backBufferH;

// The whole of a data file the page's storage holds (pictures, the font);
// false when it cannot be opened.
bool readFileBytes(const char *path, std::vector<uint8_t> &bytes);

enum class Blend : uint8_t { Opaque, Alpha, Flash };

// Queues one textured quad: the source rectangle (texels) of a texture of
// texW x texH, w x h units placed at (x, y) through the transform, tinted by
// argb. Quads go to the GPU in batches; flushQuads sends what is queued.
void drawQuad(GLuint texture, int texW, int texH, float srcX, float srcY, float srcW, float srcH,
              float w, float h, float x, float y, const Transform2D &m, uint32_t argb, Blend blend);
void flushQuads();
// Creates the quad pipeline (shaders, buffers) for the current context.
bool startQuads();
// A texture of w x h, filled from A8R8G8B8 rows (null: left empty).
GLuint makeTexture(int w, int h, const uint32_t *argb);
// Uploads rows firstRow..lastRow of A8R8G8B8 pixels into the texture.
void uploadRows(GLuint texture, int w, int firstRow, int lastRow, const uint32_t *argb);
// Uploads a w x h block of A8R8G8B8 pixels at (x, y) of the texture.
void uploadRowsAt(GLuint texture, int x, int y, int w, int h, const uint32_t *argb);
const Transform2D *spriteTransform(SpriteId sprite);
// A key event told something to the window system side (the Pause key,
// Alt+Enter): queued for pollWindowEvent.
void postWindowEvent(int event);
// The keyboard went elsewhere: every key it held is let go.
void keyboardFocusLost();
// Listens to the page's keyboard.
void startInput();
// Reads the pads once per frame (the Gamepad API has no events for buttons).
void pollGamepads();
} // namespace web
