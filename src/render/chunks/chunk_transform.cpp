#include "chunk_transform.h"

#include "transform/lighting.h"
#include "transform/pass1_vertices.h"
#include "transform/pass2_view_volume_cull.h"
#include "transform/pass3_near_clip.h"
#include "transform/pass6_texture_coords.h"

using NMATHF::VEC3F;
using NMATHF::VEC4F;

namespace {
void append_entry(std::vector<SORT_STRUCT>& list, const VEC3F* p, const float* w,
                  const NMATHF::VEC2F* ntcoord, const VEC3F& centroid, const TRIANGLE_STRUCT& t,
                  const ChunkFrame& frame) {
  if (!faces_eye_within_far(p, frame.request.far_z)) return;
  list.emplace_back();
  fill_entry(list.back(), p, w, ntcoord, centroid, t, frame.tlight, frame.request);
}
}  // namespace

namespace {
// The chunk's vertices to clip space and the screen, into OUT's scratch.
void carry_vertices(const MODEL_STRUCT& model, const ModelChunks& chunks,
                    const ModelChunk& chunk, const ChunkFrame& frame, ChunkJobOutput& out) {
  const uint32_t vertex_count = chunk.last_vertex - chunk.first_vertex;
  if (out.clip.size() < vertex_count) {
    out.clip.resize(vertex_count);
    out.screen.resize(vertex_count);
  }
  transform_listed_vertices(model.VERTICES, chunks.vertex_ids.data() + chunk.first_vertex,
                            vertex_count, frame.view, frame.projection, frame.vp, out.clip.data(),
                            out.screen.data());
}

// The view-volume fate of triangle I, whose corners' slots are S.
uint8_t fate_of(const VEC4F* clip, const uint16_t* s, float near_w) {
  const bool named_ok = s[0] != NO_CORNER && s[1] != NO_CORNER && s[2] != NO_CORNER;
  return named_ok ? view_volume_fate(clip[s[0]], clip[s[1]], clip[s[2]], near_w) : NOT_DRAWN;
}
}  // namespace

void refresh_hidden_chunk(MODEL_STRUCT& model, const ModelChunks& chunks, uint32_t index,
                          const ChunkFrame& frame, ChunkJobOutput& out) {
  const ModelChunk& chunk = chunks.chunks[index];
  carry_vertices(model, chunks, chunk, frame, out);
  const uint16_t* slots = chunks.corner_slots.data();
  for (uint32_t i = chunk.first_triangle; i < chunk.last_triangle; ++i)
    set_culled(model.TRIANGLES[i], fate_of(out.clip.data(), slots + 3 * size_t(i), frame.near_w));
  refresh_ntcoord(model, chunk.first_triangle, chunk.last_triangle);
}

ChunkEntries transform_chunk(MODEL_STRUCT& model, const ModelChunks& chunks, uint32_t index,
                             const ChunkFrame& frame, ChunkJobOutput& out) {
  const ModelChunk& chunk = chunks.chunks[index];
  carry_vertices(model, chunks, chunk, frame, out);
  const VEC4F* clip = out.clip.data();
  const VEC3F* screen = out.screen.data();

  ChunkEntries entries{0, uint32_t(out.whole.size()), 0, 0, 0};
  out.pieces.clear();
  const uint16_t* slots = chunks.corner_slots.data();
  for (uint32_t i = chunk.first_triangle; i < chunk.last_triangle; ++i) {
    TRIANGLE_STRUCT& t = model.TRIANGLES[i];
    const uint16_t* s = slots + 3 * size_t(i);
    const uint8_t fate = fate_of(clip, s, frame.near_w);
    set_culled(t, fate);
    if (fate == DRAWN) {
      const VEC3F p[3] = {screen[s[0]], screen[s[1]], screen[s[2]]};
      const float w[3] = {clip[s[0]].W, clip[s[1]].W, clip[s[2]].W};
      if (frame.occlusion && faces_eye_within_far(p, frame.request.far_z) &&
          frame.occlusion->hides(p, w)) {
        ++out.hidden;
        continue;
      }
      const VEC3F centroid = clip_centroid(clip[s[0]], clip[s[1]], clip[s[2]]);
      append_entry(out.whole, p, w, t.NTCOORD.data(), centroid, t, frame);
    } else if (fate == TO_CUT) {
      const VEC4F* const corner[3] = {&clip[s[0]], &clip[s[1]], &clip[s[2]]};
      cut_at_near_plane(corner, t, i, frame.near_w, out.pieces);
    }
  }
  refresh_ntcoord(model, chunk.first_triangle, chunk.last_triangle);
  entries.whole_end = uint32_t(out.whole.size());

  // The pieces, lit as the triangles they were cut from, after the chunk's
  // whole triangles: the caller queues every chunk's pieces after them all.
  entries.cut_first = uint32_t(out.cut.size());
  for (const NearPiece& piece : out.pieces) {
    VEC3F p[3];
    float w[3];
    for (int k = 0; k < 3; ++k) {
      p[k] = project_to_screen(frame.vp, piece.clip[k]);
      w[k] = piece.clip[k].W;
    }
    const uint16_t* s = slots + 3 * size_t(piece.source);
    append_entry(out.cut, p, w, piece.ntcoord,
                 clip_centroid(clip[s[0]], clip[s[1]], clip[s[2]]), model.TRIANGLES[piece.source],
                 frame);
  }
  entries.cut_end = uint32_t(out.cut.size());
  out.pieces_made += int64_t(out.pieces.size());
  return entries;
}
