#include "pass2_view_volume_cull.h"

#include "transform_scratch.h"

using NMATHF::VEC4F;

void cull_to_view_volume(MODEL_STRUCT& model, float near_w, uint32_t first, uint32_t last,
                         std::vector<uint8_t>& drawn) {
  const VEC4F* tv = model.TVERTICES;
  const uint32_t n = model.MAX_VERTICES;
  for (uint32_t i = first; i < last; ++i) {
    TRIANGLE_STRUCT& t = model.TRIANGLES[i];
    const uint32_t a = t.POINT_ID(1), b = t.POINT_ID(2), c = t.POINT_ID(3);
    const bool named_ok = a < n && b < n && c < n;
    const uint8_t fate = named_ok ? view_volume_fate(tv[a], tv[b], tv[c], near_w) : NOT_DRAWN;
    set_culled(t, fate);
    drawn[i] = fate;
  }
}
