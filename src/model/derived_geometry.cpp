// Geometry derived once per model at load: each triangle's plane equation, its
// unit normal and the connections of its edges to the triangles sharing them.
#include <cstdint>

#include "math/geometry.h"
#include "model/model.h"

using NMATHF::VEC3F;

namespace {

// The model, its triangles and the triangle count, or a failure report when
// the model or its triangle array is missing.
MODEL_STRUCT& LOADED(MODEL_STRUCT* MODEL, const char* ROUTINE) {
  if (!MODEL) FAIL(ERR_NULL_POINTER, ROUTINE);
  if (MODEL->MAX_TRIANGLES > 0 && !MODEL->TRIANGLES) FAIL(ERR_NULL_POINTER, ROUTINE);
  return *MODEL;
}

// The three corner positions of triangle T; a corner that names no vertex stops
// with a failure report.
void CORNERS(const MODEL_STRUCT& MODEL, const TRIANGLE_STRUCT& T, VEC3F (&V)[3],
             const char* ROUTINE) {
  for (int K = 0; K < 3; ++K) {
    const uint32_t ID = T.POINT_ID.DATA()[K];
    if (ID >= MODEL.MAX_VERTICES || !MODEL.VERTICES) FAIL(ERR_OUT_OF_BOUNDS, ROUTINE);
    V[K] = MODEL.VERTICES[ID];
  }
}

// Edge K (0-based) of a triangle as its vertex pair (smaller, larger), packed.
uint64_t EDGE_KEY(const uint32_t* CORNER, int K) {
  const uint32_t A = CORNER[K];
  const uint32_t B = CORNER[K == 2 ? 0 : K + 1];
  return A < B ? (uint64_t(A) << 32 | B) : (uint64_t(B) << 32 | A);
}

}  // namespace

// The plane X x + Y y + Z z + W = 0 through the corners; (X, Y, Z) is the
// un-normalized normal (V2 - V1) x (V3 - V1).
void CALC_PLANES(MODEL_STRUCT*& MODEL) {
  MODEL_STRUCT& M = LOADED(MODEL, "CALC_PLANES");
  for (uint32_t I = 0; I < M.MAX_TRIANGLES; ++I) {
    TRIANGLE_STRUCT& T = M.TRIANGLES[I];
    VEC3F V[3];
    CORNERS(M, T, V, "CALC_PLANES");
    const float X1 = V[0].X, Y1 = V[0].Y, Z1 = V[0].Z;
    const float X2 = V[1].X, Y2 = V[1].Y, Z2 = V[1].Z;
    const float X3 = V[2].X, Y3 = V[2].Y, Z3 = V[2].Z;
    T.PLANE.X = (Z2 - Z3) * Y1 + (Z3 - Z1) * Y2 + (Z1 - Z2) * Y3;
    T.PLANE.Y = (X2 - X3) * Z1 + (X3 - X1) * Z2 + (X1 - X2) * Z3;
    T.PLANE.Z = (Y2 - Y3) * X1 + (Y3 - Y1) * X2 + (Y1 - Y2) * X3;
    T.PLANE.W = -((Z3 * Y2 - Z2 * Y3) * X1 + (Z1 * Y3 - Z3 * Y1) * X2 + (Z2 * Y1 - Z1 * Y2) * X3);
  }
}

void CALC_NORMALS(MODEL_STRUCT*& MODEL) {
  MODEL_STRUCT& M = LOADED(MODEL, "CALC_NORMALS");
  for (uint32_t I = 0; I < M.MAX_TRIANGLES; ++I) {
    TRIANGLE_STRUCT& T = M.TRIANGLES[I];
    VEC3F V[3];
    CORNERS(M, T, V, "CALC_NORMALS");
    T.NORMAL = NMATHF::POLY_NORMAL(V);
  }
}

// Pairs triangles that share an edge (by vertex index). Each earlier triangle
// takes the first later one on each of its free edges; the later one's entry is
// overwritten. So an edge of exactly two triangles connects both ways, and an
// edge of more pairs them up in index order.
void SET_POLY_NEIGHBORS(MODEL_STRUCT*& MODEL) {
  MODEL_STRUCT& M = LOADED(MODEL, "SET_POLY_NEIGHBORS");
  const uint32_t N = M.MAX_TRIANGLES;
  for (uint32_t I = 0; I < N; ++I) {
    int32_t* CON = M.TRIANGLES[I].CON.DATA();
    CON[0] = CON[1] = CON[2] = 0;
  }
  for (uint32_t F = 0; F + 1 < N; ++F) {
    const uint32_t* CORNER = M.TRIANGLES[F].POINT_ID.DATA();
    int32_t* CON = M.TRIANGLES[F].CON.DATA();
    const uint64_t EDGE[3] = {EDGE_KEY(CORNER, 0), EDGE_KEY(CORNER, 1), EDGE_KEY(CORNER, 2)};
    for (uint32_t F2 = F + 1; F2 < N; ++F2) {
      // Once every edge of F is connected, no later triangle can change anything.
      if (CON[0] != 0 && CON[1] != 0 && CON[2] != 0) break;
      const uint32_t* CORNER2 = M.TRIANGLES[F2].POINT_ID.DATA();
      const uint64_t EDGE2[3] = {EDGE_KEY(CORNER2, 0), EDGE_KEY(CORNER2, 1), EDGE_KEY(CORNER2, 2)};
      int32_t* CON2 = M.TRIANGLES[F2].CON.DATA();
      for (int E = 0; E < 3; ++E) {
        if (CON[E] != 0) continue;
        for (int E2 = 0; E2 < 3; ++E2) {
          if (EDGE[E] != EDGE2[E2]) continue;
          CON[E] = int32_t(F2 + 1);
          CON2[E2] = int32_t(F + 1);
        }
      }
    }
  }
}
