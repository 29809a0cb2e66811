#include "render/rasterizers.h"

#include "raster/triangles.h"
#include "render/render_globals.h"

void FTRI(IMAGE* dst, float sx1, float sy1, float sz1, float sx2, float sy2, float sz2, float sx3,
          float sy3, float sz3, uint32_t col) {
  fill_flat_triangle(dst, ZBUFF, DrawScope{RowBand{}, simd_path}, sx1, sy1, sz1, sx2, sy2, sz2, sx3,
                     sy3, sz3, col);
}

void TFPCSPTRI_ORIG(IMAGE* dst, float sx1, float sy1, float sz1, float tx1, float ty1, float sx2,
                    float sy2, float sz2, float tx2, float ty2, float sx3, float sy3, float sz3,
                    float tx3, float ty3, int32_t col_scale, const IMAGE* texture) {
  fill_textured_triangle(dst, ZBUFF, DrawScope{RowBand{}, simd_path}, sx1, sy1, sz1, tx1, ty1, sx2,
                         sy2, sz2, tx2, ty2, sx3, sy3, sz3, tx3, ty3, col_scale, texture);
}
