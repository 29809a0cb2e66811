// The two depth-buffered triangle fillers. Both draw into DST (null: the screen
// page; the caller holds the screen lock) and test and write DEPTH, which holds
// 1/z per pixel in rows of the target's width (at least width x height floats);
// larger is nearer. Pixel (x, y) is covered when its centre lies inside the
// triangle, a shared edge belonging to exactly one side. Corners come in any
// order and winding; whatever they hold, nothing outside the target and the
// depth buffer is written. A null DEPTH draws nothing.
//
// SCOPE limits the rows touched to its band (nothing outside it is read or
// written) and picks the code that fills the spans; neither changes a single
// bit of what is drawn inside the band.
#pragma once
#include <cstdint>

#include "base/image.h"
#include "raster/raster_target.h"

// Fills the screen-space triangle (sx1, sy1), (sx2, sy2), (sx3, sy3) with COL.
// A pixel is drawn where its 1/z, interpolated linearly in screen space from
// 1/sz1..1/sz3, is strictly greater than the stored value.
void fill_flat_triangle(IMAGE* dst, float* depth, const DrawScope& scope, float sx1, float sy1,
                        float sz1, float sx2, float sy2, float sz2, float sx3, float sy3, float sz3,
                        uint32_t col);

// Fills the same pixels with the same depth test and writes, from TEXTURE: u/z
// and v/z are interpolated in screen space and divided by 1/z at each pixel
// that passes the depth test. Texture coordinates (txk, tyk) are in texels and
// wrap in both directions. Each texel is brightened (col_scale >= 0) or
// darkened (col_scale < 0) byte by byte by |col_scale|, all four bytes alike,
// saturating at 255 and 0. A null TEXTURE stops the program with error 7
// (reported as TFPCSPTRI_ORIG); an unusable one draws nothing.
void fill_textured_triangle(IMAGE* dst, float* depth, const DrawScope& scope, float sx1,
                            float sy1, float sz1, float tx1, float ty1, float sx2, float sy2,
                            float sz2, float tx2, float ty2, float sx3, float sy3, float sz3,
                            float tx3, float ty3, int32_t col_scale, const IMAGE* texture);

// For callers that draw many triangles into one target: the target resolved
// once (resolve_raster_target) and each texture made ready once, instead of
// per triangle. Same pixels as the fill_ routines above.

// The rows a triangle with corners at heights SY1, SY2, SY3 may draw, at most:
// false when it draws none. Whatever lies outside ROWS, no call of the
// rasterizers for these corners touches.
bool triangle_rows(float sy1, float sy2, float sy3, RowBand& rows);

// A texture ready for drawing: its texel base, wrap masks and row shift.
struct TextureSource {
  const uint8_t* base = nullptr;  // first texel; null for a texture that draws nothing
  uint32_t width = 0, height = 0, pitch = 0;
  uint32_t shift = 0;             // log2 of the pitch, for power-of-two sizes
  bool pow2 = false;              // width, height and pitch are powers of two
};

// TEXTURE (not null) made ready; its base stays null when it cannot be drawn from.
TextureSource prepare_texture(const IMAGE& texture);

void draw_flat_triangle(const RasterTarget& target, const DrawScope& scope, float sx1, float sy1,
                        float sz1, float sx2, float sy2, float sz2, float sx3, float sy3, float sz3,
                        uint32_t col);
void draw_textured_triangle(const RasterTarget& target, const DrawScope& scope,
                            const TextureSource& texture, float sx1, float sy1, float sz1,
                            float tx1, float ty1, float sx2, float sy2, float sz2, float tx2,
                            float ty2, float sx3, float sy3, float sz3, float tx3, float ty3,
                            int32_t col_scale);
