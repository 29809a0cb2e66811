// Triangle set-up shared by the flat and the textured rasterizer: corners moved
// onto the sampling grid and sorted top to bottom, degenerate triangles
// rejected, then the screen-space gradients of the interpolated values and the
// three edge slopes. All single precision, one rounding per operation.
#pragma once
#include <cmath>
#include <utility>

// One corner: position on the sampling grid and N values that vary linearly in
// screen space (1/z first; u/z and v/z follow on the textured path).
template <int N>
struct RASTER_CORNER {
  float X, Y;
  float A[N];
};

template <int N>
struct TRI_SETUP {
  RASTER_CORNER<N> C[3];      // corners 1, 2, 3 sorted by Y
  double ROW[3];              // floor(Y) of each corner; a double holds it exactly
  float DY[3];                // from each corner down to its first row's sampling height
  float DDX[N], DDY[N];       // change per pixel to the right and per row down
  float DXDY1, DXDY2, DXDY3;  // slopes of edges 1-2, 1-3 (the long edge) and 2-3
  bool LSIDE;                 // corner 2 lies left of the long edge
};

// Screen coordinate to sampling grid: pixel centres land on whole numbers. The
// half-pixel shift is added in double and rounded once to single.
inline float TO_SAMPLING_GRID(float S) {
  return float(double(S) + 0.5);
}

// Fills T and returns true, or returns false when the triangle draws nothing.
template <int N>
bool SETUP_TRIANGLE(const RASTER_CORNER<N>& P1, const RASTER_CORNER<N>& P2,
                    const RASTER_CORNER<N>& P3, TRI_SETUP<N>& T) {
  RASTER_CORNER<N>* C = T.C;
  C[0] = P1;
  C[1] = P2;
  C[2] = P3;
  // Strict comparisons: corners with equal Y keep their order.
  if (C[0].Y > C[1].Y) std::swap(C[0], C[1]);
  if (C[0].Y > C[2].Y) std::swap(C[0], C[2]);
  if (C[1].Y > C[2].Y) std::swap(C[1], C[2]);

  // A corner at infinity or NaN has no place on the grid: nothing to draw.
  for (int K = 0; K < 3; ++K)
    if (!std::isfinite(C[K].X) || !std::isfinite(C[K].Y)) return false;

  const float X1 = C[0].X, Y1 = C[0].Y, X2 = C[1].X, Y2 = C[1].Y, X3 = C[2].X, Y3 = C[2].Y;
  for (int K = 0; K < 3; ++K) T.ROW[K] = std::floor(double(C[K].Y));

  if (T.ROW[0] == T.ROW[1] && T.ROW[1] == T.ROW[2]) return false;  // no row
  if (std::floor(X1) == std::floor(X2) && std::floor(X2) == std::floor(X3)) return false;  // no column
  float DN = (X3 - X1) * (Y2 - Y1) - (X2 - X1) * (Y3 - Y1);
  if (DN == 0.0f) return false;  // no area
  DN = 1.0f / DN;

  for (int I = 0; I < N; ++I) {
    const float A1 = C[0].A[I], A2 = C[1].A[I], A3 = C[2].A[I];
    T.DDX[I] = ((A3 - A1) * (Y2 - Y1) - (A2 - A1) * (Y3 - Y1)) * DN;
    T.DDY[I] = ((A2 - A1) * (X3 - X1) - (A3 - A1) * (X2 - X1)) * DN;
  }

  T.DXDY1 = Y2 > Y1 ? (X2 - X1) / (Y2 - Y1) : 0.0f;
  T.DXDY2 = Y3 > Y1 ? (X3 - X1) / (Y3 - Y1) : 0.0f;
  T.DXDY3 = Y3 > Y2 ? (X3 - X2) / (Y3 - Y2) : 0.0f;

  // Later rules override earlier ones: a flat top or bottom decides by x alone.
  T.LSIDE = T.DXDY2 > T.DXDY1;
  if (Y1 == Y2) T.LSIDE = X1 > X2;
  if (Y2 == Y3) T.LSIDE = X3 > X2;

  for (int K = 0; K < 3; ++K) T.DY[K] = 1.0f - (C[K].Y - std::floor(C[K].Y));
  return true;
}
