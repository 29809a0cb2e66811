// The model transform as a list of passes, one file each: vertex_passes (1, 3),
// view_volume_cull (4), near_clip (5), texture_coords (6, run last),
// projection (7) and queue_triangles (8: back faces, far limit, lighting,
// queueing). Which triangles are drawn, and the pieces of the near cut, live
// in a compact side array (transform_scratch.h) rather than in a copy of
// every triangle record.
#include "render/model_transform.h"

#include "near_clip.h"
#include "projection.h"
#include "queue_triangles.h"
#include "render/render_globals.h"
#include "texture_coords.h"
#include "vertex_passes.h"
#include "view_volume_cull.h"

using NMATHF::VEC3F;
using NMATHF::VEC4F;

int64_t dropped_triangles = 0;

void MODEL_TRANSFORM(MODEL_STRUCT* model, const NMATHF::MATRIX& m, int32_t& fcnt,
                     const NMATHF::VEC3F& light_position, float& color_mult,
                     const float& depth_offset, int32_t use_tex, const IMAGE* texture,
                     const NMATHF::VEC2F& tcoord) {
  (void)color_mult;
  MODEL_STRUCT& md = *model;

  // 1. Model to view space.
  to_view_space(md, m.M);

  // 2. The light into the model's own space (w of the product dropped).
  const VEC4F l4 = light_position * m.INVERSE();
  const VEC3F tlight(l4.X, l4.Y, l4.Z);

  // 3. View to clip space.
  to_clip_space(md, PROJECTION_MATRIX.M);

  // 4. Whole triangles outside the view volume.
  TransformScratch& scratch = transform_scratch();
  const float near_w = ZNEAR;
  cull_to_view_volume(md, near_w, scratch.drawn);

  // 5. Counts, then the triangles that cross the near plane are cut there.
  md.MAX_RTRIS = md.MAX_TRIANGLES;
  md.MAX_RVERTS = md.MAX_VERTICES;
  clip_near_plane(md, near_w, scratch);

  // 7. Projection to the screen.
  project_vertices(md, make_viewport(TSCRW, TSCRH, TOP, ZNEAR, ZFAR));

  // 8. Back faces, far limit, lighting and queueing, with the texture
  // coordinates the previous call left.
  queue_visible_triangles(md, scratch, tlight,
                          QueueRequest{ZFAR, depth_offset, use_tex, texture, tcoord}, fcnt);

  // 6. Texture coordinates for the next call. Nothing above reads them after
  // this, so refreshing them last is the same as refreshing them before the
  // projection, without keeping a copy of every triangle until the queueing.
  refresh_ntcoord(md);
}

TransformScratch& transform_scratch() {
  static TransformScratch scratch;
  return scratch;
}
