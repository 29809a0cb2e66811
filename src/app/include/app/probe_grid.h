// The maze's triangles indexed by where they lie seen from above, for the
// ground probe: a vertical segment can only cross a triangle whose shadow on
// the floor plane holds the segment's x and z. Each cell of the grid lists, in
// stored order, the triangles whose shadow (grown by a margin far wider than
// any rounding of the crossing test) reaches into it. A triangle that would
// reach into many cells (a long sliver, whose rounding reaches far, or a huge
// one) or is not a finite number is kept once on a short wide list that every
// query looks at, so the grid's size stays proportional to the triangles. A
// triangle without area is never crossed and is left out. The solid walls
// (collision.h) look up their nearby triangles in it too.
#pragma once
#include <algorithm>
#include <cstdint>
#include <vector>

#include "model/model.h"

class ProbeGrid {
 public:
  // Indexes MAZE's triangles. A maze that names a vertex it does not have, or
  // whose finite coordinates come near the float limit, gets no grid: every
  // probe then tests every triangle. Throws std::bad_alloc when memory runs out.
  void build(const MODEL_STRUCT& maze);

  // The triangles that a vertical probe can cross: a cell's list and the wide
  // list, each in stored order.
  struct Candidates {
    const uint32_t *cell_first = nullptr, *cell_last = nullptr;
    const uint32_t *wide_first = nullptr, *wide_last = nullptr;

    // Calls VISIT(id) for every candidate in stored order until it returns true.
    template <class Visit>
    void in_stored_order(Visit&& visit) const {
      const uint32_t *a = cell_first, *b = wide_first;
      while (a != cell_last || b != wide_last) {
        const bool from_cell = b == wide_last || (a != cell_last && *a < *b);
        if (visit(from_cell ? *a++ : *b++)) return;
      }
    }
  };

  // The candidates of a vertical probe from (X, Y, Z) downwards; false when the
  // grid cannot tell (no grid, or a probe outside it, too high above it, or at
  // a position that is not a finite number): then every triangle must be tested.
  bool candidates(float x, float y, float z, Candidates& out) const;

  // Calls VISIT(id) for each triangle listed in the cells that the box from
  // (X0, Z0) to (X1, Z1) covers (X0 <= X1, Z0 <= Z1, all finite; the box held
  // to the grid's extent), once for each such cell that lists it, and for each
  // triangle of the wide list: so for every triangle with area whose shadow's
  // bounding box meets the box, and for others. False, visiting nothing, when
  // there is no grid.
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
        for (uint64_t k = starts_[cell]; k < starts_[cell + 1]; ++k) visit(triangles_[k]);
      }
    for (const uint32_t id : wide_) visit(id);
    return true;
  }

  bool built() const { return columns_ > 0; }
  // What the grid keeps: cells, cell entries and wide-list entries.
  size_t cell_count() const { return size_t(columns_) * size_t(rows_); }
  size_t listed() const { return triangles_.size(); }
  size_t wide() const { return wide_.size(); }

 private:
  int32_t column_of(float x) const;  // the cell column of X, held to the grid
  int32_t row_of(float z) const;

  float min_x_ = 0, min_z_ = 0, max_x_ = 0, max_z_ = 0;  // the grid's extent, margin included
  float max_abs_y_ = 0;                                  // probes from higher up are not looked up
  float cell_ = 1;                                       // side of a cell
  int32_t columns_ = 0, rows_ = 0;
  std::vector<uint64_t> starts_;     // per cell, where its list begins in triangles_
  std::vector<uint32_t> triangles_;  // the lists, one after another
  std::vector<uint32_t> wide_;       // looked at by every query, in stored order
};
