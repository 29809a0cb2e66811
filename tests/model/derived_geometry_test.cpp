// Planes, normals and edge connections derived at load.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "model_files.h"

namespace {

struct Face {
  int a, b, c; // 0-based vertex indices
};

// A model file with these vertices and faces.
std::string model_text(const std::vector<NMATHF::VEC3F>& vertices, const std::vector<Face>& faces) {
  std::string text = "# Vertices: " + std::to_string(vertices.size()) + "\n";
  text += "# Faces: " + std::to_string(faces.size()) + "\n";
  char line[128];
  for (const auto& v : vertices) {
    std::snprintf(line, sizeof line, "v %.9g %.9g %.9g\n", v.X, v.Y, v.Z);
    text += line;
  }
  for (const Face& f : faces)
    text += "f " + std::to_string(f.a + 1) + " " + std::to_string(f.b + 1) + " " +
            std::to_string(f.c + 1) + "\n";
  return text;
}

// Faces over vertices that are never read for connections (all at one point).
std::string index_only_model(const std::vector<Face>& faces) {
  int largest = 0;
  for (const Face& f : faces) largest = std::max({largest, f.a, f.b, f.c});
  return model_text(std::vector<NMATHF::VEC3F>(largest + 1), faces);
}

void expect_con(LoadedModel& m, uint32_t t, int32_t c1, int32_t c2, int32_t c3) {
  SCOPED_TRACE("triangle " + std::to_string(t));
  EXPECT_EQ(m.triangle(t).CON(1), c1);
  EXPECT_EQ(m.triangle(t).CON(2), c2);
  EXPECT_EQ(m.triangle(t).CON(3), c3);
}

}  // namespace

TEST(DerivedGeometry, PlaneAndNormalFollowTheCornerOrder) {
  LoadedModel m(model_text({{0, 0, 5}, {1, 0, 5}, {0, 1, 5}}, {{0, 1, 2}, {0, 2, 1}}));
  const TRIANGLE_STRUCT& ccw = m.triangle(0);
  EXPECT_EQ(ccw.PLANE.X, 0.0f);
  EXPECT_EQ(ccw.PLANE.Y, 0.0f);
  EXPECT_EQ(ccw.PLANE.Z, 1.0f);
  EXPECT_EQ(ccw.PLANE.W, -5.0f);
  EXPECT_EQ(ccw.NORMAL.Z, 1.0f);
  const TRIANGLE_STRUCT& cw = m.triangle(1);
  EXPECT_EQ(cw.PLANE.Z, -1.0f);
  EXPECT_EQ(cw.PLANE.W, 5.0f);
  EXPECT_EQ(cw.NORMAL.X, 0.0f);
  EXPECT_EQ(cw.NORMAL.Y, 0.0f);
  EXPECT_EQ(cw.NORMAL.Z, -1.0f);
}

TEST(DerivedGeometry, CollinearCornersGiveNoNormal) {
  LoadedModel m(model_text({{0, 0, 0}, {1, 1, 1}, {2, 2, 2}}, {{0, 1, 2}}));
  const TRIANGLE_STRUCT& t = m.triangle(0);
  EXPECT_EQ(t.PLANE.X, 0.0f);
  EXPECT_EQ(t.PLANE.Y, 0.0f);
  EXPECT_EQ(t.PLANE.Z, 0.0f);
  EXPECT_EQ(t.NORMAL.X, 0.0f);
  EXPECT_EQ(t.NORMAL.Y, 0.0f);
  EXPECT_EQ(t.NORMAL.Z, 0.0f);
}

TEST(DerivedGeometry, PlaneHoldsEveryCornerOfAGeneralTriangle) {
  LoadedModel m(model_text({{1.5f, -2, 3}, {4, 0.25f, -1}, {-3, 2, 2.5f}}, {{0, 1, 2}}));
  const TRIANGLE_STRUCT& t = m.triangle(0);
  // (X, Y, Z) is the cross product (V2 - V1) x (V3 - V1); here its components
  // are exact in single precision.
  EXPECT_EQ(t.PLANE.X, 14.875f);
  EXPECT_EQ(t.PLANE.Y, 19.25f);
  EXPECT_EQ(t.PLANE.Z, 20.125f);
  const float length = std::sqrt(14.875f * 14.875f + 19.25f * 19.25f + 20.125f * 20.125f);
  EXPECT_NEAR(t.NORMAL.X, 14.875f / length, 1e-6f);
  EXPECT_NEAR(t.NORMAL.Y, 19.25f / length, 1e-6f);
  EXPECT_NEAR(t.NORMAL.Z, 20.125f / length, 1e-6f);
  for (uint32_t k = 0; k < 3; ++k) {
    const NMATHF::VEC3F& p = m.vertex(k);
    EXPECT_NEAR(t.PLANE.X * p.X + t.PLANE.Y * p.Y + t.PLANE.Z * p.Z + t.PLANE.W, 0.0f, 1e-4f);
  }
}

TEST(DerivedGeometry, TwoTrianglesSharingAnEdgeNameEachOther) {
  LoadedModel m(index_only_model({{0, 1, 2}, {2, 1, 3}}));
  expect_con(m, 0, 0, 2, 0);
  expect_con(m, 1, 1, 0, 0);
}

TEST(DerivedGeometry, AnEdgeOfManyTrianglesPairsThemInIndexOrder) {
  LoadedModel three(index_only_model({{0, 1, 2}, {1, 0, 3}, {0, 1, 4}}));
  expect_con(three, 0, 2, 0, 0);
  expect_con(three, 1, 1, 0, 0);
  expect_con(three, 2, 0, 0, 0);
  LoadedModel four(index_only_model({{0, 1, 2}, {1, 0, 3}, {0, 1, 4}, {5, 1, 0}}));
  expect_con(four, 0, 2, 0, 0);
  expect_con(four, 1, 1, 0, 0);
  expect_con(four, 2, 4, 0, 0);
  expect_con(four, 3, 0, 3, 0);
}

TEST(DerivedGeometry, EveryMatchingEdgeOfTheLaterTriangleIsConnected) {
  // Triangle 1 has the edge (0, 1) twice; both of its entries name triangle 0.
  LoadedModel m(index_only_model({{0, 1, 2}, {1, 0, 1}}));
  expect_con(m, 0, 2, 0, 0);
  expect_con(m, 1, 1, 1, 0);
}

TEST(DerivedGeometry, ClosedMeshConnectsEveryEdgeBothWays) {
  // A tetrahedron: each triangle meets the three others.
  LoadedModel m(index_only_model({{0, 1, 2}, {0, 3, 1}, {1, 3, 2}, {2, 3, 0}}));
  for (uint32_t t = 0; t < 4; ++t) {
    for (int32_t e = 1; e <= 3; ++e) {
      const int32_t other = m.triangle(t).CON(e);
      ASSERT_GE(other, 1);
      ASSERT_LE(other, 4);
      const TRIANGLE_STRUCT& o = m.triangle(uint32_t(other - 1));
      const bool names_back = o.CON(1) == int32_t(t + 1) || o.CON(2) == int32_t(t + 1) ||
                              o.CON(3) == int32_t(t + 1);
      EXPECT_TRUE(names_back) << "triangle " << t << " edge " << e;
    }
  }
}

TEST(DerivedGeometry, SingleTriangleHasNoConnections) {
  LoadedModel m(index_only_model({{0, 1, 2}}));
  m.triangle(0).CON(2) = 9; // stale entries are cleared
  SET_POLY_NEIGHBORS(m.ptr);
  expect_con(m, 0, 0, 0, 0);
}
