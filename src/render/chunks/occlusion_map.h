// The depth the nearest chunks leave, in tiles, to find chunks hidden behind
// them. The depth buffer keeps per pixel the nearest 1/z drawn (the first in
// queue order among equals), so a triangle whose 1/z at every pixel it covers
// is strictly below what another drawn triangle has there changes no pixel,
// wherever it stands in the queue. The occluders' entries are drawn here with
// the real rasterizer (depth only), so each pixel holds a 1/z that the frame's
// depth buffer will reach or pass; each tile keeps its farthest (smallest).
#pragma once
#include <cstdint>
#include <vector>

#include "chunk_view_test.h"
#include "render/draw_workers.h"
#include "render/render_queue.h"

// A run of queue entries.
struct EntryRun {
  const SORT_STRUCT* first;
  uint32_t count;
};

class OcclusionMap {
 public:
  static constexpr int32_t TILE = 8;   // pixels on a side
  static constexpr int32_t BLOCK = 4;  // tiles on a side of a block, a quick first look

  // The entries of RUNS drawn (depth only) into a WIDTH x HEIGHT picture on
  // WORKERS' threads, and the picture reduced to tiles.
  void draw(DrawWorkers& workers, int32_t width, int32_t height, const std::vector<EntryRun>& runs);

  // True when nothing of a chunk that reaches as REACH says can show: its
  // picture, widened by a margin, lies on tiles whose farthest 1/z is
  // strictly nearer than the chunk's nearest 1/z, widened for rounding (or it
  // lies wholly off the picture). A chunk that reaches the near plane never is.
  bool hides(const ChunkReach& reach) const;
  // The same for one triangle drawn whole (every corner at or beyond the near
  // plane) with screen corners P and view distances W: its corners'
  // rectangle and its nearest corner.
  bool hides(const NMATHF::VEC3F* p, const float* w) const;

 private:
  void draw_band(const std::vector<EntryRun>& runs, int32_t band, int32_t bands);

  int32_t width_ = 0, height_ = 0, tiles_wide_ = 0, tiles_high_ = 0;
  std::vector<float> depth_;      // width x height, 1/z
  std::vector<uint32_t> colour_;  // a row per band: the rasterizer's colours, not wanted
  std::vector<float> tiles_;      // tiles_wide x tiles_high, the farthest 1/z of each
  int32_t blocks_wide_ = 0;
  std::vector<float> blocks_;     // per block of BLOCK x BLOCK tiles, the farthest 1/z
};
