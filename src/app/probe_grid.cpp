#include "app/probe_grid.h"

#include <algorithm>
#include <cmath>

#include "math/geometry.h"

namespace {
constexpr int32_t MAX_SIDE_CELLS = 1024;
// A triangle whose grown shadow reaches into more cells than this goes on the
// wide list instead: the cell lists hold at most this many entries a triangle.
constexpr double MAX_CELLS_PER_TRIANGLE = 64;

enum class Kind : uint8_t { none, listed, wide };

// The first and last cell column and row of a listed triangle (a side has at
// most MAX_SIDE_CELLS cells).
struct CellSpan {
  int16_t c0, c1, r0, r1;
};
static_assert(MAX_SIDE_CELLS <= INT16_MAX);

// What placing a triangle needs of its corners: the extent of its shadow and
// its rounding reach (below), found in the first walk over the triangles.
struct Shadow {
  float x0, x1, z0, z1;
  double reach;
};

bool finite_corner(const NMATHF::VEC3F& v) {
  return std::isfinite(v.X) && std::isfinite(v.Y) && std::isfinite(v.Z);
}

// How much further than an ordinary triangle's the crossing test's rounding
// can reach from this one: 1 while its smallest height is at least a
// sixteenth of its longest side, else the longest side over the height over
// 16 (the normal's direction, and so the crossing point, gets that much less
// certain). Infinite without area.
double rounding_reach(const NMATHF::VEC3F& a, const NMATHF::VEC3F& b, const NMATHF::VEC3F& c) {
  const double ux = double(b.X) - a.X, uy = double(b.Y) - a.Y, uz = double(b.Z) - a.Z;
  const double vx = double(c.X) - a.X, vy = double(c.Y) - a.Y, vz = double(c.Z) - a.Z;
  const double wx = double(c.X) - b.X, wy = double(c.Y) - b.Y, wz = double(c.Z) - b.Z;
  const double cx = uy * vz - uz * vy, cy = uz * vx - ux * vz, cz = ux * vy - uy * vx;
  const double twice_area = std::sqrt(cx * cx + cy * cy + cz * cz);
  const double longest2 = std::max(
      {ux * ux + uy * uy + uz * uz, vx * vx + vy * vy + vz * vz, wx * wx + wy * wy + wz * wz});
  // longest / height = longest^2 / twice_area.
  if (16.0 * twice_area >= longest2) return 1.0;
  return twice_area > 0.0 ? longest2 / (16.0 * twice_area) : INFINITY;
}
}  // namespace

void ProbeGrid::build(const MODEL_STRUCT& maze) {
  *this = ProbeGrid();
  const uint32_t count = maze.MAX_TRIANGLES;
  if (count == 0 || !maze.TRIANGLES || !maze.VERTICES) return;
  const auto corner = [&](uint32_t i, int k) -> const NMATHF::VEC3F& {
    return maze.VERTICES[maze.TRIANGLES[i].POINT_ID(k)];
  };
  // Sort the triangles: no area (never crossed), not finite (wide), or to be
  // placed; the extent and the largest magnitude come from the finite ones.
  std::vector<Kind> kinds(count, Kind::listed);
  std::vector<Shadow> shadows(count);
  float lo_x = INFINITY, hi_x = -INFINITY, lo_z = INFINITY, hi_z = -INFINITY, scale = 0;
  bool any_finite = false;
  for (uint32_t i = 0; i < count; ++i) {
    for (int k = 1; k <= 3; ++k)
      if (maze.TRIANGLES[i].POINT_ID(k) >= maze.MAX_VERTICES) return;
    const NMATHF::VEC3F v[3] = {corner(i, 1), corner(i, 2), corner(i, 3)};
    const NMATHF::VEC3F n = NMATHF::POLY_NORMAL(v);
    if (n.X == 0.0f && n.Y == 0.0f && n.Z == 0.0f) {
      kinds[i] = Kind::none;  // its plane test has a zero product: never crossed
      continue;
    }
    if (!finite_corner(v[0]) || !finite_corner(v[1]) || !finite_corner(v[2])) {
      kinds[i] = Kind::wide;
      continue;
    }
    any_finite = true;
    shadows[i] = Shadow{std::min({v[0].X, v[1].X, v[2].X}), std::max({v[0].X, v[1].X, v[2].X}),
                        std::min({v[0].Z, v[1].Z, v[2].Z}), std::max({v[0].Z, v[1].Z, v[2].Z}),
                        rounding_reach(v[0], v[1], v[2])};
    for (const NMATHF::VEC3F& p : v) {
      lo_x = std::min(lo_x, p.X), hi_x = std::max(hi_x, p.X);
      lo_z = std::min(lo_z, p.Z), hi_z = std::max(hi_z, p.Z);
      scale = std::max({scale, std::fabs(p.X), std::fabs(p.Y), std::fabs(p.Z)});
    }
  }
  if (!any_finite) return;
  // Probes are looked up only up to a height of about twice the maze's size
  // above it, so every value the crossing test meets is below REACH. For a
  // triangle that is not a sliver its rounding errors come to a few units in
  // the last place of such values, times at most 16 (the sides over the
  // height): about REACH / 2^18; the margin is REACH / 2^8, a thousand times
  // wider. A sliver's margin grows with its rounding reach.
  max_abs_y_ = 2.0f * scale + 200.0f;
  const float reach = 3.0f * scale + 200.0f;
  const float margin = reach / 256.0f;
  min_x_ = lo_x - margin, max_x_ = hi_x + margin;
  min_z_ = lo_z - margin, max_z_ = hi_z + margin;
  // Coordinates near the float limit: the sizes overflow and no cell number
  // could be made of them. Without a grid every probe scans.
  if (!std::isfinite(reach) || !std::isfinite(max_x_ - min_x_) || !std::isfinite(max_z_ - min_z_)) {
    *this = ProbeGrid();
    return;
  }
  // About four triangles a cell, at most MAX_SIDE_CELLS cells a side.
  const float side = std::max(max_x_ - min_x_, max_z_ - min_z_);
  const float cells_per_side =
      std::clamp(std::sqrt(float(count) / 4.0f), 1.0f, float(MAX_SIDE_CELLS));
  cell_ = std::max(side / cells_per_side, margin);
  columns_ = std::clamp(int32_t(std::ceil((max_x_ - min_x_) / cell_)), 1, MAX_SIDE_CELLS);
  rows_ = std::clamp(int32_t(std::ceil((max_z_ - min_z_) / cell_)), 1, MAX_SIDE_CELLS);

  // The cells a triangle's grown shadow reaches; false for one that reaches
  // too many, which goes on the wide list.
  auto cell_range = [&](uint32_t i, int32_t& c0, int32_t& c1, int32_t& r0, int32_t& r1) {
    const Shadow& shadow = shadows[i];
    const double grown = double(margin) * shadow.reach;
    const float x0 = shadow.x0, x1 = shadow.x1, z0 = shadow.z0, z1 = shadow.z1;
    // Measured in double first, so that a huge margin makes no cell number.
    const double across = (double(x1) - x0 + 2.0 * grown) / cell_ + 2.0;
    const double down = (double(z1) - z0 + 2.0 * grown) / cell_ + 2.0;
    if (!(std::min(across, double(columns_)) * std::min(down, double(rows_)) <=
          MAX_CELLS_PER_TRIANGLE))
      return false;
    const float m = float(grown);
    c0 = column_of(x0 - m), c1 = column_of(x1 + m);
    r0 = row_of(z0 - m), r1 = row_of(z1 + m);
    return true;
  };
  // Counted first, then filled; counts in 64 bits. Each triangle's cells are
  // worked out once and kept for the filling.
  std::vector<uint64_t> sizes(cell_count() + 1, 0);
  std::vector<CellSpan> spans(count);
  uint64_t wide = 0;
  for (uint32_t i = 0; i < count; ++i) {
    if (kinds[i] != Kind::listed) {
      wide += kinds[i] == Kind::wide;
      continue;
    }
    int32_t c0, c1, r0, r1;
    if (!cell_range(i, c0, c1, r0, r1)) {
      kinds[i] = Kind::wide;
      ++wide;
      continue;
    }
    spans[i] = CellSpan{int16_t(c0), int16_t(c1), int16_t(r0), int16_t(r1)};
    for (int32_t r = r0; r <= r1; ++r)
      for (int32_t c = c0; c <= c1; ++c) ++sizes[size_t(r) * size_t(columns_) + size_t(c)];
  }
  shadows = std::vector<Shadow>();  // given back before the lists are made
  starts_.assign(sizes.size(), 0);
  for (size_t cell = 1; cell < sizes.size(); ++cell)
    starts_[cell] = starts_[cell - 1] + sizes[cell - 1];
  triangles_.resize(starts_.back());
  wide_.reserve(wide);
  std::vector<uint64_t> fill(starts_.begin(), starts_.end() - 1);
  for (uint32_t i = 0; i < count; ++i) {  // in stored order, so every list is too
    if (kinds[i] == Kind::wide) wide_.push_back(i);
    if (kinds[i] != Kind::listed) continue;
    const CellSpan& span = spans[i];
    for (int32_t r = span.r0; r <= span.r1; ++r)
      for (int32_t c = span.c0; c <= span.c1; ++c)
        triangles_[fill[size_t(r) * size_t(columns_) + size_t(c)]++] = i;
  }
}

// Held before it becomes an integer, so that a far coordinate (or an infinite
// one) makes no number out of range. X is never NaN here.
int32_t ProbeGrid::column_of(float x) const {
  return int32_t(std::clamp(std::floor((x - min_x_) / cell_), 0.0f, float(columns_ - 1)));
}

int32_t ProbeGrid::row_of(float z) const {
  return int32_t(std::clamp(std::floor((z - min_z_) / cell_), 0.0f, float(rows_ - 1)));
}

bool ProbeGrid::candidates(float x, float y, float z, Candidates& out) const {
  if (!built()) return false;
  // Written so that NaN fails every test.
  if (!(x >= min_x_ && x <= max_x_ && z >= min_z_ && z <= max_z_ && std::fabs(y) <= max_abs_y_))
    return false;
  const size_t cell = size_t(row_of(z)) * size_t(columns_) + size_t(column_of(x));
  out.cell_first = triangles_.data() + starts_[cell];
  out.cell_last = triangles_.data() + starts_[cell + 1];
  out.wide_first = wide_.data();
  out.wide_last = wide_.data() + wide_.size();
  return true;
}
