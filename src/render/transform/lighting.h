// The lighting of the model transform: one flat light value per triangle, lit
// at the centroid of its clip-space corners. Kept inline so the triangle loop
// stays free of calls; the order of operations and precision noted beside
// each step are kept exactly: results are compared bit for bit.
#pragma once
#include <cmath>
#include <cstdint>

#include "base/rounding.h"
#include "math/nmathf.h"
#include "model/model.h"

// The single closest to 1/3, and the single closest to 0.8/pi.
constexpr float ONED3 = 0.33333334f;
constexpr float ONEDPI2 = 0.25464791f;
static_assert(__builtin_bit_cast(uint32_t, ONEDPI2) == 0x3E826136u);

// The centroid of a triangle's clip-space corners (the lighting point and
// the depth key).
inline NMATHF::VEC3F clip_centroid(const NMATHF::VEC4F& a, const NMATHF::VEC4F& b,
                                   const NMATHF::VEC4F& c) {
  NMATHF::VEC3F p;
  p.X = ((a.X + b.X) + c.X) * ONED3;
  p.Y = ((a.Y + b.Y) + c.Y) * ONED3;
  p.Z = ((a.Z + b.Z) + c.Z) * ONED3;
  return p;
}
inline NMATHF::VEC3F clip_centroid(const NMATHF::VEC4F* rv, const TRIANGLE_STRUCT& t) {
  return clip_centroid(rv[t.POINT_ID(1)], rv[t.POINT_ID(2)], rv[t.POINT_ID(3)]);
}

struct FlatLight {
  uint32_t col;   // 0xFF000000 | R << 16 | G << 8 | B
  int32_t shade;  // -128 to 64
};

// One flat light value for a triangle with normal NORM and lighting point P,
// lit from TLIGHT (all in the model's own space). A channel keeps its full
// value when the normal points at the light, falls linearly to 20 % at 45
// degrees and to 0 at 56.25 degrees; SHADE runs from 64 down to -128.
inline FlatLight flat_light(const NMATHF::VEC3F& norm, const NMATHF::VEC3F& p,
                            const NMATHF::VEC3F& tlight, const RGB_STRUCT& col) {
  const float pax = norm.X * p.X, pay = norm.Y * p.Y, paz = norm.Z * p.Z;
  float tx = tlight.X - pax, ty = tlight.Y - pay, tz = tlight.Z - paz;
  const float tdist = NMATHF::INV_SQR((tx * tx + ty * ty) + tz * tz);
  tx = tx * tdist;
  ty = ty * tdist;
  tz = tz * tdist;
  float cosine = (norm.X * tx + norm.Y * ty) + norm.Z * tz;
  // The approximate length can carry the cosine just past +-1, where the arc
  // cosine is undefined; a triangle facing the light squarely stays lit.
  if (cosine > 1.0f) cosine = 1.0f;
  if (cosine < -1.0f) cosine = -1.0f;
  const float theta = static_cast<float>(std::acos(static_cast<double>(cosine)));
  const float dot2 = (theta * ONEDPI2) * -2.0f;

  auto channel = [dot2](uint32_t v) {
    const float lit = static_cast<float>(v) + static_cast<float>(2u * v) * dot2;
    const int32_t c = round_i32_nan_min_saturating(lit);
    return static_cast<uint32_t>(c > 255 ? 255 : (c < 0 ? 0 : c));
  };
  int32_t shade = round_i32_nan_min_saturating(256.0f * dot2 + 64.0f);
  if (shade > 256) shade = 256;
  if (shade < -128) shade = -128;
  const uint32_t rgb = channel(col.R) << 16 | channel(col.G) << 8 | channel(col.B);
  return {0xFF000000u | rgb, shade};
}
