// 2D matrix helpers in the row-vector convention of the sprite transforms.
#pragma once
#include "platform/sprites.h"

Transform2D matrixScaling(float sx, float sy);
Transform2D matrixMultiply(const Transform2D &a, const Transform2D &b); // a then b
// Scaling about a centre (with the scaling axes turned by scalingRotation),
// then rotation about a centre, then translation.
Transform2D matrixTransformation2D(float scalingCentreX, float scalingCentreY,
                                   float scalingRotation, float scaleX, float scaleY,
                                   float rotationCentreX, float rotationCentreY, float rotation,
                                   float translateX, float translateY);
void transformPoint(const Transform2D &m, float x, float y, float *outX, float *outY);
