// Geometry derived once per model at load: each triangle's plane equation, its
// unit normal and the connections of its edges to the triangles sharing them.
#include <cstdint>

#include "math/geometry.h"
#include "model/model.h"

using NMATHF::VEC3F;

namespace {

// The model, its triangles and the triangle count, or a failure report when
// the model or its triangle array is missing.
MODEL_STRUCT& loaded(MODEL_STRUCT* model, const char* routine) {
  if (!model) RUNTIME_FAIL(ERR_NULL_POINTER, routine);
  if (model->MAX_TRIANGLES > 0 && !model->TRIANGLES) RUNTIME_FAIL(ERR_NULL_POINTER, routine);
  return *model;
}

// The three corner positions of triangle T; a corner that names no vertex stops
// with a failure report.
void corners(const MODEL_STRUCT& model, const TRIANGLE_STRUCT& t, VEC3F (&v)[3],
             const char* routine) {
  for (int k = 0; k < 3; ++k) {
    const uint32_t id = t.POINT_ID.data()[k];
    if (id >= model.MAX_VERTICES || !model.VERTICES) RUNTIME_FAIL(ERR_OUT_OF_BOUNDS, routine);
    v[k] = model.VERTICES[id];
  }
}

// Edge K (0-based) of a triangle as its vertex pair (smaller, larger), packed.
uint64_t edge_key(const uint32_t* corner, int k) {
  const uint32_t a = corner[k];
  const uint32_t b = corner[k == 2 ? 0 : k + 1];
  return a < b ? (uint64_t(a) << 32 | b) : (uint64_t(b) << 32 | a);
}

}  // namespace

// The plane X x + Y y + Z z + W = 0 through the corners; (X, Y, Z) is the
// un-normalized normal (V2 - V1) x (V3 - V1).
void CALC_PLANES(MODEL_STRUCT*& model) {
  MODEL_STRUCT& m = loaded(model, "CALC_PLANES");
  for (uint32_t i = 0; i < m.MAX_TRIANGLES; ++i) {
    TRIANGLE_STRUCT& t = m.TRIANGLES[i];
    VEC3F v[3];
    corners(m, t, v, "CALC_PLANES");
    const float x1 = v[0].X, y1 = v[0].Y, z1 = v[0].Z;
    const float x2 = v[1].X, y2 = v[1].Y, z2 = v[1].Z;
    const float x3 = v[2].X, y3 = v[2].Y, z3 = v[2].Z;
    t.PLANE.X = (z2 - z3) * y1 + (z3 - z1) * y2 + (z1 - z2) * y3;
    t.PLANE.Y = (x2 - x3) * z1 + (x3 - x1) * z2 + (x1 - x2) * z3;
    t.PLANE.Z = (y2 - y3) * x1 + (y3 - y1) * x2 + (y1 - y2) * x3;
    t.PLANE.W = -((z3 * y2 - z2 * y3) * x1 + (z1 * y3 - z3 * y1) * x2 + (z2 * y1 - z1 * y2) * x3);
  }
}

void CALC_NORMALS(MODEL_STRUCT*& model) {
  MODEL_STRUCT& m = loaded(model, "CALC_NORMALS");
  for (uint32_t i = 0; i < m.MAX_TRIANGLES; ++i) {
    TRIANGLE_STRUCT& t = m.TRIANGLES[i];
    VEC3F v[3];
    corners(m, t, v, "CALC_NORMALS");
    t.NORMAL = NMATHF::POLY_NORMAL(v);
  }
}

// Pairs triangles that share an edge (by vertex index). Each earlier triangle
// takes the first later one on each of its free edges; the later one's entry is
// overwritten. So an edge of exactly two triangles connects both ways, and an
// edge of more pairs them up in index order.
void SET_POLY_NEIGHBORS(MODEL_STRUCT*& model) {
  MODEL_STRUCT& m = loaded(model, "SET_POLY_NEIGHBORS");
  const uint32_t n = m.MAX_TRIANGLES;
  for (uint32_t i = 0; i < n; ++i) {
    int32_t* con = m.TRIANGLES[i].CON.data();
    con[0] = con[1] = con[2] = 0;
  }
  for (uint32_t f = 0; f + 1 < n; ++f) {
    const uint32_t* corner = m.TRIANGLES[f].POINT_ID.data();
    int32_t* con = m.TRIANGLES[f].CON.data();
    const uint64_t edge[3] = {edge_key(corner, 0), edge_key(corner, 1), edge_key(corner, 2)};
    for (uint32_t f2 = f + 1; f2 < n; ++f2) {
      // Once every edge of F is connected, no later triangle can change anything.
      if (con[0] != 0 && con[1] != 0 && con[2] != 0) break;
      const uint32_t* corner2 = m.TRIANGLES[f2].POINT_ID.data();
      const uint64_t edge2[3] = {edge_key(corner2, 0), edge_key(corner2, 1), edge_key(corner2, 2)};
      int32_t* con2 = m.TRIANGLES[f2].CON.data();
      for (int e = 0; e < 3; ++e) {
        if (con[e] != 0) continue;
        for (int e2 = 0; e2 < 3; ++e2) {
          if (edge[e] != edge2[e2]) continue;
          con[e] = int32_t(f2 + 1);
          con2[e2] = int32_t(f + 1);
        }
      }
    }
  }
}
