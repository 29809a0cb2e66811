#include "app/world_framing.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "app/player.h"
#include "dvec3.h"
#include "math/geometry.h"

using namespace NMATHF;

namespace {
double length(const DVec3& a) { return std::sqrt(dot(a, a)); }
DVec3 unit(const DVec3& a) { return a * (1.0 / length(a)); }
VEC3F f3(const DVec3& a) { return VEC3F(float(a.x), float(a.y), float(a.z)); }

bool finite(const VEC3F& v) {
  return std::isfinite(v.X) && std::isfinite(v.Y) && std::isfinite(v.Z);
}

// The three corners of triangle T, false when one names no vertex.
bool corners(const MODEL_STRUCT& m, const TRIANGLE_STRUCT& t, VEC3F (&v)[3]) {
  for (int k = 0; k < 3; ++k) {
    const uint32_t id = t.POINT_ID.data()[k];
    if (!m.VERTICES || id >= m.MAX_VERTICES) return false;
    v[k] = m.VERTICES[id];
  }
  return true;
}

// Does the segment FROM-TO cross any triangle of M? Triangles whose box misses
// the segment's box are passed over without the exact test.
bool crosses_any(const MODEL_STRUCT& m, const VEC3F& from, const VEC3F& to) {
  const VEC3F lo(std::min(from.X, to.X), std::min(from.Y, to.Y), std::min(from.Z, to.Z));
  const VEC3F hi(std::max(from.X, to.X), std::max(from.Y, to.Y), std::max(from.Z, to.Z));
  const VEC3F line[2] = {from, to};
  for (uint32_t i = 0; i < m.MAX_TRIANGLES; ++i) {
    VEC3F v[3];
    if (!corners(m, m.TRIANGLES[i], v)) continue;
    if (std::max({v[0].X, v[1].X, v[2].X}) < lo.X || std::min({v[0].X, v[1].X, v[2].X}) > hi.X ||
        std::max({v[0].Y, v[1].Y, v[2].Y}) < lo.Y || std::min({v[0].Y, v[1].Y, v[2].Y}) > hi.Y ||
        std::max({v[0].Z, v[1].Z, v[2].Z}) < lo.Z || std::min({v[0].Z, v[1].Z, v[2].Z}) > hi.Z)
      continue;
    VEC3F where;
    if (LINE_TRIANGLE_INTERSECTION(v, line, where)) return true;
  }
  return false;
}

DVec3 box_corner(const WorldBox& b, int i) {
  return {(i & 1) ? b.hi.X : b.lo.X, (i & 2) ? b.hi.Y : b.lo.Y, (i & 4) ? b.hi.Z : b.lo.Z};
}

// Far enough to see every corner of B from EYE, and from anywhere inside B.
float far_plane_for(const WorldBox& b, const DVec3& eye) {
  double farthest = length(box_corner(b, 7) - box_corner(b, 0));
  for (int i = 0; i < 8; ++i) farthest = std::max(farthest, length(box_corner(b, i) - eye));
  const double zfar = 1.25 * farthest;
  if (!(zfar > MIN_ZFAR)) return MIN_ZFAR;
  return float(std::min(zfar, 1e37));  // finite, and 4 ZFAR too (the projection forms it)
}

// A place to walk: from the maze's start, the probe finds a floor under the eye
// and under eight points FLOOR_REACH around it, and nothing hangs overhead (an
// eye inside a creature or a building finds its belly below, its back above).
bool place_to_walk(const MODEL_STRUCT& m, const WorldBox& b, const VEC3F& eye) {
  const float diagonal = FLOOR_REACH * float(std::numbers::sqrt2 / 2);
  const float around[9][2] = {{0, 0},
                              {FLOOR_REACH, 0},        {-FLOOR_REACH, 0},
                              {0, FLOOR_REACH},        {0, -FLOOR_REACH},
                              {diagonal, diagonal},    {diagonal, -diagonal},
                              {-diagonal, diagonal},   {-diagonal, -diagonal}};
  for (const auto& a : around) {
    const VEC3F top(eye.X + a[0], eye.Y, eye.Z + a[1]);
    if (!crosses_any(m, top, top - VEC3F(0, PROBE_LENGTH, 0))) return false;
  }
  return !crosses_any(m, eye, VEC3F(eye.X, std::max(b.hi.Y, eye.Y) + 1.0f, eye.Z));
}

// A frame looking along FORWARD with its right vector level (as mouse look keeps
// it); false when FORWARD is (nearly) straight up or down.
bool level_frame(const DVec3& forward, const DVec3& position, VMAT& out) {
  const DVec3 f = unit(forward);
  const DVec3 r = cross(f, DVec3{0, 1, 0});
  if (!(length(r) > 1e-6)) return false;
  const DVec3 right = unit(r);
  out = VMAT(f3(right), f3(cross(right, f)), f3(f), f3(position));
  return true;
}

// The notch nearest to a speed that crosses DISTANCE in about four seconds.
int32_t notch_for_distance(double distance) {
  const double n = std::log(distance / 4.0 / MOVE_SPEED) / std::log(FLY_SPEED_STEP);
  if (!std::isfinite(n)) return n > 0 ? MAX_FLY_SPEED_NOTCH : 0;
  return int32_t(std::clamp(std::nearbyint(n), double(-MAX_FLY_SPEED_NOTCH), double(MAX_FLY_SPEED_NOTCH)));
}

// An object seen from outside: from above, in front and to one side of its
// centre, just far enough that every corner of its box is in view (with a
// margin) and beyond the near plane.
WorldStart framed_object(const WorldBox& b, const ViewShape& view) {
  const DVec3 centre = (box_corner(b, 0) + box_corner(b, 7)) * 0.5;
  const double azimuth = 35.0 * std::numbers::pi / 180.0, elevation = 25.0 * std::numbers::pi / 180.0;
  const DVec3 to_eye{std::cos(elevation) * std::sin(azimuth), std::sin(elevation),
                  std::cos(elevation) * std::cos(azimuth)};
  VMAT cam;
  level_frame(to_eye * -1.0, centre, cam);
  const DVec3 right = to_dvec3(cam.R), up = to_dvec3(cam.U), forward = to_dvec3(cam.F);
  const double tan_v = 0.9 * std::tan(double(view.fov_degrees) * std::numbers::pi / 360.0);
  const double tan_h = tan_v * double(view.aspect);
  double distance = 0.0;
  for (int i = 0; i < 8; ++i) {
    const DVec3 q = box_corner(b, i) - centre;
    const double depth = dot(q, forward);  // beyond the centre
    distance = std::max({distance, std::fabs(dot(q, right)) / tan_h - depth,
                         std::fabs(dot(q, up)) / tan_v - depth, 2.0 * view.znear - depth});
  }
  const DVec3 eye = centre - forward * distance;
  WorldStart s;
  s.camera = cam;
  s.camera.P = f3(eye);
  s.fly = s.framed = true;
  s.zfar = far_plane_for(b, eye);
  s.fly_speed_notch = notch_for_distance(distance);
  return s;
}
}  // namespace

WorldBox world_bounds(const MODEL_STRUCT& model) {
  WorldBox b;
  for (uint32_t i = 0; i < model.MAX_TRIANGLES; ++i) {
    VEC3F v[3];
    if (!corners(model, model.TRIANGLES[i], v)) continue;
    for (const VEC3F& p : v) {
      if (!finite(p)) continue;
      if (b.empty) {
        b.lo = b.hi = p;
        b.empty = false;
        continue;
      }
      b.lo = VEC3F(std::min(b.lo.X, p.X), std::min(b.lo.Y, p.Y), std::min(b.lo.Z, p.Z));
      b.hi = VEC3F(std::max(b.hi.X, p.X), std::max(b.hi.Y, p.Y), std::max(b.hi.Z, p.Z));
    }
  }
  return b;
}

WorldStart frame_world(const MODEL_STRUCT& model, const ViewShape& view, const VEC3F* spawn) {
  const WorldBox b = world_bounds(model);
  WorldStart s;
  s.camera = maze_start_camera();
  if (spawn) {
    const DVec3 eye = to_dvec3(*spawn);
    s.camera.P = *spawn;
    if (b.empty) {
      s.fly = true;
      return s;
    }
    const DVec3 centre = (box_corner(b, 0) + box_corner(b, 7)) * 0.5;
    VMAT towards;
    if (length(centre - eye) > 1e-3 && level_frame(centre - eye, eye, towards)) s.camera = towards;
    const float below = std::min(b.lo.Y, spawn->Y) - 1.0f;
    s.fly = !crosses_any(model, *spawn, VEC3F(spawn->X, below, spawn->Z));
    s.zfar = far_plane_for(b, eye);
    return s;
  }
  if (b.empty) return s;
  if (place_to_walk(model, b, s.camera.P)) {
    s.zfar = far_plane_for(b, to_dvec3(s.camera.P));
    return s;
  }
  return framed_object(b, view);
}

void scale_world(MODEL_STRUCT& model, float factor) {
  for (uint32_t i = 0; i < model.MAX_VERTICES; ++i) model.VERTICES[i] = model.VERTICES[i] * factor;
  MODEL_STRUCT* m = &model;
  CALC_PLANES(m);
  CALC_NORMALS(m);
}
