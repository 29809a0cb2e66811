// One chunk of a large model through the model transform, into scratch of the
// job that carries it, so that chunks can be carried on several threads at
// once: its vertices to clip space and the screen, its triangles through the
// view-volume test and the near cut, and the entries of what is drawn.
#pragma once
#include <cstdint>
#include <vector>

#include "occlusion_map.h"
#include "render/model_chunks.h"
#include "render/render_queue.h"
#include "transform/pass4_projection.h"
#include "transform/pass5_queue_triangles.h"
#include "transform/transform_scratch.h"

// What every chunk of one call shares.
struct ChunkFrame {
  const float* view;        // the model's view x model matrix (16 floats)
  const float* projection;  // PROJECTION_MATRIX
  Viewport vp;
  float near_w;
  NMATHF::VEC3F tlight;     // the light in the model's own space
  QueueRequest request;
  const OcclusionMap* occlusion;  // not null: triangles drawn whole that it hides are left out
};

// One job's scratch, kept from frame to frame: nothing is allocated once it
// has held its largest chunks.
struct alignas(64) ChunkJobOutput {  // a cache line of its own: jobs run side by side
  std::vector<NMATHF::VEC4F> clip;   // the chunk's vertices, by slot
  std::vector<NMATHF::VEC3F> screen;
  std::vector<NearPiece> pieces;     // the chunk's near-cut pieces
  std::vector<SORT_STRUCT> whole;    // entries of triangles drawn whole, in order
  std::vector<SORT_STRUCT> cut;      // entries of the pieces, in order
  int64_t pieces_made = 0;
  int64_t hidden = 0;  // triangles drawn whole left out as hidden

  void clear() {
    whole.clear();
    cut.clear();
    pieces_made = 0;
    hidden = 0;
  }
};

// Where one chunk's entries lie in its job's output (NO_JOB: it has none).
constexpr uint32_t NO_JOB = UINT32_MAX;
struct ChunkEntries {
  uint32_t job;
  uint32_t whole_first, whole_end;
  uint32_t cut_first, cut_end;
};

// Chunk number INDEX of CHUNKS through the transform as the whole model's
// transform carries its triangles: their CULLED and NTCOORD written as it
// writes them, and the entries it would queue for them appended to OUT's
// whole (the triangles drawn whole, in order, less those FRAME's occlusion
// map hides) and cut (their near-cut pieces, in order), the same to the bit.
// The model's per-frame vertex arrays are not touched; only this chunk's
// triangle records are written.
ChunkEntries transform_chunk(MODEL_STRUCT& model, const ModelChunks& chunks, uint32_t index,
                             const ChunkFrame& frame, ChunkJobOutput& out);

// For chunk number INDEX when it is hidden: only what carrying it would leave
// for the next frames, its triangles' CULLED and NTCOORD (its vertices
// carried to clip space in OUT's scratch). Nothing is queued.
void refresh_hidden_chunk(MODEL_STRUCT& model, const ModelChunks& chunks, uint32_t index,
                          const ChunkFrame& frame, ChunkJobOutput& out);
