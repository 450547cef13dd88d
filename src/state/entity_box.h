// The 5 x 5 box that the player, the enemies and the items share, with the
// ring of cells around it that counts as touching.
#pragma once
#include <cstdint>

struct EntityBox {
  int32_t x;
  int32_t y;
  int32_t right;
  int32_t bottom;
  int32_t outerLeft;
  int32_t outerRight;
  int32_t outerTop;
  int32_t outerBottom;
};

// Recomputes the six derived fields from x and y.
void updateBox(EntityBox &box);
// Sets x and y and the derived fields.
void placeBox(EntityBox &box, int32_t x, int32_t y);
// Box a lies on b or in the ring of cells around it.
bool boxesTouch(const EntityBox &a, const EntityBox &b);
