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
void TFPCSPTRI_ORIG(IMAGE* DST, float SX1, float SY1, float SZ1, float TX1, float TY1, float SX2,
                    float SY2, float SZ2, float TX2, float TY2, float SX3, float SY3, float SZ3,
                    float TX3, float TY3, int32_t COL_SCALE, const IMAGE* TEXTURE);
