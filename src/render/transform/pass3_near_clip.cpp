#include "pass3_near_clip.h"

#include <cstdint>

using NMATHF::VEC2F;
using NMATHF::VEC4F;

namespace {

// A corner of the polygon left after the cut: an existing vertex or a new one,
// with its texture coordinate.
struct ClipCorner {
  VEC4F clip;
  VEC2F uv;
};

// The point where the edge from IN (w >= NEAR_W) to OUT (w < NEAR_W) meets the
// plane. Always interpolated from the inside corner, so the two triangles
// that share an edge get the very same new vertex and leave no crack.
VEC4F cut_edge(const VEC4F& in, const VEC4F& out, float near_w, float& t) {
  t = (in.W - near_w) / (in.W - out.W);
  VEC4F p;
  p.X = in.X + (out.X - in.X) * t;
  p.Y = in.Y + (out.Y - in.Y) * t;
  p.Z = in.Z + (out.Z - in.Z) * t;
  p.W = near_w;
  return p;
}

VEC2F lerp_uv(const VEC2F& a, const VEC2F& b, float t) {
  VEC2F r;
  r.X = a.X + (b.X - a.X) * t;
  r.Y = a.Y + (b.Y - a.Y) * t;
  return r;
}

}  // namespace

void cut_at_near_plane(const VEC4F* const corner[3], const TRIANGLE_STRUCT& t, uint32_t source,
                       float near_w, std::vector<NearPiece>& pieces) {
  bool inside[3];
  int inside_count = 0;
  for (int k = 0; k < 3; ++k) {
    inside[k] = corner[k]->W >= near_w;  // NaN counts as behind
    inside_count += inside[k];
  }
  if (inside_count == 0) return;

  // Walk the edges: keep the inside corners, add a corner where an edge
  // crosses the plane. The result keeps the triangle's winding.
  ClipCorner poly[4];
  int n = 0;
  for (int k = 0; k < 3; ++k) {
    const int kn = (k + 1) % 3;
    if (inside[k]) poly[n++] = {*corner[k], t.NTCOORD(k + 1)};
    if (inside[k] == inside[kn]) continue;
    const int a = inside[k] ? k : kn, b = inside[k] ? kn : k;
    float param;
    const VEC4F cut = cut_edge(*corner[a], *corner[b], near_w, param);
    poly[n++] = {cut, lerp_uv(t.NTCOORD(a + 1), t.NTCOORD(b + 1), param)};
  }

  // One piece for a triangle, two for a quadrilateral, fanned from corner 0.
  for (int f = 1; f + 1 < n; ++f) {
    NearPiece piece;
    piece.source = source;
    const ClipCorner* c[3] = {&poly[0], &poly[f], &poly[f + 1]};
    for (int k = 0; k < 3; ++k) {
      piece.clip[k] = c[k]->clip;
      piece.ntcoord[k] = c[k]->uv;
    }
    pieces.push_back(piece);
  }
}

void clip_near_plane(const MODEL_STRUCT& model, float near_w, uint32_t first, uint32_t last,
                     TransformScratch& scratch) {
  const VEC4F* rv = model.RVERTICES;
  for (uint32_t i = first; i < last; ++i) {
    if (scratch.drawn[i] != TO_CUT) continue;
    const TRIANGLE_STRUCT& t = model.TRIANGLES[i];
    const VEC4F* const corner[3] = {&rv[t.POINT_ID(1)], &rv[t.POINT_ID(2)], &rv[t.POINT_ID(3)]};
    // From here on the triangle itself is not drawn; only its pieces are.
    scratch.drawn[i] = NOT_DRAWN;
    cut_at_near_plane(corner, t, i, near_w, scratch.pieces);
  }
}
