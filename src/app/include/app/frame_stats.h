// What the frame loop tells an observer about the frames (the benchmark listens).
#pragma once
#include <cstdint>
#include <vector>

// Milliseconds of one frame's stages, measured on the frame loop's clock.
struct StageTimes {
  double transform = 0;  // every entity through the model transform
  double probe = 0;      // the ground probe
  double drawing = 0;    // the clears, the render queue and the filters to the screen
};

struct FrameStats {
  int64_t frames = 0;
  int64_t triangles_submitted = 0;  // of the models handed to the transform, summed
  int64_t triangles_culled_by_chunk = 0;  // of those, skipped with their chunk, summed
  int64_t triangles_occluded = 0;  // of those, found hidden (chunks or alone), summed
  int64_t triangles_queued = 0;   // summed over the frames
  int64_t dropped_triangles = 0;  // found the render queue full, summed
  bool time_stages = false;       // fill STAGES, one entry per frame
  std::vector<StageTimes> stages;
};
