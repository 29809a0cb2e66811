#include "render/model_transform.h"

#include <cstring>

#include "model_transform_stages.h"
#include "render/near_clip.h"
#include "render/render_globals.h"
#include "render/render_queue.h"

using NMATHF::VEC2F;
using NMATHF::VEC3F;
using NMATHF::VEC4F;

int64_t dropped_triangles = 0;

namespace {

// Passes 1 and 3: every vertex through the 16 floats of MAR, once.
void to_view_space(MODEL_STRUCT& model, const float* mar) {
  for (uint32_t i = 0; i < model.MAX_VERTICES; ++i) {
    const VEC3F v = model.VERTICES[i];
    VEC4F& t = model.TVERTICES[i];  // its w is left as it was
    t.X = row_sum(mar, 0, v.X, v.Y, v.Z);
    t.Y = row_sum(mar, 1, v.X, v.Y, v.Z);
    t.Z = row_sum(mar, 2, v.X, v.Y, v.Z);
  }
}

void to_clip_space(MODEL_STRUCT& model, const float* mar) {
  for (uint32_t i = 0; i < model.MAX_VERTICES; ++i) {
    VEC4F& t = model.TVERTICES[i];
    const float x = t.X, y = t.Y, z = t.Z;
    t.X = row_sum(mar, 0, x, y, z);
    t.Y = row_sum(mar, 1, x, y, z);
    t.Z = row_sum(mar, 2, x, y, z);
    t.W = row_sum(mar, 3, x, y, z);
    model.RVERTICES[i] = t;
  }
}

// Less-than tests count a NaN as true, greater-than tests as false.
inline bool below(float a, float b) { return !(a >= b); }

// Pass 4's test: do all three clip-space corners lie outside one plane of the
// view volume? The bound is each corner's w: wholly nearer than the near
// plane, then wholly left, right, below, above.
bool outside_view_volume(const VEC4F& a, const VEC4F& b, const VEC4F& c, float near_w) {
  if (below(a.W, near_w) && below(b.W, near_w) && below(c.W, near_w)) return true;
  if (below(a.X, -a.W) && below(b.X, -b.W) && below(c.X, -c.W)) return true;
  if (a.X > a.W && b.X > b.W && c.X > c.W) return true;
  if (below(a.Y, -a.W) && below(b.Y, -b.W) && below(c.Y, -c.W)) return true;
  return a.Y > a.W && b.Y > b.W && c.Y > c.W;
}

// Pass 4: set CULLED and take the RTRIANGLES copy (with the NTCOORD of the
// previous call). A triangle that names a vertex the model does not have is
// culled rather than read out of bounds.
void cull_to_view_volume(MODEL_STRUCT& model, float near_w) {
  const VEC4F* tv = model.TVERTICES;
  for (uint32_t i = 0; i < model.MAX_TRIANGLES; ++i) {
    TRIANGLE_STRUCT& t = model.TRIANGLES[i];
    const uint32_t a = t.POINT_ID(1), b = t.POINT_ID(2), c = t.POINT_ID(3);
    const uint32_t n = model.MAX_VERTICES;
    const bool named_ok = a < n && b < n && c < n;
    t.CULLED = (!named_ok || outside_view_volume(tv[a], tv[b], tv[c], near_w)) ? -1 : 0;
    model.RTRIANGLES[i] = t;
  }
}

// Pass 6: the texture coordinates the next call will queue.
void refresh_ntcoord(MODEL_STRUCT& model) {
  for (uint32_t i = 0; i < model.MAX_TRIANGLES; ++i) {
    TRIANGLE_STRUCT& t = model.TRIANGLES[i];
    if (t.CULLED == -1) continue;
    for (int k = 1; k <= 3; ++k) t.NTCOORD(k) = t.TCOORD(k);
  }
}

// Pass 7: every vertex in use this frame, new corners of the cut included.
void project_vertices(MODEL_STRUCT& model, const Viewport& vp) {
  for (uint32_t i = 0; i < model.MAX_RVERTS; ++i)
    model.PVERTICES[i] = project_to_screen(vp, model.RVERTICES[i]);
}

// The signed screen-area term: positive for corners that run counter-clockwise
// on the screen (Y downwards).
inline float screen_area(const VEC3F& p1, const VEC3F& p2, const VEC3F& p3) {
  return (p2.X - p1.X) * (p1.Y - p3.Y) - (p2.Y - p1.Y) * (p1.X - p3.X);
}

// At least one depth at or before the far limit (NaN counts as before).
inline bool not_beyond_far(const VEC3F& p1, const VEC3F& p2, const VEC3F& p3, float far_z) {
  return !(p1.Z > far_z) || !(p2.Z > far_z) || !(p3.Z > far_z);
}

}  // namespace

void MODEL_TRANSFORM(MODEL_STRUCT* model, const NMATHF::MATRIX& m, int32_t& fcnt,
                     const NMATHF::VEC3F& light_position, float& color_mult,
                     const float& depth_offset, int32_t use_tex, const IMAGE* texture,
                     const NMATHF::VEC2F& tcoord) {
  (void)color_mult;
  MODEL_STRUCT& md = *model;
  float mar[16];

  // 1. Model to view space.
  std::memcpy(mar, m.M, sizeof mar);
  to_view_space(md, mar);

  // 2. The light into the model's own space (w of the product dropped).
  std::memcpy(mar, PROJECTION_MATRIX.M, sizeof mar);
  const VEC4F l4 = light_position * m.INVERSE();
  const VEC3F tlight(l4.X, l4.Y, l4.Z);

  // 3. View to clip space.
  to_clip_space(md, mar);

  // 4. Whole triangles outside the view volume.
  const float near_w = ZNEAR, far_z = ZFAR;
  cull_to_view_volume(md, near_w);

  // 5. Counts, then the triangles that cross the near plane are cut there.
  md.MAX_RTRIS = md.MAX_TRIANGLES;
  md.MAX_RVERTS = md.MAX_VERTICES;
  clip_near_plane(md, near_w);

  // 6. Texture coordinates for the next call.
  refresh_ntcoord(md);

  // 7. Projection to the screen.
  project_vertices(md, make_viewport(TSCRW, TSCRH, TOP, ZNEAR, ZFAR));

  // 8. Back faces, far limit, lighting and queueing.
  const VEC3F* pv = md.PVERTICES;
  for (uint32_t i = 0; i < md.MAX_RTRIS; ++i) {
    const TRIANGLE_STRUCT& t = md.RTRIANGLES[i];
    if (t.CULLED == -1) continue;
    const VEC3F p1 = pv[t.POINT_ID(1)], p2 = pv[t.POINT_ID(2)], p3 = pv[t.POINT_ID(3)];
    if (!(screen_area(p1, p2, p3) > 0.0f)) continue;
    if (!not_beyond_far(p1, p2, p3, far_z)) continue;
    if (fcnt < 0 || fcnt >= RBUFFER_SIZE) {
      ++dropped_triangles;  // the queue is full: nothing is written past its end
      continue;
    }

    // Pieces of a cut triangle are lit (and keyed) as the whole triangle.
    const VEC3F p = i < md.MAX_TRIANGLES ? clip_centroid(md.RVERTICES, t) : t.MIDPOINT;
    const FlatLight lit = flat_light(t.NORMAL, p, tlight, t.COL);

    SORT_STRUCT& e = RBUFFER(fcnt);
    e.MIDPOINT = p.Z - depth_offset;
    e.VEC(0) = p1;
    e.VEC(1) = p2;
    e.VEC(2) = p3;
    for (int k = 1; k <= 3; ++k) {
      const VEC2F& nt = t.NTCOORD(k);
      e.UV(k - 1) = VEC2F(nt.X + tcoord.X, nt.Y + tcoord.Y);
    }
    e.TEXTURE = texture != nullptr ? texture : t.TEXTURE;
    e.USE_TEX = use_tex;
    e.COL = lit.col;
    e.SHADE = lit.shade;
    ++fcnt;
  }
}
