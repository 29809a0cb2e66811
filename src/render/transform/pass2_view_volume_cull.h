// The second pass of the model transform: whole triangles outside the view
// volume.
#pragma once
#include <cstdint>
#include <vector>

#include "model/model.h"
#include "transform_scratch.h"

// Less-than tests count a NaN as true, greater-than tests as false.
inline bool below_or_nan(float a, float b) { return !(a >= b); }

// True when all three clip-space corners lie outside one plane of the view
// volume, each corner's w the bound: wholly nearer than NEAR_W, then wholly
// left, right, below, above.
inline bool outside_view_volume(const NMATHF::VEC4F& a, const NMATHF::VEC4F& b,
                                const NMATHF::VEC4F& c, float near_w) {
  if (below_or_nan(a.W, near_w) && below_or_nan(b.W, near_w) && below_or_nan(c.W, near_w))
    return true;
  if (below_or_nan(a.X, -a.W) && below_or_nan(b.X, -b.W) && below_or_nan(c.X, -c.W)) return true;
  if (a.X > a.W && b.X > b.W && c.X > c.W) return true;
  if (below_or_nan(a.Y, -a.W) && below_or_nan(b.Y, -b.W) && below_or_nan(c.Y, -c.W)) return true;
  return a.Y > a.W && b.Y > b.W && c.Y > c.W;
}

// What becomes of a triangle with these clip-space corners: culled, drawn
// whole, or (a corner before the near plane, or NaN) cut next.
inline TriangleFate view_volume_fate(const NMATHF::VEC4F& a, const NMATHF::VEC4F& b,
                                     const NMATHF::VEC4F& c, float near_w) {
  if (outside_view_volume(a, b, c, near_w)) return NOT_DRAWN;
  return a.W >= near_w && b.W >= near_w && c.W >= near_w ? DRAWN : TO_CUT;
}

// CULLED for FATE (-1 for a culled triangle), written only when it changes: a
// record left unwritten stays clean in the cache.
inline void set_culled(TRIANGLE_STRUCT& t, uint8_t fate) {
  const int32_t culled = fate == NOT_DRAWN ? -1 : 0;
  if (t.CULLED != culled) t.CULLED = culled;
}

// Sets the CULLED of triangles FIRST to LAST - 1 (-1 when all three
// clip-space corners lie outside one plane of the view volume: wholly nearer
// than NEAR_W, or wholly left, right, below or above) and notes in DRAWN (one TriangleFate per
// triangle) which are kept, and which of those the near plane cuts. A
// triangle that names a vertex the model does not have is culled rather than
// read out of bounds.
// DRAWN holds an entry for every triangle of the model.
void cull_to_view_volume(MODEL_STRUCT& model, float near_w, uint32_t first, uint32_t last,
                         std::vector<uint8_t>& drawn);
