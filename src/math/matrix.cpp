#include "math/matrix.h"

#include <cmath>

namespace NMATHF {

namespace {
// Degrees to radians, in double: 3.1415926 / 180.
constexpr double DEGREES = 0.017453292222222222;
}  // namespace

std::string MATRIX::TO_STRING() const {
  // The index is padded to two places so the values line up; no part of a line
  // produces blanks at its ends, so there is nothing to trim.
  std::string TEXT;
  for (int I = 0; I < 16; ++I) {
    TEXT += '(';
    TEXT += std::to_string(I);
    TEXT += I <= 9 ? " ) " : ") ";
    TEXT += NUMBER_TEXT(M[I]);
    TEXT += "\r\n";
  }
  return TEXT;
}

void MATRIX::LOOKAT(const VEC3F& V1, const VEC3F& V2, const VEC3F& VUP) {
  VEC3F D = V1 - V2;  // from the target back to the eye
  D.NORMALIZE();
  VEC3F R = D.CROSS(VUP);
  VEC3F U = R.CROSS(D);  // from R before it is normalized
  R.NORMALIZE();
  U.NORMALIZE();
  // Columns -R, U, D.
  M[0] = -R.X, M[1] = U.X, M[2] = D.X, M[3] = 0.0f;
  M[4] = -R.Y, M[5] = U.Y, M[6] = D.Y, M[7] = 0.0f;
  M[8] = -R.Z, M[9] = U.Z, M[10] = D.Z, M[11] = 0.0f;
  M[12] = 0.0f, M[13] = 0.0f, M[14] = 0.0f, M[15] = 1.0f;
  // Move the eye to the origin before turning.
  MATRIX MATRIX2(0.0f);
  MATRIX2.LOADIDENTITY();
  MATRIX2.SET_POSITION(-V1);
  *this *= MATRIX2;
}

void MATRIX::POINTAT(const VEC3F& V1, const VEC3F& V2) {
  VEC3F D = V1 - V2;
  D.NORMALIZE();
  // Looking straight up or down: world up would be parallel to D.
  VEC3F U(0, 1, 0);
  if (std::fabs(double(D.Y)) > 0.9999) U = VEC3F(0, 0, 1);
  VEC3F R = -(D.CROSS(U));
  R.NORMALIZE();
  U = -(R.CROSS(D));
  U.NORMALIZE();
  *this = MATRIX(R, U, D, V1);
}

MATRIX MATRIX::INVERSE() const {
  MATRIX T(0.0f);
  T.M[0] = M[0], T.M[1] = M[4], T.M[2] = M[8];
  T.M[4] = M[1], T.M[5] = M[5], T.M[6] = M[9];
  T.M[8] = M[2], T.M[9] = M[6], T.M[10] = M[10];
  T.M[3] = 0.0f, T.M[7] = 0.0f, T.M[11] = 0.0f, T.M[15] = 1.0f;
  T.M[12] = -(M[0] * M[12]) - M[1] * M[13] - M[2] * M[14];
  T.M[13] = -(M[4] * M[12]) - M[5] * M[13] - M[6] * M[14];
  T.M[14] = -(M[8] * M[12]) - M[9] * M[13] - M[10] * M[14];
  return T;
}

MATRIX MATRIX::PLANARPROJECTION(const VEC4F& LIGHTPOS, const VEC4F& PLANE) const {
  const float L[4] = {LIGHTPOS.X, LIGHTPOS.Y, LIGHTPOS.Z, LIGHTPOS.W};
  const float P[4] = {PLANE.X, PLANE.Y, PLANE.Z, PLANE.W};
  const float XX = L[0] * P[0], YY = L[1] * P[1], ZZ = L[2] * P[2], WW = L[3] * P[3];
  const float DOT = ((YY + XX) + ZZ) + WW;
  // A point p maps to DOT * p - (p . PLANE) * LIGHTPOS: entry 4i + j is
  // DOT - L[j] * P[i] on the diagonal and -L[j] * P[i] elsewhere.
  MATRIX T(0.0f);
  for (int I = 0; I < 4; ++I) {
    for (int J = 0; J < 4; ++J) T.M[4 * I + J] = -L[J] * P[I];
  }
  T.M[0] = DOT - XX;
  T.M[5] = DOT - YY;
  T.M[10] = DOT - ZZ;
  T.M[15] = DOT - WW;
  return T;
}

void MATRIX::INFINITEPROJECTION(const float& FOV, const float& ASPECT, const float& ZNEAR) {
  const float TANGENT = float(std::tan(double(FOV)));
  const double K = 1.0 / double(TANGENT);
  *this = MATRIX(0.0f);
  M[0] = float(K / double(ASPECT));
  M[5] = float(K);
  M[10] = -1.0f;
  M[11] = -1.0f;
  M[14] = -2.0f * ZNEAR;
}

void MATRIX::PERSPECTIVE(float FOV, float ASPECT, float ZNEAR, float ZFAR) {
  const float YMAX = float(double(ZNEAR) * std::tan(double(FOV) * 3.1415926 / 360.0));
  const float XMAX = ASPECT * YMAX;
  const float LFT = -XMAX, RGHT = XMAX, BOTTOM = -YMAX, TOP = YMAX;
  const float TEMP = float(2.0 * double(ZNEAR));
  const float TEMP2 = RGHT - LFT, TEMP3 = TOP - BOTTOM, TEMP4 = ZFAR - ZNEAR;
  *this = MATRIX(0.0f);
  M[0] = TEMP / TEMP2;
  M[5] = TEMP / TEMP3;
  M[8] = (LFT + RGHT) / TEMP2;
  M[9] = (BOTTOM + TOP) / TEMP3;
  M[10] = (-ZFAR - ZNEAR) / TEMP4;
  M[11] = -1.0f;
  M[14] = (-TEMP * ZFAR) / TEMP4;
}

void MATRIX::AXISANGLE(VEC3F& V, const float& ANGLE) {
  const double RADIANS = double(ANGLE) * DEGREES;
  const float TC = float(std::cos(RADIANS));
  const float TS = float(std::sin(RADIANS));
  const float TT = float(1.0 - double(TC));
  V.NORMALIZE();
  const float X = V.X, Y = V.Y, Z = V.Z;
  M[0] = (X * X) * TT + TC;
  M[5] = (Y * Y) * TT + TC;
  M[10] = (Z * Z) * TT + TC;
  float TMP1 = (Y * X) * TT, TMP2 = TS * Z;
  M[4] = TMP2 + TMP1;
  M[1] = TMP1 - TMP2;
  TMP1 = (Z * X) * TT, TMP2 = TS * Y;
  M[8] = TMP1 - TMP2;
  M[2] = TMP2 + TMP1;
  TMP1 = (Z * Y) * TT, TMP2 = TS * X;
  M[9] = TMP2 + TMP1;
  M[6] = TMP1 - TMP2;
  M[15] = 1.0f;
}

void MATRIX::TRANSLATE(const VEC3F& V) {
  MATRIX T(0.0f);
  T.LOADIDENTITY();
  T.SET_POSITION(V);
  *this *= T;
}

void MATRIX::TRANSLATE(const VEC2F& V) { TRANSLATE(VEC3F(V.X, V.Y, 0.0f)); }

void MATRIX::TRANSLATE(const float& X, const float& Y, const float& Z) {
  TRANSLATE(VEC3F(X, Y, Z));
}

void MATRIX::TRANSLATE(const int32_t& X, const int32_t& Y, const int32_t& Z) {
  TRANSLATE(VEC3F(float(X), float(Y), float(Z)));
}

void MATRIX::ROTATE_ABOUT(int AXIS, double RADIANS) {
  const float TCOS = float(std::cos(RADIANS));
  const float TSIN = float(std::sin(RADIANS));
  MATRIX TM(0.0f);
  TM.LOADIDENTITY();
  if (AXIS == 0) {
    TM.M[5] = TCOS, TM.M[6] = TSIN, TM.M[9] = -TSIN, TM.M[10] = TCOS;
  } else if (AXIS == 1) {
    TM.M[0] = TCOS, TM.M[2] = -TSIN, TM.M[8] = TSIN, TM.M[10] = TCOS;
  } else {
    TM.M[0] = TCOS, TM.M[1] = TSIN, TM.M[4] = -TSIN, TM.M[5] = TCOS;
  }
  *this *= TM;
}

void MATRIX::ROTATE(const float& ANGLEX, const float& ANGLEY, const float& ANGLEZ) {
  // A zero angle costs no multiplication; NaN (which compares unequal to
  // everything) is skipped the same way rather than poisoning the matrix.
  const float ANGLES[3] = {ANGLEX, ANGLEY, ANGLEZ};
  for (int AXIS = 0; AXIS < 3; ++AXIS) {
    const float A = ANGLES[AXIS];
    if (A == 0.0f || A != A) continue;
    ROTATE_ABOUT(AXIS, double(A) * DEGREES);
  }
}

void MATRIX::ROTATE(const int32_t& ANGLEX, const int32_t& ANGLEY, const int32_t& ANGLEZ) {
  const int32_t ANGLES[3] = {ANGLEX, ANGLEY, ANGLEZ};
  for (int AXIS = 0; AXIS < 3; ++AXIS) {
    if (ANGLES[AXIS] == 0) continue;
    ROTATE_ABOUT(AXIS, double(ANGLES[AXIS]) * DEGREES);
  }
}

void MATRIX::ROTATE(const VEC3F& V) { ROTATE(V.X, V.Y, V.Z); }

void MATRIX::SCALE(const float& SCALAR) { SCALE(SCALAR, SCALAR, SCALAR); }

void MATRIX::SCALE(const float& SCALARX, const float& SCALARY, const float& SCALARZ) {
  MATRIX TEMP(0.0f);
  TEMP.LOADIDENTITY();
  TEMP.M[0] = SCALARX, TEMP.M[5] = SCALARY, TEMP.M[10] = SCALARZ;
  *this *= TEMP;
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
void MATRIX::GRAM_SCHMIDT(const VEC3F& D) {
  LOADIDENTITY();
  const VEC3F F = D * (1.0f / std::sqrt(D.DOT(D)));
  const VEC3F AUX = std::fabs(F.Z) > 0.577f ? VEC3F(-F.Y, F.Z, 0.0f) : VEC3F(-F.Y, F.X, 0.0f);
  VEC3F R = AUX - F * F.DOT(AUX);
  R.NORMALIZE();
  const VEC3F U = F.CROSS(R);
  SET_RIGHT(R);
  SET_UP(U);
  SET_FORWARD(F);
  SET_POSITION(VEC3F(0, 0, 0));
}

void VMAT::ROTATE(float X, float Y, float Z) {
  const float CX = float(std::cos(double(X))), SX = float(std::sin(double(X)));
  const float CY = float(std::cos(double(Y))), SY = float(std::sin(double(Y)));
  const float CZ = float(std::cos(double(Z))), SZ = float(std::sin(double(Z)));
  VMAT V = *this;
  // Pitch: forward tips towards up; up is re-derived as R x F.
  V.F = V.F * CX + V.U * SX;
  V.F.NORMALIZE();
  V.U = V.F.CROSS(V.R);
  V.U *= -1.0f;
  // Yaw: forward turns away from right; right is re-derived as F x U.
  V.F = V.F * CY - V.R * SY;
  V.F.NORMALIZE();
  V.R = V.F.CROSS(V.U);
  // Roll: right tips towards up; up is re-derived as R x F.
  V.R = V.R * CZ + V.U * SZ;
  V.R.NORMALIZE();
  V.U = V.F.CROSS(V.R);
  V.U *= -1.0f;
  *this = V;
}

}  // namespace NMATHF
