#include "pass1_vertices.h"

using NMATHF::VEC3F;
using NMATHF::VEC4F;

void to_view_space(MODEL_STRUCT& model, const float* matrix) {
  float mar[16];
  for (int j = 0; j < 16; ++j) mar[j] = matrix[j];
  for (uint32_t i = 0; i < model.MAX_VERTICES; ++i) {
    const VEC3F v = model.VERTICES[i];
    VEC4F& t = model.TVERTICES[i];
    t.X = row_sum(mar, 0, v.X, v.Y, v.Z);
    t.Y = row_sum(mar, 1, v.X, v.Y, v.Z);
    t.Z = row_sum(mar, 2, v.X, v.Y, v.Z);
  }
}

void to_clip_space(MODEL_STRUCT& model, const float* matrix) {
  float mar[16];  // a copy the stores below cannot touch, so it stays in registers
  for (int j = 0; j < 16; ++j) mar[j] = matrix[j];
  for (uint32_t i = 0; i < model.MAX_VERTICES; ++i) {
    VEC4F& t = model.TVERTICES[i];
    const float x = t.X, y = t.Y, z = t.Z;
    VEC4F c;
    c.X = row_sum(mar, 0, x, y, z);
    c.Y = row_sum(mar, 1, x, y, z);
    c.Z = row_sum(mar, 2, x, y, z);
    c.W = row_sum(mar, 3, x, y, z);
    // Written from the values, not read back from memory just written.
    t = c;
    model.RVERTICES[i] = c;
  }
}
