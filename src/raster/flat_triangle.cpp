#include "raster/triangles.h"

#include "raster_target.h"
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
}  // namespace

void fill_flat_triangle(IMAGE* dst, float* depth, float sx1, float sy1, float sz1, float sx2,
                        float sy2, float sz2, float sx3, float sy3, float sz3, uint32_t col) {
  RasterTarget target;
  if (!resolve_raster_target(dst, depth, target)) return;
  TriSetup<1> t;
  if (!setup_triangle<1>({to_sampling_grid(sx1), to_sampling_grid(sy1), {1.0f / sz1}},
                         {to_sampling_grid(sx2), to_sampling_grid(sy2), {1.0f / sz2}},
                         {to_sampling_grid(sx3), to_sampling_grid(sy3), {1.0f / sz3}}, t))
    return;
  walk_triangle(t, target, FlatSpan{col, t.ddx[0]});
}
