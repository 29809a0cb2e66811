// Triangles that cross the near plane are cut there; the rest are untouched.
#include <cmath>
#include <cstring>
#include <limits>

#include "model_transform_stages.h"
#include "transform_fixture.h"

namespace {

// The eye at the origin looking down -Z, 1.7 above a 20 x 20 floor that runs
// from 10 behind it to 10 in front (two triangles, both crossing the near
// plane), and one small triangle wholly in front at distance 20. Texture
// coordinates are each corner's (x, z). The floor's normal leans towards +Z
// so that its light value depends on the depth of the lighting point.
MEMORY_MODEL FLOOR_UNDER_THE_EYE() {
  std::vector<VEC3F> V = {VEC3F(-10, -1.7f, 10), VEC3F(10, -1.7f, 10), VEC3F(10, -1.7f, -10),
                          VEC3F(-10, -1.7f, -10)};
  std::vector<FACE> F = {{0, 1, 2}, {0, 2, 3}};
  ADD_TRIANGLE(V, F, 0, 0, 20);
  MEMORY_MODEL MODEL(V, F);
  for (int I = 0; I < 2; ++I) {
    TRIANGLE_STRUCT& T = MODEL->TRIANGLES[I];
    T.NORMAL = VEC3F(0, 0.8f, 0.6f);
    for (int K = 1; K <= 3; ++K) {
      const VEC3F& P = V[T.POINT_ID(K)];
      T.TCOORD(K) = VEC2F(P.X, P.Z);
    }
  }
  return MODEL;
}

const VEC3F LIGHT(0, 10, 10);

class NEAR_CLIP_TEST : public TRANSFORM_TEST {
 protected:
  // Two calls, so the second one queues the texture coordinates.
  void RUN_TWICE(MEMORY_MODEL& MODEL) {
    RUN(MODEL, IDENTITY(), LIGHT);
    FCNT = 0;
    RUN(MODEL, IDENTITY(), LIGHT);
  }
};

TEST_F(NEAR_CLIP_TEST, CrossingTrianglesAreReplacedByTheirPieces) {
  MEMORY_MODEL MODEL = FLOOR_UNDER_THE_EYE();
  RUN_TWICE(MODEL);
  // One corner of the first triangle is in front (one piece), two of the
  // second (two pieces); each crossing adds two corners.
  EXPECT_EQ(MODEL->MAX_RVERTS, MODEL->MAX_VERTICES + 4);
  EXPECT_EQ(MODEL->MAX_RTRIS, MODEL->MAX_TRIANGLES + 3);
  EXPECT_EQ(MODEL->TRIANGLES[0].CULLED, 0);  // it passed the view-volume test
  EXPECT_EQ(MODEL->TRIANGLES[1].CULLED, 0);
  EXPECT_EQ(MODEL->RTRIANGLES[0].CULLED, -1);  // only its pieces are drawn
  EXPECT_EQ(MODEL->RTRIANGLES[1].CULLED, -1);
  EXPECT_EQ(FCNT, 4);
}

TEST_F(NEAR_CLIP_TEST, PiecesLieBeyondTheNearPlaneAndLandOnScreen) {
  MEMORY_MODEL MODEL = FLOOR_UNDER_THE_EYE();
  RUN_TWICE(MODEL);
  ASSERT_EQ(FCNT, 4);
  for (uint32_t I = MODEL->MAX_TRIANGLES; I < MODEL->MAX_RTRIS; ++I) {
    const TRIANGLE_STRUCT& T = MODEL->RTRIANGLES[I];
    EXPECT_EQ(T.CULLED, 0);
    for (int K = 1; K <= 3; ++K) {
      const uint32_t ID = T.POINT_ID(K);
      ASSERT_LT(ID, MODEL->MAX_RVERTS);
      EXPECT_GE(MODEL->RVERTICES[ID].W, ZNEAR);
      const VEC3F& S = MODEL->PVERTICES[ID];
      EXPECT_TRUE(std::isfinite(S.X) && std::isfinite(S.Y) && std::isfinite(S.Z));
      EXPECT_LT(std::fabs(S.X), 10000.0f);
      EXPECT_LT(std::fabs(S.Y), 10000.0f);
      EXPECT_GE(S.Z, ZNEAR - 0.001f);
      EXPECT_LE(S.Z, ZFAR);
    }
  }
  // The floor lies below the horizon: every piece's corners on the lower half.
  for (int E = 1; E < FCNT; ++E)
    for (int K = 0; K < 3; ++K) EXPECT_GT(RBUFFER(E).VEC(K).Y, 240.0f) << E << " " << K;
}

// A new corner's texture coordinate is interpolated along its edge: here
// (x, z) of the point where the edge meets the plane view z = -ZNEAR. The
// entries carry the pieces' coordinates.
TEST_F(NEAR_CLIP_TEST, TextureCoordinatesAreInterpolatedAlongTheCutEdges) {
  MEMORY_MODEL MODEL = FLOOR_UNDER_THE_EYE();
  RUN_TWICE(MODEL);
  ASSERT_EQ(FCNT, 4);
  const float CLIP_X_PER_X = PROJECTION_MATRIX.M[0];
  for (uint32_t I = MODEL->MAX_TRIANGLES; I < MODEL->MAX_RTRIS; ++I) {
    const TRIANGLE_STRUCT& T = MODEL->RTRIANGLES[I];
    const SORT_STRUCT& E = RBUFFER(I - MODEL->MAX_TRIANGLES + 1);
    for (int K = 1; K <= 3; ++K) {
      const uint32_t ID = T.POINT_ID(K);
      const VEC2F UV = T.NTCOORD(K);
      EXPECT_EQ(E.UV(K - 1).X, UV.X);
      EXPECT_EQ(E.UV(K - 1).Y, UV.Y);
      if (ID < MODEL->MAX_VERTICES) {  // an original corner keeps its own
        EXPECT_EQ(UV.X, MODEL->VERTICES[ID].X);
        EXPECT_EQ(UV.Y, MODEL->VERTICES[ID].Z);
      } else {
        EXPECT_EQ(MODEL->RVERTICES[ID].W, ZNEAR);
        EXPECT_NEAR(UV.X, MODEL->RVERTICES[ID].X / CLIP_X_PER_X, 1e-4);
        EXPECT_NEAR(UV.Y, -ZNEAR, 1e-4);
      }
    }
  }
}

// Both triangles cut the shared diagonal from its front corner: the same new
// vertex, bit for bit, so no crack opens between them.
TEST_F(NEAR_CLIP_TEST, TrianglesSharingAnEdgeGetTheSameCutPoint) {
  MEMORY_MODEL MODEL = FLOOR_UNDER_THE_EYE();
  RUN_TWICE(MODEL);
  int SHARED = 0;
  for (uint32_t A = MODEL->MAX_VERTICES; A < MODEL->MAX_RVERTS; ++A)
    for (uint32_t B = A + 1; B < MODEL->MAX_RVERTS; ++B)
      SHARED += std::memcmp(&MODEL->RVERTICES[A], &MODEL->RVERTICES[B], sizeof(VEC4F)) == 0;
  EXPECT_EQ(SHARED, 1);
}

// The pieces take the whole triangle's light value, as it would be without
// the cut, so the two pieces of one triangle look like one.
TEST_F(NEAR_CLIP_TEST, PiecesAreLitAsTheWholeTriangle) {
  MEMORY_MODEL MODEL = FLOOR_UNDER_THE_EYE();
  RUN_TWICE(MODEL);
  ASSERT_EQ(FCNT, 4);
  for (int ORIGINAL = 0; ORIGINAL < 2; ++ORIGINAL) {
    const TRIANGLE_STRUCT& T = MODEL->TRIANGLES[ORIGINAL];
    const FLAT_LIGHT_STRUCT WHOLE =
        FLAT_LIGHT(T.NORMAL, CLIP_CENTROID(MODEL->RVERTICES, T), LIGHT, T.COL);
    // Entry 1 is the first triangle's piece, entries 2 and 3 the second's.
    for (int E = ORIGINAL == 0 ? 1 : 2; E <= (ORIGINAL == 0 ? 1 : 3); ++E) {
      EXPECT_EQ(RBUFFER(E).COL, WHOLE.COL) << E;
      EXPECT_EQ(RBUFFER(E).SHADE, WHOLE.SHADE) << E;
    }
  }
}

// The triangle in front of the near plane is queued exactly as it is without
// any crossing neighbour.
TEST_F(NEAR_CLIP_TEST, TrianglesNotCrossingAreUntouched) {
  MEMORY_MODEL MODEL = FLOOR_UNDER_THE_EYE();
  RUN_TWICE(MODEL);
  ASSERT_GE(FCNT, 1);
  const SORT_STRUCT WITH_FLOOR = RBUFFER(0);

  std::vector<VEC3F> V;
  std::vector<FACE> F;
  ADD_TRIANGLE(V, F, 0, 0, 20);
  MEMORY_MODEL ALONE(V, F);
  FCNT = 0;
  RUN_TWICE(ALONE);
  ASSERT_EQ(FCNT, 1);
  const SORT_STRUCT& E = RBUFFER(0);
  EXPECT_EQ(WITH_FLOOR.MIDPOINT, E.MIDPOINT);
  for (int K = 0; K < 3; ++K) {
    EXPECT_EQ(std::memcmp(&WITH_FLOOR.VEC(K), &E.VEC(K), sizeof(VEC3F)), 0) << K;
    EXPECT_EQ(std::memcmp(&WITH_FLOOR.UV(K), &E.UV(K), sizeof(VEC2F)), 0) << K;
  }
  EXPECT_EQ(WITH_FLOOR.TEXTURE, E.TEXTURE);
  EXPECT_EQ(WITH_FLOOR.USE_TEX, E.USE_TEX);
  EXPECT_EQ(WITH_FLOOR.COL, E.COL);
  EXPECT_EQ(WITH_FLOOR.SHADE, E.SHADE);
}

// Three vertices shared by six crossing triangles: room (three spare entries)
// for the cut of the first only. The others are left out, nothing is written
// past the arrays (the sanitizer build watches).
TEST_F(NEAR_CLIP_TEST, PiecesWithoutRoomAreLeftOut) {
  MEMORY_MODEL MODEL({VEC3F(-1, -1, -10), VEC3F(1, -1, -10), VEC3F(0, 1, 5)},
                     std::vector<FACE>(6, FACE{0, 1, 2}));
  RUN(MODEL);
  EXPECT_EQ(MODEL->MAX_RVERTS, 5u);
  EXPECT_EQ(MODEL->MAX_RTRIS, 8u);
  for (int I = 0; I < 6; ++I) EXPECT_EQ(MODEL->RTRIANGLES[I].CULLED, -1) << I;
  EXPECT_EQ(FCNT, 2);
}

// Vertices at NaN, infinities, huge values and in the plane of the eye, in
// every combination: the stage stays inside its arrays and the queue.
TEST_F(NEAR_CLIP_TEST, HostileCoordinatesStayInsideTheArrays) {
  const float INF = std::numeric_limits<float>::infinity();
  const float NAN_F = std::numeric_limits<float>::quiet_NaN();
  const float VALUES[] = {0.0f, 1.0f, -1.0f, 5.0f, -5.0f, 1e30f, -1e30f, INF, -INF, NAN_F};
  std::vector<VEC3F> V;
  for (float X : VALUES)
    for (float Z : VALUES) V.push_back(VEC3F(X, X * 0.5f, Z));
  std::vector<FACE> F;
  const uint32_t N = static_cast<uint32_t>(V.size());
  for (uint32_t A = 0; A < N; A += 3)
    for (uint32_t B = 1; B < N; B += 7)
      for (uint32_t C = 2; C < N; C += 11) F.push_back({A, B, C});
  MEMORY_MODEL MODEL(V, F);
  for (int CALL = 0; CALL < 2; ++CALL) RUN(MODEL, IDENTITY(), VEC3F(NAN_F, INF, 1e30f));
  EXPECT_LE(MODEL->MAX_RVERTS, 2 * MODEL->MAX_VERTICES);
  EXPECT_LE(MODEL->MAX_RTRIS, 2 * MODEL->MAX_TRIANGLES);
  EXPECT_LE(FCNT, RBUFFER_SIZE);
}

}  // namespace
