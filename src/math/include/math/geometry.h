// Geometric queries of the math library: normals, planes, segments against
// triangles, spheres, 2D picking, boxes, a fast inverse square root and a cubic
// curve.
//
// A triangle is passed as the address of its first corner, the three corners
// V[0], V[1], V[2] following one another; a segment likewise as VLINE[0] (start)
// and VLINE[1] (end). Predicates return -1 for true and 0 for false.
#pragma once

#include <cstdint>

#include "base/checked_array.h"
#include "math/vec.h"

namespace NMATHF {

// About 1 / sqrt(DIST) by the bit trick and exactly one Newton step (within
// about 0.2 % for positive finite input; meaningless otherwise, never an error).
// Keeps its intermediates in module statics: not for concurrent use.
float INV_SQR(float dist);

// 1 / tan(NUM), NUM in radians: the tangent in double rounded to single, then
// the division in single.
float COTAN(const float& num);

// The unit normal of a triangle by the right-hand rule: it points to the side
// from which the corners are seen counter-clockwise. A triangle without area
// gives (0, 0, 0) (the zero-length guard of MAGNITUDE).
inline VEC3F POLY_NORMAL(const VEC3F* v) {
  const VEC3F v1 = v[1] - v[0];
  const VEC3F v2 = v[2] - v[0];
  VEC3F tnorm = v1.CROSS(v2);
  tnorm.NORMALIZE();
  return tnorm;
}

// The distance term d of the plane through TPOINT with normal TNORMAL, so that
// TNORMAL . p + d = 0 on the plane.
inline float PLANE_DISTANCE(const VEC3F& tnormal, const VEC3F& tpoint) {
  return -((tpoint.X * tnormal.X + tpoint.Y * tnormal.Y) + tpoint.Z * tnormal.Z);
}

// The point of the segment VA-VB nearest to VPOINT; VA for a segment of length 0.
VEC3F CLOSESTPOINTONLINE(const VEC3F& va, const VEC3F& vb, const VEC3F& vpoint);

// Does the segment cross the plane of triangle V? Writes the plane (normal and
// distance term) to VNORMAL and ORIGINDIST. An end on the plane is no crossing.
int32_t INTERSECTED_PLANE(const VEC3F* v, const VEC3F* vline, VEC3F& vnormal,
                          float& origindist);

// Where the line of the segment meets the plane (VNORMAL, TDISTANCE);
// VLINE[0] when the segment runs parallel to the plane.
VEC3F INTERSECTION_POINT(const VEC3F& vnormal, const VEC3F* vline, const float& tdistance);

// Are P1 and P2 on the same side of the line A-B? A point on the line counts as
// on the same side as anything.
int32_t SAMESIDE(const VEC3F& p1, const VEC3F& p2, const VEC3F& a, const VEC3F& b);

// Is VPOINT (taken to lie in the triangle's plane) inside triangle V? Edges and
// corners are inside.
int32_t POINT_INSIDE_TRIANGLE3D(const VEC3F& vpoint, const VEC3F* v);

// Does the segment pass through triangle V? When the segment crosses the plane,
// NEW_INTERSECTION is set to the crossing point, even if it lies outside the
// triangle; otherwise it is left as it was.
int32_t LINE_TRIANGLE_INTERSECTION(const VEC3F* v, const VEC3F* vline, VEC3F& new_intersection);

// The move VOFFSET = VNORMAL * (RADIUS - DIST) that pushes a sphere lying DIST in
// front of a plane out until it just touches it.
void GET_COLLISION_OFFSET(const VEC3F& vnormal, const float& radius, const float& dist,
                          VEC3F& voffset);

// Sphere against the plane (VNORMAL through VPOINT): writes the centre's signed
// distance to DIST and returns 1 when the sphere cuts the plane, 2 when it lies
// wholly in front (on the normal's side), 3 when wholly behind.
int32_t CLASSIFY_SPHERE(const VEC3F& vcenter, const VEC3F& vnormal, const VEC3F& vpoint,
                        const float& radius, float& dist);

// Does the sphere reach an edge of triangle V? Merely touching does not count.
int32_t EDGE_SPHERE_COLLISION(const VEC3F& vcenter, const VEC3F* v, const float& radius);

// Classifies the pixel (X, Y) against the 2D triangle P1 P2 P3 (either winding):
// 1 strictly inside, 2 on edge P1-P2, 3 on edge P3-P1, 4 on edge P2-P3 (corners
// excluded), 0 outside, on a corner, or a triangle whose doubled area rounds to 0.
int32_t POINT_INSIDE_TRIANGLE2D(const int32_t& x, const int32_t& y, const VEC2F& p1,
                                const VEC2F& p2, const VEC2F& p3);

// Do the boxes A1-A2 and B1-B2 (minimum and maximum corners) overlap? Touching
// boxes do.
int32_t AABB(const VEC2F& a1, const VEC2F& a2, const VEC2F& b1, const VEC2F& b2);

// The cubic Bezier point at P of POINTS(0) start, POINTS(1) control next to the
// start, POINTS(2) end, POINTS(3) control next to the end (absolute indices).
// P is not clamped. An array without indices 0 to 3 stops the program (error 6).
VEC3F SPLINE_POINT(const DynArray<VEC3F>& points, float p);

}  // namespace NMATHF
