// What the frame loop tells an observer about each frame (the benchmark listens).
#pragma once
#include <cstdint>

struct FRAME_STATS {
  int64_t FRAMES = 0;
  int64_t TRIANGLES_QUEUED = 0;  // summed over the frames
};

// Null unless someone listens.
extern FRAME_STATS* FRAME_STATS_SINK;
