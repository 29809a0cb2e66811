#include "math/geometry.h"

#include "base/fail.h"
#include "base/rounding.h"

#include <cmath>
#include <cstring>


namespace NMATHF {

namespace {
// The dot product in the fixed order ((x + y) + z), written out where the plane
// tests need it on a point and a normal.
inline float plane_dot(const VEC3F& p, const VEC3F& n) {
  return (p.X * n.X + p.Y * n.Y) + p.Z * n.Z;
}
}  // namespace

float INV_SQR(float dist) {
  // The intermediates stay local, so calls on several threads never meet.
  const float xhalf = 0.5f * dist;
  int32_t ti;
  std::memcpy(&ti, &dist, sizeof ti);
  // The subtraction wraps (done unsigned) so that negative input, for which
  // the result is meaningless anyway, cannot overflow a signed integer.
  ti = int32_t(0x5F3759DFu - uint32_t(ti >> 1));
  std::memcpy(&dist, &ti, sizeof dist);
  return (-((dist * xhalf) * dist) + 1.5f) * dist;  // one Newton step
}

float COTAN(const float& num) {
  const float tangent = float(std::tan(double(num)));
  return 1.0f / tangent;
}

VEC3F CLOSESTPOINTONLINE(const VEC3F& va, const VEC3F& vb, const VEC3F& vpoint) {
  const VEC3F vvector1 = vpoint - va;
  VEC3F vvector2 = vb - va;
  vvector2.NORMALIZE();
  const double d = va.DISTANCE(vb);
  const double t = vvector2.DOT(vvector1);
  if (!(t > 0.0)) return va;  // before VA, or NaN
  if (t >= d) return vb;
  const VEC3F vvector3 = vvector2 * t;
  return va + vvector3;
}

int32_t INTERSECTED_PLANE(const VEC3F* v, const VEC3F* vline, VEC3F& vnormal,
                          float& origindist) {
  vnormal = POLY_NORMAL(v);
  origindist = PLANE_DISTANCE(vnormal, v[0]);
  const float dist1 = plane_dot(vline[0], vnormal) + origindist;
  const float dist2 = plane_dot(vline[1], vnormal) + origindist;
  // Ends on strictly opposite sides. A NaN product is no crossing either.
  return dist1 * dist2 < 0.0f ? -1 : 0;
}

VEC3F INTERSECTION_POINT(const VEC3F& vnormal, const VEC3F* vline, const float& tdistance) {
  VEC3F vlinedir = vline[1] - vline[0];
  vlinedir.NORMALIZE();
  const double numerator = -(plane_dot(vline[0], vnormal) + tdistance);
  const double denominator = vnormal.DOT(vlinedir);
  if (denominator == 0.0 || denominator != denominator) return vline[0];
  const double dist = numerator / denominator;
  return vline[0] + vlinedir * dist;
}

int32_t SAMESIDE(const VEC3F& p1, const VEC3F& p2, const VEC3F& a, const VEC3F& b) {
  const VEC3F tvector1 = b - a;
  const VEC3F cp1 = tvector1.CROSS(p1 - a);
  const VEC3F cp2 = tvector1.CROSS(p2 - a);
  return cp1.DOT(cp2) >= 0.0f ? -1 : 0;
}

int32_t POINT_INSIDE_TRIANGLE3D(const VEC3F& vpoint, const VEC3F* v) {
  // All three tests run; no tolerance.
  const int32_t s1 = SAMESIDE(vpoint, v[0], v[1], v[2]);
  const int32_t s2 = SAMESIDE(vpoint, v[1], v[0], v[2]);
  const int32_t s3 = SAMESIDE(vpoint, v[2], v[0], v[1]);
  return s1 & s2 & s3;
}

int32_t LINE_TRIANGLE_INTERSECTION(const VEC3F* v, const VEC3F* vline,
                                   VEC3F& new_intersection) {
  // The cheap plane rejection first: most triangles end here.
  VEC3F vnormal(0, 0, 0);
  float origindistance = 0.0f;
  if (!INTERSECTED_PLANE(v, vline, vnormal, origindistance)) return 0;
  new_intersection = INTERSECTION_POINT(vnormal, vline, origindistance);
  return POINT_INSIDE_TRIANGLE3D(new_intersection, v) ? -1 : 0;
}

void GET_COLLISION_OFFSET(const VEC3F& vnormal, const float& radius, const float& dist,
                          VEC3F& voffset) {
  const float distanceover = radius - dist;
  voffset = vnormal * distanceover;
}

int32_t CLASSIFY_SPHERE(const VEC3F& vcenter, const VEC3F& vnormal, const VEC3F& vpoint,
                        const float& radius, float& dist) {
  const float d = PLANE_DISTANCE(vnormal, vpoint);
  dist = plane_dot(vcenter, vnormal) + d;
  if (std::fabs(dist) < radius) return 1;
  if (dist >= radius) return 2;
  return 3;
}

int32_t EDGE_SPHERE_COLLISION(const VEC3F& vcenter, const VEC3F* v, const float& radius) {
  for (int i = 0; i < 3; ++i) {
    const int iand1 = (i + 1) % 3;
    const VEC3F vpoint = CLOSESTPOINTONLINE(v[i], v[iand1], vcenter);
    if (vpoint.DISTANCE(vcenter) < radius) return -1;
  }
  return 0;
}


int32_t POINT_INSIDE_TRIANGLE2D(const int32_t& x, const int32_t& y, const VEC2F& p1,
                                const VEC2F& p2, const VEC2F& p3) {
  // Twice the signed area; a triangle whose doubled area rounds to 0 is degenerate.
  const int32_t b0 =
      round_i32_nan_zero_saturating((p2.X - p1.X) * (p3.Y - p1.Y) - (p3.X - p1.X) * (p2.Y - p1.Y));
  if (b0 == 0) return 0;
  const float px = float(x), py = float(y);
  const double area = b0;
  // The weights of P1, P2 and P3: numerators in single, divided in double.
  const float b1 =
      float(double((p2.X - px) * (p3.Y - py) - (p3.X - px) * (p2.Y - py)) / area);
  const float b2 =
      float(double((p3.X - px) * (p1.Y - py) - (p1.X - px) * (p3.Y - py)) / area);
  const float b3 =
      float(double((p1.X - px) * (p2.Y - py) - (p2.X - px) * (p1.Y - py)) / area);
  if (b1 > 0.0f && b2 > 0.0f && b3 > 0.0f) return 1;
  if (b1 > 0.0f && b2 > 0.0f && b3 == 0.0f) return 2;
  if (b1 > 0.0f && b2 == 0.0f && b3 > 0.0f) return 3;
  if (b1 == 0.0f && b2 > 0.0f && b3 > 0.0f) return 4;
  return 0;
}

int32_t AABB(const VEC2F& a1, const VEC2F& a2, const VEC2F& b1, const VEC2F& b2) {
  if (b2.X >= a1.X && b1.X <= a2.X) {
    if (b2.Y >= a1.Y && b1.Y <= a2.Y) return -1;
  }
  return 0;
}

namespace {
// One axis of the curve: coefficients in single, the polynomial in double
// (P * C formed in single first), rounded once.
float spline_axis(float p0, float p1, float p2, float p3, float p) {
  const float c = (p1 - p0) * 3.0f;
  const float b = (p3 - p1) * 3.0f - c;
  const float a = ((p2 - p0) - c) - b;
  const double pd = p;
  const double cube = std::pow(pd, 3.0);
  return float(double(p0) + ((double(a) * cube + (double(b) * pd) * pd) + double(p * c)));
}
}  // namespace

VEC3F SPLINE_POINT(const DynArray<VEC3F>& points, float p) {
  // The four points are addressed by absolute index 0 to 3.
  if (!points.holds(0) || !points.holds(3)) RUNTIME_FAIL(ERR_OUT_OF_BOUNDS, "SPLINE_POINT");
  const VEC3F& start = points(0);
  const VEC3F& start_control = points(1);
  const VEC3F& end = points(2);
  const VEC3F& end_control = points(3);
  return VEC3F(spline_axis(start.X, start_control.X, end.X, end_control.X, p),
               spline_axis(start.Y, start_control.Y, end.Y, end_control.Y, p),
               spline_axis(start.Z, start_control.Z, end.Z, end_control.Z, p));
}

}  // namespace NMATHF
