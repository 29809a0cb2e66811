// The model transform as a list of passes, one file each, numbered in the
// order they run: vertices to view and clip space (pass1), whole triangles
// outside the view volume (pass2), the near cut (pass3), the projection
// (pass4), back faces, far limit, lighting and queueing (pass5), and the
// texture coordinates the next call queues (pass6). Which triangles are
// drawn, and the pieces of the near cut, live in a compact side array
// (transform_scratch.h) rather than in a copy of every triangle record.
#include "render/model_transform.h"

#include "pass1_vertices.h"
#include "pass2_view_volume_cull.h"
#include "pass3_near_clip.h"
#include "pass4_projection.h"
#include "pass5_queue_triangles.h"
#include "pass6_texture_coords.h"
#include "render/render_globals.h"
#include "transform_scratch.h"

using NMATHF::VEC3F;
using NMATHF::VEC4F;

void MODEL_TRANSFORM(Renderer& renderer, MODEL_STRUCT* model, const NMATHF::MATRIX& m,
                     int32_t& fcnt, const NMATHF::VEC3F& light_position, float& color_mult,
                     const float& depth_offset, int32_t use_tex, const IMAGE* texture,
                     const NMATHF::VEC2F& tcoord) {
  (void)color_mult;
  MODEL_STRUCT& md = *model;

  // Model to view space.
  to_view_space(md, m.M);

  // The light into the model's own space (w of the product dropped).
  const VEC4F l4 = light_position * m.INVERSE();
  const VEC3F tlight(l4.X, l4.Y, l4.Z);

  // View to clip space.
  to_clip_space(md, PROJECTION_MATRIX.M);

  // Whole triangles outside the view volume.
  TransformScratch& scratch = renderer.transform_scratch();
  const float near_w = ZNEAR;
  const uint32_t n = md.MAX_TRIANGLES;
  scratch.drawn.resize(n);
  scratch.pieces.clear();
  cull_to_view_volume(md, near_w, 0, n, scratch.drawn);

  // The triangles that cross the near plane are cut there, into the
  // renderer's scratch; the model's counts stay its own sizes.
  md.MAX_RTRIS = md.MAX_TRIANGLES;
  md.MAX_RVERTS = md.MAX_VERTICES;
  clip_near_plane(md, near_w, 0, n, scratch);

  // Projection to the screen.
  const Viewport vp = make_viewport(TSCRW, TSCRH, TOP, ZNEAR, ZFAR);
  project_vertices(md, vp);

  // Back faces, far limit, lighting and queueing, with the texture
  // coordinates the previous call left: the whole triangles, then the pieces.
  const QueueRequest request{ZFAR, depth_offset, use_tex, texture, tcoord};
  queue_visible_triangles(md, scratch, 0, n, tlight, request, fcnt,
                          renderer.dropped_triangles());
  queue_near_pieces(md, scratch, vp, tlight, request, fcnt, renderer.dropped_triangles());
  Renderer::TransformCounts& counts = renderer.transform_counts();
  counts.submitted += n;
  counts.near_pieces += int64_t(scratch.pieces.size());

  // Texture coordinates for the next call. Nothing above reads them after
  // this, so refreshing them last is the same as refreshing them before the
  // projection, without keeping a copy of every triangle until the queueing.
  refresh_ntcoord(md, 0, n);
}

void MODEL_TRANSFORM(MODEL_STRUCT* model, const NMATHF::MATRIX& m, int32_t& fcnt,
                     const NMATHF::VEC3F& light_position, float& color_mult,
                     const float& depth_offset, int32_t use_tex, const IMAGE* texture,
                     const NMATHF::VEC2F& tcoord) {
  MODEL_TRANSFORM(default_renderer(), model, m, fcnt, light_position, color_mult, depth_offset,
                  use_tex, texture, tcoord);
}
