#include "math/geometry.h"

#include <cmath>
#include <cstring>

#include "platform/fail.h"

namespace NMATHF {

namespace {
// The dot product in the fixed order ((x + y) + z), written out where the plane
// tests need it on a point and a normal.
inline float PLANE_DOT(const VEC3F& P, const VEC3F& N) {
  return (P.X * N.X + P.Y * N.Y) + P.Z * N.Z;
}
}  // namespace

// INV_SQR's intermediates live here, overwritten on every call.
static float XHALF;
static int32_t TI;

float INV_SQR(float DIST) {
  XHALF = 0.5f * DIST;
  std::memcpy(&TI, &DIST, sizeof TI);
  // The subtraction wraps (done unsigned) so that negative input, for which
  // the result is meaningless anyway, cannot overflow a signed integer.
  TI = int32_t(0x5F3759DFu - uint32_t(TI >> 1));
  std::memcpy(&DIST, &TI, sizeof DIST);
  return (-((DIST * XHALF) * DIST) + 1.5f) * DIST;  // one Newton step
}

float COTAN(const float& NUM) {
  const float TANGENT = float(std::tan(double(NUM)));
  return 1.0f / TANGENT;
}

VEC3F CLOSESTPOINTONLINE(const VEC3F& VA, const VEC3F& VB, const VEC3F& VPOINT) {
  const VEC3F VVECTOR1 = VPOINT - VA;
  VEC3F VVECTOR2 = VB - VA;
  VVECTOR2.NORMALIZE();
  const double D = VA.DISTANCE(VB);
  const double T = VVECTOR2.DOT(VVECTOR1);
  if (!(T > 0.0)) return VA;  // before VA, or NaN
  if (T >= D) return VB;
  const VEC3F VVECTOR3 = VVECTOR2 * T;
  return VA + VVECTOR3;
}

int32_t INTERSECTED_PLANE(const VEC3F* V, const VEC3F* VLINE, VEC3F& VNORMAL,
                          float& ORIGINDIST) {
  VNORMAL = POLY_NORMAL(V);
  ORIGINDIST = PLANE_DISTANCE(VNORMAL, V[0]);
  const float DIST1 = PLANE_DOT(VLINE[0], VNORMAL) + ORIGINDIST;
  const float DIST2 = PLANE_DOT(VLINE[1], VNORMAL) + ORIGINDIST;
  // Ends on strictly opposite sides. A NaN product is no crossing either.
  return DIST1 * DIST2 < 0.0f ? -1 : 0;
}

VEC3F INTERSECTION_POINT(const VEC3F& VNORMAL, const VEC3F* VLINE, const float& TDISTANCE) {
  VEC3F VLINEDIR = VLINE[1] - VLINE[0];
  VLINEDIR.NORMALIZE();
  const double NUMERATOR = -(PLANE_DOT(VLINE[0], VNORMAL) + TDISTANCE);
  const double DENOMINATOR = VNORMAL.DOT(VLINEDIR);
  if (DENOMINATOR == 0.0 || DENOMINATOR != DENOMINATOR) return VLINE[0];
  const double DIST = NUMERATOR / DENOMINATOR;
  return VLINE[0] + VLINEDIR * DIST;
}

int32_t SAMESIDE(const VEC3F& P1, const VEC3F& P2, const VEC3F& A, const VEC3F& B) {
  const VEC3F TVECTOR1 = B - A;
  const VEC3F CP1 = TVECTOR1.CROSS(P1 - A);
  const VEC3F CP2 = TVECTOR1.CROSS(P2 - A);
  return CP1.DOT(CP2) >= 0.0f ? -1 : 0;
}

int32_t POINT_INSIDE_TRIANGLE3D(const VEC3F& VPOINT, const VEC3F* V) {
  // All three tests run; no tolerance.
  const int32_t S1 = SAMESIDE(VPOINT, V[0], V[1], V[2]);
  const int32_t S2 = SAMESIDE(VPOINT, V[1], V[0], V[2]);
  const int32_t S3 = SAMESIDE(VPOINT, V[2], V[0], V[1]);
  return S1 & S2 & S3;
}

int32_t LINE_TRIANGLE_INTERSECTION(const VEC3F* V, const VEC3F* VLINE,
                                   VEC3F& NEW_INTERSECTION) {
  // The cheap plane rejection first: most triangles end here.
  VEC3F VNORMAL(0, 0, 0);
  float ORIGINDISTANCE = 0.0f;
  if (!INTERSECTED_PLANE(V, VLINE, VNORMAL, ORIGINDISTANCE)) return 0;
  NEW_INTERSECTION = INTERSECTION_POINT(VNORMAL, VLINE, ORIGINDISTANCE);
  return POINT_INSIDE_TRIANGLE3D(NEW_INTERSECTION, V) ? -1 : 0;
}

void GET_COLLISION_OFFSET(const VEC3F& VNORMAL, const float& RADIUS, const float& DIST,
                          VEC3F& VOFFSET) {
  const float DISTANCEOVER = RADIUS - DIST;
  VOFFSET = VNORMAL * DISTANCEOVER;
}

int32_t CLASSIFY_SPHERE(const VEC3F& VCENTER, const VEC3F& VNORMAL, const VEC3F& VPOINT,
                        const float& RADIUS, float& DIST) {
  const float D = PLANE_DISTANCE(VNORMAL, VPOINT);
  DIST = PLANE_DOT(VCENTER, VNORMAL) + D;
  if (std::fabs(DIST) < RADIUS) return 1;
  if (DIST >= RADIUS) return 2;
  return 3;
}

int32_t EDGE_SPHERE_COLLISION(const VEC3F& VCENTER, const VEC3F* V, const float& RADIUS) {
  for (int I = 0; I < 3; ++I) {
    const int IAND1 = (I + 1) % 3;
    const VEC3F VPOINT = CLOSESTPOINTONLINE(V[I], V[IAND1], VCENTER);
    if (VPOINT.DISTANCE(VCENTER) < RADIUS) return -1;
  }
  return 0;
}

namespace {
// A single to a 32-bit integer, nearest with ties to even. NaN becomes 0 and
// values beyond the range saturate, so no input reaches an undefined
// conversion; only the sign and zero-ness of the result matter to the caller.
int32_t ROUND_TO_INT32(float VALUE) {
  if (VALUE != VALUE) return 0;
  if (VALUE >= 2147483648.0f) return INT32_MAX;
  if (VALUE <= -2147483648.0f) return INT32_MIN;
  return int32_t(std::nearbyint(VALUE));
}
}  // namespace

int32_t POINT_INSIDE_TRIANGLE2D(const int32_t& X, const int32_t& Y, const VEC2F& P1,
                                const VEC2F& P2, const VEC2F& P3) {
  // Twice the signed area; a triangle whose doubled area rounds to 0 is degenerate.
  const int32_t B0 =
      ROUND_TO_INT32((P2.X - P1.X) * (P3.Y - P1.Y) - (P3.X - P1.X) * (P2.Y - P1.Y));
  if (B0 == 0) return 0;
  const float PX = float(X), PY = float(Y);
  const double AREA = B0;
  // The weights of P1, P2 and P3: numerators in single, divided in double.
  const float B1 =
      float(double((P2.X - PX) * (P3.Y - PY) - (P3.X - PX) * (P2.Y - PY)) / AREA);
  const float B2 =
      float(double((P3.X - PX) * (P1.Y - PY) - (P1.X - PX) * (P3.Y - PY)) / AREA);
  const float B3 =
      float(double((P1.X - PX) * (P2.Y - PY) - (P2.X - PX) * (P1.Y - PY)) / AREA);
  if (B1 > 0.0f && B2 > 0.0f && B3 > 0.0f) return 1;
  if (B1 > 0.0f && B2 > 0.0f && B3 == 0.0f) return 2;
  if (B1 > 0.0f && B2 == 0.0f && B3 > 0.0f) return 3;
  if (B1 == 0.0f && B2 > 0.0f && B3 > 0.0f) return 4;
  return 0;
}

int32_t AABB(const VEC2F& A1, const VEC2F& A2, const VEC2F& B1, const VEC2F& B2) {
  if (B2.X >= A1.X && B1.X <= A2.X) {
    if (B2.Y >= A1.Y && B1.Y <= A2.Y) return -1;
  }
  return 0;
}

namespace {
// One axis of the curve: coefficients in single, the polynomial in double
// (P * C formed in single first), rounded once.
float SPLINE_AXIS(float P0, float P1, float P2, float P3, float P) {
  const float C = (P1 - P0) * 3.0f;
  const float B = (P3 - P1) * 3.0f - C;
  const float A = ((P2 - P0) - C) - B;
  const double PD = P;
  const double CUBE = std::pow(PD, 3.0);
  return float(double(P0) + ((double(A) * CUBE + (double(B) * PD) * PD) + double(P * C)));
}
}  // namespace

VEC3F SPLINE_POINT(const DYN_ARRAY<VEC3F>& POINTS, float P) {
  // The four points are addressed by absolute index 0 to 3.
  if (!POINTS.HOLDS(0) || !POINTS.HOLDS(3)) FAIL(ERR_OUT_OF_BOUNDS, "SPLINE_POINT");
  const VEC3F& START = POINTS(0);
  const VEC3F& START_CONTROL = POINTS(1);
  const VEC3F& END = POINTS(2);
  const VEC3F& END_CONTROL = POINTS(3);
  return VEC3F(SPLINE_AXIS(START.X, START_CONTROL.X, END.X, END_CONTROL.X, P),
               SPLINE_AXIS(START.Y, START_CONTROL.Y, END.Y, END_CONTROL.Y, P),
               SPLINE_AXIS(START.Z, START_CONTROL.Z, END.Z, END_CONTROL.Z, P));
}

}  // namespace NMATHF
