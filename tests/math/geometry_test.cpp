// Geometric queries: normals and planes, segments against triangles, spheres,
// 2D picking, boxes, the inverse square root and the cubic curve.
#include <cmath>
#include <limits>
#include <random>
#include <thread>

#include "math/geometry.h"
#include "expect_math.h"

using namespace NMATHF;

namespace {

TEST(GeometryPlanes, PolyNormalFollowsTheWinding) {
  const VEC3F ccw[3] = {VEC3F(0, 0, 0), VEC3F(1, 0, 0), VEC3F(0, 1, 0)};
  EXPECT_VEC3(POLY_NORMAL(ccw), 0.0f, 0.0f, 1.0f);
  const VEC3F cw[3] = {VEC3F(0, 0, 0), VEC3F(0, 1, 0), VEC3F(1, 0, 0)};
  EXPECT_VEC3(POLY_NORMAL(cw), 0.0f, 0.0f, -1.0f);
  const VEC3F line[3] = {VEC3F(0, 0, 0), VEC3F(1, 1, 1), VEC3F(2, 2, 2)};
  EXPECT_VEC3(POLY_NORMAL(line), 0.0f, 0.0f, 0.0f);
  EXPECT_EQ(PLANE_DISTANCE(VEC3F(0, 1, 0), VEC3F(5, 3, 7)), -3.0f);
}

TEST(GeometryPlanes, PolyNormalIsUnitAndOrthogonalToBothEdges) {
  std::mt19937 rng(11);
  std::uniform_real_distribution<float> u(-50.0f, 50.0f);
  for (int i = 0; i < 500; ++i) {
    const VEC3F t[3] = {VEC3F(u(rng), u(rng), u(rng)), VEC3F(u(rng), u(rng), u(rng)),
                        VEC3F(u(rng), u(rng), u(rng))};
    const VEC3F e1 = (t[1] - t[0]).UNITVEC(), e2 = (t[2] - t[0]).UNITVEC();
    if (std::fabs(e1.DOT(e2)) > 0.999f) continue;  // nearly without area
    const VEC3F n = POLY_NORMAL(t);
    EXPECT_NEAR(n.MAGNITUDE(), 1.0f, 1e-6f);
    EXPECT_NEAR(n.DOT(e1), 0.0f, 1e-4f);
    EXPECT_NEAR(n.DOT(e2), 0.0f, 1e-4f);
    EXPECT_GT(n.DOT(e1.CROSS(e2)), 0.0f);  // right-handed
  }
}

TEST(GeometryScalars, InvSqrTakesOneNewtonStep) {
  EXPECT_EQ(INV_SQR(1.0f), 0.99830717f);
  EXPECT_EQ(INV_SQR(4.0f), 0.49915358f);
  EXPECT_EQ(INV_SQR(100.0f), 0.09984488f);
  for (float x = 1e-30f; x < 1e30f; x *= 1.37f)
    EXPECT_NEAR(INV_SQR(x) * std::sqrt(double(x)), 1.0, 0.002) << x;
  // Meaningless but harmless (no signed overflow) for negative and odd input.
  for (float x : {0.0f, -1.0f, -std::numeric_limits<float>::max(), std::nanf("")})
    (void)INV_SQR(x);
  EXPECT_EQ(COTAN(0.5f), 1.0f / float(std::tan(0.5)));
  EXPECT_EQ(COTAN(0.0f), std::numeric_limits<float>::infinity());
}

// Two threads at once (the lighting of two models may run side by side) each
// get their own results; the thread sanitizer build sees any shared state.
TEST(GeometryScalars, InvSqrOnTwoThreadsAtOnce) {
  bool same[2] = {true, true};
  auto work = [&](int k) {
    for (int i = 0; i < 20000; ++i) {
      const float x = float(k * 20000 + i + 1);
      same[k] = same[k] && INV_SQR(x) == INV_SQR(x);
    }
  };
  std::thread other(work, 1);
  work(0);
  other.join();
  EXPECT_TRUE(same[0] && same[1]);
}

TEST(GeometrySegments, ClosestPointOnLine) {
  const VEC3F a(0, 0, 0), b(10, 0, 0);
  EXPECT_VEC3(CLOSESTPOINTONLINE(a, b, VEC3F(-5, 1, 0)), 0.0f, 0.0f, 0.0f);
  EXPECT_VEC3(CLOSESTPOINTONLINE(a, b, VEC3F(15, 1, 0)), 10.0f, 0.0f, 0.0f);
  EXPECT_VEC3(CLOSESTPOINTONLINE(a, b, VEC3F(4, 3, 0)), 4.0f, 0.0f, 0.0f);
  EXPECT_VEC3(CLOSESTPOINTONLINE(b, b, VEC3F(4, 3, 0)), 10.0f, 0.0f, 0.0f);  // no length
}

// A triangle in y = 0 (clockwise seen from above) and vertical probes.
const VEC3F FLOOR[3] = {VEC3F(-1, 0, -1), VEC3F(1, 0, -1), VEC3F(0, 0, 1)};

TEST(GeometrySegments, ProbeThroughAndBesideTheTriangle) {
  const VEC3F probe[2] = {VEC3F(0, 1, 0), VEC3F(0, -1, 0)};
  VEC3F n;
  float d = 99.0f;
  EXPECT_EQ(INTERSECTED_PLANE(FLOOR, probe, n, d), -1);
  EXPECT_VEC3(n, 0.0f, -1.0f, 0.0f);
  EXPECT_EQ(d, 0.0f);
  VEC3F hit(7, 7, 7);
  EXPECT_EQ(LINE_TRIANGLE_INTERSECTION(FLOOR, probe, hit), -1);
  EXPECT_VEC3(hit, 0.0f, 0.0f, 0.0f);
  // Beside it: the plane is crossed and the point written, but no hit.
  const VEC3F beside[2] = {VEC3F(5, 1, 0), VEC3F(5, -1, 0)};
  EXPECT_EQ(LINE_TRIANGLE_INTERSECTION(FLOOR, beside, hit), 0);
  EXPECT_VEC3(hit, 5.0f, 0.0f, 0.0f);
}

TEST(GeometrySegments, NoCrossingLeavesThePointAlone) {
  const VEC3F ends_on_plane[2] = {VEC3F(0, 1, 0), VEC3F(0, 0, 0)};
  const VEC3F flat[3] = {VEC3F(0, 0, 0), VEC3F(1, 0, 0), VEC3F(2, 0, 0)};
  const VEC3F through_flat[2] = {VEC3F(1, 1, 0), VEC3F(1, -1, 0)};
  const VEC3F nan_probe[2] = {VEC3F(std::nanf(""), 1, 0), VEC3F(0, -1, 0)};
  VEC3F n, hit(7, 7, 7);
  float d;
  EXPECT_EQ(INTERSECTED_PLANE(FLOOR, ends_on_plane, n, d), 0);
  EXPECT_EQ(LINE_TRIANGLE_INTERSECTION(FLOOR, ends_on_plane, hit), 0);
  EXPECT_EQ(LINE_TRIANGLE_INTERSECTION(flat, through_flat, hit), 0);  // normal (0,0,0)
  EXPECT_EQ(LINE_TRIANGLE_INTERSECTION(FLOOR, nan_probe, hit), 0);
  EXPECT_VEC3(hit, 7.0f, 7.0f, 7.0f);
}

TEST(GeometrySegments, IntersectionPoint) {
  const VEC3F along[2] = {VEC3F(0, 1, 0), VEC3F(3, 1, 0)};  // parallel: the start
  EXPECT_VEC3(INTERSECTION_POINT(VEC3F(0, 1, 0), along, 0.0f), 0.0f, 1.0f, 0.0f);
  const VEC3F slant[2] = {VEC3F(0, 4, 0), VEC3F(3, 0, 0)};
  EXPECT_VEC3(INTERSECTION_POINT(VEC3F(0, 1, 0), slant, -2.0f), 1.5f, 2.0f, 0.0f);
}

TEST(GeometrySegments, PointInsideTriangle3DIncludesEdgesAndCorners) {
  EXPECT_EQ(POINT_INSIDE_TRIANGLE3D(FLOOR[2], FLOOR), -1);
  EXPECT_EQ(POINT_INSIDE_TRIANGLE3D(VEC3F(0, 0, -1), FLOOR), -1);  // edge midpoint
  EXPECT_EQ(POINT_INSIDE_TRIANGLE3D(VEC3F(0, 0, -1.001f), FLOOR), 0);
  EXPECT_EQ(SAMESIDE(VEC3F(0, 0, 0), VEC3F(5, 0, 0), VEC3F(0, 0, 0), VEC3F(0, 1, 0)), -1);
  EXPECT_EQ(SAMESIDE(VEC3F(-1, 0, 0), VEC3F(5, 0, 0), VEC3F(0, 0, 0), VEC3F(0, 1, 0)), 0);
}

TEST(GeometrySegments, RandomProbesAgreeWithTheSignsOfTheWeights) {
  std::mt19937 rng(17);
  std::uniform_real_distribution<float> u(-10.0f, 10.0f);
  const VEC3F t[3] = {VEC3F(-8, 0, -6), VEC3F(7, 0, -5), VEC3F(1, 0, 9)};
  int hits = 0;
  for (int n = 0; n < 2000; ++n) {
    const float x = u(rng), z = u(rng);
    const VEC3F probe[2] = {VEC3F(x, 5, z), VEC3F(x, -5, z)};
    const VEC2F p(x, z), a(t[0].X, t[0].Z), b(t[1].X, t[1].Z), c(t[2].X, t[2].Z);
    const float w1 = (b - p).CROSS_ANALOG(c - p), w2 = (c - p).CROSS_ANALOG(a - p),
                w3 = (a - p).CROSS_ANALOG(b - p);
    if (std::fabs(w1) < 1e-2f || std::fabs(w2) < 1e-2f || std::fabs(w3) < 1e-2f) continue;
    const bool inside = (w1 > 0) == (w2 > 0) && (w2 > 0) == (w3 > 0);
    VEC3F hit;
    const int32_t r = LINE_TRIANGLE_INTERSECTION(t, probe, hit);
    EXPECT_EQ(r, inside ? -1 : 0) << x << " " << z;
    hits += r != 0;
  }
  EXPECT_GT(hits, 100);
}

TEST(GeometrySpheres, ClassifyOffsetAndEdges) {
  const VEC3F n(0, 1, 0), origin(0, 0, 0);
  float dist = 0.0f;
  const float ys[] = {0.5f, 1.0f, -0.5f, -2.0f, -1.0f};
  const int32_t codes[] = {1, 2, 1, 3, 3};
  for (int i = 0; i < 5; ++i) {
    EXPECT_EQ(CLASSIFY_SPHERE(VEC3F(0, ys[i], 0), n, origin, 1.0f, dist), codes[i]) << i;
    EXPECT_EQ(dist, ys[i]);
  }
  VEC3F offset(9, 9, 9);
  GET_COLLISION_OFFSET(n, 1.0f, 0.25f, offset);
  EXPECT_VEC3(offset, 0.0f, 0.75f, 0.0f);
  const VEC3F t[3] = {VEC3F(-1, 0, 0), VEC3F(1, 0, 0), VEC3F(0, 0, 5)};
  EXPECT_EQ(EDGE_SPHERE_COLLISION(VEC3F(0, 2, 0), t, 2.0f), 0);  // touching only
  EXPECT_EQ(EDGE_SPHERE_COLLISION(VEC3F(0, 2, 0), t, 2.001f), -1);
  EXPECT_EQ(EDGE_SPHERE_COLLISION(VEC3F(0, 0.5f, 5), t, 1.0f), -1);  // the third edge
}

TEST(GeometryPicking, PointInsideTriangle2DCodes) {
  const VEC2F a(0.0f, 0.0f), b(10.0f, 0.0f), c(0.0f, 10.0f);
  const int32_t pixels[][3] = {{2, 2, 1}, {5, 0, 2}, {0, 5, 3}, {5, 5, 4}, {0, 0, 0}, {20, 20, 0}};
  for (const auto& p : pixels) EXPECT_EQ(POINT_INSIDE_TRIANGLE2D(p[0], p[1], a, b, c), p[2]);
  EXPECT_EQ(POINT_INSIDE_TRIANGLE2D(2, 2, a, c, b), 1);  // the other winding
  EXPECT_EQ(POINT_INSIDE_TRIANGLE2D(5, 0, a, c, b), 3);  // now the edge P3-P1
  // Doubled area 0.16 rounds to 0: degenerate for every pixel.
  const VEC2F s2(0.4f, 0.0f), s3(0.0f, 0.4f);
  for (int y = -1; y <= 1; ++y)
    for (int x = -1; x <= 1; ++x) EXPECT_EQ(POINT_INSIDE_TRIANGLE2D(x, y, a, s2, s3), 0);
  // Areas beyond the integer range and NaN corners stay defined.
  const VEC2F h1(-1e30f, -1e30f), h2(1e30f, -1e30f), h3(0.0f, 1e30f);
  EXPECT_EQ(POINT_INSIDE_TRIANGLE2D(0, 0, h1, h2, h3), 1);
  EXPECT_EQ(POINT_INSIDE_TRIANGLE2D(0, 0, VEC2F(std::nanf(""), 0.0f), b, c), 0);
}

TEST(GeometryPicking, Boxes) {
  const VEC2F o(0.0f, 0.0f), one(1.0f, 1.0f);
  EXPECT_EQ(AABB(o, one, one, VEC2F(2.0f, 2.0f)), -1);  // touching corners
  EXPECT_EQ(AABB(o, one, VEC2F(1.5f, 0.0f), VEC2F(2.0f, 1.0f)), 0);
  EXPECT_EQ(AABB(o, one, VEC2F(0.5f, 1.5f), VEC2F(0.7f, 2.0f)), 0);
}

TEST(GeometryCurves, SplinePoint) {
  const DynArray<VEC3F> p(0, {VEC3F(0, 0, 0), VEC3F(0, 1, 0), VEC3F(3, 0, 0), VEC3F(3, 1, 0)});
  EXPECT_VEC3(SPLINE_POINT(p, 0.0f), 0.0f, 0.0f, 0.0f);
  EXPECT_VEC3(SPLINE_POINT(p, 1.0f), 3.0f, 0.0f, 0.0f);
  EXPECT_VEC3(SPLINE_POINT(p, 0.5f), 1.5f, 0.75f, 0.0f);
  EXPECT_VEC3(SPLINE_POINT(p, 2.0f), -12.0f, -6.0f, 0.0f);  // not clamped
  DynArray<VEC3F> wide(-2, 5);  // indices are absolute
  for (int i = 0; i <= 3; ++i) wide(i) = p(i);
  EXPECT_VEC3(SPLINE_POINT(wide, 0.5f), 1.5f, 0.75f, 0.0f);
  // In double, rounded once; all in single it would be -0.427375793.
  const DynArray<VEC3F> q(0, {VEC3F(-3, 0, 0), VEC3F(-13, 0, 0), VEC3F(-19, 0, 0),
                                VEC3F(18, 0, 0)});
  EXPECT_EQ(SPLINE_POINT(q, 0.55f).X, -0.427374572f);
}

TEST(GeometryCurvesDeathTest, IndexOutsideTheBoundsStops) {
  const DynArray<VEC3F> too_short(0, 2), shifted(1, 4);
  EXPECT_EXIT(SPLINE_POINT(too_short, 0.5f), ::testing::ExitedWithCode(6),
              "Aborting due to runtime error 6 \\(out of bounds array access\\) at line "
              "[0-9]+ of geometry.cpp::SPLINE_POINT\\(\\)");
  EXPECT_EXIT(SPLINE_POINT(shifted, 0.5f), ::testing::ExitedWithCode(6), "runtime error 6");
  DynArray<VEC3F> empty;
  EXPECT_EXIT(empty(0) = VEC3F(), ::testing::ExitedWithCode(6),
              "runtime error 6 \\(out of bounds array access\\) at line [0-9]+ of "
              "checked_array.h::DYN_ARRAY\\(\\)");
}

}  // namespace
