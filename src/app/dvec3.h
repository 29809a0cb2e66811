// Three doubles with the few operations the app's geometry needs where single
// precision would lose the answer (far-out boxes, squared distances).
#pragma once
#include <cmath>

#include "math/vec.h"

struct DVec3 {
  double x, y, z;
};
inline DVec3 to_dvec3(const NMATHF::VEC3F& v) { return {v.X, v.Y, v.Z}; }
inline DVec3 operator-(const DVec3& a, const DVec3& b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
inline DVec3 operator+(const DVec3& a, const DVec3& b) { return {a.x + b.x, a.y + b.y, a.z + b.z}; }
inline DVec3 operator*(const DVec3& a, double s) { return {a.x * s, a.y * s, a.z * s}; }
inline double dot(const DVec3& a, const DVec3& b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
inline DVec3 cross(const DVec3& a, const DVec3& b) {
  return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}
