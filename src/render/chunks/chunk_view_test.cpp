#include "chunk_view_test.h"

#include <cmath>

namespace {
// The box's centre and half sides carried to clip space in double: the centre
// as a point, the half sides as directions (the matrices' linear parts).
struct ClipBox {
  double centre[4];
  double reach[4][3];  // per clip component, each half side's contribution
};

ClipBox to_clip(const ModelChunk& c, const float* v, const float* p) {
  const double centre[3] = {(double(c.low.X) + c.high.X) / 2, (double(c.low.Y) + c.high.Y) / 2,
                            (double(c.low.Z) + c.high.Z) / 2};
  const double half[3] = {(double(c.high.X) - c.low.X) / 2, (double(c.high.Y) - c.low.Y) / 2,
                          (double(c.high.Z) - c.low.Z) / 2};
  double view_centre[3], view_axis[3][3];
  for (int j = 0; j < 3; ++j) {
    view_centre[j] = v[j] * centre[0] + v[4 + j] * centre[1] + v[8 + j] * centre[2] + v[12 + j];
    for (int a = 0; a < 3; ++a) view_axis[a][j] = v[4 * a + j] * half[a];
  }
  ClipBox b;
  for (int j = 0; j < 4; ++j) {
    b.centre[j] = p[j] * view_centre[0] + p[4 + j] * view_centre[1] + p[8 + j] * view_centre[2] +
                  p[12 + j];
    for (int a = 0; a < 3; ++a)
      b.reach[j][a] = p[j] * view_axis[a][0] + p[4 + j] * view_axis[a][1] + p[8 + j] * view_axis[a][2];
  }
  return b;
}

// The largest value of S * component J + T * w over the box (S, T in -1, 0, 1).
double largest(const ClipBox& b, int j, double s, double t) {
  double value = s * b.centre[j] + t * b.centre[3];
  for (int a = 0; a < 3; ++a) value += std::fabs(s * b.reach[j][a] + t * b.reach[3][a]);
  return value;
}
}  // namespace

bool chunk_outside_view(const ModelChunk& chunk, const float* view, const float* projection,
                        float near_w) {
  if (!chunk.bounded) return false;
  const ClipBox b = to_clip(chunk, view, projection);
  // How far single-precision rounding could move a transformed vertex: a
  // generous share of the largest magnitude met on the way.
  double size = 1.0;
  for (int j = 0; j < 4; ++j) {
    size += std::fabs(b.centre[j]);
    for (int a = 0; a < 3; ++a) size += std::fabs(b.reach[j][a]);
  }
  for (int j = 12; j < 15; ++j) size += std::fabs(double(view[j]));
  const double margin = 1e-4 * size;
  // Each test asks whether the box's largest value stays below -margin; a
  // NaN anywhere answers no.
  const bool nearer = largest(b, 3, 0.0, 1.0) - near_w < -margin;  // w < near
  const bool left = largest(b, 0, 1.0, 1.0) < -margin;              // x < -w
  const bool right = largest(b, 0, -1.0, 1.0) < -margin;            // x > w
  const bool below = largest(b, 1, 1.0, 1.0) < -margin;             // y < -w
  const bool above = largest(b, 1, -1.0, 1.0) < -margin;            // y > w
  return nearer || left || right || below || above;
}
