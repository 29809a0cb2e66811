// Triangle set-up shared by the flat and the textured rasterizer: corners moved
// onto the sampling grid and sorted top to bottom, degenerate triangles
// rejected, then the screen-space gradients of the interpolated values and the
// three edge slopes. All single precision, one rounding per operation.
#pragma once
#include <algorithm>
#include <cmath>
#include <utility>

#include "raster/raster_target.h"

// One corner: position on the sampling grid and N values that vary linearly in
// screen space (1/z first; u/z and v/z follow on the textured path).
template <int N>
struct RasterCorner {
  float x, y;
  float a[N];
};

template <int N>
struct TriSetup {
  RasterCorner<N> c[3];      // corners 1, 2, 3 sorted by Y
  double row[3];              // floor(Y) of each corner; a double holds it exactly
  float dy[3];                // from each corner down to its first row's sampling height
  float ddx[N], ddy[N];       // change per pixel to the right and per row down
  float dxdy1, dxdy2, dxdy3;  // slopes of edges 1-2, 1-3 (the long edge) and 2-3
  bool lside;                 // corner 2 lies left of the long edge
};

// Screen coordinate to sampling grid: pixel centres land on whole numbers. The
// half-pixel shift is added in double and rounded once to single.
inline float to_sampling_grid(float s) {
  return float(double(s) + 0.5);
}

// False when a triangle with corners at heights Y1, Y2, Y3 (on the sampling
// grid) cannot draw a row of BAND: it covers rows floor(top) to floor(bottom) - 1
// at most. A cheap test before the set-up's divisions.
inline bool rows_meet_band(float y1, float y2, float y3, const RowBand& band) {
  if (!std::isfinite(y1) || !std::isfinite(y2) || !std::isfinite(y3)) return false;
  const double top = std::floor(double(std::min({y1, y2, y3})));
  const double bottom = std::floor(double(std::max({y1, y2, y3})));
  return bottom > double(band.first) && top < double(band.end) && top < bottom;
}

// Fills T and returns true, or returns false when the triangle draws nothing.
template <int N>
bool setup_triangle(const RasterCorner<N>& p1, const RasterCorner<N>& p2,
                    const RasterCorner<N>& p3, TriSetup<N>& t) {
  RasterCorner<N>* c = t.c;
  c[0] = p1;
  c[1] = p2;
  c[2] = p3;
  // Strict comparisons: corners with equal Y keep their order.
  if (c[0].y > c[1].y) std::swap(c[0], c[1]);
  if (c[0].y > c[2].y) std::swap(c[0], c[2]);
  if (c[1].y > c[2].y) std::swap(c[1], c[2]);

  // A corner at infinity or NaN has no place on the grid: nothing to draw.
  for (int k = 0; k < 3; ++k)
    if (!std::isfinite(c[k].x) || !std::isfinite(c[k].y)) return false;

  const float x1 = c[0].x, y1 = c[0].y, x2 = c[1].x, y2 = c[1].y, x3 = c[2].x, y3 = c[2].y;
  for (int k = 0; k < 3; ++k) t.row[k] = std::floor(double(c[k].y));

  if (t.row[0] == t.row[1] && t.row[1] == t.row[2]) return false;  // no row
  if (std::floor(x1) == std::floor(x2) && std::floor(x2) == std::floor(x3)) return false;  // no column
  float dn = (x3 - x1) * (y2 - y1) - (x2 - x1) * (y3 - y1);
  if (dn == 0.0f) return false;  // no area
  dn = 1.0f / dn;

  for (int i = 0; i < N; ++i) {
    const float a1 = c[0].a[i], a2 = c[1].a[i], a3 = c[2].a[i];
    t.ddx[i] = ((a3 - a1) * (y2 - y1) - (a2 - a1) * (y3 - y1)) * dn;
    t.ddy[i] = ((a2 - a1) * (x3 - x1) - (a3 - a1) * (x2 - x1)) * dn;
  }

  t.dxdy1 = y2 > y1 ? (x2 - x1) / (y2 - y1) : 0.0f;
  t.dxdy2 = y3 > y1 ? (x3 - x1) / (y3 - y1) : 0.0f;
  t.dxdy3 = y3 > y2 ? (x3 - x2) / (y3 - y2) : 0.0f;

  // Later rules override earlier ones: a flat top or bottom decides by x alone.
  t.lside = t.dxdy2 > t.dxdy1;
  if (y1 == y2) t.lside = x1 > x2;
  if (y2 == y3) t.lside = x3 > x2;

  // floor(Y) of a finite single is a whole number a single holds exactly, so
  // the stored row converts back to the very single floor(Y) gives.
  for (int k = 0; k < 3; ++k) t.dy[k] = 1.0f - (c[k].y - float(t.row[k]));
  return true;
}
