// Matrix composition for the sprite transforms (scaling of the virtual space,
// the turned and moved ticker letters).
#include "presentation/transform.h"
#include <cmath>

namespace {
Transform2D translation(float x, float y) { return {1, 0, 0, 1, x, y}; }
Transform2D rotationMatrix(float angle) {
  float c = std::cos(angle);
  float s = std::sin(angle);
  return {c, s, -s, c, 0, 0};
}
} // namespace

Transform2D matrixScaling(float sx, float sy) { return {sx, 0, 0, sy, 0, 0}; }

Transform2D matrixMultiply(const Transform2D &a, const Transform2D &b) {
  return {a.m11 * b.m11 + a.m12 * b.m21,
          a.m11 * b.m12 + a.m12 * b.m22,
          a.m21 * b.m11 + a.m22 * b.m21,
          a.m21 * b.m12 + a.m22 * b.m22,
          a.dx * b.m11 + a.dy * b.m21 + b.dx,
          a.dx * b.m12 + a.dy * b.m22 + b.dy};
}

Transform2D matrixTransformation2D(float scx, float scy, float scalingRotation, float sx,
                                   float sy, float rcx, float rcy, float rotation, float tx,
                                   float ty) {
  Transform2D m = translation(-scx, -scy);
  m = matrixMultiply(m, rotationMatrix(-scalingRotation));
  m = matrixMultiply(m, matrixScaling(sx, sy));
  m = matrixMultiply(m, rotationMatrix(scalingRotation));
  m = matrixMultiply(m, translation(scx, scy));
  m = matrixMultiply(m, translation(-rcx, -rcy));
  m = matrixMultiply(m, rotationMatrix(rotation));
  m = matrixMultiply(m, translation(rcx, rcy));
  return matrixMultiply(m, translation(tx, ty));
}

void transformPoint(const Transform2D &m, float x, float y, float *ox, float *oy) {
  *ox = x * m.m11 + y * m.m21 + m.dx;
  *oy = x * m.m12 + y * m.m22 + m.dy;
}
