#include <benchmark/benchmark.h>

#include "platform/platform.h"

// Making and releasing a back buffer: done only when a quality switch changes.
static void BM_IMAGE_CREATE_640x480(benchmark::State& STATE) {
  for (auto _ : STATE) {
    IMAGE* IMG = IMAGE_CREATE(640, 480);
    benchmark::DoNotOptimize(IMG);
    IMAGE_DESTROY(IMG);
  }
}
BENCHMARK(BM_IMAGE_CREATE_640x480);
