// The maze's triangles indexed by where they lie seen from above, for the
// ground probe: a vertical segment can only cross a triangle whose shadow on
// the floor plane holds the segment's x and z. Each cell of the grid lists, in
// stored order, the triangles whose shadow (grown by a margin far wider than
// any rounding of the crossing test) reaches into it, so the probe tests only
// those and the first hit in stored order is still the one it takes. The
// solid walls (collision.h) look up their nearby triangles in it too.
#pragma once
#include <algorithm>
#include <cstdint>
#include <vector>

#include "model/model.h"

class ProbeGrid {
 public:
  // Indexes MAZE's triangles. A maze with a corner that is not a finite number
  // (or names a vertex it does not have) gets no grid: every probe then tests
  // every triangle.
  void build(const MODEL_STRUCT& maze);

  // The triangles, in stored order, that a vertical probe from (X, Y, Z)
  // downwards can cross, as [FIRST, LAST); false when the grid cannot tell
  // (no grid, or a probe outside it, too high above it, or at a position that
  // is not a finite number): then every triangle must be tested.
  bool candidates(float x, float y, float z, const uint32_t*& first, const uint32_t*& last) const;

  // Calls VISIT(id) for each triangle listed in the cells that the box from
  // (X0, Z0) to (X1, Z1) covers (X0 <= X1, Z0 <= Z1, all finite; the box held
  // to the grid's extent): so for every triangle whose shadow's bounding box
  // meets the box, and for others near it, once for each such cell that lists
  // it. False, visiting nothing, when there is no grid.
  template <class Visit>
  bool visit_box(double x0, double z0, double x1, double z1, Visit&& visit) const {
    if (!built()) return false;
    // Held to the extent first: a box far off makes no cell number out of range.
    const auto held = [](double v, float lo, float hi) {
      return float(std::clamp(v, double(lo), double(hi)));
    };
    const int32_t c0 = column_of(held(x0, min_x_, max_x_));
    const int32_t c1 = column_of(held(x1, min_x_, max_x_));
    const int32_t r0 = row_of(held(z0, min_z_, max_z_));
    const int32_t r1 = row_of(held(z1, min_z_, max_z_));
    for (int32_t r = r0; r <= r1; ++r)
      for (int32_t c = c0; c <= c1; ++c) {
        const size_t cell = size_t(r) * size_t(columns_) + size_t(c);
        for (uint32_t k = starts_[cell]; k < starts_[cell + 1]; ++k) visit(triangles_[k]);
      }
    return true;
  }

  bool built() const { return columns_ > 0; }

 private:
  int32_t column_of(float x) const;  // the cell column of X, held to the grid
  int32_t row_of(float z) const;

  float min_x_ = 0, min_z_ = 0, max_x_ = 0, max_z_ = 0;  // the grid's extent, margin included
  float max_abs_y_ = 0;                                  // probes from higher up are not looked up
  float cell_ = 1;                                       // side of a cell
  int32_t columns_ = 0, rows_ = 0;
  std::vector<uint32_t> starts_;     // per cell, where its list begins in triangles_
  std::vector<uint32_t> triangles_;  // the lists, one after another
};
