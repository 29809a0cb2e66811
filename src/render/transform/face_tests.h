// The per-triangle tests of the model transform after projection: back faces
// and the far limit.
#pragma once
#include "math/vec.h"

// The signed screen-area term: positive for corners that run counter-clockwise
// on the screen (Y downwards). A triangle is front-facing when it is positive.
inline float screen_area(const NMATHF::VEC3F& p1, const NMATHF::VEC3F& p2,
                         const NMATHF::VEC3F& p3) {
  return (p2.X - p1.X) * (p1.Y - p3.Y) - (p2.Y - p1.Y) * (p1.X - p3.X);
}

// At least one depth at or before the far limit (NaN counts as before).
inline bool not_beyond_far(const NMATHF::VEC3F& p1, const NMATHF::VEC3F& p2,
                           const NMATHF::VEC3F& p3, float far_z) {
  return !(p1.Z > far_z) || !(p2.Z > far_z) || !(p3.Z > far_z);
}
