#include "queue_triangles.h"

#include "face_tests.h"
#include "lighting.h"
#include "render/model_transform.h"
#include "render/render_queue.h"

using NMATHF::VEC2F;
using NMATHF::VEC3F;

void queue_visible_triangles(const MODEL_STRUCT& model, const VEC3F& tlight,
                             const QueueRequest& request, int32_t& fcnt) {
  const VEC3F* pv = model.PVERTICES;
  for (uint32_t i = 0; i < model.MAX_RTRIS; ++i) {
    const TRIANGLE_STRUCT& t = model.RTRIANGLES[i];
    if (t.CULLED == -1) continue;
    const VEC3F p1 = pv[t.POINT_ID(1)], p2 = pv[t.POINT_ID(2)], p3 = pv[t.POINT_ID(3)];
    if (!(screen_area(p1, p2, p3) > 0.0f)) continue;
    if (!not_beyond_far(p1, p2, p3, request.far_z)) continue;
    if (fcnt < 0 || fcnt >= RBUFFER_SIZE) {
      ++dropped_triangles;  // the queue is full: nothing is written past its end
      continue;
    }

    // Pieces of a cut triangle are lit (and keyed) as the whole triangle.
    const VEC3F p = i < model.MAX_TRIANGLES ? clip_centroid(model.RVERTICES, t) : t.MIDPOINT;
    const FlatLight lit = flat_light(t.NORMAL, p, tlight, t.COL);

    SORT_STRUCT& e = RBUFFER(fcnt);
    e.MIDPOINT = p.Z - request.depth_offset;
    // The rasterizers interpolate 1/depth, u/depth and v/depth linearly on the
    // screen, which is exact only for the view distance: each corner carries
    // its clip-space w. The projected Z above served the far limit alone.
    const NMATHF::VEC4F* rv = model.RVERTICES;
    e.VEC(0) = VEC3F(p1.X, p1.Y, rv[t.POINT_ID(1)].W);
    e.VEC(1) = VEC3F(p2.X, p2.Y, rv[t.POINT_ID(2)].W);
    e.VEC(2) = VEC3F(p3.X, p3.Y, rv[t.POINT_ID(3)].W);
    for (int k = 1; k <= 3; ++k) {
      const VEC2F& nt = t.NTCOORD(k);
      e.UV(k - 1) = VEC2F(nt.X + request.tcoord.X, nt.Y + request.tcoord.Y);
    }
    e.TEXTURE = request.texture != nullptr ? request.texture : t.TEXTURE;
    e.USE_TEX = request.use_tex;
    e.COL = lit.col;
    e.SHADE = lit.shade;
    ++fcnt;
  }
}
