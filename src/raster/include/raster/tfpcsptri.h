// The perspective-correct textured, depth-buffered triangle filler.
#pragma once
#include <cstdint>

#include "platform/platform.h"

// Fills the same pixels FTRI fills for these corners, with the same depth test
// and depth writes, from TEXTURE: u/z and v/z are interpolated in screen space
// and divided by 1/z at each pixel that passes the depth test. Texture
// coordinates (TXk, TYk) are in texels and wrap in both directions. Each texel
// is brightened (COL_SCALE >= 0) or darkened (COL_SCALE < 0) byte by byte by
// |COL_SCALE|, all four bytes alike, saturating at 255 and 0. A null TEXTURE
// stops the program with error 7.
void TFPCSPTRI_ORIG(IMAGE* dst, float sx1, float sy1, float sz1, float tx1, float ty1, float sx2,
                    float sy2, float sz2, float tx2, float ty2, float sx3, float sy3, float sz3,
                    float tx3, float ty3, int32_t col_scale, const IMAGE* texture);
