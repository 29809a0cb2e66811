// Whether a chunk's box lies wholly outside the view volume.
#pragma once
#include "render/model_chunks.h"

// True when every point of CHUNK's box, carried through VIEW and PROJECTION
// (16 floats each, row-vector convention), lies outside one plane of the
// view volume (nearer than NEAR_W, or left, right, below or above) by more
// than the rounding of the vertex transform could move a point across. Then
// the view-volume test would cull each of its triangles. A box that is not
// finite, or any doubt (NaN), keeps the chunk.
bool chunk_outside_view(const ModelChunk& chunk, const float* view, const float* projection,
                        float near_w);
