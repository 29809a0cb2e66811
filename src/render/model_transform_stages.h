// The per-vertex and per-triangle steps of MODEL_TRANSFORM, kept inline so
// the vertex and triangle loops stay free of calls. Each one keeps the exact
// order of operations and precision noted beside it: results are compared bit
// for bit.
#pragma once
#include <bit>
#include <cmath>
#include <cstdint>

#include "math/nmathf.h"
#include "model/model.h"

// The single closest to 1/3, and the single closest to 0.8/pi.
constexpr float ONED3 = 0.33333334f;
constexpr float ONEDPI2 = 0.25464791f;
static_assert(std::bit_cast<uint32_t>(ONEDPI2) == 0x3E826136u);

// A point (x, y, z, 1) times the 16 floats of a matrix (row-vector
// convention), each sum taken left to right in single precision.
inline float ROW_SUM(const float* MAR, int J, float X, float Y, float Z) {
  return ((MAR[J] * X + MAR[4 + J] * Y) + MAR[8 + J] * Z) + MAR[12 + J];
}

// About 1 / sqrt(DIST): the bit-level first guess and one Newton step. The
// subtraction runs on unsigned words so that no input can overflow it; the
// bits are the same as the signed difference.
inline float FAST_INV_SQRT(float DIST) {
  const float XHALF = 0.5f * DIST;
  const int32_t TI = std::bit_cast<int32_t>(DIST);
  const uint32_t GUESS = 0x5F3759DFu - static_cast<uint32_t>(TI >> 1);
  const float Y = std::bit_cast<float>(GUESS);
  return (1.5f - (Y * XHALF) * Y) * Y;
}

// Nearest integer, halves to even. NaN gives the most negative integer (as the
// processor's conversion does); values beyond the range saturate.
inline int32_t ROUND_TO_INT32(float X) {
  const float R = std::nearbyint(X);
  if (R >= 2147483648.0f) return INT32_MAX;
  if (!(R >= -2147483648.0f)) return INT32_MIN;
  return static_cast<int32_t>(R);
}

// The viewport numbers of one call, converted once.
struct VIEWPORT_STRUCT {
  float SW, SH, TOPF;   // TSCRW, TSCRH, TOP as singles
  double ZHALF, ZMID;   // (ZFAR - ZNEAR) / 2 and (ZNEAR + ZFAR) / 2
};

inline VIEWPORT_STRUCT MAKE_VIEWPORT(int32_t TSCRW_, int32_t TSCRH_, int32_t TOP_, float ZNEAR_,
                                     float ZFAR_) {
  // The difference and the sum are single; their halves are double.
  return {static_cast<float>(TSCRW_), static_cast<float>(TSCRH_), static_cast<float>(TOP_),
          static_cast<double>(ZFAR_ - ZNEAR_) / 2.0, static_cast<double>(ZNEAR_ + ZFAR_) / 2.0};
}

// A clip-space vertex to back-buffer X, Y (Y downwards) and depth Z from ZNEAR
// to ZFAR. Single precision except the depth's product and sum.
inline NMATHF::VEC3F PROJECT_TO_SCREEN(const VIEWPORT_STRUCT& VP, const NMATHF::VEC4F& PVEC) {
  const float W = 1.0f / PVEC.W;
  const float NX = W * PVEC.X, NY = W * PVEC.Y, NZ = W * PVEC.Z;
  NMATHF::VEC3F S;
  S.X = (VP.SW * NX + NX) + VP.SW;
  S.Y = (VP.TOPF - VP.SH * NY) - (VP.SH + NY);
  S.Z = static_cast<float>(VP.ZHALF * static_cast<double>(NZ) + VP.ZMID);
  return S;
}

// The centroid of a triangle's clip-space corners (the lighting point and
// the depth key).
inline NMATHF::VEC3F CLIP_CENTROID(const NMATHF::VEC4F* RV, const TRIANGLE_STRUCT& T) {
  const NMATHF::VEC4F& A = RV[T.POINT_ID(1)];
  const NMATHF::VEC4F& B = RV[T.POINT_ID(2)];
  const NMATHF::VEC4F& C = RV[T.POINT_ID(3)];
  NMATHF::VEC3F P;
  P.X = ((A.X + B.X) + C.X) * ONED3;
  P.Y = ((A.Y + B.Y) + C.Y) * ONED3;
  P.Z = ((A.Z + B.Z) + C.Z) * ONED3;
  return P;
}

struct FLAT_LIGHT_STRUCT {
  uint32_t COL;   // 0xFF000000 | R << 16 | G << 8 | B
  int32_t SHADE;  // -128 to 64
};

// One flat light value for a triangle with normal NORM and lighting point P,
// lit from TLIGHT (all in the model's own space). A channel keeps its full
// value when the normal points at the light, falls linearly to 20 % at 45
// degrees and to 0 at 56.25 degrees; SHADE runs from 64 down to -128.
inline FLAT_LIGHT_STRUCT FLAT_LIGHT(const NMATHF::VEC3F& NORM, const NMATHF::VEC3F& P,
                                    const NMATHF::VEC3F& TLIGHT, const RGB_STRUCT& COL) {
  const float PAX = NORM.X * P.X, PAY = NORM.Y * P.Y, PAZ = NORM.Z * P.Z;
  float TX = TLIGHT.X - PAX, TY = TLIGHT.Y - PAY, TZ = TLIGHT.Z - PAZ;
  const float TDIST = FAST_INV_SQRT((TX * TX + TY * TY) + TZ * TZ);
  TX = TX * TDIST;
  TY = TY * TDIST;
  TZ = TZ * TDIST;
  float COSINE = (NORM.X * TX + NORM.Y * TY) + NORM.Z * TZ;
  // The approximate length can carry the cosine just past +-1, where the arc
  // cosine is undefined; a triangle facing the light squarely stays lit.
  if (COSINE > 1.0f) COSINE = 1.0f;
  if (COSINE < -1.0f) COSINE = -1.0f;
  const float THETA = static_cast<float>(std::acos(static_cast<double>(COSINE)));
  const float DOT2 = (THETA * ONEDPI2) * -2.0f;

  auto CHANNEL = [DOT2](uint32_t V) {
    const int32_t C = ROUND_TO_INT32(static_cast<float>(V) + static_cast<float>(2u * V) * DOT2);
    return static_cast<uint32_t>(C > 255 ? 255 : (C < 0 ? 0 : C));
  };
  int32_t SHADE = ROUND_TO_INT32(256.0f * DOT2 + 64.0f);
  if (SHADE > 256) SHADE = 256;
  if (SHADE < -128) SHADE = -128;
  const uint32_t RGB = CHANNEL(COL.R) << 16 | CHANNEL(COL.G) << 8 | CHANNEL(COL.B);
  return {0xFF000000u | RGB, SHADE};
}
