// The post-filters at the sizes the program runs them: averaging 1280 x 960
// onto the screen page, doubling 320 x 240 onto it, and averaging 640 x 480
// to 320 x 240 and doubling that, as two passes and as one; each on the
// portable and the eight-lane code.
#include <benchmark/benchmark.h>

#include <random>

#include "base/image.h"
#include "platform/screen.h"
#include "render/post_filters.h"
#include "render/render_globals.h"

namespace {
struct FilterScene {
  IMAGE* big = image_create(1280, 960);
  IMAGE* screen_size = image_create(640, 480);
  IMAGE* half = image_create(320, 240);

  // Runs the filters on PATH while it lives; false (the benchmark skipped)
  // where the processor does not run it.
  bool use(benchmark::State& state, SimdPath path) {
    if (!simd_path_available(path)) {
      state.SkipWithError("this processor does not run this path");
      return false;
    }
    simd_path = path;
    return true;
  }
  FilterScene() {
    set_graphics_mode(640, 480);
    std::mt19937 rng(1);
    for (IMAGE* img : {big, screen_size, half})
      for (uint32_t y = 0; y < img->HEIGHT; ++y)
        for (uint32_t x = 0; x < img->WIDTH; ++x) img->row(y)[x] = rng();
  }
  ~FilterScene() {
    simd_path = best_simd_path();
    image_destroy(big);
    image_destroy(screen_size);
    image_destroy(half);
  }
};

void bm_antialias_1280x960_to_screen(benchmark::State& state, SimdPath path) {
  FilterScene s;
  if (!s.use(state, path)) return;
  for (auto _ : state) ANTIALIAS4X(s.big, SCREEN_TARGET);
}
BENCHMARK_CAPTURE(bm_antialias_1280x960_to_screen, portable, SimdPath::PORTABLE);
BENCHMARK_CAPTURE(bm_antialias_1280x960_to_screen, avx2, SimdPath::AVX2);

void bm_scale2_320x240_to_screen(benchmark::State& state, SimdPath path) {
  FilterScene s;
  if (!s.use(state, path)) return;
  for (auto _ : state) SCALE2(nullptr, s.half);
}
BENCHMARK_CAPTURE(bm_scale2_320x240_to_screen, portable, SimdPath::PORTABLE);
BENCHMARK_CAPTURE(bm_scale2_320x240_to_screen, avx2, SimdPath::AVX2);

void bm_antialias_then_scale2_640x480(benchmark::State& state, SimdPath path) {
  FilterScene s;
  if (!s.use(state, path)) return;
  for (auto _ : state) {
    ANTIALIAS4X(s.screen_size, s.half);
    SCALE2(nullptr, s.half);
  }
}
BENCHMARK_CAPTURE(bm_antialias_then_scale2_640x480, portable, SimdPath::PORTABLE);
BENCHMARK_CAPTURE(bm_antialias_then_scale2_640x480, avx2, SimdPath::AVX2);

void bm_average_and_double_640x480(benchmark::State& state, SimdPath path) {
  FilterScene s;
  if (!s.use(state, path)) return;
  for (auto _ : state) average_and_double(s.screen_size, s.half, nullptr);
}
BENCHMARK_CAPTURE(bm_average_and_double_640x480, portable, SimdPath::PORTABLE);
BENCHMARK_CAPTURE(bm_average_and_double_640x480, avx2, SimdPath::AVX2);
}  // namespace
