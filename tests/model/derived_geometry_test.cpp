// Planes, normals and edge connections derived at load.
// platform/fail.h has its own FAIL; the test framework keeps GTEST_FAIL.
#define GTEST_DONT_DEFINE_FAIL 1
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "model_files.h"

namespace {

struct FACE {
  int A, B, C; // 0-based vertex indices
};

// A model file with these vertices and faces.
std::string MODEL_TEXT(const std::vector<NMATHF::VEC3F>& VERTICES, const std::vector<FACE>& FACES) {
  std::string TEXT = "# Vertices: " + std::to_string(VERTICES.size()) + "\n";
  TEXT += "# Faces: " + std::to_string(FACES.size()) + "\n";
  char LINE[128];
  for (const auto& V : VERTICES) {
    std::snprintf(LINE, sizeof LINE, "v %.9g %.9g %.9g\n", V.X, V.Y, V.Z);
    TEXT += LINE;
  }
  for (const FACE& F : FACES)
    TEXT += "f " + std::to_string(F.A + 1) + " " + std::to_string(F.B + 1) + " " +
            std::to_string(F.C + 1) + "\n";
  return TEXT;
}

// Faces over vertices that are never read for connections (all at one point).
std::string INDEX_ONLY_MODEL(const std::vector<FACE>& FACES) {
  int LARGEST = 0;
  for (const FACE& F : FACES) LARGEST = std::max({LARGEST, F.A, F.B, F.C});
  return MODEL_TEXT(std::vector<NMATHF::VEC3F>(LARGEST + 1), FACES);
}

void EXPECT_CON(LOADED_MODEL& M, uint32_t T, int32_t C1, int32_t C2, int32_t C3) {
  SCOPED_TRACE("triangle " + std::to_string(T));
  EXPECT_EQ(M.TRIANGLE(T).CON(1), C1);
  EXPECT_EQ(M.TRIANGLE(T).CON(2), C2);
  EXPECT_EQ(M.TRIANGLE(T).CON(3), C3);
}

}  // namespace

TEST(DerivedGeometry, PlaneAndNormalFollowTheCornerOrder) {
  LOADED_MODEL M(MODEL_TEXT({{0, 0, 5}, {1, 0, 5}, {0, 1, 5}}, {{0, 1, 2}, {0, 2, 1}}));
  const TRIANGLE_STRUCT& CCW = M.TRIANGLE(0);
  EXPECT_EQ(CCW.PLANE.X, 0.0f);
  EXPECT_EQ(CCW.PLANE.Y, 0.0f);
  EXPECT_EQ(CCW.PLANE.Z, 1.0f);
  EXPECT_EQ(CCW.PLANE.W, -5.0f);
  EXPECT_EQ(CCW.NORMAL.Z, 1.0f);
  const TRIANGLE_STRUCT& CW = M.TRIANGLE(1);
  EXPECT_EQ(CW.PLANE.Z, -1.0f);
  EXPECT_EQ(CW.PLANE.W, 5.0f);
  EXPECT_EQ(CW.NORMAL.X, 0.0f);
  EXPECT_EQ(CW.NORMAL.Y, 0.0f);
  EXPECT_EQ(CW.NORMAL.Z, -1.0f);
}

TEST(DerivedGeometry, CollinearCornersGiveNoNormal) {
  LOADED_MODEL M(MODEL_TEXT({{0, 0, 0}, {1, 1, 1}, {2, 2, 2}}, {{0, 1, 2}}));
  const TRIANGLE_STRUCT& T = M.TRIANGLE(0);
  EXPECT_EQ(T.PLANE.X, 0.0f);
  EXPECT_EQ(T.PLANE.Y, 0.0f);
  EXPECT_EQ(T.PLANE.Z, 0.0f);
  EXPECT_EQ(T.NORMAL.X, 0.0f);
  EXPECT_EQ(T.NORMAL.Y, 0.0f);
  EXPECT_EQ(T.NORMAL.Z, 0.0f);
}

TEST(DerivedGeometry, PlaneHoldsEveryCornerOfAGeneralTriangle) {
  LOADED_MODEL M(MODEL_TEXT({{1.5f, -2, 3}, {4, 0.25f, -1}, {-3, 2, 2.5f}}, {{0, 1, 2}}));
  const TRIANGLE_STRUCT& T = M.TRIANGLE(0);
  // (X, Y, Z) is the cross product (V2 - V1) x (V3 - V1); here its components
  // are exact in single precision.
  EXPECT_EQ(T.PLANE.X, 14.875f);
  EXPECT_EQ(T.PLANE.Y, 19.25f);
  EXPECT_EQ(T.PLANE.Z, 20.125f);
  const float LENGTH = std::sqrt(14.875f * 14.875f + 19.25f * 19.25f + 20.125f * 20.125f);
  EXPECT_NEAR(T.NORMAL.X, 14.875f / LENGTH, 1e-6f);
  EXPECT_NEAR(T.NORMAL.Y, 19.25f / LENGTH, 1e-6f);
  EXPECT_NEAR(T.NORMAL.Z, 20.125f / LENGTH, 1e-6f);
  for (uint32_t K = 0; K < 3; ++K) {
    const NMATHF::VEC3F& P = M.VERTEX(K);
    EXPECT_NEAR(T.PLANE.X * P.X + T.PLANE.Y * P.Y + T.PLANE.Z * P.Z + T.PLANE.W, 0.0f, 1e-4f);
  }
}

TEST(DerivedGeometry, TwoTrianglesSharingAnEdgeNameEachOther) {
  LOADED_MODEL M(INDEX_ONLY_MODEL({{0, 1, 2}, {2, 1, 3}}));
  EXPECT_CON(M, 0, 0, 2, 0);
  EXPECT_CON(M, 1, 1, 0, 0);
}

TEST(DerivedGeometry, AnEdgeOfManyTrianglesPairsThemInIndexOrder) {
  LOADED_MODEL THREE(INDEX_ONLY_MODEL({{0, 1, 2}, {1, 0, 3}, {0, 1, 4}}));
  EXPECT_CON(THREE, 0, 2, 0, 0);
  EXPECT_CON(THREE, 1, 1, 0, 0);
  EXPECT_CON(THREE, 2, 0, 0, 0);
  LOADED_MODEL FOUR(INDEX_ONLY_MODEL({{0, 1, 2}, {1, 0, 3}, {0, 1, 4}, {5, 1, 0}}));
  EXPECT_CON(FOUR, 0, 2, 0, 0);
  EXPECT_CON(FOUR, 1, 1, 0, 0);
  EXPECT_CON(FOUR, 2, 4, 0, 0);
  EXPECT_CON(FOUR, 3, 0, 3, 0);
}

TEST(DerivedGeometry, EveryMatchingEdgeOfTheLaterTriangleIsConnected) {
  // Triangle 1 has the edge (0, 1) twice; both of its entries name triangle 0.
  LOADED_MODEL M(INDEX_ONLY_MODEL({{0, 1, 2}, {1, 0, 1}}));
  EXPECT_CON(M, 0, 2, 0, 0);
  EXPECT_CON(M, 1, 1, 1, 0);
}

TEST(DerivedGeometry, ClosedMeshConnectsEveryEdgeBothWays) {
  // A tetrahedron: each triangle meets the three others.
  LOADED_MODEL M(INDEX_ONLY_MODEL({{0, 1, 2}, {0, 3, 1}, {1, 3, 2}, {2, 3, 0}}));
  for (uint32_t T = 0; T < 4; ++T) {
    for (int32_t E = 1; E <= 3; ++E) {
      const int32_t OTHER = M.TRIANGLE(T).CON(E);
      ASSERT_GE(OTHER, 1);
      ASSERT_LE(OTHER, 4);
      const TRIANGLE_STRUCT& O = M.TRIANGLE(uint32_t(OTHER - 1));
      const bool NAMES_BACK = O.CON(1) == int32_t(T + 1) || O.CON(2) == int32_t(T + 1) ||
                              O.CON(3) == int32_t(T + 1);
      EXPECT_TRUE(NAMES_BACK) << "triangle " << T << " edge " << E;
    }
  }
}

TEST(DerivedGeometry, SingleTriangleHasNoConnections) {
  LOADED_MODEL M(INDEX_ONLY_MODEL({{0, 1, 2}}));
  M.TRIANGLE(0).CON(2) = 9; // stale entries are cleared
  SET_POLY_NEIGHBORS(M.PTR);
  EXPECT_CON(M, 0, 0, 0, 0);
}
