// Geometric queries: normals and planes, segments against triangles, spheres,
// 2D picking, boxes, the inverse square root and the cubic curve.
// platform/fail.h defines FAIL for the program; GoogleTest's own FAIL() takes
// over when its header comes second.
#include "mathfuncf/geometry.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>

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

TEST(GeometryInvSqr, OneNewtonStep) {
  EXPECT_EQ(INV_SQR(1.0f), 0.99830717f);
  EXPECT_EQ(INV_SQR(4.0f), 0.49915358f);
  EXPECT_EQ(INV_SQR(100.0f), 0.09984488f);
  // Within 0.2 % over a wide range of positive input.
  for (float X = 1e-30f; X < 1e30f; X *= 1.37f) {
    const double EXACT = 1.0 / std::sqrt(double(X));
    EXPECT_NEAR(INV_SQR(X) / EXACT, 1.0, 0.002) << X;
  }
  // Meaningless but harmless for zero, negative and non-finite input.
  (void)INV_SQR(0.0f);
  (void)INV_SQR(-1.0f);
  (void)INV_SQR(-std::numeric_limits<float>::max());
  (void)INV_SQR(std::numeric_limits<float>::quiet_NaN());
}

TEST(GeometryInvSqr, Cotangent) {
  EXPECT_EQ(COTAN(0.5f), 1.0f / float(std::tan(0.5)));
  EXPECT_EQ(COTAN(float(M_PI / 4)), 1.0f / float(std::tan(double(float(M_PI / 4)))));
  EXPECT_EQ(COTAN(0.0f), std::numeric_limits<float>::infinity());
}

TEST(GeometrySegments, ClosestPointOnLine) {
  const VEC3F A(0, 0, 0), B(10, 0, 0);
  EXPECT_VEC3(CLOSESTPOINTONLINE(A, B, VEC3F(-5, 1, 0)), 0.0f, 0.0f, 0.0f);
  EXPECT_VEC3(CLOSESTPOINTONLINE(A, B, VEC3F(15, 1, 0)), 10.0f, 0.0f, 0.0f);
  EXPECT_VEC3(CLOSESTPOINTONLINE(A, B, VEC3F(4, 3, 0)), 4.0f, 0.0f, 0.0f);
  EXPECT_VEC3(CLOSESTPOINTONLINE(B, B, VEC3F(4, 3, 0)), 10.0f, 0.0f, 0.0f);  // no length
}

// The triangle y = 0 of the ground test and a vertical probe.
const VEC3F FLOOR[3] = {VEC3F(-1, 0, -1), VEC3F(1, 0, -1), VEC3F(0, 0, 1)};

TEST(GeometrySegments, ProbeThroughTheTriangle) {
  const VEC3F PROBE[2] = {VEC3F(0, 1, 0), VEC3F(0, -1, 0)};
  VEC3F N;
  float D = 99.0f;
  EXPECT_EQ(INTERSECTED_PLANE(FLOOR, PROBE, N, D), -1);
  EXPECT_VEC3(N, 0.0f, -1.0f, 0.0f);  // the corners run clockwise seen from above
  EXPECT_EQ(D, 0.0f);
  VEC3F HIT(7, 7, 7);
  EXPECT_EQ(LINE_TRIANGLE_INTERSECTION(FLOOR, PROBE, HIT), -1);
  EXPECT_VEC3(HIT, 0.0f, 0.0f, 0.0f);
}

TEST(GeometrySegments, ProbeBesideTheTriangleStillWritesThePoint) {
  const VEC3F PROBE[2] = {VEC3F(5, 1, 0), VEC3F(5, -1, 0)};
  VEC3F HIT(7, 7, 7);
  EXPECT_EQ(LINE_TRIANGLE_INTERSECTION(FLOOR, PROBE, HIT), 0);
  EXPECT_VEC3(HIT, 5.0f, 0.0f, 0.0f);
}

TEST(GeometrySegments, EndOnThePlaneIsNoCrossing) {
  const VEC3F PROBE[2] = {VEC3F(0, 1, 0), VEC3F(0, 0, 0)};
  VEC3F N;
  float D;
  EXPECT_EQ(INTERSECTED_PLANE(FLOOR, PROBE, N, D), 0);
  VEC3F HIT(7, 7, 7);
  EXPECT_EQ(LINE_TRIANGLE_INTERSECTION(FLOOR, PROBE, HIT), 0);
  EXPECT_VEC3(HIT, 7.0f, 7.0f, 7.0f);  // not written
}

TEST(GeometrySegments, TriangleWithoutAreaIsNeverHit) {
  const VEC3F FLAT[3] = {VEC3F(0, 0, 0), VEC3F(1, 0, 0), VEC3F(2, 0, 0)};
  const VEC3F PROBE[2] = {VEC3F(1, 1, 0), VEC3F(1, -1, 0)};
  VEC3F HIT(7, 7, 7);
  EXPECT_EQ(LINE_TRIANGLE_INTERSECTION(FLAT, PROBE, HIT), 0);
  EXPECT_VEC3(HIT, 7.0f, 7.0f, 7.0f);
  const float NAN_F = std::numeric_limits<float>::quiet_NaN();
  const VEC3F NAN_PROBE[2] = {VEC3F(NAN_F, 1, 0), VEC3F(0, -1, 0)};
  EXPECT_EQ(LINE_TRIANGLE_INTERSECTION(FLOOR, NAN_PROBE, HIT), 0);
}

TEST(GeometrySegments, IntersectionPointParallelFallsBackToTheStart) {
  const VEC3F ALONG[2] = {VEC3F(0, 1, 0), VEC3F(3, 1, 0)};
  EXPECT_VEC3(INTERSECTION_POINT(VEC3F(0, 1, 0), ALONG, 0.0f), 0.0f, 1.0f, 0.0f);
  const VEC3F SLANT[2] = {VEC3F(0, 4, 0), VEC3F(3, 0, 0)};  // 3-4-5 triangle
  EXPECT_VEC3(INTERSECTION_POINT(VEC3F(0, 1, 0), SLANT, -2.0f), 1.5f, 2.0f, 0.0f);
}

TEST(GeometrySegments, PointInsideTriangle3DIncludesEdgesAndCorners) {
  EXPECT_EQ(POINT_INSIDE_TRIANGLE3D(FLOOR[0], FLOOR), -1);
  EXPECT_EQ(POINT_INSIDE_TRIANGLE3D(FLOOR[2], FLOOR), -1);
  EXPECT_EQ(POINT_INSIDE_TRIANGLE3D(VEC3F(0, 0, -1), FLOOR), -1);  // edge midpoint
  EXPECT_EQ(POINT_INSIDE_TRIANGLE3D(VEC3F(0, 0, 0), FLOOR), -1);
  EXPECT_EQ(POINT_INSIDE_TRIANGLE3D(VEC3F(0, 0, -1.001f), FLOOR), 0);
  EXPECT_EQ(POINT_INSIDE_TRIANGLE3D(VEC3F(1, 0, 1), FLOOR), 0);
  EXPECT_EQ(SAMESIDE(VEC3F(0, 0, 0), VEC3F(5, 0, 0), VEC3F(0, 0, 0), VEC3F(0, 1, 0)), -1);
  EXPECT_EQ(SAMESIDE(VEC3F(-1, 0, 0), VEC3F(5, 0, 0), VEC3F(0, 0, 0), VEC3F(0, 1, 0)), 0);
}

TEST(GeometrySegments, RandomProbesAgreeWithBarycentricInside) {
  // Vertical probes through a random triangle in y = 0: the probe hits exactly
  // when the point is clearly inside, away from the edges.
  std::mt19937 RNG(17);
  std::uniform_real_distribution<float> U(-10.0f, 10.0f);
  const VEC3F T[3] = {VEC3F(-8, 0, -6), VEC3F(7, 0, -5), VEC3F(1, 0, 9)};
  int HITS = 0;
  for (int N = 0; N < 2000; ++N) {
    const float X = U(RNG), Z = U(RNG);
    const VEC3F PROBE[2] = {VEC3F(X, 5, Z), VEC3F(X, -5, Z)};
    const VEC2F P(X, Z);
    const VEC2F A(T[0].X, T[0].Z), B(T[1].X, T[1].Z), C(T[2].X, T[2].Z);
    const float W1 = (B - P).CROSS_ANALOG(C - P), W2 = (C - P).CROSS_ANALOG(A - P),
                W3 = (A - P).CROSS_ANALOG(B - P);
    if (std::fabs(W1) < 1e-2f || std::fabs(W2) < 1e-2f || std::fabs(W3) < 1e-2f) continue;
    const bool INSIDE = (W1 > 0) == (W2 > 0) && (W2 > 0) == (W3 > 0);
    VEC3F HIT;
    const int32_t R = LINE_TRIANGLE_INTERSECTION(T, PROBE, HIT);
    EXPECT_EQ(R, INSIDE ? -1 : 0) << X << " " << Z;
    EXPECT_EQ(HIT.Y, 0.0f);
    HITS += R != 0;
  }
  EXPECT_GT(HITS, 100);
}

TEST(GeometrySpheres, ClassifySphere) {
  const VEC3F N(0, 1, 0), ORIGIN(0, 0, 0);
  float DIST = 0.0f;
  EXPECT_EQ(CLASSIFY_SPHERE(VEC3F(0, 0.5f, 0), N, ORIGIN, 1.0f, DIST), 1);
  EXPECT_EQ(DIST, 0.5f);
  EXPECT_EQ(CLASSIFY_SPHERE(VEC3F(0, 1, 0), N, ORIGIN, 1.0f, DIST), 2);
  EXPECT_EQ(DIST, 1.0f);
  EXPECT_EQ(CLASSIFY_SPHERE(VEC3F(0, -0.5f, 0), N, ORIGIN, 1.0f, DIST), 1);
  EXPECT_EQ(DIST, -0.5f);
  EXPECT_EQ(CLASSIFY_SPHERE(VEC3F(0, -2, 0), N, ORIGIN, 1.0f, DIST), 3);
  EXPECT_EQ(DIST, -2.0f);
  EXPECT_EQ(CLASSIFY_SPHERE(VEC3F(0, -1, 0), N, ORIGIN, 1.0f, DIST), 3);  // touching behind
}

TEST(GeometrySpheres, CollisionOffsetPushesOut) {
  VEC3F OFFSET(9, 9, 9);
  GET_COLLISION_OFFSET(VEC3F(0, 1, 0), 1.0f, 0.25f, OFFSET);
  EXPECT_VEC3(OFFSET, 0.0f, 0.75f, 0.0f);
}

TEST(GeometrySpheres, EdgeSphereCollisionNeedsOverlap) {
  const VEC3F T[3] = {VEC3F(-1, 0, 0), VEC3F(1, 0, 0), VEC3F(0, 0, 5)};
  EXPECT_EQ(EDGE_SPHERE_COLLISION(VEC3F(0, 2, 0), T, 2.0f), 0);  // touching only
  EXPECT_EQ(EDGE_SPHERE_COLLISION(VEC3F(0, 2, 0), T, 2.001f), -1);
  EXPECT_EQ(EDGE_SPHERE_COLLISION(VEC3F(0, 0.5f, 5), T, 1.0f), -1);  // at the far corner
}

TEST(GeometryPicking, PointInsideTriangle2DCodes) {
  const VEC2F A(0.0f, 0.0f), B(10.0f, 0.0f), C(0.0f, 10.0f);
  EXPECT_EQ(POINT_INSIDE_TRIANGLE2D(2, 2, A, B, C), 1);
  EXPECT_EQ(POINT_INSIDE_TRIANGLE2D(5, 0, A, B, C), 2);
  EXPECT_EQ(POINT_INSIDE_TRIANGLE2D(0, 5, A, B, C), 3);
  EXPECT_EQ(POINT_INSIDE_TRIANGLE2D(5, 5, A, B, C), 4);
  EXPECT_EQ(POINT_INSIDE_TRIANGLE2D(0, 0, A, B, C), 0);
  EXPECT_EQ(POINT_INSIDE_TRIANGLE2D(20, 20, A, B, C), 0);
  // The other winding gives the same codes.
  EXPECT_EQ(POINT_INSIDE_TRIANGLE2D(2, 2, A, C, B), 1);
  EXPECT_EQ(POINT_INSIDE_TRIANGLE2D(5, 0, A, C, B), 3);  // now edge P3-P1
  // Doubled area 0.16 rounds to 0: degenerate everywhere.
  const VEC2F S1(0.0f, 0.0f), S2(0.4f, 0.0f), S3(0.0f, 0.4f);
  for (int Y = -1; Y <= 1; ++Y)
    for (int X = -1; X <= 1; ++X) EXPECT_EQ(POINT_INSIDE_TRIANGLE2D(X, Y, S1, S2, S3), 0);
}

TEST(GeometryPicking, PointInsideTriangle2DHugeAndNanCorners) {
  const float BIG = 1e30f, NAN_F = std::numeric_limits<float>::quiet_NaN();
  const VEC2F A(-BIG, -BIG), B(BIG, -BIG), C(0.0f, BIG);
  EXPECT_EQ(POINT_INSIDE_TRIANGLE2D(0, 0, A, B, C), 1);
  EXPECT_EQ(POINT_INSIDE_TRIANGLE2D(0, 0, VEC2F(NAN_F, 0.0f), B, C), 0);
}

TEST(GeometryPicking, Boxes) {
  EXPECT_EQ(AABB(VEC2F(0.0f, 0.0f), VEC2F(1.0f, 1.0f), VEC2F(1.0f, 1.0f), VEC2F(2.0f, 2.0f)), -1);
  EXPECT_EQ(AABB(VEC2F(0.0f, 0.0f), VEC2F(1.0f, 1.0f), VEC2F(1.5f, 0.0f), VEC2F(2.0f, 1.0f)), 0);
  EXPECT_EQ(AABB(VEC2F(0.0f, 0.0f), VEC2F(1.0f, 1.0f), VEC2F(0.5f, 1.5f), VEC2F(0.7f, 2.0f)), 0);
  EXPECT_EQ(AABB(VEC2F(0.0f, 0.0f), VEC2F(4.0f, 4.0f), VEC2F(1.0f, 1.0f), VEC2F(2.0f, 2.0f)), -1);
}

DYN_ARRAY<VEC3F> CURVE(int32_t LOWER) {
  DYN_ARRAY<VEC3F> P(LOWER, LOWER + 3);
  for (int32_t I = LOWER; I <= LOWER + 3; ++I) P(I) = VEC3F(0, 0, 0);
  P(0) = VEC3F(0, 0, 0);
  P(1) = VEC3F(0, 1, 0);
  P(2) = VEC3F(3, 0, 0);
  P(3) = VEC3F(3, 1, 0);
  return P;
}

TEST(GeometryCurves, SplinePoint) {
  const DYN_ARRAY<VEC3F> P = CURVE(0);
  EXPECT_VEC3(SPLINE_POINT(P, 0.0f), 0.0f, 0.0f, 0.0f);
  EXPECT_VEC3(SPLINE_POINT(P, 1.0f), 3.0f, 0.0f, 0.0f);
  EXPECT_VEC3(SPLINE_POINT(P, 0.5f), 1.5f, 0.75f, 0.0f);
  EXPECT_VEC3(SPLINE_POINT(P, 2.0f), -12.0f, -6.0f, 0.0f);  // not clamped
  // Indices are absolute: a wider array with a negative lower bound works too.
  DYN_ARRAY<VEC3F> WIDE(-2, 5);
  WIDE(0) = P(0), WIDE(1) = P(1), WIDE(2) = P(2), WIDE(3) = P(3);
  EXPECT_VEC3(SPLINE_POINT(WIDE, 0.5f), 1.5f, 0.75f, 0.0f);
}

TEST(GeometryCurves, SplinePointRoundsOnceInDouble) {
  // The polynomial evaluated in double and rounded once; all in single it
  // would come out as -0.427375793.
  const DYN_ARRAY<VEC3F> P(0, {VEC3F(-3, 0, 0), VEC3F(-13, 0, 0), VEC3F(-19, 0, 0),
                                VEC3F(18, 0, 0)});
  EXPECT_EQ(SPLINE_POINT(P, 0.55f).X, -0.427374572f);
}

using GeometryCurvesDeathTest = ::testing::Test;

TEST(GeometryCurvesDeathTest, SplinePointOutsideTheBoundsStops) {
  const DYN_ARRAY<VEC3F> SHORT(0, 2);
  EXPECT_EXIT(SPLINE_POINT(SHORT, 0.5f), ::testing::ExitedWithCode(6),
              "Aborting due to runtime error 6 \\(out of bounds array access\\) at line "
              "[0-9]+ of geometry.cpp::SPLINE_POINT\\(\\)");
  const DYN_ARRAY<VEC3F> SHIFTED(1, 4);
  EXPECT_EXIT(SPLINE_POINT(SHIFTED, 0.5f), ::testing::ExitedWithCode(6),
              "runtime error 6");
  DYN_ARRAY<VEC3F> EMPTY;
  EXPECT_EXIT(EMPTY(0) = VEC3F(), ::testing::ExitedWithCode(6),
              "runtime error 6 \\(out of bounds array access\\).*DYN_ARRAY");
}

}  // namespace
