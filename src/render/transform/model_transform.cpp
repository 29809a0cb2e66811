// The model transform as a list of passes, one file each, numbered in the
// order they run: vertices to view and clip space (pass1), whole triangles
// outside the view volume (pass2), the near cut (pass3), the projection
// (pass4), back faces, far limit, lighting and queueing (pass5), and the
// texture coordinates the next call queues (pass6). Which triangles are
// drawn, and the pieces of the near cut, live in a compact side array
// (transform_scratch.h) rather than in a copy of every triangle record.
#include "render/model_transform.h"

#include "chunks/chunk_view_test.h"
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

void transform_in_chunks(Renderer& renderer, MODEL_STRUCT* model, const ModelChunks& chunks,
                         const NMATHF::MATRIX& m, int32_t& fcnt,
                         const NMATHF::VEC3F& light_position, const float& depth_offset,
                         int32_t use_tex, const IMAGE* texture, const NMATHF::VEC2F& tcoord) {
  MODEL_STRUCT& md = *model;
  if (chunks.triangles != md.MAX_TRIANGLES || chunks.vertices != md.MAX_VERTICES ||
      chunks.chunks.size() <= 1) {
    float color_mult = 0.0f;
    MODEL_TRANSFORM(renderer, model, m, fcnt, light_position, color_mult, depth_offset, use_tex,
                    texture, tcoord);
    return;
  }
  const VEC4F l4 = light_position * m.INVERSE();
  const VEC3F tlight(l4.X, l4.Y, l4.Z);

  TransformScratch& scratch = renderer.transform_scratch();
  const float near_w = ZNEAR;
  scratch.drawn.resize(md.MAX_TRIANGLES);
  scratch.pieces.clear();
  md.MAX_RTRIS = md.MAX_TRIANGLES;
  md.MAX_RVERTS = md.MAX_VERTICES;
  const Viewport vp = make_viewport(TSCRW, TSCRH, TOP, ZNEAR, ZFAR);
  Renderer::TransformCounts& counts = renderer.transform_counts();

  // Each chunk in view, while its records are in the cache: its vertices to
  // the screen, its triangles through the view-volume test and the near cut,
  // those drawn whole queued, and their texture coordinates refreshed for the
  // next call (the pieces carry their own). Chunks follow the triangles'
  // order, and the pieces of every chunk are queued after them all: the
  // whole model's order. A vertex two chunks share is carried twice, to the
  // same bits.
  const QueueRequest request{ZFAR, depth_offset, use_tex, texture, tcoord};
  const uint32_t* ids = chunks.vertex_ids.data();
  for (const ModelChunk& chunk : chunks.chunks) {
    const uint32_t first = chunk.first_triangle, last = chunk.last_triangle;
    if (chunk_outside_view(chunk, m.M, PROJECTION_MATRIX.M, near_w)) {
      counts.culled_by_chunk += last - first;
      continue;
    }
    transform_listed_vertices(md, ids + chunk.first_vertex, chunk.last_vertex - chunk.first_vertex,
                              m.M, PROJECTION_MATRIX.M, vp);
    cull_to_view_volume(md, near_w, first, last, scratch.drawn);
    clip_near_plane(md, near_w, first, last, scratch);
    queue_visible_triangles(md, scratch, first, last, tlight, request, fcnt,
                            renderer.dropped_triangles());
    refresh_ntcoord(md, first, last);
  }
  queue_near_pieces(md, scratch, vp, tlight, request, fcnt, renderer.dropped_triangles());
  counts.submitted += md.MAX_TRIANGLES;
  counts.near_pieces += int64_t(scratch.pieces.size());
}
