#include "math/matrix.h"

#include <cmath>

namespace NMATHF {

namespace {
// Degrees to radians, in double: 3.1415926 / 180.
constexpr double DEGREES = 0.017453292222222222;
}  // namespace

std::string MATRIX::to_string() const {
  // The index is padded to two places so the values line up; no part of a line
  // produces blanks at its ends, so there is nothing to trim.
  std::string text;
  for (int i = 0; i < 16; ++i) {
    text += '(';
    text += std::to_string(i);
    text += i <= 9 ? " ) " : ") ";
    text += number_text(M[i]);
    text += "\r\n";
  }
  return text;
}

void MATRIX::LOOKAT(const VEC3F& v1, const VEC3F& v2, const VEC3F& vup) {
  VEC3F d = v1 - v2;  // from the target back to the eye
  d.NORMALIZE();
  VEC3F r = d.CROSS(vup);
  VEC3F u = r.CROSS(d);  // from R before it is normalized
  r.NORMALIZE();
  u.NORMALIZE();
  // Columns -R, U, D.
  M[0] = -r.X, M[1] = u.X, M[2] = d.X, M[3] = 0.0f;
  M[4] = -r.Y, M[5] = u.Y, M[6] = d.Y, M[7] = 0.0f;
  M[8] = -r.Z, M[9] = u.Z, M[10] = d.Z, M[11] = 0.0f;
  M[12] = 0.0f, M[13] = 0.0f, M[14] = 0.0f, M[15] = 1.0f;
  // Move the eye to the origin before turning.
  MATRIX matrix2(0.0f);
  matrix2.LOADIDENTITY();
  matrix2.set_position(-v1);
  *this *= matrix2;
}

void MATRIX::POINTAT(const VEC3F& v1, const VEC3F& v2) {
  VEC3F d = v1 - v2;
  d.NORMALIZE();
  // Looking straight up or down: world up would be parallel to D.
  VEC3F u(0, 1, 0);
  if (std::fabs(double(d.Y)) > 0.9999) u = VEC3F(0, 0, 1);
  VEC3F r = -(d.CROSS(u));
  r.NORMALIZE();
  u = -(r.CROSS(d));
  u.NORMALIZE();
  *this = MATRIX(r, u, d, v1);
}

MATRIX MATRIX::INVERSE() const {
  MATRIX t(0.0f);
  t.M[0] = M[0], t.M[1] = M[4], t.M[2] = M[8];
  t.M[4] = M[1], t.M[5] = M[5], t.M[6] = M[9];
  t.M[8] = M[2], t.M[9] = M[6], t.M[10] = M[10];
  t.M[3] = 0.0f, t.M[7] = 0.0f, t.M[11] = 0.0f, t.M[15] = 1.0f;
  t.M[12] = -(M[0] * M[12]) - M[1] * M[13] - M[2] * M[14];
  t.M[13] = -(M[4] * M[12]) - M[5] * M[13] - M[6] * M[14];
  t.M[14] = -(M[8] * M[12]) - M[9] * M[13] - M[10] * M[14];
  return t;
}

MATRIX MATRIX::PLANARPROJECTION(const VEC4F& lightpos, const VEC4F& plane) const {
  const float l[4] = {lightpos.X, lightpos.Y, lightpos.Z, lightpos.W};
  const float p[4] = {plane.X, plane.Y, plane.Z, plane.W};
  const float xx = l[0] * p[0], yy = l[1] * p[1], zz = l[2] * p[2], ww = l[3] * p[3];
  const float dot = ((yy + xx) + zz) + ww;
  // A point p maps to DOT * p - (p . PLANE) * LIGHTPOS: entry 4i + j is
  // DOT - L[j] * P[i] on the diagonal and -L[j] * P[i] elsewhere.
  MATRIX t(0.0f);
  for (int i = 0; i < 4; ++i) {
    for (int j = 0; j < 4; ++j) t.M[4 * i + j] = -l[j] * p[i];
  }
  t.M[0] = dot - xx;
  t.M[5] = dot - yy;
  t.M[10] = dot - zz;
  t.M[15] = dot - ww;
  return t;
}

void MATRIX::INFINITEPROJECTION(const float& fov, const float& aspect, const float& znear) {
  const float tangent = float(std::tan(double(fov)));
  const double k = 1.0 / double(tangent);
  *this = MATRIX(0.0f);
  M[0] = float(k / double(aspect));
  M[5] = float(k);
  M[10] = -1.0f;
  M[11] = -1.0f;
  M[14] = -2.0f * znear;
}

void MATRIX::PERSPECTIVE(float fov, float aspect, float znear, float zfar) {
  const float ymax = float(double(znear) * std::tan(double(fov) * 3.1415926 / 360.0));
  const float xmax = aspect * ymax;
  const float lft = -xmax, rght = xmax, bottom = -ymax, top = ymax;
  const float temp = float(2.0 * double(znear));
  const float temp2 = rght - lft, temp3 = top - bottom, temp4 = zfar - znear;
  *this = MATRIX(0.0f);
  M[0] = temp / temp2;
  M[5] = temp / temp3;
  M[8] = (lft + rght) / temp2;
  M[9] = (bottom + top) / temp3;
  M[10] = (-zfar - znear) / temp4;
  M[11] = -1.0f;
  M[14] = (-temp * zfar) / temp4;
}

void MATRIX::AXISANGLE(VEC3F& v, const float& angle) {
  const double radians = double(angle) * DEGREES;
  const float tc = float(std::cos(radians));
  const float ts = float(std::sin(radians));
  const float tt = float(1.0 - double(tc));
  v.NORMALIZE();
  const float x = v.X, y = v.Y, z = v.Z;
  M[0] = (x * x) * tt + tc;
  M[5] = (y * y) * tt + tc;
  M[10] = (z * z) * tt + tc;
  float tmp1 = (y * x) * tt, tmp2 = ts * z;
  M[4] = tmp2 + tmp1;
  M[1] = tmp1 - tmp2;
  tmp1 = (z * x) * tt, tmp2 = ts * y;
  M[8] = tmp1 - tmp2;
  M[2] = tmp2 + tmp1;
  tmp1 = (z * y) * tt, tmp2 = ts * x;
  M[9] = tmp2 + tmp1;
  M[6] = tmp1 - tmp2;
  M[15] = 1.0f;
}

void MATRIX::TRANSLATE(const VEC3F& v) {
  MATRIX t(0.0f);
  t.LOADIDENTITY();
  t.set_position(v);
  *this *= t;
}

void MATRIX::TRANSLATE(const VEC2F& v) { TRANSLATE(VEC3F(v.X, v.Y, 0.0f)); }

void MATRIX::TRANSLATE(const float& x, const float& y, const float& z) {
  TRANSLATE(VEC3F(x, y, z));
}

void MATRIX::TRANSLATE(const int32_t& x, const int32_t& y, const int32_t& z) {
  TRANSLATE(VEC3F(float(x), float(y), float(z)));
}

void MATRIX::rotate_about(int axis, double radians) {
  const float tcos = float(std::cos(radians));
  const float tsin = float(std::sin(radians));
  MATRIX tm(0.0f);
  tm.LOADIDENTITY();
  if (axis == 0) {
    tm.M[5] = tcos, tm.M[6] = tsin, tm.M[9] = -tsin, tm.M[10] = tcos;
  } else if (axis == 1) {
    tm.M[0] = tcos, tm.M[2] = -tsin, tm.M[8] = tsin, tm.M[10] = tcos;
  } else {
    tm.M[0] = tcos, tm.M[1] = tsin, tm.M[4] = -tsin, tm.M[5] = tcos;
  }
  *this *= tm;
}

void MATRIX::ROTATE(const float& anglex, const float& angley, const float& anglez) {
  // A zero angle costs no multiplication; NaN (which compares unequal to
  // everything) is skipped the same way rather than poisoning the matrix.
  const float angles[3] = {anglex, angley, anglez};
  for (int axis = 0; axis < 3; ++axis) {
    const float a = angles[axis];
    if (a == 0.0f || a != a) continue;
    rotate_about(axis, double(a) * DEGREES);
  }
}

void MATRIX::ROTATE(const int32_t& anglex, const int32_t& angley, const int32_t& anglez) {
  const int32_t angles[3] = {anglex, angley, anglez};
  for (int axis = 0; axis < 3; ++axis) {
    if (angles[axis] == 0) continue;
    rotate_about(axis, double(angles[axis]) * DEGREES);
  }
}

void MATRIX::ROTATE(const VEC3F& v) { ROTATE(v.X, v.Y, v.Z); }

void MATRIX::SCALE(const float& scalar) { SCALE(scalar, scalar, scalar); }

void MATRIX::SCALE(const float& scalarx, const float& scalary, const float& scalarz) {
  MATRIX temp(0.0f);
  temp.LOADIDENTITY();
  temp.M[0] = scalarx, temp.M[5] = scalary, temp.M[10] = scalarz;
  *this *= temp;
}

// The frame is built by one Gram-Schmidt step:
//   F = D / sqrt(D . D)
//   A = (-F.Y, F.Z, 0) when |F.Z| > 0.577, else (-F.Y, F.X, 0). A is never
//       zero and never parallel to F (F has a Z part whenever A has none of F's
//       direction), so the step below is well defined for any non-zero D.
//   R = A - F * (F . A), normalized: the part of A at right angles to F.
//   U = F x R, which is already of unit length.
// The rows R, U, F form a right-handed orthonormal frame (R x U = F), like the
// identity's rows. A zero D gives NaN rows, as a degenerate input should.
void MATRIX::GRAM_SCHMIDT(const VEC3F& d) {
  LOADIDENTITY();
  const VEC3F f = d * (1.0f / std::sqrt(d.DOT(d)));
  const VEC3F aux = std::fabs(f.Z) > 0.577f ? VEC3F(-f.Y, f.Z, 0.0f) : VEC3F(-f.Y, f.X, 0.0f);
  VEC3F r = aux - f * f.DOT(aux);
  r.NORMALIZE();
  const VEC3F u = f.CROSS(r);
  set_right(r);
  set_up(u);
  set_forward(f);
  set_position(VEC3F(0, 0, 0));
}

void VMAT::ROTATE(float x, float y, float z) {
  const float cx = float(std::cos(double(x))), sx = float(std::sin(double(x)));
  const float cy = float(std::cos(double(y))), sy = float(std::sin(double(y)));
  const float cz = float(std::cos(double(z))), sz = float(std::sin(double(z)));
  VMAT v = *this;
  // Pitch: forward tips towards up; up is re-derived as R x F.
  v.F = v.F * cx + v.U * sx;
  v.F.NORMALIZE();
  v.U = v.F.CROSS(v.R);
  v.U *= -1.0f;
  // Yaw: forward turns away from right; right is re-derived as F x U.
  v.F = v.F * cy - v.R * sy;
  v.F.NORMALIZE();
  v.R = v.F.CROSS(v.U);
  // Roll: right tips towards up; up is re-derived as R x F.
  v.R = v.R * cz + v.U * sz;
  v.R.NORMALIZE();
  v.U = v.F.CROSS(v.R);
  v.U *= -1.0f;
  *this = v;
}

}  // namespace NMATHF
