// Whether a chunk's box lies wholly outside the view volume.
#pragma once
#include "render/model_chunks.h"
#include "transform/pass4_projection.h"

// True when every point of CHUNK's box, carried through VIEW and PROJECTION
// (16 floats each, row-vector convention), lies outside one plane of the
// view volume (nearer than NEAR_W, or left, right, below or above) by more
// than the rounding of the vertex transform could move a point across. Then
// the view-volume test would cull each of its triangles. A box that is not
// finite, or any doubt (NaN), keeps the chunk.
bool chunk_outside_view(const ModelChunk& chunk, const float* view, const float* projection,
                        float near_w);

// Where a chunk's box can reach on the screen, and how near the eye.
struct ChunkReach {
  bool before_near;  // the box reaches the near plane (or is not finite): never hidden
  double nearest_w;  // the least clip-space w over the box, less the rounding margin
  double x0, y0, x1, y1;  // the least and largest screen X and Y of its corners' pictures
};

// CHUNK's box through VIEW and PROJECTION (as chunk_outside_view carries it)
// and onto the screen of VP. The corners are projected in double: a
// transformed vertex lands within a small fraction of a pixel of the box's
// picture, not beyond it.
ChunkReach chunk_reach(const ModelChunk& chunk, const float* view, const float* projection,
                       const Viewport& vp, float near_w);
