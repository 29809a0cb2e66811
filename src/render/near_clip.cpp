#include "render/near_clip.h"

#include <cstdint>

#include "model_transform_stages.h"

using NMATHF::VEC2F;
using NMATHF::VEC4F;

namespace {

// A corner of the polygon left after the cut: an existing vertex or a new one,
// with its texture coordinate.
struct CLIP_CORNER_STRUCT {
  uint32_t ID;
  VEC2F UV;
};

// The point where the edge from IN (w >= NEAR_W) to OUT (w < NEAR_W) meets the
// plane. Always interpolated from the inside corner, so the two triangles
// that share an edge get the very same new vertex and leave no crack.
VEC4F CUT_EDGE(const VEC4F& IN, const VEC4F& OUT, float NEAR_W, float& T) {
  T = (IN.W - NEAR_W) / (IN.W - OUT.W);
  VEC4F P;
  P.X = IN.X + (OUT.X - IN.X) * T;
  P.Y = IN.Y + (OUT.Y - IN.Y) * T;
  P.Z = IN.Z + (OUT.Z - IN.Z) * T;
  P.W = NEAR_W;
  return P;
}

VEC2F LERP_UV(const VEC2F& A, const VEC2F& B, float T) {
  VEC2F R;
  R.X = A.X + (B.X - A.X) * T;
  R.Y = A.Y + (B.Y - A.Y) * T;
  return R;
}

}  // namespace

void CLIP_NEAR_PLANE(MODEL_STRUCT& MODEL, float NEAR_W) {
  VEC4F* RV = MODEL.RVERTICES;
  const uint64_t VERT_ROOM = 2ull * MODEL.MAX_VERTICES;
  const uint64_t TRI_ROOM = 2ull * MODEL.MAX_TRIANGLES;

  for (uint32_t I = 0; I < MODEL.MAX_TRIANGLES; ++I) {
    TRIANGLE_STRUCT& T = MODEL.RTRIANGLES[I];
    if (T.CULLED == -1) continue;
    uint32_t ID[3];
    bool INSIDE[3];
    int INSIDE_COUNT = 0;
    for (int K = 0; K < 3; ++K) {
      ID[K] = T.POINT_ID(K + 1);
      INSIDE[K] = RV[ID[K]].W >= NEAR_W;  // NaN counts as behind
      INSIDE_COUNT += INSIDE[K];
    }
    if (INSIDE_COUNT == 3) continue;

    // From here on the triangle itself is not drawn; only its pieces are.
    T.CULLED = -1;
    if (INSIDE_COUNT == 0 || MODEL.MAX_RVERTS + 2ull > VERT_ROOM) continue;

    // Walk the edges: keep the inside corners, add a corner where an edge
    // crosses the plane. The result keeps the triangle's winding.
    CLIP_CORNER_STRUCT POLY[4];
    int N = 0;
    for (int K = 0; K < 3; ++K) {
      const int KN = (K + 1) % 3;
      if (INSIDE[K]) POLY[N++] = {ID[K], T.NTCOORD(K + 1)};
      if (INSIDE[K] == INSIDE[KN]) continue;
      const int A = INSIDE[K] ? K : KN, B = INSIDE[K] ? KN : K;
      float PARAM;
      const uint32_t NEW_ID = MODEL.MAX_RVERTS++;
      RV[NEW_ID] = CUT_EDGE(RV[ID[A]], RV[ID[B]], NEAR_W, PARAM);
      POLY[N++] = {NEW_ID, LERP_UV(T.NTCOORD(A + 1), T.NTCOORD(B + 1), PARAM)};
    }

    // One piece for a triangle, two for a quadrilateral, fanned from corner 0.
    const NMATHF::VEC3F CENTROID = CLIP_CENTROID(RV, T);
    for (int F = 1; F + 1 < N; ++F) {
      if (MODEL.MAX_RTRIS >= TRI_ROOM) break;
      TRIANGLE_STRUCT& PIECE = MODEL.RTRIANGLES[MODEL.MAX_RTRIS++];
      PIECE = T;
      PIECE.CULLED = 0;
      const CLIP_CORNER_STRUCT* C[3] = {&POLY[0], &POLY[F], &POLY[F + 1]};
      for (int K = 0; K < 3; ++K) {
        PIECE.POINT_ID(K + 1) = C[K]->ID;
        PIECE.NTCOORD(K + 1) = C[K]->UV;
      }
      PIECE.MIDPOINT = CENTROID;
    }
  }
}
