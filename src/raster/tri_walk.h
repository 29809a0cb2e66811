// Edge walking shared by both rasterizers: the triangle is drawn as a top and a
// bottom half, each clipped to the target's rows; every row's span is rounded
// to columns, clipped to the target's columns and handed to the caller's span
// routine with the interpolated values at its first pixel.
//
// A band of rows draws only its own rows, but reaches them exactly as the
// whole walk does: the same jump to row 0, then one addition per row and
// carried value. A shortcut (one multiplied jump to the band) would round
// differently and move edges by a pixel between bands.
//
// The span routine is called as draw_span(pixel_row, depth_row, SX, EX, V) with
// 0 <= SX < EX <= width and V[I] the value I at pixel SX; it steps V[I] by
// T.ddx[I] per pixel.
#pragma once
#include <algorithm>
#include <cstdint>

#include "base/rounding.h"
#include "raster/raster_target.h"
#include "tri_setup.h"

// Edge A: the left end of every span. It carries x and the N values.
template <int N>
struct LeftEdge {
  float x, dxdy;
  float v[N], dvdy[N];

  // Starts the edge at corner K's first row with slope SLOPE.
  void start(const TriSetup<N>& t, int k, float slope) {
    dxdy = slope;
    x = t.c[k].x + slope * t.dy[k];
    for (int i = 0; i < N; ++i) {
      dvdy[i] = t.ddx[i] * slope + t.ddy[i];
      v[i] = t.c[k].a[i] + dvdy[i] * t.dy[k];
    }
  }
  void step() {
    x += dxdy;
    for (int i = 0; i < N; ++i) v[i] += dvdy[i];
  }
};

// Edge B: the right end of every span; x only.
struct RightEdge {
  float x, dxdy;

  // Starts the edge at corner K's first row with slope SLOPE.
  template <int N>
  void start(const TriSetup<N>& t, int k, float slope) {
    dxdy = slope;
    x = t.c[k].x + slope * t.dy[k];
  }
  void step() { x += dxdy; }
};

// Column of a span end: halves to even. Positions beyond the 32-bit range are
// held at its limits first so that the integer conversion is always defined;
// every position inside the range rounds exactly as it would unclamped.
inline int64_t span_column(float x) {
  constexpr float LIMIT = 2147483648.0f;
  return round_i64_nan_indefinite(std::clamp(x, -LIMIT, LIMIT));
}

// Draws the rows of BAND among SY to EY - 1 (row numbers as exact doubles, any
// size) of one half, and leaves the edges where the whole walk leaves them
// whenever another half follows inside the band.
template <int N, class Span>
void walk_half(const TriSetup<N>& t, const RasterTarget& dst, const RowBand& band, double sy,
               double ey, LeftEdge<N>& a, RightEdge& b, Span& draw_span) {
  if (sy < 0) {
    // Skip the rows above the target, one multiplication per carried value.
    const float cnt = float(std::min(-sy, ey - sy));
    a.x += cnt * a.dxdy;
    b.x += cnt * b.dxdy;
    for (int i = 0; i < N; ++i) a.v[i] += cnt * a.dvdy[i];
    sy = std::min(0.0, ey);
  }
  if (ey > dst.height) ey = dst.height;
  if (!(sy < ey)) return;  // now 0 <= SY < EY <= height

  const int32_t last = int32_t(ey);
  int32_t y = int32_t(sy);
  // Rows above the band: stepped, not drawn.
  for (const int32_t first = std::clamp(band.first, y, last); y < first; ++y) {
    a.step();
    b.step();
  }
  for (const int32_t end = std::min(last, band.end); y < end; ++y) {
    // A NaN end or a right end left of the left end gives an empty span.
    if (a.x < b.x) {
      int64_t sx = span_column(a.x);
      const int64_t ex = std::min<int64_t>(span_column(b.x), dst.width);
      const float dx = 1.0f - (a.x - float(sx));
      float v[N];
      for (int i = 0; i < N; ++i) v[i] = a.v[i] + t.ddx[i] * dx;
      if (sx < 0) {
        const float skip = float(-sx);
        for (int i = 0; i < N; ++i) v[i] += skip * t.ddx[i];
        sx = 0;
      }
      if (ex > sx)
        draw_span(dst.pixel_row(y), dst.depth_row(y), int32_t(sx), int32_t(ex), v);
    }
    a.step();
    b.step();
  }
}

// Walks the set-up triangle T over the rows of BAND in DST: the top half first
// (rows of corner 1 to above corner 2), then the bottom half (rows of corner 2
// to above corner 3), skipped when it starts below the band.
template <int N, class Span>
void walk_triangle(const TriSetup<N>& t, const RasterTarget& dst, const RowBand& band,
                   Span&& draw_span) {
  LeftEdge<N> a;
  RightEdge b;
  const bool has_top = t.row[0] < t.row[1];
  const bool has_bottom = t.row[1] < t.row[2] && t.row[1] < band.end;
  if (!t.lside) {
    // Corner 2 on the right: the long edge is on the left for the whole triangle.
    a.start(t, 0, t.dxdy2);
    if (has_top) {
      b.start(t, 0, t.dxdy1);
      walk_half(t, dst, band, t.row[0], t.row[1], a, b, draw_span);
    }
    if (has_bottom) {
      b.start(t, 1, t.dxdy3);
      walk_half(t, dst, band, t.row[1], t.row[2], a, b, draw_span);
    }
  } else {
    // Corner 2 on the left: the long edge is on the right for the whole triangle.
    b.start(t, 0, t.dxdy2);
    if (has_top) {
      a.start(t, 0, t.dxdy1);
      walk_half(t, dst, band, t.row[0], t.row[1], a, b, draw_span);
    }
    if (has_bottom) {
      a.start(t, 1, t.dxdy3);
      walk_half(t, dst, band, t.row[1], t.row[2], a, b, draw_span);
    }
  }
}
