// Geometric queries of the math library: normals, planes, segments against
// triangles, spheres, 2D picking, boxes, a fast inverse square root and a cubic
// curve.
//
// A triangle is passed as the address of its first corner, the three corners
// V[0], V[1], V[2] following one another; a segment likewise as VLINE[0] (start)
// and VLINE[1] (end). Predicates return -1 for true and 0 for false.
#pragma once

#include <cstdint>

#include "mathfuncf/vec.h"

namespace NMATHF {

// The unit normal of a triangle by the right-hand rule: it points to the side
// from which the corners are seen counter-clockwise. A triangle without area
// gives (0, 0, 0) (the zero-length guard of MAGNITUDE).
inline VEC3F POLY_NORMAL(const VEC3F* V) {
  const VEC3F V1 = V[1] - V[0];
  const VEC3F V2 = V[2] - V[0];
  VEC3F TNORM = V1.CROSS(V2);
  TNORM.NORMALIZE();
  return TNORM;
}

// The distance term d of the plane through TPOINT with normal TNORMAL, so that
// TNORMAL . p + d = 0 on the plane.
inline float PLANE_DISTANCE(const VEC3F& TNORMAL, const VEC3F& TPOINT) {
  return -((TPOINT.X * TNORMAL.X + TPOINT.Y * TNORMAL.Y) + TPOINT.Z * TNORMAL.Z);
}

}  // namespace NMATHF
