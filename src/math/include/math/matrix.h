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
  VMAT(const VEC3F& R_, const VEC3F& U_, const VEC3F& F_, const VEC3F& P_)
      : R(R_), U(U_), F(F_), P(P_) {}
  VMAT(const VMAT&) = default;
  VMAT& operator=(const VMAT&) = default;

  // Turns the frame about its own axes by pitch X, yaw Y and roll Z (radians),
  // re-deriving one axis by a cross product in each step; P is unchanged.
  // Afterwards U = R x F and R = F x U.
  void ROTATE(float X, float Y, float Z);
};

struct MATRIX {
  float M[16];

  // All sixteen entries C. Explicit, so a scalar never turns into a matrix
  // behind an operator; callers write MATRIX(0) and then LOADIDENTITY().
  explicit MATRIX(const float& C) : M{C, C, C, C, C, C, C, C, C, C, C, C, C, C, C, C} {}
  // Rows R, U, F with 0 in column 3, and P with 1.
  MATRIX(const VEC3F& R, const VEC3F& U, const VEC3F& F, const VEC3F& P)
      : M{R.X, R.Y, R.Z, 0.0f, U.X, U.Y, U.Z, 0.0f,
          F.X, F.Y, F.Z, 0.0f, P.X, P.Y, P.Z, 1.0f} {}
  MATRIX(const MATRIX& X) = default;
  MATRIX& operator=(const MATRIX&) = default;

  void LOADIDENTITY() {
    M[0] = 1.0f, M[1] = 0.0f, M[2] = 0.0f, M[3] = 0.0f;
    M[4] = 0.0f, M[5] = 1.0f, M[6] = 0.0f, M[7] = 0.0f;
    M[8] = 0.0f, M[9] = 0.0f, M[10] = 1.0f, M[11] = 0.0f;
    M[12] = 0.0f, M[13] = 0.0f, M[14] = 0.0f, M[15] = 1.0f;
  }

  // This matrix becomes MAT times the old one (MAT acts first). MAT may be
  // this very matrix: the product goes through a temporary.
  MATRIX& operator*=(const MATRIX& MAT);

  // Sixteen lines "(I ) value" / "(I) value", each ending in CR LF.
  std::string TO_STRING() const;

  // The address of M[0]; the sixteen floats follow in index order.
  operator float*() { return M; }
  operator const float*() const { return M; }
  float* GETARRAYDATA() { return M; }
  const float* GETARRAYDATA() const { return M; }

  // A view matrix for the eye V1 looking at V2 with up direction VUP; the eye
  // looks along -Z of view space. Replaces the whole matrix.
  void LOOKAT(const VEC3F& V1, const VEC3F& V2, const VEC3F& VUP);
  // An object-to-world matrix at V1 whose local -Z faces V2. Replaces the matrix.
  void POINTAT(const VEC3F& V1, const VEC3F& V2);
  // The rigid-transform inverse (transposed rotation block, minus the rotated
  // translation). Exact only for rotations and translations.
  MATRIX INVERSE() const;
  // The planar shadow projection from LIGHTPOS onto PLANE, in homogeneous form.
  MATRIX PLANARPROJECTION(const VEC4F& LIGHTPOS, const VEC4F& PLANE) const;
  // A projection with its far plane at infinity; FOV in radians, not halved.
  void INFINITEPROJECTION(const float& FOV, const float& ASPECT, const float& ZNEAR);
  // The symmetric frustum; FOV the full vertical field of view in degrees.
  void PERSPECTIVE(float FOV, float ASPECT, float ZNEAR, float ZFAR);
  // Overwrites the rotation block with a turn by ANGLE degrees about V, clockwise
  // seen from the axis tip; normalizes the caller's V. Column 3 and the
  // translation entries keep their values, M[15] becomes 1.
  void AXISANGLE(VEC3F& V, const float& ANGLE);

  void TRANSLATE(const VEC2F& V);
  void TRANSLATE(const VEC3F& V);
  void TRANSLATE(const float& X, const float& Y, const float& Z);
  void TRANSLATE(const int32_t& X, const int32_t& Y, const int32_t& Z);

  // Composes right-hand-rule turns (degrees) about X, Y and Z; a point is turned
  // about Z first, then Y, then X. Angles of 0 or NaN are skipped.
  void ROTATE(const float& ANGLEX, const float& ANGLEY, const float& ANGLEZ);
  void ROTATE(const int32_t& ANGLEX, const int32_t& ANGLEY, const int32_t& ANGLEZ);
  void ROTATE(const VEC3F& V);

  void SCALE(const float& SCALAR);
  void SCALE(const float& SCALARX, const float& SCALARY, const float& SCALARZ);

  // Replaces the matrix with an orthonormal right-handed frame whose FORWARD
  // row is D normalized (see matrix.cpp for the construction).
  void GRAM_SCHMIDT(const VEC3F& D);

  // R, U, F, P = the first three entries of rows 0, 1, 2, 3.
  operator VMAT() const {
    return VMAT(VEC3F(M[0], M[1], M[2]), VEC3F(M[4], M[5], M[6]), VEC3F(M[8], M[9], M[10]),
                VEC3F(M[12], M[13], M[14]));
  }

  // Rows as VEC4F; a VEC3F sets a row's first three entries and leaves the
  // fourth, a VEC4F sets all four.
  VEC4F RIGHT() const { return ROW(0); }
  VEC4F UP() const { return ROW(4); }
  VEC4F FORWARD() const { return ROW(8); }
  VEC4F POSITION() const { return ROW(12); }
  void SET_RIGHT(const VEC3F& V) { SET_ROW(0, V); }
  void SET_RIGHT(const VEC4F& V) { SET_ROW(0, V); }
  void SET_UP(const VEC3F& V) { SET_ROW(4, V); }
  void SET_UP(const VEC4F& V) { SET_ROW(4, V); }
  void SET_FORWARD(const VEC3F& V) { SET_ROW(8, V); }
  void SET_FORWARD(const VEC4F& V) { SET_ROW(8, V); }
  void SET_POSITION(const VEC3F& V) { SET_ROW(12, V); }
  void SET_POSITION(const VEC4F& V) { SET_ROW(12, V); }

 private:
  VEC4F ROW(int FIRST) const {
    return VEC4F(M[FIRST], M[FIRST + 1], M[FIRST + 2], M[FIRST + 3]);
  }
  void SET_ROW(int FIRST, const VEC3F& V) {
    M[FIRST] = V.X, M[FIRST + 1] = V.Y, M[FIRST + 2] = V.Z;
  }
  void SET_ROW(int FIRST, const VEC4F& V) {
    M[FIRST] = V.X, M[FIRST + 1] = V.Y, M[FIRST + 2] = V.Z, M[FIRST + 3] = V.W;
  }
  // One axis step of ROTATE: AXIS 0, 1, 2 for X, Y, Z; RADIANS in double.
  void ROTATE_ABOUT(int AXIS, double RADIANS);
};

// The model transform reads the entries straight through the float pointer.
static_assert(sizeof(MATRIX) == 16 * sizeof(float));
static_assert(std::is_standard_layout_v<MATRIX> && std::is_trivially_copyable_v<MATRIX>);
static_assert(std::is_trivially_copyable_v<VMAT>);

namespace DETAIL {
// Entry 4i + j of the product: row i of B run through column j of A, added left
// to right.
inline float PRODUCT_ENTRY(const float* A, const float* B, int I, int J) {
  return A[J] * B[4 * I] + A[4 + J] * B[4 * I + 1] + A[8 + J] * B[4 * I + 2] +
         A[12 + J] * B[4 * I + 3];
}
// ((x*M[j] + y*M[4+j]) + z*M[8+j]) + M[12+j]: the point counts as (x, y, z, 1).
inline float POINT_ENTRY(float X, float Y, float Z, const float* M, int J) {
  return ((X * M[J] + Y * M[4 + J]) + Z * M[8 + J]) + M[12 + J];
}
}  // namespace DETAIL

inline MATRIX& MATRIX::operator*=(const MATRIX& MAT) {
  using DETAIL::PRODUCT_ENTRY;
  const float* A = M;
  const float* B = MAT.M;
  const float T[16] = {
      PRODUCT_ENTRY(A, B, 0, 0), PRODUCT_ENTRY(A, B, 0, 1), PRODUCT_ENTRY(A, B, 0, 2),
      PRODUCT_ENTRY(A, B, 0, 3), PRODUCT_ENTRY(A, B, 1, 0), PRODUCT_ENTRY(A, B, 1, 1),
      PRODUCT_ENTRY(A, B, 1, 2), PRODUCT_ENTRY(A, B, 1, 3), PRODUCT_ENTRY(A, B, 2, 0),
      PRODUCT_ENTRY(A, B, 2, 1), PRODUCT_ENTRY(A, B, 2, 2), PRODUCT_ENTRY(A, B, 2, 3),
      PRODUCT_ENTRY(A, B, 3, 0), PRODUCT_ENTRY(A, B, 3, 1), PRODUCT_ENTRY(A, B, 3, 2),
      PRODUCT_ENTRY(A, B, 3, 3)};
  M[0] = T[0], M[1] = T[1], M[2] = T[2], M[3] = T[3];
  M[4] = T[4], M[5] = T[5], M[6] = T[6], M[7] = T[7];
  M[8] = T[8], M[9] = T[9], M[10] = T[10], M[11] = T[11];
  M[12] = T[12], M[13] = T[13], M[14] = T[14], M[15] = T[15];
  return *this;
}

// A copy of LHS with *= RHS applied: RHS acts first.
inline MATRIX operator*(const MATRIX& LHS, const MATRIX& RHS) {
  MATRIX T(LHS);
  T *= RHS;
  return T;
}

// z counts as 0; no W and no division.
inline VEC2F operator*(const VEC2F& V, const MATRIX& MAT) {
  const float* M = MAT.M;
  return VEC2F((V.X * M[0] + V.Y * M[4]) + M[12], (V.X * M[1] + V.Y * M[5]) + M[13]);
}

// The point (X, Y, Z, 1) times the matrix; no division by W.
inline VEC4F operator*(const VEC3F& V, const MATRIX& MAT) {
  using DETAIL::POINT_ENTRY;
  return VEC4F(POINT_ENTRY(V.X, V.Y, V.Z, MAT.M, 0), POINT_ENTRY(V.X, V.Y, V.Z, MAT.M, 1),
               POINT_ENTRY(V.X, V.Y, V.Z, MAT.M, 2), POINT_ENTRY(V.X, V.Y, V.Z, MAT.M, 3));
}

// The same sums: the input's W is not read and counts as 1.
inline VEC4F operator*(const VEC4F& V, const MATRIX& MAT) {
  return VEC3F(V.X, V.Y, V.Z) * MAT;
}

// X, Y, Z of the product; W is discarded, no division.
inline VEC3F& operator*=(VEC3F& V, const MATRIX& MAT) {
  V = VEC3F(V * MAT);
  return V;
}

inline VEC4F& operator*=(VEC4F& V, const MATRIX& MAT) {
  V = V * MAT;
  return V;
}

}  // namespace NMATHF
