// The first pass of the model transform: every vertex through the 16 floats of
// a matrix (row-vector convention), once for view space and once for clip
// space, each sum taken left to right in single precision.
#pragma once
#include "model/model.h"

// A point (x, y, z, 1) times column j of MAR.
inline float row_sum(const float* mar, int j, float x, float y, float z) {
  return ((mar[j] * x + mar[4 + j] * y) + mar[8 + j] * z) + mar[12 + j];
}

// VERTICES to view space in TVERTICES (x, y, z; each w is left as it was).
void to_view_space(MODEL_STRUCT& model, const float* matrix);
// TVERTICES to clip space, in place and copied to RVERTICES.
void to_clip_space(MODEL_STRUCT& model, const float* matrix);

struct Viewport;

// The vertices VERTICES[IDS[0]] to VERTICES[IDS[COUNT - 1]] through VIEW and
// PROJECTION as the two functions above carry them (CLIP[n], the clip-space
// corner of IDS[n]), and on to the screen as the projection pass does
// (SCREEN[n]): the same bits, in one walk over the listed vertices.
void transform_listed_vertices(const NMATHF::VEC3F* vertices, const uint32_t* ids,
                               uint32_t count, const float* view, const float* projection,
                               const Viewport& vp, NMATHF::VEC4F* clip, NMATHF::VEC3F* screen);
