// The flat-shaded, depth-buffered triangle filler.
#pragma once
#include <cstdint>

#include "platform/platform.h"

// Fills the screen-space triangle (SX1, SY1), (SX2, SY2), (SX3, SY3) with COL
// in DST (null: the screen page; the caller holds the screen lock), testing and
// writing ZBUFF, which holds 1/z in rows of the target's width; larger is
// nearer. A pixel is drawn where its 1/z, interpolated linearly in screen space
// from 1/SZ1..1/SZ3, is strictly greater than the stored value. Pixel (x, y) is
// covered when its centre lies inside the triangle, a shared edge belonging to
// exactly one side. Corners come in any order and winding; whatever they hold,
// nothing outside the target and the depth buffer is written.
void FTRI(IMAGE* dst, float sx1, float sy1, float sz1, float sx2, float sy2, float sz2, float sx3,
          float sy3, float sz3, uint32_t col);
