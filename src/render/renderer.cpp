#include "render/renderer.h"

#include "chunks/chunk_scratch.h"
#include "queue/draw_plan.h"
#include "transform/transform_scratch.h"

Renderer::Renderer(int32_t threads)
    : workers_(threads),
      scratch_(std::make_unique<TransformScratch>()),
      chunk_scratch_(std::make_unique<ChunkScratch>()),
      plan_(std::make_unique<DrawPlan>()) {}

Renderer::~Renderer() = default;

Renderer& default_renderer() {
  // Never destroyed: a program that stops through exit() (a failure report, a
  // forked test child) must not wait there for worker threads to join.
  static Renderer* const renderer = new Renderer;
  return *renderer;
}

void set_draw_threads(int32_t threads) {
  default_renderer().workers().set_threads(threads);
}

int32_t draw_threads() {
  return default_renderer().workers().threads();
}

void stop_draw_workers() {
  default_renderer().workers().stop();
}
