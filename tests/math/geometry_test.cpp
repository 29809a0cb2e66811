// Geometric queries: normals and planes, segments against triangles, spheres,
// 2D picking, boxes, the inverse square root and the cubic curve.
#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "mathfuncf/geometry.h"

using namespace NMATHF;

namespace {

#define EXPECT_VEC3(V, EX, EY, EZ) \
  do {                              \
    const VEC3F R_ = (V);           \
    EXPECT_EQ(R_.X, EX);            \
    EXPECT_EQ(R_.Y, EY);            \
    EXPECT_EQ(R_.Z, EZ);            \
  } while (0)

TEST(GeometryNormals, PolyNormalFollowsTheWinding) {
  const VEC3F CCW[3] = {VEC3F(0, 0, 0), VEC3F(1, 0, 0), VEC3F(0, 1, 0)};
  EXPECT_VEC3(POLY_NORMAL(CCW), 0.0f, 0.0f, 1.0f);
  const VEC3F CW[3] = {VEC3F(0, 0, 0), VEC3F(0, 1, 0), VEC3F(1, 0, 0)};
  EXPECT_VEC3(POLY_NORMAL(CW), 0.0f, 0.0f, -1.0f);
  const VEC3F LINE[3] = {VEC3F(0, 0, 0), VEC3F(1, 1, 1), VEC3F(2, 2, 2)};
  EXPECT_VEC3(POLY_NORMAL(LINE), 0.0f, 0.0f, 0.0f);
}

TEST(GeometryNormals, PolyNormalIsUnitAndOrthogonalToBothEdges) {
  std::mt19937 RNG(11);
  std::uniform_real_distribution<float> U(-50.0f, 50.0f);
  for (int I = 0; I < 500; ++I) {
    const VEC3F T[3] = {VEC3F(U(RNG), U(RNG), U(RNG)), VEC3F(U(RNG), U(RNG), U(RNG)),
                        VEC3F(U(RNG), U(RNG), U(RNG))};
    const VEC3F E1 = (T[1] - T[0]).UNITVEC(), E2 = (T[2] - T[0]).UNITVEC();
    if (std::fabs(E1.DOT(E2)) > 0.999f) continue;  // nearly degenerate
    const VEC3F N = POLY_NORMAL(T);
    EXPECT_NEAR(N.MAGNITUDE(), 1.0f, 1e-6f);
    EXPECT_NEAR(N.DOT(E1), 0.0f, 1e-4f);
    EXPECT_NEAR(N.DOT(E2), 0.0f, 1e-4f);
    EXPECT_GT(N.DOT(E1.CROSS(E2)), 0.0f);  // right-handed
  }
}

TEST(GeometryNormals, PlaneDistance) {
  EXPECT_EQ(PLANE_DISTANCE(VEC3F(0, 1, 0), VEC3F(5, 3, 7)), -3.0f);
}

}  // namespace
