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
std::string number_text(float value);

// ------------------------------------------------------------------ records

struct VEC2F {
  float X, Y;

  VEC2F() : X(0.0f), Y(0.0f) {}
  VEC2F(float x_, float y_) : X(x_), Y(y_) {}
  VEC2F(double x_, double y_) : X(float(x_)), Y(float(y_)) {}
  VEC2F(const VEC2F& v2d) = default;
  VEC2F& operator=(const VEC2F&) = default;

  float DOT(const VEC2F& v) const;
  float MAGNITUDE() const;
  void NORMALIZE();
  VEC2F UNITVEC() const;
  VEC2F CROSS(const VEC2F& v) const;
  float CROSS_ANALOG(const VEC2F& v) const;
  float DISTANCE(const VEC2F& v) const;
  float ANGLEBETWEEN(const VEC2F& v) const;
  std::string to_string() const;
};

struct VEC3F {
  float X, Y, Z;

  VEC3F() : X(0.0f), Y(0.0f), Z(0.0f) {}
  VEC3F(float x_, float y_, float z_) : X(x_), Y(y_), Z(z_) {}
  VEC3F(const VEC3F& v3d) = default;
  VEC3F& operator=(const VEC3F&) = default;

  // (X, Y): Z is dropped.
  explicit operator VEC2F() const { return VEC2F(X, Y); }

  float DOT(const VEC3F& v) const;
  float MAGNITUDE() const;
  void NORMALIZE();
  VEC3F UNITVEC() const;
  VEC3F CROSS(const VEC3F& v) const;
  float DISTANCE(const VEC3F& v) const;
  float ANGLEBETWEEN(const VEC3F& v) const;
  std::string to_string() const;
};

struct VEC4F {
  float X, Y, Z, W;

  // The default W is 0, not 1.
  VEC4F() : X(0.0f), Y(0.0f), Z(0.0f), W(0.0f) {}
  VEC4F(float x_, float y_, float z_, double w_) : X(x_), Y(y_), Z(z_), W(float(w_)) {}
  VEC4F(const VEC4F& v4d) = default;
  VEC4F& operator=(const VEC4F&) = default;

  // (X, Y, Z): W is dropped, there is no division by W.
  explicit operator VEC3F() const { return VEC3F(X, Y, Z); }

  float DOT(const VEC4F& v) const;
  float MAGNITUDE() const;
  void NORMALIZE();
  VEC4F UNITVEC() const;
  VEC4F CROSS(const VEC4F& v) const;
  float DISTANCE(const VEC4F& v) const;
  std::string to_string() const;
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

inline VEC2F operator+(const VEC2F& l, const float& s) { return VEC2F(l.X + s, l.Y + s); }
inline VEC2F operator+(const VEC2F& l, const VEC2F& r) { return VEC2F(l.X + r.X, l.Y + r.Y); }
inline VEC2F operator-(const VEC2F& l, const VEC2F& r) { return VEC2F(l.X - r.X, l.Y - r.Y); }
inline VEC2F operator*(const VEC2F& l, const VEC2F& r) { return VEC2F(l.X * r.X, l.Y * r.Y); }
inline VEC2F operator*(const VEC2F& l, const float& s) { return VEC2F(l.X * s, l.Y * s); }
// In double.
inline VEC2F operator*(const VEC2F& l, const double& s) {
  return VEC2F(double(l.X) * s, double(l.Y) * s);
}
// In double, the integer converted to double.
inline VEC2F operator/(const VEC2F& l, const int32_t& i) {
  const double d = i;
  return VEC2F(double(l.X) / d, double(l.Y) / d);
}
inline VEC2F operator/(const VEC2F& l, const VEC2F& r) { return VEC2F(l.X / r.X, l.Y / r.Y); }
inline VEC2F operator/(const VEC2F& l, const float& s) { return VEC2F(l.X / s, l.Y / s); }
// In double.
inline VEC2F operator/(const VEC2F& l, const double& s) {
  return VEC2F(double(l.X) / s, double(l.Y) / s);
}

// ------------------------------------------------------------------ VEC3F operators

inline VEC3F operator+(const VEC3F& l, const float& s) { return VEC3F(l.X + s, l.Y + s, l.Z + s); }
inline VEC3F operator+(const VEC3F& l, const VEC3F& r) {
  return VEC3F(l.X + r.X, l.Y + r.Y, l.Z + r.Z);
}
// Builds the homogeneous vector (X, Y, Z, W = the double rounded to single).
inline VEC4F operator+(const VEC3F& l, const double& w) { return VEC4F(l.X, l.Y, l.Z, w); }
// Sign flip: 0 becomes -0.
inline VEC3F operator-(const VEC3F& v) { return VEC3F(-v.X, -v.Y, -v.Z); }
inline VEC3F operator-(const VEC3F& l, const VEC3F& r) {
  return VEC3F(l.X - r.X, l.Y - r.Y, l.Z - r.Z);
}
// W of the right operand is not read.
inline VEC3F operator-(const VEC3F& l, const VEC4F& r) {
  return VEC3F(l.X - r.X, l.Y - r.Y, l.Z - r.Z);
}
inline VEC3F operator-(const VEC3F& l, const float& s) { return VEC3F(l.X - s, l.Y - s, l.Z - s); }
// Component-wise product, not a dot or cross product.
inline VEC3F operator*(const VEC3F& l, const VEC3F& r) {
  return VEC3F(l.X * r.X, l.Y * r.Y, l.Z * r.Z);
}
// W of the right operand is not read.
inline VEC3F operator*(const VEC3F& l, const VEC4F& r) {
  return VEC3F(l.X * r.X, l.Y * r.Y, l.Z * r.Z);
}
// Each component in double, rounded to single.
inline VEC3F operator*(const VEC3F& l, const double& s) {
  return VEC3F(float(double(l.X) * s), float(double(l.Y) * s), float(double(l.Z) * s));
}
inline VEC3F operator*(const VEC3F& l, const float& s) { return VEC3F(l.X * s, l.Y * s, l.Z * s); }
inline VEC3F operator/(const VEC3F& l, const VEC3F& r) {
  return VEC3F(l.X / r.X, l.Y / r.Y, l.Z / r.Z);
}
inline VEC3F operator/(const VEC3F& l, const float& s) { return VEC3F(l.X / s, l.Y / s, l.Z / s); }
// Each component in double, rounded to single.
inline VEC3F operator/(const VEC3F& l, const double& s) {
  return VEC3F(float(double(l.X) / s), float(double(l.Y) / s), float(double(l.Z) / s));
}
inline VEC3F& operator*=(VEC3F& l, const float& s) {
  l.X = l.X * s;
  l.Y = l.Y * s;
  l.Z = l.Z * s;
  return l;
}
inline VEC3F& operator+=(VEC3F& l, const VEC3F& r) {
  l.X = l.X + r.X;
  l.Y = l.Y + r.Y;
  l.Z = l.Z + r.Z;
  return l;
}

// ------------------------------------------------------------------ VEC4F operators (W included)

inline VEC4F operator+(const VEC4F& l, const VEC4F& r) {
  return VEC4F(l.X + r.X, l.Y + r.Y, l.Z + r.Z, l.W + r.W);
}
inline VEC4F operator+(const VEC4F& l, const float& s) {
  return VEC4F(l.X + s, l.Y + s, l.Z + s, l.W + s);
}
inline VEC4F operator-(const VEC4F& l, const VEC4F& r) {
  return VEC4F(l.X - r.X, l.Y - r.Y, l.Z - r.Z, l.W - r.W);
}
inline VEC4F operator-(const VEC4F& v) { return VEC4F(-v.X, -v.Y, -v.Z, -v.W); }
inline VEC4F operator*(const VEC4F& l, const VEC4F& r) {
  return VEC4F(l.X * r.X, l.Y * r.Y, l.Z * r.Z, l.W * r.W);
}
inline VEC4F operator*(const VEC4F& l, const float& s) {
  return VEC4F(l.X * s, l.Y * s, l.Z * s, l.W * s);
}
// In double, the integer converted to double.
inline VEC4F operator/(const VEC4F& l, const int32_t& i) {
  const double d = i;
  return VEC4F(float(double(l.X) / d), float(double(l.Y) / d), float(double(l.Z) / d),
               double(l.W) / d);
}
inline VEC4F operator/(const VEC4F& l, const VEC4F& r) {
  return VEC4F(l.X / r.X, l.Y / r.Y, l.Z / r.Z, l.W / r.W);
}
inline VEC4F operator/(const VEC4F& l, const float& s) {
  return VEC4F(l.X / s, l.Y / s, l.Z / s, l.W / s);
}
// In double.
inline VEC4F operator/(const VEC4F& l, const double& s) {
  return VEC4F(float(double(l.X) / s), float(double(l.Y) / s), float(double(l.Z) / s),
               double(l.W) / s);
}
inline VEC4F& operator*=(VEC4F& l, const float& s) {
  l.X = l.X * s;
  l.Y = l.Y * s;
  l.Z = l.Z * s;
  l.W = l.W * s;
  return l;
}

// ------------------------------------------------------------------ methods

namespace detail {
// The zero-length guard of the whole library: a length of 0 or NaN reads as 1,
// so a zero vector normalizes to itself instead of to NaN.
inline float guarded_length(float sum_of_squares) {
  const float l = std::sqrt(sum_of_squares);
  return (l == 0.0f || l != l) ? 1.0f : l;
}

// The arc cosine of X as atan2(sqrt(1 - X*X), X) in double, rounded to single.
// A quotient pushed beyond +-1 by rounding gives NaN.
inline float arc_cosine(float x) {
  const double d = x;
  return float(std::atan2(std::sqrt(1.0 - d * d), d));
}
}  // namespace DETAIL

inline float VEC2F::DOT(const VEC2F& v) const { return X * v.X + Y * v.Y; }
inline float VEC2F::MAGNITUDE() const { return detail::guarded_length(DOT(*this)); }
inline void VEC2F::NORMALIZE() { *this = *this / MAGNITUDE(); }
inline VEC2F VEC2F::UNITVEC() const { return *this / MAGNITUDE(); }
// The unit normal of the segment from this point to V: the direction turned a
// quarter turn clockwise (Y up). Equal points give (0, -0).
inline VEC2F VEC2F::CROSS(const VEC2F& v) const {
  const VEC2F crvec = v - *this;
  const float vlen = crvec.MAGNITUDE();
  return VEC2F(crvec.Y / vlen, -crvec.X / vlen);
}
inline float VEC2F::CROSS_ANALOG(const VEC2F& v) const { return (v.Y * X) - (v.X * Y); }
inline float VEC2F::DISTANCE(const VEC2F& v) const {
  const float dx = v.X - X, dy = v.Y - Y;
  return std::sqrt(dx * dx + dy * dy);
}
inline float VEC2F::ANGLEBETWEEN(const VEC2F& v) const {
  return detail::arc_cosine(DOT(v) / (v.MAGNITUDE() * MAGNITUDE()));
}

inline float VEC3F::DOT(const VEC3F& v) const { return (X * v.X + Y * v.Y) + Z * v.Z; }
inline float VEC3F::MAGNITUDE() const { return detail::guarded_length(DOT(*this)); }
inline void VEC3F::NORMALIZE() { *this = *this / MAGNITUDE(); }
inline VEC3F VEC3F::UNITVEC() const { return *this / MAGNITUDE(); }
// Right-handed cross product.
inline VEC3F VEC3F::CROSS(const VEC3F& v) const {
  return VEC3F(Y * v.Z - Z * v.Y, Z * v.X - X * v.Z, X * v.Y - Y * v.X);
}
inline float VEC3F::DISTANCE(const VEC3F& v) const {
  const float dx = v.X - X, dy = v.Y - Y, dz = v.Z - Z;
  return std::sqrt((dx * dx + dy * dy) + dz * dz);
}
inline float VEC3F::ANGLEBETWEEN(const VEC3F& v) const {
  return detail::arc_cosine(DOT(v) / (v.MAGNITUDE() * MAGNITUDE()));
}

inline float VEC4F::DOT(const VEC4F& v) const {
  return ((X * v.X + Y * v.Y) + Z * v.Z) + W * v.W;
}
inline float VEC4F::MAGNITUDE() const { return detail::guarded_length(DOT(*this)); }
inline void VEC4F::NORMALIZE() { *this = *this / MAGNITUDE(); }
inline VEC4F VEC4F::UNITVEC() const { return *this / MAGNITUDE(); }
// The cross product of the X, Y, Z parts; W is this vector's W, V.W is not read.
inline VEC4F VEC4F::CROSS(const VEC4F& v) const {
  return VEC4F(Y * v.Z - Z * v.Y, Z * v.X - X * v.Z, X * v.Y - Y * v.X, W);
}
inline float VEC4F::DISTANCE(const VEC4F& v) const {
  const float dx = v.X - X, dy = v.Y - Y, dz = v.Z - Z, dw = v.W - W;
  return std::sqrt(((dx * dx + dy * dy) + dz * dz) + dw * dw);
}

}  // namespace NMATHF
