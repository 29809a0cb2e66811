// Geometry derived once per model at load: each triangle's plane equation and
// its unit normal (the edge connections are in poly_neighbors.cpp).
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
