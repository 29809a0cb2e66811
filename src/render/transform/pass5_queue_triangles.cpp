#include "pass5_queue_triangles.h"

#include "face_tests.h"
#include "lighting.h"
#include "render/render_queue.h"

using NMATHF::VEC2F;
using NMATHF::VEC3F;
using NMATHF::VEC4F;

bool faces_eye_within_far(const VEC3F* p, float far_z) {
  return screen_area(p[0], p[1], p[2]) > 0.0f && not_beyond_far(p[0], p[1], p[2], far_z);
}

void fill_entry(SORT_STRUCT& e, const VEC3F* p, const float* w, const VEC2F* ntcoord,
                const VEC3F& centroid, const TRIANGLE_STRUCT& t, const VEC3F& tlight,
                const QueueRequest& request) {
  const FlatLight lit = flat_light(t.NORMAL, centroid, tlight, t.COL);
  e.MIDPOINT = centroid.Z - request.depth_offset;
  // The rasterizers interpolate 1/depth, u/depth and v/depth linearly on the
  // screen, which is exact only for the view distance: each corner carries
  // its clip-space w. The projected Z above served the far limit alone.
  for (int k = 0; k < 3; ++k) {
    e.VEC(k) = VEC3F(p[k].X, p[k].Y, w[k]);
    const VEC2F& nt = ntcoord[k];
    e.UV(k) = VEC2F(nt.X + request.tcoord.X, nt.Y + request.tcoord.Y);
  }
  e.TEXTURE = request.texture != nullptr ? request.texture : t.TEXTURE;
  // A triangle of a material without a texture stays flat whatever the switch.
  e.USE_TEX = t.USE_TEX == FLAT_MATERIAL ? 0 : request.use_tex;
  e.COL = lit.col;
  e.SHADE = lit.shade;
}

namespace {
// One triangle with screen corners P (X, Y and the projected depth), view
// distances W (clip-space w) and texture coordinates NTCOORD, lit with the
// normal and colour of T at T's clip-space centroid (for a near-cut piece, T
// is the whole triangle it was cut from): queued unless it is a back face or
// wholly beyond the far limit.
void queue_triangle(const VEC3F* p, const float* w, const VEC2F* ntcoord, const VEC4F* rv,
                    const TRIANGLE_STRUCT& t, const VEC3F& tlight, const QueueRequest& request,
                    int32_t& fcnt, int64_t& dropped) {
  if (!faces_eye_within_far(p, request.far_z)) return;
  SORT_STRUCT* e_ptr = queue_slot(fcnt);
  if (e_ptr == nullptr) {
    ++dropped;  // a count no caller should pass: nothing is written
    return;
  }
  fill_entry(*e_ptr, p, w, ntcoord, clip_centroid(rv, t), t, tlight, request);
  ++fcnt;
}
}  // namespace

void queue_visible_triangles(const MODEL_STRUCT& model, const TransformScratch& scratch,
                             uint32_t first, uint32_t last, const VEC3F& tlight,
                             const QueueRequest& request, int32_t& fcnt, int64_t& dropped) {
  const VEC3F* pv = model.PVERTICES;
  const VEC4F* rv = model.RVERTICES;
  for (uint32_t i = first; i < last; ++i) {
    if (scratch.drawn[i] != DRAWN) continue;
    const TRIANGLE_STRUCT& t = model.TRIANGLES[i];
    const uint32_t a = t.POINT_ID(1), b = t.POINT_ID(2), c = t.POINT_ID(3);
    const VEC3F p[3] = {pv[a], pv[b], pv[c]};
    const float w[3] = {rv[a].W, rv[b].W, rv[c].W};
    queue_triangle(p, w, t.NTCOORD.data(), rv, t, tlight, request, fcnt, dropped);
  }
}

void queue_near_pieces(const MODEL_STRUCT& model, const TransformScratch& scratch,
                       const Viewport& vp, const VEC3F& tlight, const QueueRequest& request,
                       int32_t& fcnt, int64_t& dropped) {
  // Pieces of a cut triangle are lit (and keyed) as the whole triangle.
  for (const NearPiece& piece : scratch.pieces) {
    VEC3F p[3];
    float w[3];
    for (int k = 0; k < 3; ++k) {
      p[k] = project_to_screen(vp, piece.clip[k]);
      w[k] = piece.clip[k].W;
    }
    queue_triangle(p, w, piece.ntcoord, model.RVERTICES, model.TRIANGLES[piece.source], tlight,
                   request, fcnt, dropped);
  }
}
