#include "raster/triangles.h"

#include "spans_avx2.h"
#include "spans_wasm.h"
#include "tri_setup.h"
#include "tri_walk.h"

namespace {
// One span: the depth test and at most two stores per pixel.
struct FlatSpan {
  uint32_t col;
  float dizdx;

  void operator()(uint32_t* pixels, float* depth, int32_t sx, int32_t ex, const float* v) const {
    float iz = v[0];
    for (int32_t x = sx; x < ex; ++x) {
      if (iz > depth[x]) {  // strict; NaN never passes
        pixels[x] = col;
        depth[x] = iz;
      }
      iz += dizdx;
    }
  }
};

// The same span through a vector kernel (eight or four pixels at a time);
// short spans, and the last pixels of the others, by the portable span.
template <auto KERNEL>
struct FlatSpanVector {
  FlatSpan one;
  int32_t row_end;  // the target's width

  void operator()(uint32_t* pixels, float* depth, int32_t sx, int32_t ex, const float* v) const {
    if (ex - sx < SHORT_SPAN) {
      one(pixels, depth, sx, ex, v);
      return;
    }
    float iz = v[0];
    const int32_t x = KERNEL(pixels, depth, sx, ex, row_end, iz, one.dizdx, one.col);
    one(pixels, depth, x, ex, &iz);
  }
};
}  // namespace

void draw_flat_triangle(const RasterTarget& target, const DrawScope& scope, float sx1, float sy1,
                        float sz1, float sx2, float sy2, float sz2, float sx3, float sy3, float sz3,
                        uint32_t col) {
  const float y1 = to_sampling_grid(sy1), y2 = to_sampling_grid(sy2), y3 = to_sampling_grid(sy3);
  if (!rows_meet_band(y1, y2, y3, scope.band)) return;
  TriSetup<1> t;
  if (!setup_triangle<1>({to_sampling_grid(sx1), y1, {1.0f / sz1}},
                         {to_sampling_grid(sx2), y2, {1.0f / sz2}},
                         {to_sampling_grid(sx3), y3, {1.0f / sz3}}, t))
    return;
  const FlatSpan span{col, t.ddx[0]};
  if (runs_avx2(scope.simd))
    walk_triangle(t, target, scope.band, FlatSpanVector<flat_span_avx2>{span, target.width});
  else if (runs_wasm128(scope.simd))
    walk_triangle(t, target, scope.band, FlatSpanVector<flat_span_wasm128>{span, target.width});
  else
    walk_triangle(t, target, scope.band, span);
}

void fill_flat_triangle(IMAGE* dst, float* depth, const DrawScope& scope, float sx1, float sy1,
                        float sz1, float sx2, float sy2, float sz2, float sx3, float sy3, float sz3,
                        uint32_t col) {
  RasterTarget target;
  if (!resolve_raster_target(dst, depth, target)) return;
  draw_flat_triangle(target, scope, sx1, sy1, sz1, sx2, sy2, sz2, sx3, sy3, sz3, col);
}
