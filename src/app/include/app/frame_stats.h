// What the frame loop tells an observer about each frame (the benchmark listens).
#pragma once
#include <cstdint>

struct FrameStats {
  int64_t frames = 0;
  int64_t triangles_queued = 0;  // summed over the frames
};

// Null unless someone listens.
extern FrameStats* frame_stats_sink;
