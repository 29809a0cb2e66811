#include "pass5_queue_triangles.h"

#include "face_tests.h"
#include "lighting.h"
#include "render/render_queue.h"

using NMATHF::VEC2F;
using NMATHF::VEC3F;
using NMATHF::VEC4F;

namespace {
// One triangle with corners POINT_ID (into PVERTICES) and texture coordinates
// NTCOORD, lit with the normal and colour of T at T's clip-space centroid (for
// a near-cut piece, T is the whole triangle it was cut from): queued unless it
// is a back face or wholly beyond the far limit.
void queue_triangle(const VEC3F* pv, const VEC4F* rv, const uint32_t* point_id,
                    const VEC2F* ntcoord, const TRIANGLE_STRUCT& t, const VEC3F& tlight,
                    const QueueRequest& request, int32_t& fcnt, int64_t& dropped) {
  const VEC3F p1 = pv[point_id[0]], p2 = pv[point_id[1]], p3 = pv[point_id[2]];
  if (!(screen_area(p1, p2, p3) > 0.0f)) return;
  if (!not_beyond_far(p1, p2, p3, request.far_z)) return;
  if (fcnt < 0 || fcnt >= RBUFFER_SIZE) {
    ++dropped;  // the queue is full: nothing is written past its end
    return;
  }

  const VEC3F p = clip_centroid(rv, t);
  const FlatLight lit = flat_light(t.NORMAL, p, tlight, t.COL);

  SORT_STRUCT& e = RBUFFER(fcnt);
  e.MIDPOINT = p.Z - request.depth_offset;
  // The rasterizers interpolate 1/depth, u/depth and v/depth linearly on the
  // screen, which is exact only for the view distance: each corner carries
  // its clip-space w. The projected Z above served the far limit alone.
  e.VEC(0) = VEC3F(p1.X, p1.Y, rv[point_id[0]].W);
  e.VEC(1) = VEC3F(p2.X, p2.Y, rv[point_id[1]].W);
  e.VEC(2) = VEC3F(p3.X, p3.Y, rv[point_id[2]].W);
  for (int k = 0; k < 3; ++k) {
    const VEC2F& nt = ntcoord[k];
    e.UV(k) = VEC2F(nt.X + request.tcoord.X, nt.Y + request.tcoord.Y);
  }
  e.TEXTURE = request.texture != nullptr ? request.texture : t.TEXTURE;
  // A triangle of a material without a texture stays flat whatever the switch.
  e.USE_TEX = t.USE_TEX == FLAT_MATERIAL ? 0 : request.use_tex;
  e.COL = lit.col;
  e.SHADE = lit.shade;
  ++fcnt;
}
}  // namespace

void queue_visible_triangles(const MODEL_STRUCT& model, const TransformScratch& scratch,
                             const VEC3F& tlight, const QueueRequest& request, int32_t& fcnt,
                             int64_t& dropped) {
  const VEC3F* pv = model.PVERTICES;
  for (uint32_t i = 0; i < model.MAX_TRIANGLES; ++i) {
    if (scratch.drawn[i] != DRAWN) continue;
    const TRIANGLE_STRUCT& t = model.TRIANGLES[i];
    const uint32_t point_id[3] = {t.POINT_ID(1), t.POINT_ID(2), t.POINT_ID(3)};
    queue_triangle(pv, model.RVERTICES, point_id, t.NTCOORD.data(), t, tlight, request, fcnt,
                   dropped);
  }
  // Pieces of a cut triangle are lit (and keyed) as the whole triangle.
  for (const NearPiece& piece : scratch.pieces)
    queue_triangle(pv, model.RVERTICES, piece.point_id, piece.ntcoord,
                   model.TRIANGLES[piece.source], tlight, request, fcnt, dropped);
}
