#include "vertex_passes.h"

using NMATHF::VEC3F;
using NMATHF::VEC4F;

void to_view_space(MODEL_STRUCT& model, const float* mar) {
  for (uint32_t i = 0; i < model.MAX_VERTICES; ++i) {
    const VEC3F v = model.VERTICES[i];
    VEC4F& t = model.TVERTICES[i];
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
