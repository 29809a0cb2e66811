// What the frame loop tells an observer about the frames (the benchmark listens).
#pragma once
#include <cstdint>

struct FrameStats {
  int64_t frames = 0;
  int64_t triangles_queued = 0;   // summed over the frames
  int64_t dropped_triangles = 0;  // found the render queue full, summed
};
