#include "occlusion_map.h"

#include <algorithm>
#include <cmath>

#include "raster/triangles.h"
#include "render/render_globals.h"

namespace {
// A chunk is hidden only when its nearest 1/z, raised by this share, stays
// below the tiles': room for the rasterizer's rounding of 1/z along its edges
// and spans, and for the textured rasterizer's own rounding.
constexpr double DEPTH_MARGIN = 1.0 / 256.0;
// Pixels added around a chunk's picture: room for the rounding of the
// vertices' screen positions and of the stepped edges.
constexpr double PIXEL_MARGIN = 2.0;
}  // namespace

void OcclusionMap::draw(DrawWorkers& workers, int32_t width, int32_t height,
                        const std::vector<EntryRun>& runs) {
  width_ = std::max(width, int32_t(0));
  height_ = std::max(height, int32_t(0));
  tiles_wide_ = (width_ + TILE - 1) / TILE;
  tiles_high_ = (height_ + TILE - 1) / TILE;
  const int32_t bands = std::max(1, std::min(workers.frame_bands(width_, height_), tiles_high_));
  depth_.resize(size_t(width_) * size_t(height_));
  colour_.resize(size_t(width_) * size_t(bands));
  tiles_.resize(size_t(tiles_wide_) * size_t(tiles_high_));
  if (tiles_high_ == 0 || tiles_wide_ == 0) return;
  workers.for_each_band(bands, [&](int32_t band) { draw_band(runs, band, bands); });
  // Each block keeps the farthest of its tiles.
  blocks_wide_ = (tiles_wide_ + BLOCK - 1) / BLOCK;
  const int32_t blocks_high = (tiles_high_ + BLOCK - 1) / BLOCK;
  blocks_.assign(size_t(blocks_wide_) * size_t(blocks_high), INFINITY);
  for (int32_t ty = 0; ty < tiles_high_; ++ty) {
    float* block = blocks_.data() + size_t(ty / BLOCK) * size_t(blocks_wide_);
    const float* tile = tiles_.data() + size_t(ty) * size_t(tiles_wide_);
    for (int32_t tx = 0; tx < tiles_wide_; ++tx)
      block[tx / BLOCK] = std::min(block[tx / BLOCK], tile[tx]);
  }
}

void OcclusionMap::draw_band(const std::vector<EntryRun>& runs, int32_t band, int32_t bands) {
  // Whole tile rows per band, so each band reduces its own tiles.
  const BandRows tile_rows = band_rows(tiles_high_, bands, band);
  const int32_t first = tile_rows.first * TILE, end = std::min(tile_rows.end * TILE, height_);
  std::fill(depth_.begin() + ptrdiff_t(first) * width_, depth_.begin() + ptrdiff_t(end) * width_,
            0.0f);
  // The colours go to one row of the band's own (a pitch of 0): only the
  // depth is wanted.
  RasterTarget target;
  target.pixels = reinterpret_cast<uint8_t*>(colour_.data() + size_t(band) * size_t(width_));
  target.pitch = 0;
  target.width = width_;
  target.height = height_;
  target.depth = depth_.data();
  const DrawScope scope{RowBand{first, end}, simd_path};
  for (const EntryRun& run : runs)
    for (uint32_t i = 0; i < run.count; ++i) {
      const NMATHF::VEC3F* v = run.first[i].VEC.data();
      draw_flat_triangle(target, scope, v[0].X, v[0].Y, v[0].Z, v[1].X, v[1].Y, v[1].Z, v[2].X,
                         v[2].Y, v[2].Z, 0u);
    }
  for (int32_t ty = tile_rows.first; ty < tile_rows.end; ++ty) {
    float* tile = tiles_.data() + size_t(ty) * size_t(tiles_wide_);
    std::fill(tile, tile + tiles_wide_, INFINITY);
    for (int32_t y = ty * TILE, y_end = std::min(y + TILE, height_); y < y_end; ++y) {
      const float* row = target.depth_row(y);
      for (int32_t tx = 0; tx < tiles_wide_; ++tx) {
        float farthest = tile[tx];
        for (int32_t x = tx * TILE, x_end = std::min(x + TILE, width_); x < x_end; ++x)
          farthest = std::min(farthest, row[x]);
        tile[tx] = farthest;
      }
    }
  }
}

bool OcclusionMap::hides(const ChunkReach& reach) const {
  if (reach.before_near || tiles_.empty()) return false;
  // The pixels the chunk could cover, inclusive; any NaN keeps the chunk.
  const double x0 = std::floor(reach.x0 - PIXEL_MARGIN), x1 = std::ceil(reach.x1 + PIXEL_MARGIN);
  const double y0 = std::floor(reach.y0 - PIXEL_MARGIN), y1 = std::ceil(reach.y1 + PIXEL_MARGIN);
  if (!(x0 <= x1 && y0 <= y1)) return false;
  if (x1 < 0.0 || y1 < 0.0 || x0 >= width_ || y0 >= height_) return true;  // off the picture
  const int32_t c0 = int32_t(std::max(x0, 0.0)), c1 = int32_t(std::min(x1, double(width_ - 1)));
  const int32_t r0 = int32_t(std::max(y0, 0.0)), r1 = int32_t(std::min(y1, double(height_ - 1)));
  const double nearest = (1.0 / reach.nearest_w) * (1.0 + DEPTH_MARGIN);
  if (!(nearest > 0.0 && nearest < 3.0e38)) return false;
  // The float at or above it: a tile beyond that is beyond NEAREST too.
  float limit = float(nearest);
  if (double(limit) < nearest) limit = std::nextafter(limit, INFINITY);
  const int32_t tx0 = c0 / TILE, tx1 = c1 / TILE, ty0 = r0 / TILE, ty1 = r1 / TILE;
  // Blocks whose farthest tile is beyond the limit need no look at their tiles.
  for (int32_t by = ty0 / BLOCK; by <= ty1 / BLOCK; ++by) {
    const float* block = blocks_.data() + size_t(by) * size_t(blocks_wide_);
    const int32_t y_first = std::max(ty0, by * BLOCK);
    const int32_t y_last = std::min(ty1, by * BLOCK + BLOCK - 1);
    for (int32_t bx = tx0 / BLOCK; bx <= tx1 / BLOCK; ++bx) {
      if (block[bx] > limit) continue;
      const int32_t x_first = std::max(tx0, bx * BLOCK);
      const int32_t x_last = std::min(tx1, bx * BLOCK + BLOCK - 1);
      for (int32_t ty = y_first; ty <= y_last; ++ty) {
        const float* tile = tiles_.data() + size_t(ty) * size_t(tiles_wide_);
        for (int32_t tx = x_first; tx <= x_last; ++tx)
          if (!(tile[tx] > limit)) return false;
      }
    }
  }
  return true;
}

bool OcclusionMap::hides(const NMATHF::VEC3F* p, const float* w) const {
  ChunkReach reach{false, std::min({double(w[0]), double(w[1]), double(w[2])}),
                   std::min({double(p[0].X), double(p[1].X), double(p[2].X)}),
                   std::min({double(p[0].Y), double(p[1].Y), double(p[2].Y)}),
                   std::max({double(p[0].X), double(p[1].X), double(p[2].X)}),
                   std::max({double(p[0].Y), double(p[1].Y), double(p[2].Y)})};
  // A NaN anywhere keeps the triangle; so does a corner nearer than any whole
  // triangle's.
  reach.before_near =
      !(reach.nearest_w > 0.0) || std::isnan(reach.x0 + reach.x1 + reach.y0 + reach.y1);
  return hides(reach);
}
