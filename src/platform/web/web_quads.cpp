// SPDX-License-Identifier: MIT
// Textured quads on WebGL 2, batched: positions in back-buffer pixels,
// texture coordinates, a tint per vertex. A texture drawn pixel for pixel
// onto whole pixels samples nearest texels (the same pixels as linear
// filtering there), everything else linear, as on the desktop.
#include "platform/web/web_state.h"
#include <cmath>
#include <cstdio>
#include <map>
#include <vector>

namespace {
struct Vertex {
  float x, y, u, v;
  uint32_t rgba; // bytes r, g, b, a
};

constexpr int MAX_QUADS = 8192;
GLuint program = 0;
GLuint vertexBuffer = 0;
GLuint indexBuffer = 0;
GLuint vertexArray = 0;
GLint scaleUniform = -1;
std::vector<Vertex> queued;
GLuint queuedTexture = 0;
web::Blend queuedBlend = web::Blend::Alpha;
std::map<GLuint, GLint> filterOf; // each texture's current filter

const char *VERTEX_SHADER = R"(#version 300 es
in vec2 position;
in vec2 texel;
in vec4 tint;
uniform vec2 scale;
out highp vec2 uv;
out lowp vec4 colour;
void main() {
  uv = texel;
  colour = tint;
  gl_Position = vec4(position * scale - 1.0, 0.0, 1.0);
})";

const char *FRAGMENT_SHADER = R"(#version 300 es
precision mediump float;
uniform sampler2D picture;
in highp vec2 uv;
in lowp vec4 colour;
out vec4 result;
void main() { result = texture(picture, uv) * colour; })";

GLuint compile(GLenum kind, const char *text) {
  GLuint s = glCreateShader(kind);
  glShaderSource(s, 1, &text, nullptr);
  glCompileShader(s);
  GLint ok = 0;
  glGetShaderiv(s, GL_COMPILE_STATUS, &ok);
  if (!ok) {
    char log[512] = {};
    glGetShaderInfoLog(s, sizeof log, nullptr, log);
    std::fprintf(stderr, "pelta: shader: %s\n", log);
  }
  return s;
}

void applyBlend(web::Blend blend) {
  switch (blend) {
  case web::Blend::Opaque:
    glDisable(GL_BLEND);
    break;
  case web::Blend::Alpha:
    glEnable(GL_BLEND);
    glBlendEquation(GL_FUNC_ADD);
    glBlendFuncSeparate(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA, GL_ONE, GL_ONE_MINUS_SRC_ALPHA);
    break;
  case web::Blend::Flash:
    // source x destination + destination x source alpha; alpha kept
    glEnable(GL_BLEND);
    glBlendEquation(GL_FUNC_ADD);
    glBlendFuncSeparate(GL_DST_COLOR, GL_SRC_ALPHA, GL_ZERO, GL_ONE);
    break;
  }
}

// Straight RGBA bytes from A8R8G8B8 values.
void toRgba(const uint32_t *argb, size_t n, std::vector<uint32_t> &out) {
  out.resize(n);
  for (size_t i = 0; i < n; ++i) {
    const uint32_t v = argb[i];
    out[i] = (v & 0xFF00FF00u) | ((v >> 16) & 0xFFu) | ((v & 0xFFu) << 16);
  }
}
} // namespace

namespace web {
bool startQuads() {
  program = glCreateProgram();
  glAttachShader(program, compile(GL_VERTEX_SHADER, VERTEX_SHADER));
  glAttachShader(program, compile(GL_FRAGMENT_SHADER, FRAGMENT_SHADER));
  glBindAttribLocation(program, 0, "position");
  glBindAttribLocation(program, 1, "texel");
  glBindAttribLocation(program, 2, "tint");
  glLinkProgram(program);
  GLint ok = 0;
  glGetProgramiv(program, GL_LINK_STATUS, &ok);
  if (!ok) {
    return false;
  }
  glUseProgram(program);
  scaleUniform = glGetUniformLocation(program, "scale");
  glUniform1i(glGetUniformLocation(program, "picture"), 0);
  glGenVertexArrays(1, &vertexArray);
  glBindVertexArray(vertexArray);
  glGenBuffers(1, &vertexBuffer);
  glBindBuffer(GL_ARRAY_BUFFER, vertexBuffer);
  glEnableVertexAttribArray(0);
  glEnableVertexAttribArray(1);
  glEnableVertexAttribArray(2);
  glVertexAttribPointer(0, 2, GL_FLOAT, GL_FALSE, sizeof(Vertex), nullptr);
  glVertexAttribPointer(1, 2, GL_FLOAT, GL_FALSE, sizeof(Vertex),
                        reinterpret_cast<void *>(offsetof(Vertex, u)));
  glVertexAttribPointer(2, 4, GL_UNSIGNED_BYTE, GL_TRUE, sizeof(Vertex),
                        reinterpret_cast<void *>(offsetof(Vertex, rgba)));
  std::vector<uint16_t> indices;
  indices.reserve(MAX_QUADS * 6);
  for (int q = 0; q < MAX_QUADS; ++q) {
    const uint16_t b = uint16_t(q * 4);
    for (uint16_t i : {b, uint16_t(b + 1), uint16_t(b + 2), uint16_t(b + 2), uint16_t(b + 1),
                       uint16_t(b + 3)}) {
      indices.push_back(i);
    }
  }
  glGenBuffers(1, &indexBuffer);
  glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, indexBuffer);
  glBufferData(GL_ELEMENT_ARRAY_BUFFER, GLsizeiptr(indices.size() * 2), indices.data(),
               GL_STATIC_DRAW);
  glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
  glPixelStorei(GL_PACK_ALIGNMENT, 4);
  queued.reserve(MAX_QUADS * 4);
  return true;
}

void flushQuads() {
  if (queued.empty()) {
    return;
  }
  glBindFramebuffer(GL_FRAMEBUFFER, backBufferFramebuffer);
  glViewport(0, 0, backBufferW, backBufferH);
  glUseProgram(program);
  glUniform2f(scaleUniform, 2.0f / float(backBufferW), 2.0f / float(backBufferH));
  glBindVertexArray(vertexArray);
  glBindBuffer(GL_ARRAY_BUFFER, vertexBuffer);
  glBufferData(GL_ARRAY_BUFFER, GLsizeiptr(queued.size() * sizeof(Vertex)), queued.data(),
               GL_STREAM_DRAW);
  glActiveTexture(GL_TEXTURE0);
  glBindTexture(GL_TEXTURE_2D, queuedTexture);
  applyBlend(queuedBlend);
  glDrawElements(GL_TRIANGLES, GLsizei(queued.size() / 4 * 6), GL_UNSIGNED_SHORT, nullptr);
  queued.clear();
}

void drawQuad(GLuint texture, int texW, int texH, float srcX, float srcY, float srcW, float srcH,
              float w, float h, float x, float y, const Transform2D &m, uint32_t argb,
              Blend blend) {
  if (texture == 0 || backBufferFramebuffer == 0) {
    return;
  }
  float px = x * m.m11 + y * m.m21 + m.dx;
  float py = x * m.m12 + y * m.m22 + m.dy;
  const bool turned = std::fabs(std::atan2(m.m12, m.m11)) >= 1e-6f;
  float dw = w * std::hypot(m.m11, m.m12);
  float dh = h * std::hypot(m.m21, m.m22);
  if (!turned) {
    // Whole pixels, and a size that does not depend on where the picture
    // lies, as the desktop's renderer draws: a moving sprite keeps its outline.
    px = std::round(px);
    py = std::round(py);
    dw = std::round(dw);
    dh = std::round(dh);
  }
  // A whole multiple of the source reads the same texels with either filter.
  const bool whole = !turned && dw >= srcW && dh >= srcH && std::fmod(dw, srcW) == 0.0f &&
                     std::fmod(dh, srcH) == 0.0f;
  const GLint filter = whole ? GL_NEAREST : GL_LINEAR;
  auto known = filterOf.find(texture);
  const bool filterChanges = known == filterOf.end() || known->second != filter;
  if (texture != queuedTexture || blend != queuedBlend || filterChanges ||
      queued.size() >= size_t(MAX_QUADS) * 4) {
    flushQuads();
    queuedTexture = texture;
    queuedBlend = blend;
  }
  if (filterChanges) {
    glBindTexture(GL_TEXTURE_2D, texture);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, filter);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, filter);
    filterOf[texture] = filter;
  }
  // The quad's corners: the source's w x h units through the transform.
  const float ax = w * m.m11;
  const float ay = w * m.m12;
  const float bx = h * m.m21;
  const float by = h * m.m22;
  const float u0 = srcX / float(texW);
  const float v0 = srcY / float(texH);
  const float u1 = (srcX + srcW) / float(texW);
  const float v1 = (srcY + srcH) / float(texH);
  const uint32_t rgba = (argb & 0xFF00FF00u) | ((argb >> 16) & 0xFFu) | ((argb & 0xFFu) << 16);
  if (!turned) {
    queued.push_back({px, py, u0, v0, rgba});
    queued.push_back({px + dw, py, u1, v0, rgba});
    queued.push_back({px, py + dh, u0, v1, rgba});
    queued.push_back({px + dw, py + dh, u1, v1, rgba});
    return;
  }
  queued.push_back({px, py, u0, v0, rgba});
  queued.push_back({px + ax, py + ay, u1, v0, rgba});
  queued.push_back({px + bx, py + by, u0, v1, rgba});
  queued.push_back({px + ax + bx, py + ay + by, u1, v1, rgba});
}

GLuint makeTexture(int w, int h, const uint32_t *argb) {
  GLuint t = 0;
  glGenTextures(1, &t);
  glBindTexture(GL_TEXTURE_2D, t);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
  filterOf[t] = GL_LINEAR;
  glTexStorage2D(GL_TEXTURE_2D, 1, GL_RGBA8, w, h);
  if (argb != nullptr) {
    uploadRows(t, w, 0, h - 1, argb);
  }
  return t;
}

void uploadRowsAt(GLuint texture, int x, int y, int w, int h, const uint32_t *argb) {
  static std::vector<uint32_t> rgba;
  toRgba(argb, size_t(h) * size_t(w), rgba);
  glBindTexture(GL_TEXTURE_2D, texture);
  glTexSubImage2D(GL_TEXTURE_2D, 0, x, y, w, h, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
}

void uploadRows(GLuint texture, int w, int firstRow, int lastRow, const uint32_t *argb) {
  uploadRowsAt(texture, 0, firstRow, w, lastRow - firstRow + 1, argb + size_t(firstRow) * size_t(w));
}
} // namespace web
