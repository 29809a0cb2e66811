// Edge walking shared by both rasterizers: the triangle is drawn as a top and a
// bottom half, each clipped to the target's rows; every row's span is rounded
// to columns, clipped to the target's columns and handed to the caller's span
// routine with the interpolated values at its first pixel.
//
// The span routine is called as DRAW_SPAN(PIXEL_ROW, DEPTH_ROW, SX, EX, V) with
// 0 <= SX < EX <= width and V[I] the value I at pixel SX; it steps V[I] by
// T.DDX[I] per pixel.
#pragma once
#include <algorithm>
#include <cstdint>

#include "raster_target.h"
#include "math/rounding.h"
#include "tri_setup.h"

// Edge A: the left end of every span. It carries x and the N values.
template <int N>
struct LEFT_EDGE {
  float X, DXDY;
  float V[N], DVDY[N];

  // Starts the edge at corner K's first row with slope SLOPE.
  void START(const TRI_SETUP<N>& T, int K, float SLOPE) {
    DXDY = SLOPE;
    X = T.C[K].X + SLOPE * T.DY[K];
    for (int I = 0; I < N; ++I) {
      DVDY[I] = T.DDX[I] * SLOPE + T.DDY[I];
      V[I] = T.C[K].A[I] + DVDY[I] * T.DY[K];
    }
  }
};

// Edge B: the right end of every span; x only.
struct RIGHT_EDGE {
  float X, DXDY;

  // Starts the edge at corner K's first row with slope SLOPE.
  template <int N>
  void START(const TRI_SETUP<N>& T, int K, float SLOPE) {
    DXDY = SLOPE;
    X = T.C[K].X + SLOPE * T.DY[K];
  }
};

// Column of a span end: halves to even. Positions beyond the 32-bit range are
// held at its limits first so that the integer conversion is always defined;
// every position inside the range rounds exactly as it would unclamped.
inline int64_t SPAN_COLUMN(float X) {
  constexpr float LIMIT = 2147483648.0f;
  return ROUND_TO_I64(std::clamp(X, -LIMIT, LIMIT));
}

// Draws rows SY to EY - 1 (row numbers as exact doubles, any size) of one half.
template <int N, class SPAN>
void WALK_HALF(const TRI_SETUP<N>& T, const RASTER_TARGET& DST, double SY, double EY,
               LEFT_EDGE<N>& A, RIGHT_EDGE& B, SPAN& DRAW_SPAN) {
  if (SY < 0) {
    // Skip the rows above the target, one multiplication per carried value.
    const float CNT = float(std::min(-SY, EY - SY));
    A.X += CNT * A.DXDY;
    B.X += CNT * B.DXDY;
    for (int I = 0; I < N; ++I) A.V[I] += CNT * A.DVDY[I];
    SY = std::min(0.0, EY);
  }
  if (EY > DST.HEIGHT) EY = DST.HEIGHT;
  if (!(SY < EY)) return;  // now 0 <= SY < EY <= height

  const int32_t LAST = int32_t(EY);
  for (int32_t Y = int32_t(SY); Y < LAST; ++Y) {
    // A NaN end or a right end left of the left end gives an empty span.
    if (A.X < B.X) {
      int64_t SX = SPAN_COLUMN(A.X);
      const int64_t EX = std::min<int64_t>(SPAN_COLUMN(B.X), DST.WIDTH);
      const float DX = 1.0f - (A.X - float(SX));
      float V[N];
      for (int I = 0; I < N; ++I) V[I] = A.V[I] + T.DDX[I] * DX;
      if (SX < 0) {
        const float SKIP = float(-SX);
        for (int I = 0; I < N; ++I) V[I] += SKIP * T.DDX[I];
        SX = 0;
      }
      if (EX > SX)
        DRAW_SPAN(DST.PIXEL_ROW(Y), DST.DEPTH_ROW(Y), int32_t(SX), int32_t(EX), V);
    }
    A.X += A.DXDY;
    B.X += B.DXDY;
    for (int I = 0; I < N; ++I) A.V[I] += A.DVDY[I];
  }
}

// Walks the set-up triangle T over DST: the top half first (rows of corner 1 to
// above corner 2), then the bottom half (rows of corner 2 to above corner 3).
template <int N, class SPAN>
void WALK_TRIANGLE(const TRI_SETUP<N>& T, const RASTER_TARGET& DST, SPAN&& DRAW_SPAN) {
  LEFT_EDGE<N> A;
  RIGHT_EDGE B;
  const bool HAS_TOP = T.ROW[0] < T.ROW[1];
  const bool HAS_BOTTOM = T.ROW[1] < T.ROW[2];
  if (!T.LSIDE) {
    // Corner 2 on the right: the long edge is on the left for the whole triangle.
    A.START(T, 0, T.DXDY2);
    if (HAS_TOP) {
      B.START(T, 0, T.DXDY1);
      WALK_HALF(T, DST, T.ROW[0], T.ROW[1], A, B, DRAW_SPAN);
    }
    if (HAS_BOTTOM) {
      B.START(T, 1, T.DXDY3);
      WALK_HALF(T, DST, T.ROW[1], T.ROW[2], A, B, DRAW_SPAN);
    }
  } else {
    // Corner 2 on the left: the long edge is on the right for the whole triangle.
    B.START(T, 0, T.DXDY2);
    if (HAS_TOP) {
      A.START(T, 0, T.DXDY1);
      WALK_HALF(T, DST, T.ROW[0], T.ROW[1], A, B, DRAW_SPAN);
    }
    if (HAS_BOTTOM) {
      A.START(T, 1, T.DXDY3);
      WALK_HALF(T, DST, T.ROW[1], T.ROW[2], A, B, DRAW_SPAN);
    }
  }
}
