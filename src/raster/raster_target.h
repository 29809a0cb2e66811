// Where a rasterizer writes: the pixel rows of the target image (or of the
// screen page) and the depth buffer ZBUFF, whose rows are the target's width.
#pragma once
#include <cstddef>
#include <cstdint>

#include "platform/platform.h"

struct RASTER_TARGET {
  uint8_t* PIXELS;  // row 0, column 0
  size_t PITCH;     // bytes from one pixel row to the next
  float* DEPTH;     // row 0, column 0 of ZBUFF; rows are WIDTH floats apart
  int32_t WIDTH, HEIGHT;

  uint32_t* PIXEL_ROW(int32_t Y) const {
    return reinterpret_cast<uint32_t*>(PIXELS + size_t(Y) * PITCH);
  }
  float* DEPTH_ROW(int32_t Y) const { return DEPTH + size_t(Y) * size_t(WIDTH); }
};

// Fills T for DST (null: the screen page) and the global ZBUFF. False when there
// is nothing to draw into: no pixels, no depth buffer, an empty target, or a
// header whose rows cannot hold its width.
bool RESOLVE_RASTER_TARGET(IMAGE* DST, RASTER_TARGET& T);
