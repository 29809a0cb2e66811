// The render pipeline's working state, each piece with one owner: the drawing
// threads, the model transform's side arrays (and the chunked transform's),
// the plan the queue is drawn by, and the count of triangles the full queue
// turned away. The program's main routine owns one renderer from start-up to
// shutdown and hands it to every stage; the documented entry points that take
// none (MODEL_TRANSFORM, BUFFER_RENDER, ANTIALIAS4X, SCALE2, ...) use
// default_renderer().
//
// The process-wide settings and buffers (render_globals.h) are not part of
// it: they are the ones the whole program names.
#pragma once
#include <cstdint>
#include <memory>

#include "render/draw_workers.h"

struct TransformScratch;
struct ChunkScratch;
struct DrawPlan;

class Renderer {
 public:
  explicit Renderer(int32_t threads = 1);
  ~Renderer();
  Renderer(const Renderer&) = delete;
  Renderer& operator=(const Renderer&) = delete;

  DrawWorkers& workers() { return workers_; }
  TransformScratch& transform_scratch() { return *scratch_; }
  ChunkScratch& chunk_scratch() { return *chunk_scratch_; }
  DrawPlan& draw_plan() { return *plan_; }

  // Triangles that found the render queue full and were left out. Only the
  // transform raises it; whoever reports it sets it back to 0.
  int64_t& dropped_triangles() { return dropped_; }

  // What the transform was given and what it skipped, summed over its calls
  // until whoever reports them sets them back to 0.
  struct TransformCounts {
    int64_t submitted = 0;        // triangles of the models handed to it
    int64_t culled_by_chunk = 0;  // of those, skipped with a chunk out of view
    int64_t occluded = 0;         // of those, found hidden behind nearer ones (with their
                                  // chunk, or one by one)
    int64_t near_pieces = 0;      // pieces of triangles cut at the near plane
  };
  TransformCounts& transform_counts() { return counts_; }

  // Whether the chunked transform skips chunks hidden behind nearer ones
  // (on unless turned off; the picture is the same either way).
  bool occlusion_culling() const { return occlusion_culling_; }
  void set_occlusion_culling(bool on) { occlusion_culling_ = on; }

 private:
  DrawWorkers workers_;
  std::unique_ptr<TransformScratch> scratch_;
  std::unique_ptr<ChunkScratch> chunk_scratch_;
  std::unique_ptr<DrawPlan> plan_;
  int64_t dropped_ = 0;
  TransformCounts counts_;
  bool occlusion_culling_ = true;
};

// The renderer of the entry points called without one (tests, tools,
// benchmarks). It draws on one thread until told otherwise.
Renderer& default_renderer();

// The default renderer's drawing threads (DrawWorkers::set_threads, threads,
// stop).
void set_draw_threads(int32_t threads);
int32_t draw_threads();
void stop_draw_workers();
