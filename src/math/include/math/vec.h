// Vector value types of the math library: VEC2F, VEC3F, VEC4F.
//
// Plain records of single-precision floats, copied by value. Every operation is
// single precision with one rounding per operation in the order written, except
// where a comment says "in double" (widen, evaluate, round once).
//
// The operator set is closed on purpose: there is no scalar on the left, no
// VEC3F / integer and no VEC4F - scalar. The conversions that drop components
// (VEC3F -> VEC2F, VEC4F -> VEC3F) are explicit, so that a mixed expression
// such as VEC4F - float cannot compile by silently dropping W: write VEC3F(V4).
#pragma once

#include <cmath>
#include <cstdint>
#include <string>
#include <type_traits>

namespace NMATHF {

struct VEC2F;
struct VEC3F;
struct VEC4F;

// The text of one single: widened to double, "%.7g", a trailing point removed.
std::string NUMBER_TEXT(float VALUE);

// ------------------------------------------------------------------ records

struct VEC2F {
  float X, Y;

  VEC2F() : X(0.0f), Y(0.0f) {}
  VEC2F(float X_, float Y_) : X(X_), Y(Y_) {}
  VEC2F(double X_, double Y_) : X(float(X_)), Y(float(Y_)) {}
  VEC2F(const VEC2F& V2D) = default;
  VEC2F& operator=(const VEC2F&) = default;

  float DOT(const VEC2F& V) const;
  float MAGNITUDE() const;
  void NORMALIZE();
  VEC2F UNITVEC() const;
  VEC2F CROSS(const VEC2F& V) const;
  float CROSS_ANALOG(const VEC2F& V) const;
  float DISTANCE(const VEC2F& V) const;
  float ANGLEBETWEEN(const VEC2F& V) const;
  std::string TO_STRING() const;
};

struct VEC3F {
  float X, Y, Z;

  VEC3F() : X(0.0f), Y(0.0f), Z(0.0f) {}
  VEC3F(float X_, float Y_, float Z_) : X(X_), Y(Y_), Z(Z_) {}
  VEC3F(const VEC3F& V3D) = default;
  VEC3F& operator=(const VEC3F&) = default;

  // (X, Y): Z is dropped.
  explicit operator VEC2F() const { return VEC2F(X, Y); }

  float DOT(const VEC3F& V) const;
  float MAGNITUDE() const;
  void NORMALIZE();
  VEC3F UNITVEC() const;
  VEC3F CROSS(const VEC3F& V) const;
  float DISTANCE(const VEC3F& V) const;
  float ANGLEBETWEEN(const VEC3F& V) const;
  std::string TO_STRING() const;
};

struct VEC4F {
  float X, Y, Z, W;

  // The default W is 0, not 1.
  VEC4F() : X(0.0f), Y(0.0f), Z(0.0f), W(0.0f) {}
  VEC4F(float X_, float Y_, float Z_, double W_) : X(X_), Y(Y_), Z(Z_), W(float(W_)) {}
  VEC4F(const VEC4F& V4D) = default;
  VEC4F& operator=(const VEC4F&) = default;

  // (X, Y, Z): W is dropped, there is no division by W.
  explicit operator VEC3F() const { return VEC3F(X, Y, Z); }

  float DOT(const VEC4F& V) const;
  float MAGNITUDE() const;
  void NORMALIZE();
  VEC4F UNITVEC() const;
  VEC4F CROSS(const VEC4F& V) const;
  float DISTANCE(const VEC4F& V) const;
  std::string TO_STRING() const;
};

// Arrays of vectors are walked as consecutive floats (triangles, segments,
// vertex arrays), so the records must stay exactly their floats.
static_assert(sizeof(VEC2F) == 2 * sizeof(float));
static_assert(sizeof(VEC3F) == 3 * sizeof(float));
static_assert(sizeof(VEC4F) == 4 * sizeof(float));
static_assert(std::is_standard_layout_v<VEC3F> && std::is_trivially_copyable_v<VEC3F>);
static_assert(std::is_standard_layout_v<VEC4F> && std::is_trivially_copyable_v<VEC4F>);
static_assert(std::is_standard_layout_v<VEC2F> && std::is_trivially_copyable_v<VEC2F>);

// ------------------------------------------------------------------ VEC2F operators

inline VEC2F operator+(const VEC2F& L, const float& S) { return VEC2F(L.X + S, L.Y + S); }
inline VEC2F operator+(const VEC2F& L, const VEC2F& R) { return VEC2F(L.X + R.X, L.Y + R.Y); }
inline VEC2F operator-(const VEC2F& L, const VEC2F& R) { return VEC2F(L.X - R.X, L.Y - R.Y); }
inline VEC2F operator*(const VEC2F& L, const VEC2F& R) { return VEC2F(L.X * R.X, L.Y * R.Y); }
inline VEC2F operator*(const VEC2F& L, const float& S) { return VEC2F(L.X * S, L.Y * S); }
// In double.
inline VEC2F operator*(const VEC2F& L, const double& S) {
  return VEC2F(double(L.X) * S, double(L.Y) * S);
}
// In double, the integer converted to double.
inline VEC2F operator/(const VEC2F& L, const int32_t& I) {
  const double D = I;
  return VEC2F(double(L.X) / D, double(L.Y) / D);
}
inline VEC2F operator/(const VEC2F& L, const VEC2F& R) { return VEC2F(L.X / R.X, L.Y / R.Y); }
inline VEC2F operator/(const VEC2F& L, const float& S) { return VEC2F(L.X / S, L.Y / S); }
// In double.
inline VEC2F operator/(const VEC2F& L, const double& S) {
  return VEC2F(double(L.X) / S, double(L.Y) / S);
}

// ------------------------------------------------------------------ VEC3F operators

inline VEC3F operator+(const VEC3F& L, const float& S) { return VEC3F(L.X + S, L.Y + S, L.Z + S); }
inline VEC3F operator+(const VEC3F& L, const VEC3F& R) {
  return VEC3F(L.X + R.X, L.Y + R.Y, L.Z + R.Z);
}
// Builds the homogeneous vector (X, Y, Z, W = the double rounded to single).
inline VEC4F operator+(const VEC3F& L, const double& W) { return VEC4F(L.X, L.Y, L.Z, W); }
// Sign flip: 0 becomes -0.
inline VEC3F operator-(const VEC3F& V) { return VEC3F(-V.X, -V.Y, -V.Z); }
inline VEC3F operator-(const VEC3F& L, const VEC3F& R) {
  return VEC3F(L.X - R.X, L.Y - R.Y, L.Z - R.Z);
}
// W of the right operand is not read.
inline VEC3F operator-(const VEC3F& L, const VEC4F& R) {
  return VEC3F(L.X - R.X, L.Y - R.Y, L.Z - R.Z);
}
inline VEC3F operator-(const VEC3F& L, const float& S) { return VEC3F(L.X - S, L.Y - S, L.Z - S); }
// Component-wise product, not a dot or cross product.
inline VEC3F operator*(const VEC3F& L, const VEC3F& R) {
  return VEC3F(L.X * R.X, L.Y * R.Y, L.Z * R.Z);
}
// W of the right operand is not read.
inline VEC3F operator*(const VEC3F& L, const VEC4F& R) {
  return VEC3F(L.X * R.X, L.Y * R.Y, L.Z * R.Z);
}
// Each component in double, rounded to single.
inline VEC3F operator*(const VEC3F& L, const double& S) {
  return VEC3F(float(double(L.X) * S), float(double(L.Y) * S), float(double(L.Z) * S));
}
inline VEC3F operator*(const VEC3F& L, const float& S) { return VEC3F(L.X * S, L.Y * S, L.Z * S); }
inline VEC3F operator/(const VEC3F& L, const VEC3F& R) {
  return VEC3F(L.X / R.X, L.Y / R.Y, L.Z / R.Z);
}
inline VEC3F operator/(const VEC3F& L, const float& S) { return VEC3F(L.X / S, L.Y / S, L.Z / S); }
// Each component in double, rounded to single.
inline VEC3F operator/(const VEC3F& L, const double& S) {
  return VEC3F(float(double(L.X) / S), float(double(L.Y) / S), float(double(L.Z) / S));
}
inline VEC3F& operator*=(VEC3F& L, const float& S) {
  L.X = L.X * S;
  L.Y = L.Y * S;
  L.Z = L.Z * S;
  return L;
}
inline VEC3F& operator+=(VEC3F& L, const VEC3F& R) {
  L.X = L.X + R.X;
  L.Y = L.Y + R.Y;
  L.Z = L.Z + R.Z;
  return L;
}

// ------------------------------------------------------------------ VEC4F operators (W included)

inline VEC4F operator+(const VEC4F& L, const VEC4F& R) {
  return VEC4F(L.X + R.X, L.Y + R.Y, L.Z + R.Z, L.W + R.W);
}
inline VEC4F operator+(const VEC4F& L, const float& S) {
  return VEC4F(L.X + S, L.Y + S, L.Z + S, L.W + S);
}
inline VEC4F operator-(const VEC4F& L, const VEC4F& R) {
  return VEC4F(L.X - R.X, L.Y - R.Y, L.Z - R.Z, L.W - R.W);
}
inline VEC4F operator-(const VEC4F& V) { return VEC4F(-V.X, -V.Y, -V.Z, -V.W); }
inline VEC4F operator*(const VEC4F& L, const VEC4F& R) {
  return VEC4F(L.X * R.X, L.Y * R.Y, L.Z * R.Z, L.W * R.W);
}
inline VEC4F operator*(const VEC4F& L, const float& S) {
  return VEC4F(L.X * S, L.Y * S, L.Z * S, L.W * S);
}
// In double, the integer converted to double.
inline VEC4F operator/(const VEC4F& L, const int32_t& I) {
  const double D = I;
  return VEC4F(float(double(L.X) / D), float(double(L.Y) / D), float(double(L.Z) / D),
               double(L.W) / D);
}
inline VEC4F operator/(const VEC4F& L, const VEC4F& R) {
  return VEC4F(L.X / R.X, L.Y / R.Y, L.Z / R.Z, L.W / R.W);
}
inline VEC4F operator/(const VEC4F& L, const float& S) {
  return VEC4F(L.X / S, L.Y / S, L.Z / S, L.W / S);
}
// In double.
inline VEC4F operator/(const VEC4F& L, const double& S) {
  return VEC4F(float(double(L.X) / S), float(double(L.Y) / S), float(double(L.Z) / S),
               double(L.W) / S);
}
inline VEC4F& operator*=(VEC4F& L, const float& S) {
  L.X = L.X * S;
  L.Y = L.Y * S;
  L.Z = L.Z * S;
  L.W = L.W * S;
  return L;
}

// ------------------------------------------------------------------ methods

namespace DETAIL {
// The zero-length guard of the whole library: a length of 0 or NaN reads as 1,
// so a zero vector normalizes to itself instead of to NaN.
inline float GUARDED_LENGTH(float SUM_OF_SQUARES) {
  const float L = std::sqrt(SUM_OF_SQUARES);
  return (L == 0.0f || L != L) ? 1.0f : L;
}

// The arc cosine of X as atan2(sqrt(1 - X*X), X) in double, rounded to single.
// A quotient pushed beyond +-1 by rounding gives NaN.
inline float ARC_COSINE(float X) {
  const double D = X;
  return float(std::atan2(std::sqrt(1.0 - D * D), D));
}
}  // namespace DETAIL

inline float VEC2F::DOT(const VEC2F& V) const { return X * V.X + Y * V.Y; }
inline float VEC2F::MAGNITUDE() const { return DETAIL::GUARDED_LENGTH(DOT(*this)); }
inline void VEC2F::NORMALIZE() { *this = *this / MAGNITUDE(); }
inline VEC2F VEC2F::UNITVEC() const { return *this / MAGNITUDE(); }
// The unit normal of the segment from this point to V: the direction turned a
// quarter turn clockwise (Y up). Equal points give (0, -0).
inline VEC2F VEC2F::CROSS(const VEC2F& V) const {
  const VEC2F CRVEC = V - *this;
  const float VLEN = CRVEC.MAGNITUDE();
  return VEC2F(CRVEC.Y / VLEN, -CRVEC.X / VLEN);
}
inline float VEC2F::CROSS_ANALOG(const VEC2F& V) const { return (V.Y * X) - (V.X * Y); }
inline float VEC2F::DISTANCE(const VEC2F& V) const {
  const float DX = V.X - X, DY = V.Y - Y;
  return std::sqrt(DX * DX + DY * DY);
}
inline float VEC2F::ANGLEBETWEEN(const VEC2F& V) const {
  return DETAIL::ARC_COSINE(DOT(V) / (V.MAGNITUDE() * MAGNITUDE()));
}

inline float VEC3F::DOT(const VEC3F& V) const { return (X * V.X + Y * V.Y) + Z * V.Z; }
inline float VEC3F::MAGNITUDE() const { return DETAIL::GUARDED_LENGTH(DOT(*this)); }
inline void VEC3F::NORMALIZE() { *this = *this / MAGNITUDE(); }
inline VEC3F VEC3F::UNITVEC() const { return *this / MAGNITUDE(); }
// Right-handed cross product.
inline VEC3F VEC3F::CROSS(const VEC3F& V) const {
  return VEC3F(Y * V.Z - Z * V.Y, Z * V.X - X * V.Z, X * V.Y - Y * V.X);
}
inline float VEC3F::DISTANCE(const VEC3F& V) const {
  const float DX = V.X - X, DY = V.Y - Y, DZ = V.Z - Z;
  return std::sqrt((DX * DX + DY * DY) + DZ * DZ);
}
inline float VEC3F::ANGLEBETWEEN(const VEC3F& V) const {
  return DETAIL::ARC_COSINE(DOT(V) / (V.MAGNITUDE() * MAGNITUDE()));
}

inline float VEC4F::DOT(const VEC4F& V) const {
  return ((X * V.X + Y * V.Y) + Z * V.Z) + W * V.W;
}
inline float VEC4F::MAGNITUDE() const { return DETAIL::GUARDED_LENGTH(DOT(*this)); }
inline void VEC4F::NORMALIZE() { *this = *this / MAGNITUDE(); }
inline VEC4F VEC4F::UNITVEC() const { return *this / MAGNITUDE(); }
// The cross product of the X, Y, Z parts; W is this vector's W, V.W is not read.
inline VEC4F VEC4F::CROSS(const VEC4F& V) const {
  return VEC4F(Y * V.Z - Z * V.Y, Z * V.X - X * V.Z, X * V.Y - Y * V.X, W);
}
inline float VEC4F::DISTANCE(const VEC4F& V) const {
  const float DX = V.X - X, DY = V.Y - Y, DZ = V.Z - Z, DW = V.W - W;
  return std::sqrt(((DX * DX + DY * DY) + DZ * DZ) + DW * DW);
}

}  // namespace NMATHF
