// The rasterizers as the render pipeline calls them: the depth buffer is the
// process-wide ZBUFF.
#pragma once
#include <cstdint>

#include "base/image.h"

// Fills the screen-space triangle with COL into DST (null: the screen page),
// testing and writing ZBUFF (see fill_flat_triangle).
void FTRI(IMAGE* dst, float sx1, float sy1, float sz1, float sx2, float sy2, float sz2, float sx3,
          float sy3, float sz3, uint32_t col);

// Fills the triangle from TEXTURE, perspective-correct and shaded by
// col_scale, testing and writing ZBUFF (see fill_textured_triangle).
void TFPCSPTRI_ORIG(IMAGE* dst, float sx1, float sy1, float sz1, float tx1, float ty1, float sx2,
                    float sy2, float sz2, float tx2, float ty2, float sx3, float sy3, float sz3,
                    float tx3, float ty3, int32_t col_scale, const IMAGE* texture);
