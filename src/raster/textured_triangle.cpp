#include "raster/triangles.h"

#include "platform/fail.h"

#include "raster_target.h"
#include "texel_shade.h"
#include "texture_fetch.h"
#include "tri_setup.h"
#include "tri_walk.h"

namespace {
// Values carried along the edges and spans: 1/z, u/z, v/z.
enum { IZ_, UIZ_, VIZ_, CARRIED };

// One span. Hidden pixels cost the comparison and three additions; the division
// and the texel read happen only where the depth test passes.
template <bool DARKEN, class Texture>
struct TexturedSpan {
  Texture tex;
  uint32_t col_scale2;
  float dizdx, duizdx, dvizdx;

  void operator()(uint32_t* pixels, float* depth, int32_t sx, int32_t ex, const float* v) const {
    float iz = v[IZ_], uiz = v[UIZ_], viz = v[VIZ_];
    for (int32_t x = sx; x < ex; ++x) {
      if (iz > depth[x]) {  // strict; NaN never passes
        const float z = 1.0f / iz;
        const uint32_t texel = tex.fetch(z * uiz, z * viz);
        pixels[x] = DARKEN ? subtract_bytes_saturated(texel, col_scale2)
                           : add_bytes_saturated(texel, col_scale2);
        depth[x] = iz;
      }
      iz += dizdx;
      uiz += duizdx;
      viz += dvizdx;
    }
  }
};

template <bool DARKEN, class Texture>
void walk_textured(const TriSetup<CARRIED>& t, const RasterTarget& target, Texture tex,
                   uint32_t col_scale2) {
  walk_triangle(t, target,
                TexturedSpan<DARKEN, Texture>{tex, col_scale2, t.ddx[IZ_], t.ddx[UIZ_],
                                                 t.ddx[VIZ_]});
}

template <class Texture>
void walk_shaded(const TriSetup<CARRIED>& t, const RasterTarget& target, Texture tex,
                 bool darken, uint32_t col_scale2) {
  if (darken)
    walk_textured<true>(t, target, tex, col_scale2);
  else
    walk_textured<false>(t, target, tex, col_scale2);
}

RasterCorner<CARRIED> textured_corner(float sx, float sy, float sz, float tx, float ty) {
  const float iz = 1.0f / sz;
  return {to_sampling_grid(sx), to_sampling_grid(sy), {iz, tx * iz, ty * iz}};
}
}  // namespace

void fill_textured_triangle(IMAGE* dst, float* depth, float sx1, float sy1, float sz1, float tx1,
                            float ty1, float sx2, float sy2, float sz2, float tx2, float ty2,
                            float sx3, float sy3, float sz3, float tx3, float ty3,
                            int32_t col_scale, const IMAGE* texture) {
  if (!texture) RUNTIME_FAIL(ERR_NULL_POINTER, "TFPCSPTRI_ORIG");
  if (!image_is_usable(texture)) return;
  RasterTarget target;
  if (!resolve_raster_target(dst, depth, target)) return;

  TriSetup<CARRIED> t;
  if (!setup_triangle<CARRIED>(textured_corner(sx1, sy1, sz1, tx1, ty1),
                               textured_corner(sx2, sy2, sz2, tx2, ty2),
                               textured_corner(sx3, sy3, sz3, tx3, ty3), t))
    return;

  // The sign picks brightening or darkening; the magnitude goes on every byte.
  const bool darken = col_scale < 0;
  const uint32_t magnitude = darken ? 0u - uint32_t(col_scale) : uint32_t(col_scale);
  const uint32_t col_scale2 = spread_to_bytes(magnitude);

  if (texture_is_pow2(*texture))
    walk_shaded(t, target, make_pow2_texture(*texture), darken, col_scale2);
  else
    walk_shaded(t, target, make_any_size_texture(*texture), darken, col_scale2);
}
