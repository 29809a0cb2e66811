// Geometric queries: normals and planes, segments against triangles, spheres,
// 2D picking, boxes, the inverse square root and the cubic curve.
#include <cmath>
#include <limits>
#include <random>

#include "math/geometry.h"
#include "expect_math.h"

using namespace NMATHF;

namespace {

TEST(GeometryPlanes, PolyNormalFollowsTheWinding) {
  const VEC3F CCW[3] = {VEC3F(0, 0, 0), VEC3F(1, 0, 0), VEC3F(0, 1, 0)};
  EXPECT_VEC3(POLY_NORMAL(CCW), 0.0f, 0.0f, 1.0f);
  const VEC3F CW[3] = {VEC3F(0, 0, 0), VEC3F(0, 1, 0), VEC3F(1, 0, 0)};
  EXPECT_VEC3(POLY_NORMAL(CW), 0.0f, 0.0f, -1.0f);
  const VEC3F LINE[3] = {VEC3F(0, 0, 0), VEC3F(1, 1, 1), VEC3F(2, 2, 2)};
  EXPECT_VEC3(POLY_NORMAL(LINE), 0.0f, 0.0f, 0.0f);
  EXPECT_EQ(PLANE_DISTANCE(VEC3F(0, 1, 0), VEC3F(5, 3, 7)), -3.0f);
}

TEST(GeometryPlanes, PolyNormalIsUnitAndOrthogonalToBothEdges) {
  std::mt19937 RNG(11);
  std::uniform_real_distribution<float> U(-50.0f, 50.0f);
  for (int I = 0; I < 500; ++I) {
    const VEC3F T[3] = {VEC3F(U(RNG), U(RNG), U(RNG)), VEC3F(U(RNG), U(RNG), U(RNG)),
                        VEC3F(U(RNG), U(RNG), U(RNG))};
    const VEC3F E1 = (T[1] - T[0]).UNITVEC(), E2 = (T[2] - T[0]).UNITVEC();
    if (std::fabs(E1.DOT(E2)) > 0.999f) continue;  // nearly without area
    const VEC3F N = POLY_NORMAL(T);
    EXPECT_NEAR(N.MAGNITUDE(), 1.0f, 1e-6f);
    EXPECT_NEAR(N.DOT(E1), 0.0f, 1e-4f);
    EXPECT_NEAR(N.DOT(E2), 0.0f, 1e-4f);
    EXPECT_GT(N.DOT(E1.CROSS(E2)), 0.0f);  // right-handed
  }
}

TEST(GeometryScalars, InvSqrTakesOneNewtonStep) {
  EXPECT_EQ(INV_SQR(1.0f), 0.99830717f);
  EXPECT_EQ(INV_SQR(4.0f), 0.49915358f);
  EXPECT_EQ(INV_SQR(100.0f), 0.09984488f);
  for (float X = 1e-30f; X < 1e30f; X *= 1.37f)
    EXPECT_NEAR(INV_SQR(X) * std::sqrt(double(X)), 1.0, 0.002) << X;
  // Meaningless but harmless (no signed overflow) for negative and odd input.
  for (float X : {0.0f, -1.0f, -std::numeric_limits<float>::max(), std::nanf("")})
    (void)INV_SQR(X);
  EXPECT_EQ(COTAN(0.5f), 1.0f / float(std::tan(0.5)));
  EXPECT_EQ(COTAN(0.0f), std::numeric_limits<float>::infinity());
}

TEST(GeometrySegments, ClosestPointOnLine) {
  const VEC3F A(0, 0, 0), B(10, 0, 0);
  EXPECT_VEC3(CLOSESTPOINTONLINE(A, B, VEC3F(-5, 1, 0)), 0.0f, 0.0f, 0.0f);
  EXPECT_VEC3(CLOSESTPOINTONLINE(A, B, VEC3F(15, 1, 0)), 10.0f, 0.0f, 0.0f);
  EXPECT_VEC3(CLOSESTPOINTONLINE(A, B, VEC3F(4, 3, 0)), 4.0f, 0.0f, 0.0f);
  EXPECT_VEC3(CLOSESTPOINTONLINE(B, B, VEC3F(4, 3, 0)), 10.0f, 0.0f, 0.0f);  // no length
}

// A triangle in y = 0 (clockwise seen from above) and vertical probes.
const VEC3F FLOOR[3] = {VEC3F(-1, 0, -1), VEC3F(1, 0, -1), VEC3F(0, 0, 1)};

TEST(GeometrySegments, ProbeThroughAndBesideTheTriangle) {
  const VEC3F PROBE[2] = {VEC3F(0, 1, 0), VEC3F(0, -1, 0)};
  VEC3F N;
  float D = 99.0f;
  EXPECT_EQ(INTERSECTED_PLANE(FLOOR, PROBE, N, D), -1);
  EXPECT_VEC3(N, 0.0f, -1.0f, 0.0f);
  EXPECT_EQ(D, 0.0f);
  VEC3F HIT(7, 7, 7);
  EXPECT_EQ(LINE_TRIANGLE_INTERSECTION(FLOOR, PROBE, HIT), -1);
  EXPECT_VEC3(HIT, 0.0f, 0.0f, 0.0f);
  // Beside it: the plane is crossed and the point written, but no hit.
  const VEC3F BESIDE[2] = {VEC3F(5, 1, 0), VEC3F(5, -1, 0)};
  EXPECT_EQ(LINE_TRIANGLE_INTERSECTION(FLOOR, BESIDE, HIT), 0);
  EXPECT_VEC3(HIT, 5.0f, 0.0f, 0.0f);
}

TEST(GeometrySegments, NoCrossingLeavesThePointAlone) {
  const VEC3F ENDS_ON_PLANE[2] = {VEC3F(0, 1, 0), VEC3F(0, 0, 0)};
  const VEC3F FLAT[3] = {VEC3F(0, 0, 0), VEC3F(1, 0, 0), VEC3F(2, 0, 0)};
  const VEC3F THROUGH_FLAT[2] = {VEC3F(1, 1, 0), VEC3F(1, -1, 0)};
  const VEC3F NAN_PROBE[2] = {VEC3F(std::nanf(""), 1, 0), VEC3F(0, -1, 0)};
  VEC3F N, HIT(7, 7, 7);
  float D;
  EXPECT_EQ(INTERSECTED_PLANE(FLOOR, ENDS_ON_PLANE, N, D), 0);
  EXPECT_EQ(LINE_TRIANGLE_INTERSECTION(FLOOR, ENDS_ON_PLANE, HIT), 0);
  EXPECT_EQ(LINE_TRIANGLE_INTERSECTION(FLAT, THROUGH_FLAT, HIT), 0);  // normal (0,0,0)
  EXPECT_EQ(LINE_TRIANGLE_INTERSECTION(FLOOR, NAN_PROBE, HIT), 0);
  EXPECT_VEC3(HIT, 7.0f, 7.0f, 7.0f);
}

TEST(GeometrySegments, IntersectionPoint) {
  const VEC3F ALONG[2] = {VEC3F(0, 1, 0), VEC3F(3, 1, 0)};  // parallel: the start
  EXPECT_VEC3(INTERSECTION_POINT(VEC3F(0, 1, 0), ALONG, 0.0f), 0.0f, 1.0f, 0.0f);
  const VEC3F SLANT[2] = {VEC3F(0, 4, 0), VEC3F(3, 0, 0)};
  EXPECT_VEC3(INTERSECTION_POINT(VEC3F(0, 1, 0), SLANT, -2.0f), 1.5f, 2.0f, 0.0f);
}

TEST(GeometrySegments, PointInsideTriangle3DIncludesEdgesAndCorners) {
  EXPECT_EQ(POINT_INSIDE_TRIANGLE3D(FLOOR[2], FLOOR), -1);
  EXPECT_EQ(POINT_INSIDE_TRIANGLE3D(VEC3F(0, 0, -1), FLOOR), -1);  // edge midpoint
  EXPECT_EQ(POINT_INSIDE_TRIANGLE3D(VEC3F(0, 0, -1.001f), FLOOR), 0);
  EXPECT_EQ(SAMESIDE(VEC3F(0, 0, 0), VEC3F(5, 0, 0), VEC3F(0, 0, 0), VEC3F(0, 1, 0)), -1);
  EXPECT_EQ(SAMESIDE(VEC3F(-1, 0, 0), VEC3F(5, 0, 0), VEC3F(0, 0, 0), VEC3F(0, 1, 0)), 0);
}

TEST(GeometrySegments, RandomProbesAgreeWithTheSignsOfTheWeights) {
  std::mt19937 RNG(17);
  std::uniform_real_distribution<float> U(-10.0f, 10.0f);
  const VEC3F T[3] = {VEC3F(-8, 0, -6), VEC3F(7, 0, -5), VEC3F(1, 0, 9)};
  int HITS = 0;
  for (int N = 0; N < 2000; ++N) {
    const float X = U(RNG), Z = U(RNG);
    const VEC3F PROBE[2] = {VEC3F(X, 5, Z), VEC3F(X, -5, Z)};
    const VEC2F P(X, Z), A(T[0].X, T[0].Z), B(T[1].X, T[1].Z), C(T[2].X, T[2].Z);
    const float W1 = (B - P).CROSS_ANALOG(C - P), W2 = (C - P).CROSS_ANALOG(A - P),
                W3 = (A - P).CROSS_ANALOG(B - P);
    if (std::fabs(W1) < 1e-2f || std::fabs(W2) < 1e-2f || std::fabs(W3) < 1e-2f) continue;
    const bool INSIDE = (W1 > 0) == (W2 > 0) && (W2 > 0) == (W3 > 0);
    VEC3F HIT;
    const int32_t R = LINE_TRIANGLE_INTERSECTION(T, PROBE, HIT);
    EXPECT_EQ(R, INSIDE ? -1 : 0) << X << " " << Z;
    HITS += R != 0;
  }
  EXPECT_GT(HITS, 100);
}

TEST(GeometrySpheres, ClassifyOffsetAndEdges) {
  const VEC3F N(0, 1, 0), ORIGIN(0, 0, 0);
  float DIST = 0.0f;
  const float YS[] = {0.5f, 1.0f, -0.5f, -2.0f, -1.0f};
  const int32_t CODES[] = {1, 2, 1, 3, 3};
  for (int I = 0; I < 5; ++I) {
    EXPECT_EQ(CLASSIFY_SPHERE(VEC3F(0, YS[I], 0), N, ORIGIN, 1.0f, DIST), CODES[I]) << I;
    EXPECT_EQ(DIST, YS[I]);
  }
  VEC3F OFFSET(9, 9, 9);
  GET_COLLISION_OFFSET(N, 1.0f, 0.25f, OFFSET);
  EXPECT_VEC3(OFFSET, 0.0f, 0.75f, 0.0f);
  const VEC3F T[3] = {VEC3F(-1, 0, 0), VEC3F(1, 0, 0), VEC3F(0, 0, 5)};
  EXPECT_EQ(EDGE_SPHERE_COLLISION(VEC3F(0, 2, 0), T, 2.0f), 0);  // touching only
  EXPECT_EQ(EDGE_SPHERE_COLLISION(VEC3F(0, 2, 0), T, 2.001f), -1);
  EXPECT_EQ(EDGE_SPHERE_COLLISION(VEC3F(0, 0.5f, 5), T, 1.0f), -1);  // the third edge
}

TEST(GeometryPicking, PointInsideTriangle2DCodes) {
  const VEC2F A(0.0f, 0.0f), B(10.0f, 0.0f), C(0.0f, 10.0f);
  const int32_t PIXELS[][3] = {{2, 2, 1}, {5, 0, 2}, {0, 5, 3}, {5, 5, 4}, {0, 0, 0}, {20, 20, 0}};
  for (const auto& P : PIXELS) EXPECT_EQ(POINT_INSIDE_TRIANGLE2D(P[0], P[1], A, B, C), P[2]);
  EXPECT_EQ(POINT_INSIDE_TRIANGLE2D(2, 2, A, C, B), 1);  // the other winding
  EXPECT_EQ(POINT_INSIDE_TRIANGLE2D(5, 0, A, C, B), 3);  // now the edge P3-P1
  // Doubled area 0.16 rounds to 0: degenerate for every pixel.
  const VEC2F S2(0.4f, 0.0f), S3(0.0f, 0.4f);
  for (int Y = -1; Y <= 1; ++Y)
    for (int X = -1; X <= 1; ++X) EXPECT_EQ(POINT_INSIDE_TRIANGLE2D(X, Y, A, S2, S3), 0);
  // Areas beyond the integer range and NaN corners stay defined.
  const VEC2F H1(-1e30f, -1e30f), H2(1e30f, -1e30f), H3(0.0f, 1e30f);
  EXPECT_EQ(POINT_INSIDE_TRIANGLE2D(0, 0, H1, H2, H3), 1);
  EXPECT_EQ(POINT_INSIDE_TRIANGLE2D(0, 0, VEC2F(std::nanf(""), 0.0f), B, C), 0);
}

TEST(GeometryPicking, Boxes) {
  const VEC2F O(0.0f, 0.0f), ONE(1.0f, 1.0f);
  EXPECT_EQ(AABB(O, ONE, ONE, VEC2F(2.0f, 2.0f)), -1);  // touching corners
  EXPECT_EQ(AABB(O, ONE, VEC2F(1.5f, 0.0f), VEC2F(2.0f, 1.0f)), 0);
  EXPECT_EQ(AABB(O, ONE, VEC2F(0.5f, 1.5f), VEC2F(0.7f, 2.0f)), 0);
}

TEST(GeometryCurves, SplinePoint) {
  const DYN_ARRAY<VEC3F> P(0, {VEC3F(0, 0, 0), VEC3F(0, 1, 0), VEC3F(3, 0, 0), VEC3F(3, 1, 0)});
  EXPECT_VEC3(SPLINE_POINT(P, 0.0f), 0.0f, 0.0f, 0.0f);
  EXPECT_VEC3(SPLINE_POINT(P, 1.0f), 3.0f, 0.0f, 0.0f);
  EXPECT_VEC3(SPLINE_POINT(P, 0.5f), 1.5f, 0.75f, 0.0f);
  EXPECT_VEC3(SPLINE_POINT(P, 2.0f), -12.0f, -6.0f, 0.0f);  // not clamped
  DYN_ARRAY<VEC3F> WIDE(-2, 5);  // indices are absolute
  for (int I = 0; I <= 3; ++I) WIDE(I) = P(I);
  EXPECT_VEC3(SPLINE_POINT(WIDE, 0.5f), 1.5f, 0.75f, 0.0f);
  // In double, rounded once; all in single it would be -0.427375793.
  const DYN_ARRAY<VEC3F> Q(0, {VEC3F(-3, 0, 0), VEC3F(-13, 0, 0), VEC3F(-19, 0, 0),
                                VEC3F(18, 0, 0)});
  EXPECT_EQ(SPLINE_POINT(Q, 0.55f).X, -0.427374572f);
}

TEST(GeometryCurvesDeathTest, IndexOutsideTheBoundsStops) {
  const DYN_ARRAY<VEC3F> SHORT(0, 2), SHIFTED(1, 4);
  EXPECT_EXIT(SPLINE_POINT(SHORT, 0.5f), ::testing::ExitedWithCode(6),
              "Aborting due to runtime error 6 \\(out of bounds array access\\) at line "
              "[0-9]+ of geometry.cpp::SPLINE_POINT\\(\\)");
  EXPECT_EXIT(SPLINE_POINT(SHIFTED, 0.5f), ::testing::ExitedWithCode(6), "runtime error 6");
  DYN_ARRAY<VEC3F> EMPTY;
  EXPECT_EXIT(EMPTY(0) = VEC3F(), ::testing::ExitedWithCode(6),
              "runtime error 6 \\(out of bounds array access\\) at line [0-9]+ of "
              "dyn_array.cpp::DYN_ARRAY\\(\\)");
}

}  // namespace
