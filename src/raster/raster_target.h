// Where a rasterizer writes: the pixel rows of the target image (or of the
// screen page) and the depth buffer, whose rows are the target's width.
#pragma once
#include <cstddef>
#include <cstdint>

#include "platform/image.h"

struct RasterTarget {
  uint8_t* pixels;  // row 0, column 0
  size_t pitch;     // bytes from one pixel row to the next
  float* depth;     // row 0, column 0 of the depth buffer; rows are width floats apart
  int32_t width, height;

  uint32_t* pixel_row(int32_t y) const {
    return reinterpret_cast<uint32_t*>(pixels + size_t(y) * pitch);
  }
  float* depth_row(int32_t y) const { return depth + size_t(y) * size_t(width); }
};

// Fills T for DST (null: the screen page) and DEPTH. False when there is
// nothing to draw into: no pixels, no depth buffer, an empty target, or a
// header whose rows cannot hold its width.
bool resolve_raster_target(IMAGE* dst, float* depth, RasterTarget& t);
