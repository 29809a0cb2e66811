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

#include "base/line.h"
#include "base/rounding.h"

namespace {

// ---------------------------------------------------------------- stage 1: doubles
// End points further out than this are moved onto the line where it leaves the
// box; it keeps every integer product of stage 2 far from overflow.
constexpr double SAFE_MARGIN = 4194304.0;  // 2^22

// Infinity becomes the largest float: the line keeps its direction and every
// product below stays finite.
double finite(float v) {
  return std::isinf(v) ? std::copysign(double(FLT_MAX), double(v)) : double(v);
}

// Clips the segment (U1, V1)-(U2, V2), whose major axis is U, to the box
// [ULO, UHI] x [VLO, VHI]. False when it misses the box. The line is held as
// A*u + B*v = C: products of two floats are exact in double, so C is right to
// the last bit even when both ends lie near FLT_MAX and the line passes close
// to the image, where a parametric form would lose every digit.
bool clip_along_major(double& u1, double& v1, double& u2, double& v2, double ulo, double uhi,
                      double vlo, double vhi) {
  const double a = v2 - v1, b = u1 - u2, c = u1 * v2 - u2 * v1;
  double lo = std::max(std::min(u1, u2), ulo);
  double hi = std::min(std::max(u1, u2), uhi);
  if (a != 0) {
    const double at_vlo = (c - b * vlo) / a, at_vhi = (c - b * vhi) / a;
    lo = std::max(lo, std::min(at_vlo, at_vhi));
    hi = std::min(hi, std::max(at_vlo, at_vhi));
  } else if (v1 < vlo || v1 > vhi) {
    return false;
  }
  if (!(lo <= hi)) return false;
  if (u1 < lo || u1 > hi) {
    u1 = u1 < lo ? lo : hi;
    v1 = (c - a * u1) / b;
  }
  if (u2 < lo || u2 > hi) {
    u2 = u2 < lo ? lo : hi;
    v2 = (c - a * u2) / b;
  }
  return true;
}

// ---------------------------------------------------------------- stage 2: integers
int64_t ceil_div(int64_t n, int64_t d) {  // N >= 0, D > 0
  return (n + d - 1) / d;
}

// Draws the integer line (X1, Y1)-(X2, Y2), both ends included. Along the major
// axis the line takes one pixel per step k = 0..D; its minor coordinate is the
// exact one rounded to nearest, a tie going to the smaller coordinate, so a
// line drawn either way round covers the same pixels. Style bit 15 belongs to
// the first end point.
void draw_integer_line(IMAGE* t, int64_t x1, int64_t y1, int64_t x2, int64_t y2, uint32_t col,
                       uint16_t style) {
  const int64_t w = t->WIDTH, h = t->HEIGHT;
  const int64_t row_step = t->PITCH / 4;
  uint32_t* const pixels = t->pixels();
  if (x1 == x2 && y1 == y2) {
    if (x1 >= 0 && x1 < w && y1 >= 0 && y1 < h && (style & 0x8000))
      pixels[y1 * row_step + x1] = col;
    return;
  }

  // u: the major axis, v: the minor one.
  const bool x_major = std::llabs(x2 - x1) >= std::llabs(y2 - y1);
  const int64_t u1 = x_major ? x1 : y1, v1 = x_major ? y1 : x1;
  const int64_t u2 = x_major ? x2 : y2, v2 = x_major ? y2 : x2;
  const int64_t u_size = x_major ? w : h, v_size = x_major ? h : w;
  const int64_t d = std::llabs(u2 - u1), e = std::llabs(v2 - v1);  // D >= 1, E <= D
  const int64_t su = u2 > u1 ? 1 : -1, sv = v2 >= v1 ? 1 : -1;
  // Minor offset at step k: M(k) = floor((2kE + D - BIAS) / 2D).
  const int64_t bias = sv > 0 ? 1 : 0;

  // Steps whose major coordinate lies inside the image.
  int64_t k0 = 0, k1 = d;
  if (su > 0) {
    k0 = std::max(k0, -u1);
    k1 = std::min(k1, u_size - 1 - u1);
  } else {
    k0 = std::max(k0, u1 - (u_size - 1));
    k1 = std::min(k1, u1);
  }
  // Minor offsets inside the image; M(k) rises from 0 to E, so they bound k.
  const int64_t m_lo = sv > 0 ? -v1 : v1 - (v_size - 1);
  const int64_t m_hi = sv > 0 ? v_size - 1 - v1 : v1;
  if (m_hi < 0 || m_lo > e) return;
  if (m_lo > 0) k0 = std::max(k0, ceil_div(2 * d * m_lo - d + bias, 2 * e));
  if (m_hi < e) k1 = std::min(k1, (2 * d * (m_hi + 1) - d + bias - 1) / (2 * e));
  if (k0 > k1) return;

  const int64_t two_d = 2 * d, two_e = 2 * e;
  const int64_t n0 = k0 * two_e + d - bias;
  // An end that was not clipped needs no division: M(0) = 0 and M(D) = E.
  const int64_t m0 = k0 == 0 ? 0 : n0 / two_d;
  const int64_t m1 = k1 == d ? e : (k1 * two_e + d - bias) / two_d;
  // Both ends of the visible run lie inside, and u and v are monotonic, so every
  // pixel between them does too. The check guards the arithmetic above.
  const int64_t ua = u1 + su * k0, ub = u1 + su * k1;
  const int64_t va = v1 + sv * m0, vb = v1 + sv * m1;
  if (std::min(ua, ub) < 0 || std::max(ua, ub) >= u_size || std::min(va, vb) < 0 ||
      std::max(va, vb) >= v_size)
    return;

  const ptrdiff_t u_step = su * (x_major ? 1 : row_step);
  const ptrdiff_t v_step = sv * (x_major ? row_step : 1);
  uint32_t* p = x_major ? pixels + va * row_step + ua : pixels + ua * row_step + va;
  int64_t r = n0 - m0 * two_d;
  const unsigned phase = unsigned(k0 & 15);
  uint16_t mask = uint16_t((style << phase) | (style >> ((16 - phase) & 15)));
  const int64_t count = k1 - k0 + 1;
  for (int64_t i = 0;;) {
    if (mask & 0x8000) *p = col;
    if (++i == count) break;
    mask = uint16_t((mask << 1) | (mask >> 15));
    p += u_step;
    r += two_e;
    if (r >= two_d) {
      r -= two_d;
      p += v_step;
    }
  }
}
}  // namespace

void draw_line(IMAGE* target, float x1, float y1, float x2, float y2, uint32_t col,
               uint16_t style) {
  if (!target) return;
  if (std::isnan(x1) || std::isnan(y1) || std::isnan(x2) || std::isnan(y2)) return;
  if (!image_is_usable(target)) return;

  double dx1 = finite(x1), dy1 = finite(y1), dx2 = finite(x2), dy2 = finite(y2);
  const double xlo = -SAFE_MARGIN, xhi = double(target->WIDTH) - 1 + SAFE_MARGIN;
  const double ylo = -SAFE_MARGIN, yhi = double(target->HEIGHT) - 1 + SAFE_MARGIN;
  const auto inside = [&](double x, double y) { return x >= xlo && x <= xhi && y >= ylo && y <= yhi; };
  if (!inside(dx1, dy1) || !inside(dx2, dy2)) {
    const bool x_major = std::fabs(dx2 - dx1) >= std::fabs(dy2 - dy1);
    const bool hit = x_major ? clip_along_major(dx1, dy1, dx2, dy2, xlo, xhi, ylo, yhi)
                             : clip_along_major(dy1, dx1, dy2, dx2, ylo, yhi, xlo, xhi);
    if (!hit) return;  // also a single far point: both differences are 0
  }
  // Clipping leaves the ends on the box up to rounding; pinning them keeps the
  // integer conversion defined whatever happened.
  const double bound = 2 * SAFE_MARGIN;
  const auto pin = [&](double v, double hi) {
    return round_i64_in_range(std::clamp(v, -bound, hi + bound));
  };
  if (std::isnan(dx1) || std::isnan(dy1) || std::isnan(dx2) || std::isnan(dy2)) return;
  draw_integer_line(target, pin(dx1, xhi), pin(dy1, yhi), pin(dx2, xhi), pin(dy2, yhi), col, style);
}

void draw_line(IMAGE* target, LinePen& pen, float x1, float y1, float x2, float y2, uint32_t col,
               uint16_t style) {
  pen = LinePen{x2, y2};
  draw_line(target, x1, y1, x2, y2, col, style);
}

void draw_line_to(IMAGE* target, LinePen& pen, float x2, float y2, uint32_t col, uint16_t style) {
  const LinePen from = pen;
  draw_line(target, pen, from.x, from.y, x2, y2, col, style);
}
