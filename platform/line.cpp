// Lines into an image: clipped so that no coordinate, however wild, writes
// outside the target, and so that the part inside holds exactly the pixels of
// the whole line.
//
// Two stages. The end points are first clipped in double to a box reaching
// SAFE_MARGIN pixels beyond every edge; end points inside it stay as they are,
// so ordinary lines are untouched. Then the (rounded) integer line is stepped
// Bresenham-style over just the part that falls inside the image: the first
// and last visible steps are worked out once, so the pixel loop needs no
// bounds test and the pixels are those of the unclipped line.
#include <algorithm>
#include <cfloat>
#include <cmath>
#include <cstddef>

#include "platform/platform.h"

namespace {

// ---------------------------------------------------------------- pen positions
// The last end point drawn into each image. Few images ever take lines, so a
// small table suffices; when it is full the oldest entry gives way.
struct PEN_ENTRY {
  const IMAGE* IMG;
  float X, Y;
};
constexpr int PEN_SLOTS = 16;
PEN_ENTRY PENS[PEN_SLOTS] = {};
int NEXT_EVICTION = 0;

PEN_ENTRY* FIND_PEN(const IMAGE* IMG) {
  for (PEN_ENTRY& P : PENS)
    if (P.IMG == IMG) return &P;
  return nullptr;
}

void SET_PEN(const IMAGE* IMG, float X, float Y) {
  PEN_ENTRY* P = FIND_PEN(IMG);
  if (!P) P = FIND_PEN(nullptr);
  if (!P) {
    P = &PENS[NEXT_EVICTION];
    NEXT_EVICTION = (NEXT_EVICTION + 1) % PEN_SLOTS;
  }
  *P = PEN_ENTRY{IMG, X, Y};
}

// ---------------------------------------------------------------- stage 1: doubles
// End points further out than this are moved onto the line where it leaves the
// box; it keeps every integer product of stage 2 far from overflow.
constexpr double SAFE_MARGIN = 4194304.0;  // 2^22

// Infinity becomes the largest float: the line keeps its direction and every
// product below stays finite.
double FINITE(float V) {
  return std::isinf(V) ? std::copysign(double(FLT_MAX), double(V)) : double(V);
}

// Clips the segment (U1, V1)-(U2, V2), whose major axis is U, to the box
// [ULO, UHI] x [VLO, VHI]. False when it misses the box. The line is held as
// A*u + B*v = C: products of two floats are exact in double, so C is right to
// the last bit even when both ends lie near FLT_MAX and the line passes close
// to the image, where a parametric form would lose every digit.
bool CLIP_ALONG_MAJOR(double& U1, double& V1, double& U2, double& V2, double ULO, double UHI,
                      double VLO, double VHI) {
  const double A = V2 - V1, B = U1 - U2, C = U1 * V2 - U2 * V1;
  double LO = std::max(std::min(U1, U2), ULO);
  double HI = std::min(std::max(U1, U2), UHI);
  if (A != 0) {
    const double AT_VLO = (C - B * VLO) / A, AT_VHI = (C - B * VHI) / A;
    LO = std::max(LO, std::min(AT_VLO, AT_VHI));
    HI = std::min(HI, std::max(AT_VLO, AT_VHI));
  } else if (V1 < VLO || V1 > VHI) {
    return false;
  }
  if (!(LO <= HI)) return false;
  if (U1 < LO || U1 > HI) {
    U1 = U1 < LO ? LO : HI;
    V1 = (C - A * U1) / B;
  }
  if (U2 < LO || U2 > HI) {
    U2 = U2 < LO ? LO : HI;
    V2 = (C - A * U2) / B;
  }
  return true;
}

// ---------------------------------------------------------------- stage 2: integers
int64_t CEIL_DIV(int64_t N, int64_t D) {  // N >= 0, D > 0
  return (N + D - 1) / D;
}

// Draws the integer line (X1, Y1)-(X2, Y2), both ends included. Along the major
// axis the line takes one pixel per step k = 0..D; its minor coordinate is the
// exact one rounded to nearest, a tie going to the smaller coordinate, so a
// line drawn either way round covers the same pixels. Style bit 15 belongs to
// the first end point.
void DRAW_INTEGER_LINE(IMAGE* T, int64_t X1, int64_t Y1, int64_t X2, int64_t Y2, uint32_t COL,
                       uint16_t STYLE) {
  const int64_t W = T->WIDTH, H = T->HEIGHT;
  const int64_t ROW_STEP = T->PITCH / 4;
  uint32_t* const PIXELS = T->PIXELS();
  if (X1 == X2 && Y1 == Y2) {
    if (X1 >= 0 && X1 < W && Y1 >= 0 && Y1 < H && (STYLE & 0x8000))
      PIXELS[Y1 * ROW_STEP + X1] = COL;
    return;
  }

  // u: the major axis, v: the minor one.
  const bool X_MAJOR = std::llabs(X2 - X1) >= std::llabs(Y2 - Y1);
  const int64_t U1 = X_MAJOR ? X1 : Y1, V1 = X_MAJOR ? Y1 : X1;
  const int64_t U2 = X_MAJOR ? X2 : Y2, V2 = X_MAJOR ? Y2 : X2;
  const int64_t U_SIZE = X_MAJOR ? W : H, V_SIZE = X_MAJOR ? H : W;
  const int64_t D = std::llabs(U2 - U1), E = std::llabs(V2 - V1);  // D >= 1, E <= D
  const int64_t SU = U2 > U1 ? 1 : -1, SV = V2 >= V1 ? 1 : -1;
  // Minor offset at step k: M(k) = floor((2kE + D - BIAS) / 2D).
  const int64_t BIAS = SV > 0 ? 1 : 0;

  // Steps whose major coordinate lies inside the image.
  int64_t K0 = 0, K1 = D;
  if (SU > 0) {
    K0 = std::max(K0, -U1);
    K1 = std::min(K1, U_SIZE - 1 - U1);
  } else {
    K0 = std::max(K0, U1 - (U_SIZE - 1));
    K1 = std::min(K1, U1);
  }
  // Minor offsets inside the image; M(k) rises from 0 to E, so they bound k.
  const int64_t M_LO = SV > 0 ? -V1 : V1 - (V_SIZE - 1);
  const int64_t M_HI = SV > 0 ? V_SIZE - 1 - V1 : V1;
  if (M_HI < 0 || M_LO > E) return;
  if (M_LO > 0) K0 = std::max(K0, CEIL_DIV(2 * D * M_LO - D + BIAS, 2 * E));
  if (M_HI < E) K1 = std::min(K1, (2 * D * (M_HI + 1) - D + BIAS - 1) / (2 * E));
  if (K0 > K1) return;

  const int64_t TWO_D = 2 * D, TWO_E = 2 * E;
  const int64_t N0 = K0 * TWO_E + D - BIAS;
  // An end that was not clipped needs no division: M(0) = 0 and M(D) = E.
  const int64_t M0 = K0 == 0 ? 0 : N0 / TWO_D;
  const int64_t M1 = K1 == D ? E : (K1 * TWO_E + D - BIAS) / TWO_D;
  // Both ends of the visible run lie inside, and u and v are monotonic, so every
  // pixel between them does too. The check guards the arithmetic above.
  const int64_t UA = U1 + SU * K0, UB = U1 + SU * K1;
  const int64_t VA = V1 + SV * M0, VB = V1 + SV * M1;
  if (std::min(UA, UB) < 0 || std::max(UA, UB) >= U_SIZE || std::min(VA, VB) < 0 ||
      std::max(VA, VB) >= V_SIZE)
    return;

  const ptrdiff_t U_STEP = SU * (X_MAJOR ? 1 : ROW_STEP);
  const ptrdiff_t V_STEP = SV * (X_MAJOR ? ROW_STEP : 1);
  uint32_t* P = X_MAJOR ? PIXELS + VA * ROW_STEP + UA : PIXELS + UA * ROW_STEP + VA;
  int64_t R = N0 - M0 * TWO_D;
  const unsigned PHASE = unsigned(K0 & 15);
  uint16_t MASK = uint16_t((STYLE << PHASE) | (STYLE >> ((16 - PHASE) & 15)));
  const int64_t COUNT = K1 - K0 + 1;
  for (int64_t I = 0;;) {
    if (MASK & 0x8000) *P = COL;
    if (++I == COUNT) break;
    MASK = uint16_t((MASK << 1) | (MASK >> 15));
    P += U_STEP;
    R += TWO_E;
    if (R >= TWO_D) {
      R -= TWO_D;
      P += V_STEP;
    }
  }
}

// Whether lines can be drawn into T at all: a 32-bit image with whole rows.
bool DRAWABLE(const IMAGE* T) {
  return T->WIDTH > 0 && T->HEIGHT > 0 && T->BPP == 4 && T->PITCH % 4 == 0 &&
         uint64_t(T->PITCH) >= uint64_t(T->WIDTH) * 4;
}

}  // namespace

void FORGET_PEN(const IMAGE* IMG) {
  if (!IMG) return;
  if (PEN_ENTRY* P = FIND_PEN(IMG)) *P = PEN_ENTRY{nullptr, 0.0f, 0.0f};
}

void DRAW_LINE(IMAGE* TARGET, float X1, float Y1, float X2, float Y2, uint32_t COL,
               uint16_t STYLE) {
  if (!TARGET) return;
  SET_PEN(TARGET, X2, Y2);
  if (std::isnan(X1) || std::isnan(Y1) || std::isnan(X2) || std::isnan(Y2)) return;
  if (!DRAWABLE(TARGET)) return;

  double DX1 = FINITE(X1), DY1 = FINITE(Y1), DX2 = FINITE(X2), DY2 = FINITE(Y2);
  const double XLO = -SAFE_MARGIN, XHI = double(TARGET->WIDTH) - 1 + SAFE_MARGIN;
  const double YLO = -SAFE_MARGIN, YHI = double(TARGET->HEIGHT) - 1 + SAFE_MARGIN;
  const auto INSIDE = [&](double X, double Y) { return X >= XLO && X <= XHI && Y >= YLO && Y <= YHI; };
  if (!INSIDE(DX1, DY1) || !INSIDE(DX2, DY2)) {
    const bool X_MAJOR = std::fabs(DX2 - DX1) >= std::fabs(DY2 - DY1);
    const bool HIT = X_MAJOR ? CLIP_ALONG_MAJOR(DX1, DY1, DX2, DY2, XLO, XHI, YLO, YHI)
                             : CLIP_ALONG_MAJOR(DY1, DX1, DY2, DX2, YLO, YHI, XLO, XHI);
    if (!HIT) return;  // also a single far point: both differences are 0
  }
  // Clipping leaves the ends on the box up to rounding; pinning them keeps the
  // integer conversion defined whatever happened.
  const double BOUND = 2 * SAFE_MARGIN;
  const auto PIN = [&](double V, double HI) {
    return int64_t(std::nearbyint(std::clamp(V, -BOUND, HI + BOUND)));
  };
  if (std::isnan(DX1) || std::isnan(DY1) || std::isnan(DX2) || std::isnan(DY2)) return;
  DRAW_INTEGER_LINE(TARGET, PIN(DX1, XHI), PIN(DY1, YHI), PIN(DX2, XHI), PIN(DY2, YHI), COL, STYLE);
}

void DRAW_LINE_TO(IMAGE* TARGET, float X2, float Y2, uint32_t COL, uint16_t STYLE) {
  if (!TARGET) return;
  const PEN_ENTRY* PEN = FIND_PEN(TARGET);
  DRAW_LINE(TARGET, PEN ? PEN->X : 0.0f, PEN ? PEN->Y : 0.0f, X2, Y2, COL, STYLE);
}
