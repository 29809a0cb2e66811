#include "chunk_view_test.h"

#include <algorithm>
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

// How far single-precision rounding could move a transformed vertex of the
// box: a generous share of the largest magnitude met on the way.
double rounding_margin(const ClipBox& b, const float* view) {
  double size = 1.0;
  for (int j = 0; j < 4; ++j) {
    size += std::fabs(b.centre[j]);
    for (int a = 0; a < 3; ++a) size += std::fabs(b.reach[j][a]);
  }
  for (int j = 12; j < 15; ++j) size += std::fabs(double(view[j]));
  return 1e-4 * size;
}
}  // namespace

bool chunk_outside_view(const ModelChunk& chunk, const float* view, const float* projection,
                        float near_w) {
  if (!chunk.bounded) return false;
  const ClipBox b = to_clip(chunk, view, projection);
  const double margin = rounding_margin(b, view);
  // Each test asks whether the box's largest value stays below -margin; a
  // NaN anywhere answers no.
  const bool nearer = largest(b, 3, 0.0, 1.0) - near_w < -margin;  // w < near
  const bool left = largest(b, 0, 1.0, 1.0) < -margin;              // x < -w
  const bool right = largest(b, 0, -1.0, 1.0) < -margin;            // x > w
  const bool below = largest(b, 1, 1.0, 1.0) < -margin;             // y < -w
  const bool above = largest(b, 1, -1.0, 1.0) < -margin;            // y > w
  return nearer || left || right || below || above;
}

ChunkReach chunk_reach(const ModelChunk& chunk, const float* view, const float* projection,
                       const Viewport& vp, float near_w) {
  ChunkReach r{true, 0.0, 0.0, 0.0, 0.0, 0.0};
  if (!chunk.bounded) return r;
  const ClipBox b = to_clip(chunk, view, projection);
  const double margin = rounding_margin(b, view);
  r.nearest_w = -largest(b, 3, 0.0, -1.0) - margin;
  // A NaN fails this test too.
  if (!(r.nearest_w > double(near_w))) return r;
  r.before_near = false;
  // Every corner lies beyond the eye, so the box's picture is the hull of
  // its corners' pictures, mapped to the screen as the projection maps them.
  // Each corner's x, y and w may be off by the margin (w stays above the
  // near plane): its picture is taken over those moves too.
  double nx0 = INFINITY, nx1 = -INFINITY, ny0 = INFINITY, ny1 = -INFINITY;
  for (int corner = 0; corner < 8; ++corner) {
    double c[4];
    for (int j = 0; j < 4; ++j) {
      c[j] = b.centre[j];
      for (int a = 0; a < 3; ++a) c[j] += (corner >> a & 1) ? b.reach[j][a] : -b.reach[j][a];
    }
    for (const double dw : {-margin, margin})
      for (const double d : {-margin, margin}) {
        const double nx = (c[0] + d) / (c[3] + dw), ny = (c[1] + d) / (c[3] + dw);
        nx0 = std::min(nx0, nx), nx1 = std::max(nx1, nx);
        ny0 = std::min(ny0, ny), ny1 = std::max(ny1, ny);
      }
  }
  const double sw = vp.sw, sh = vp.sh, top = vp.topf;
  r.x0 = (sw + 1.0) * nx0 + sw, r.x1 = (sw + 1.0) * nx1 + sw;
  r.y0 = top - sh - (sh + 1.0) * ny1, r.y1 = top - sh - (sh + 1.0) * ny0;
  return r;
}
