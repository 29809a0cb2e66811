#include <benchmark/benchmark.h>

#include "base/image.h"

// Making and releasing a back buffer: done only when a quality switch changes.
static void BM_IMAGE_CREATE_640x480(benchmark::State& state) {
  for (auto _ : state) {
    IMAGE* img = image_create(640, 480);
    benchmark::DoNotOptimize(img);
    image_destroy(img);
  }
}
BENCHMARK(BM_IMAGE_CREATE_640x480);
