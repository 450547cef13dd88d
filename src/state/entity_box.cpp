// The derived fields of a box and the touch test.
#include "state/entity_box.h"

void updateBox(EntityBox &box) {
  box.right = box.x + 4;
  box.bottom = box.y + 4;
  box.outerLeft = box.x - 1;
  box.outerRight = box.x + 5;
  box.outerTop = box.y - 1;
  box.outerBottom = box.y + 5;
}

void placeBox(EntityBox &box, int32_t x, int32_t y) {
  box.x = x;
  box.y = y;
  updateBox(box);
}

bool boxesTouch(const EntityBox &a, const EntityBox &b) {
  return a.x <= b.outerRight && a.right >= b.outerLeft && a.y <= b.outerBottom &&
         a.bottom >= b.outerTop;
}
