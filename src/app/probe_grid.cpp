#include "app/probe_grid.h"

#include <algorithm>
#include <cmath>

namespace {
constexpr int32_t MAX_SIDE_CELLS = 256;

// A sliver: its smallest height is under a sixteenth of its longest side. The
// crossing test's rounding can then reach further from the triangle than the
// margin covers (up to the length over the height times a few units in the
// last place), so a sliver is listed in every cell. Triangles without area
// are slivers too (they are never crossed, but cost nothing to keep).
bool is_sliver(const NMATHF::VEC3F& a, const NMATHF::VEC3F& b, const NMATHF::VEC3F& c) {
  const double ux = double(b.X) - a.X, uy = double(b.Y) - a.Y, uz = double(b.Z) - a.Z;
  const double vx = double(c.X) - a.X, vy = double(c.Y) - a.Y, vz = double(c.Z) - a.Z;
  const double wx = double(c.X) - b.X, wy = double(c.Y) - b.Y, wz = double(c.Z) - b.Z;
  const double cx = uy * vz - uz * vy, cy = uz * vx - ux * vz, cz = ux * vy - uy * vx;
  const double twice_area = std::sqrt(cx * cx + cy * cy + cz * cz);
  const double longest2 = std::max(
      {ux * ux + uy * uy + uz * uz, vx * vx + vy * vy + vz * vz, wx * wx + wy * wy + wz * wz});
  // Height onto the longest side = twice_area / longest; compared squared-free.
  return !(16.0 * twice_area >= longest2);
}
}  // namespace

void ProbeGrid::build(const MODEL_STRUCT& maze) {
  *this = ProbeGrid();
  const uint32_t count = maze.MAX_TRIANGLES;
  if (count == 0 || !maze.TRIANGLES || !maze.VERTICES) return;
  // The extent of the triangles and the largest coordinate magnitude.
  float lo_x = INFINITY, hi_x = -INFINITY, lo_z = INFINITY, hi_z = -INFINITY, scale = 0;
  for (uint32_t i = 0; i < count; ++i)
    for (int k = 1; k <= 3; ++k) {
      const uint32_t id = maze.TRIANGLES[i].POINT_ID(k);
      if (id >= maze.MAX_VERTICES) return;
      const NMATHF::VEC3F& v = maze.VERTICES[id];
      if (!std::isfinite(v.X) || !std::isfinite(v.Y) || !std::isfinite(v.Z)) return;
      lo_x = std::min(lo_x, v.X), hi_x = std::max(hi_x, v.X);
      lo_z = std::min(lo_z, v.Z), hi_z = std::max(hi_z, v.Z);
      scale = std::max({scale, std::fabs(v.X), std::fabs(v.Y), std::fabs(v.Z)});
    }
  // Probes are looked up only up to a height of about twice the maze's size
  // above it, so every value the crossing test meets is below REACH. For a
  // triangle that is not a sliver its rounding errors come to a few units in
  // the last place of such values, times at most 16 (the sides over the
  // height): about REACH / 2^18; the margin is REACH / 2^8, a thousand times
  // wider.
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

  // The cells a triangle's grown shadow reaches; counted first, then filled.
  auto cell_range = [&](uint32_t i, int32_t& c0, int32_t& c1, int32_t& r0, int32_t& r1) {
    const TRIANGLE_STRUCT& t = maze.TRIANGLES[i];
    const NMATHF::VEC3F& a = maze.VERTICES[t.POINT_ID(1)];
    const NMATHF::VEC3F& b = maze.VERTICES[t.POINT_ID(2)];
    const NMATHF::VEC3F& c = maze.VERTICES[t.POINT_ID(3)];
    if (is_sliver(a, b, c)) {
      c0 = r0 = 0, c1 = columns_ - 1, r1 = rows_ - 1;
      return;
    }
    const float x0 = std::min({a.X, b.X, c.X}), x1 = std::max({a.X, b.X, c.X});
    const float z0 = std::min({a.Z, b.Z, c.Z}), z1 = std::max({a.Z, b.Z, c.Z});
    c0 = column_of(x0 - margin), c1 = column_of(x1 + margin);
    r0 = row_of(z0 - margin), r1 = row_of(z1 + margin);
  };
  std::vector<uint32_t> sizes(size_t(columns_) * size_t(rows_) + 1, 0);
  for (uint32_t i = 0; i < count; ++i) {
    int32_t c0, c1, r0, r1;
    cell_range(i, c0, c1, r0, r1);
    for (int32_t r = r0; r <= r1; ++r)
      for (int32_t c = c0; c <= c1; ++c) ++sizes[size_t(r) * size_t(columns_) + size_t(c)];
  }
  starts_.assign(sizes.size(), 0);
  for (size_t cell = 1; cell < sizes.size(); ++cell)
    starts_[cell] = starts_[cell - 1] + sizes[cell - 1];
  triangles_.resize(starts_.back());
  std::vector<uint32_t> fill(starts_.begin(), starts_.end() - 1);
  for (uint32_t i = 0; i < count; ++i) {  // in stored order, so every list is too
    int32_t c0, c1, r0, r1;
    cell_range(i, c0, c1, r0, r1);
    for (int32_t r = r0; r <= r1; ++r)
      for (int32_t c = c0; c <= c1; ++c)
        triangles_[fill[size_t(r) * size_t(columns_) + size_t(c)]++] = i;
  }
}

int32_t ProbeGrid::column_of(float x) const {
  return std::clamp(int32_t(std::floor((x - min_x_) / cell_)), 0, columns_ - 1);
}

int32_t ProbeGrid::row_of(float z) const {
  return std::clamp(int32_t(std::floor((z - min_z_) / cell_)), 0, rows_ - 1);
}

bool ProbeGrid::candidates(float x, float y, float z, const uint32_t*& first,
                           const uint32_t*& last) const {
  if (!built()) return false;
  // Written so that NaN fails every test.
  if (!(x >= min_x_ && x <= max_x_ && z >= min_z_ && z <= max_z_ && std::fabs(y) <= max_abs_y_))
    return false;
  const size_t cell = size_t(row_of(z)) * size_t(columns_) + size_t(column_of(x));
  first = triangles_.data() + starts_[cell];
  last = triangles_.data() + starts_[cell + 1];
  return true;
}
