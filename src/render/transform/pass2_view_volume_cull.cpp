#include "pass2_view_volume_cull.h"

#include "transform_scratch.h"

using NMATHF::VEC4F;

namespace {
// Less-than tests count a NaN as true, greater-than tests as false.
inline bool below(float a, float b) { return !(a >= b); }

// The bound is each corner's w: wholly nearer than the near plane, then
// wholly left, right, below, above.
bool outside_view_volume(const VEC4F& a, const VEC4F& b, const VEC4F& c, float near_w) {
  if (below(a.W, near_w) && below(b.W, near_w) && below(c.W, near_w)) return true;
  if (below(a.X, -a.W) && below(b.X, -b.W) && below(c.X, -c.W)) return true;
  if (a.X > a.W && b.X > b.W && c.X > c.W) return true;
  if (below(a.Y, -a.W) && below(b.Y, -b.W) && below(c.Y, -c.W)) return true;
  return a.Y > a.W && b.Y > b.W && c.Y > c.W;
}
}  // namespace

void cull_to_view_volume(MODEL_STRUCT& model, float near_w, uint32_t first, uint32_t last,
                         std::vector<uint8_t>& drawn) {
  const VEC4F* tv = model.TVERTICES;
  const uint32_t n = model.MAX_VERTICES;
  for (uint32_t i = first; i < last; ++i) {
    TRIANGLE_STRUCT& t = model.TRIANGLES[i];
    const uint32_t a = t.POINT_ID(1), b = t.POINT_ID(2), c = t.POINT_ID(3);
    const bool named_ok = a < n && b < n && c < n;
    const int32_t culled =
        (!named_ok || outside_view_volume(tv[a], tv[b], tv[c], near_w)) ? -1 : 0;
    // Written only when it changes: a record left unwritten stays clean in the cache.
    if (t.CULLED != culled) t.CULLED = culled;
    // A kept triangle with a corner before the near plane (or NaN) is cut next.
    if (culled == -1)
      drawn[i] = NOT_DRAWN;
    else
      drawn[i] = tv[a].W >= near_w && tv[b].W >= near_w && tv[c].W >= near_w ? DRAWN : TO_CUT;
  }
}
