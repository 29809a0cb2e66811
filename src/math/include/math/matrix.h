// 4x4 single-precision matrix MATRIX, the vector-times-matrix products, and the
// camera or object frame VMAT.
//
// Row-vector convention: a point (x, y, z) is the row (x, y, z, 1) multiplied on
// the left, so result component j = x*M[j] + y*M[4+j] + z*M[8+j] + M[12+j].
// Row 0 is RIGHT, row 1 UP, row 2 FORWARD, row 3 POSITION (the translation).
// A *= B makes B act on points before A; TRANSLATE, ROTATE and SCALE prepend.
#pragma once

#include <cstdint>
#include <string>
#include <type_traits>

#include "math/vec.h"

namespace NMATHF {

// A frame: right, up, forward and position. The camera is one.
struct VMAT {
  VEC3F R, U, F, P;

  VMAT() : R(1, 0, 0), U(0, 1, 0), F(0, 0, 1), P(0, 0, 0) {}
  VMAT(const VEC3F& r_, const VEC3F& u_, const VEC3F& f_, const VEC3F& p_)
      : R(r_), U(u_), F(f_), P(p_) {}
  VMAT(const VMAT&) = default;
  VMAT& operator=(const VMAT&) = default;

  // Turns the frame about its own axes by pitch X, yaw Y and roll Z (radians),
  // re-deriving one axis by a cross product in each step; P is unchanged.
  // Afterwards U = R x F and R = F x U.
  void ROTATE(float x, float y, float z);
};

struct MATRIX {
  float M[16];

  // All sixteen entries C. Explicit, so a scalar never turns into a matrix
  // behind an operator; callers write MATRIX(0) and then LOADIDENTITY().
  explicit MATRIX(const float& c) : M{c, c, c, c, c, c, c, c, c, c, c, c, c, c, c, c} {}
  // Rows R, U, F with 0 in column 3, and P with 1.
  MATRIX(const VEC3F& r, const VEC3F& u, const VEC3F& f, const VEC3F& p)
      : M{r.X, r.Y, r.Z, 0.0f, u.X, u.Y, u.Z, 0.0f,
          f.X, f.Y, f.Z, 0.0f, p.X, p.Y, p.Z, 1.0f} {}
  MATRIX(const MATRIX& x) = default;
  MATRIX& operator=(const MATRIX&) = default;

  void LOADIDENTITY() {
    M[0] = 1.0f, M[1] = 0.0f, M[2] = 0.0f, M[3] = 0.0f;
    M[4] = 0.0f, M[5] = 1.0f, M[6] = 0.0f, M[7] = 0.0f;
    M[8] = 0.0f, M[9] = 0.0f, M[10] = 1.0f, M[11] = 0.0f;
    M[12] = 0.0f, M[13] = 0.0f, M[14] = 0.0f, M[15] = 1.0f;
  }

  // This matrix becomes MAT times the old one (MAT acts first). MAT may be
  // this very matrix: the product goes through a temporary.
  MATRIX& operator*=(const MATRIX& mat);

  // Sixteen lines "(I ) value" / "(I) value", each ending in CR LF.
  std::string to_string() const;

  // The address of M[0]; the sixteen floats follow in index order.
  operator float*() { return M; }
  operator const float*() const { return M; }
  float* GETARRAYDATA() { return M; }
  const float* GETARRAYDATA() const { return M; }

  // A view matrix for the eye V1 looking at V2 with up direction VUP; the eye
  // looks along -Z of view space. Replaces the whole matrix.
  void LOOKAT(const VEC3F& v1, const VEC3F& v2, const VEC3F& vup);
  // An object-to-world matrix at V1 whose local -Z faces V2. Replaces the matrix.
  void POINTAT(const VEC3F& v1, const VEC3F& v2);
  // The rigid-transform inverse (transposed rotation block, minus the rotated
  // translation). Exact only for rotations and translations.
  MATRIX INVERSE() const;
  // The planar shadow projection from LIGHTPOS onto PLANE, in homogeneous form.
  MATRIX PLANARPROJECTION(const VEC4F& lightpos, const VEC4F& plane) const;
  // A projection with its far plane at infinity; FOV in radians, not halved.
  void INFINITEPROJECTION(const float& fov, const float& aspect, const float& znear);
  // The symmetric frustum; FOV the full vertical field of view in degrees.
  void PERSPECTIVE(float fov, float aspect, float znear, float zfar);
  // Overwrites the rotation block with a turn by ANGLE degrees about V, clockwise
  // seen from the axis tip; normalizes the caller's V. Column 3 and the
  // translation entries keep their values, M[15] becomes 1.
  void AXISANGLE(VEC3F& v, const float& angle);

  void TRANSLATE(const VEC2F& v);
  void TRANSLATE(const VEC3F& v);
  void TRANSLATE(const float& x, const float& y, const float& z);
  void TRANSLATE(const int32_t& x, const int32_t& y, const int32_t& z);

  // Composes right-hand-rule turns (degrees) about X, Y and Z; a point is turned
  // about Z first, then Y, then X. Angles of 0 or NaN are skipped.
  void ROTATE(const float& anglex, const float& angley, const float& anglez);
  void ROTATE(const int32_t& anglex, const int32_t& angley, const int32_t& anglez);
  void ROTATE(const VEC3F& v);

  void SCALE(const float& scalar);
  void SCALE(const float& scalarx, const float& scalary, const float& scalarz);

  // Replaces the matrix with an orthonormal right-handed frame whose FORWARD
  // row is D normalized (see matrix.cpp for the construction).
  void GRAM_SCHMIDT(const VEC3F& d);

  // R, U, F, P = the first three entries of rows 0, 1, 2, 3.
  operator VMAT() const {
    return VMAT(VEC3F(M[0], M[1], M[2]), VEC3F(M[4], M[5], M[6]), VEC3F(M[8], M[9], M[10]),
                VEC3F(M[12], M[13], M[14]));
  }

  // Rows as VEC4F; a VEC3F sets a row's first three entries and leaves the
  // fourth, a VEC4F sets all four.
  VEC4F RIGHT() const { return row(0); }
  VEC4F UP() const { return row(4); }
  VEC4F FORWARD() const { return row(8); }
  VEC4F POSITION() const { return row(12); }
  void set_right(const VEC3F& v) { set_row(0, v); }
  void set_right(const VEC4F& v) { set_row(0, v); }
  void set_up(const VEC3F& v) { set_row(4, v); }
  void set_up(const VEC4F& v) { set_row(4, v); }
  void set_forward(const VEC3F& v) { set_row(8, v); }
  void set_forward(const VEC4F& v) { set_row(8, v); }
  void set_position(const VEC3F& v) { set_row(12, v); }
  void set_position(const VEC4F& v) { set_row(12, v); }

 private:
  VEC4F row(int first) const {
    return VEC4F(M[first], M[first + 1], M[first + 2], M[first + 3]);
  }
  void set_row(int first, const VEC3F& v) {
    M[first] = v.X, M[first + 1] = v.Y, M[first + 2] = v.Z;
  }
  void set_row(int first, const VEC4F& v) {
    M[first] = v.X, M[first + 1] = v.Y, M[first + 2] = v.Z, M[first + 3] = v.W;
  }
  // One axis step of ROTATE: AXIS 0, 1, 2 for X, Y, Z; RADIANS in double.
  void rotate_about(int axis, double radians);
};

// The model transform reads the entries straight through the float pointer.
static_assert(sizeof(MATRIX) == 16 * sizeof(float));
static_assert(std::is_standard_layout_v<MATRIX> && std::is_trivially_copyable_v<MATRIX>);
static_assert(std::is_trivially_copyable_v<VMAT>);

namespace detail {
// Entry 4i + j of the product: row i of B run through column j of A, added left
// to right.
inline float product_entry(const float* a, const float* b, int i, int j) {
  return a[j] * b[4 * i] + a[4 + j] * b[4 * i + 1] + a[8 + j] * b[4 * i + 2] +
         a[12 + j] * b[4 * i + 3];
}
// ((x*M[j] + y*M[4+j]) + z*M[8+j]) + M[12+j]: the point counts as (x, y, z, 1).
inline float point_entry(float x, float y, float z, const float* m, int j) {
  return ((x * m[j] + y * m[4 + j]) + z * m[8 + j]) + m[12 + j];
}
}  // namespace DETAIL

inline MATRIX& MATRIX::operator*=(const MATRIX& mat) {
  using detail::product_entry;
  const float* a = M;
  const float* b = mat.M;
  const float t[16] = {
      product_entry(a, b, 0, 0), product_entry(a, b, 0, 1), product_entry(a, b, 0, 2),
      product_entry(a, b, 0, 3), product_entry(a, b, 1, 0), product_entry(a, b, 1, 1),
      product_entry(a, b, 1, 2), product_entry(a, b, 1, 3), product_entry(a, b, 2, 0),
      product_entry(a, b, 2, 1), product_entry(a, b, 2, 2), product_entry(a, b, 2, 3),
      product_entry(a, b, 3, 0), product_entry(a, b, 3, 1), product_entry(a, b, 3, 2),
      product_entry(a, b, 3, 3)};
  M[0] = t[0], M[1] = t[1], M[2] = t[2], M[3] = t[3];
  M[4] = t[4], M[5] = t[5], M[6] = t[6], M[7] = t[7];
  M[8] = t[8], M[9] = t[9], M[10] = t[10], M[11] = t[11];
  M[12] = t[12], M[13] = t[13], M[14] = t[14], M[15] = t[15];
  return *this;
}

// A copy of LHS with *= RHS applied: RHS acts first.
inline MATRIX operator*(const MATRIX& lhs, const MATRIX& rhs) {
  MATRIX t(lhs);
  t *= rhs;
  return t;
}

// z counts as 0; no W and no division.
inline VEC2F operator*(const VEC2F& v, const MATRIX& mat) {
  const float* m = mat.M;
  return VEC2F((v.X * m[0] + v.Y * m[4]) + m[12], (v.X * m[1] + v.Y * m[5]) + m[13]);
}

// The point (X, Y, Z, 1) times the matrix; no division by W.
inline VEC4F operator*(const VEC3F& v, const MATRIX& mat) {
  using detail::point_entry;
  return VEC4F(point_entry(v.X, v.Y, v.Z, mat.M, 0), point_entry(v.X, v.Y, v.Z, mat.M, 1),
               point_entry(v.X, v.Y, v.Z, mat.M, 2), point_entry(v.X, v.Y, v.Z, mat.M, 3));
}

// The same sums: the input's W is not read and counts as 1.
inline VEC4F operator*(const VEC4F& v, const MATRIX& mat) {
  return VEC3F(v.X, v.Y, v.Z) * mat;
}

// X, Y, Z of the product; W is discarded, no division.
inline VEC3F& operator*=(VEC3F& v, const MATRIX& mat) {
  v = VEC3F(v * mat);
  return v;
}

inline VEC4F& operator*=(VEC4F& v, const MATRIX& mat) {
  v = v * mat;
  return v;
}

}  // namespace NMATHF
