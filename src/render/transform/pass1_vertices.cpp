#include "pass1_vertices.h"

#include "pass4_projection.h"

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

void transform_listed_vertices(const NMATHF::VEC3F* vertices, const uint32_t* ids,
                               uint32_t count, const float* view, const float* projection,
                               const Viewport& vp, VEC4F* clip, VEC3F* screen) {
  float mv[16], mp[16];
  for (int j = 0; j < 16; ++j) mv[j] = view[j], mp[j] = projection[j];
  for (uint32_t n = 0; n < count; ++n) {
    const VEC3F v = vertices[ids[n]];
    const float x = row_sum(mv, 0, v.X, v.Y, v.Z);
    const float y = row_sum(mv, 1, v.X, v.Y, v.Z);
    const float z = row_sum(mv, 2, v.X, v.Y, v.Z);
    VEC4F c;
    c.X = row_sum(mp, 0, x, y, z);
    c.Y = row_sum(mp, 1, x, y, z);
    c.Z = row_sum(mp, 2, x, y, z);
    c.W = row_sum(mp, 3, x, y, z);
    clip[n] = c;
    screen[n] = project_to_screen(vp, c);
  }
}
