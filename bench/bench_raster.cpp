// Fill rate of the rasterizers at the back buffer's size, and the per-triangle
// cost of small triangles, each on the portable and on the eight-lane spans
// (the same triangles, the same pixels). Every draw is made nearer than the one before so
// that its pixels pass the depth test; the depth buffer is cleared, outside the
// timing, when the depths run out.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdint>
#include <random>
#include <vector>

#include "base/image.h"
#include "raster/triangles.h"

namespace {
constexpr int32_t W = 640, H = 480;

// The back buffer, its depth buffer and a 256 x 256 texture.
struct RasterBenchScene {
  IMAGE* target = image_create(W, H, 0);
  IMAGE* texture = image_create(256, 256);
  std::vector<float> depth = std::vector<float>(size_t(W) * H, 0.0f);
  int32_t step = 0;  // draws since the last clear

  RasterBenchScene() {
    std::mt19937 rng(3);
    for (uint32_t y = 0; y < 256; ++y)
      for (uint32_t x = 0; x < 256; ++x) texture->row(y)[x] = rng() | 0xFF000000u;
  }
  ~RasterBenchScene() {
    image_destroy(target);
    image_destroy(texture);
  }
  // A depth scale that shrinks with every draw, so each draw lies in front.
  float next_scale(benchmark::State& state, int32_t steps) {
    if (step == steps) {
      state.PauseTiming();
      std::fill(depth.begin(), depth.end(), 0.0f);
      step = 0;
      state.ResumeTiming();
    }
    return 1.0f - 0.0004f * float(step++);
  }
  // The scope for PATH, or false (the benchmark skipped) where it does not run.
  static bool scope_for(benchmark::State& state, SimdPath path, DrawScope& scope) {
    if (!simd_path_available(path)) {
      state.SkipWithError("this processor does not run these spans");
      return false;
    }
    scope = DrawScope{RowBand{}, path};
    return true;
  }
  int64_t drawn_pixels() const {
    return std::count_if(depth.begin(), depth.end(), [](float z) { return z != 0.0f; });
  }
};

void set_rates(benchmark::State& state, double pixels_per_draw, double triangles_per_draw) {
  const double n = double(state.iterations());
  // Shown per second with SI prefixes: pixels=1.1G/s is 1100 Mpixels/s.
  state.counters["pixels"] = benchmark::Counter(n * pixels_per_draw, benchmark::Counter::kIsRate);
  state.counters["triangles"] =
      benchmark::Counter(n * triangles_per_draw, benchmark::Counter::kIsRate);
}

// The whole 640 x 480 buffer as two triangles, flat.
void bm_ftri_full_screen(benchmark::State& state, SimdPath path) {
  RasterBenchScene s;
  DrawScope scope;
  if (!s.scope_for(state, path, scope)) return;
  for (auto _ : state) {
    const float z = 10.0f * s.next_scale(state, 2000);
    fill_flat_triangle(s.target, s.depth.data(), scope, 0, 0, z, W, 0, z * 1.5f, 0, H, z * 0.7f, 0xFF336699u);
    fill_flat_triangle(s.target, s.depth.data(), scope, W, 0, z * 1.5f, W, H, z * 1.2f, 0, H, z * 0.7f, 0xFF336699u);
  }
  set_rates(state, double(s.drawn_pixels()), 2);
}
BENCHMARK_CAPTURE(bm_ftri_full_screen, portable, SimdPath::PORTABLE);
BENCHMARK_CAPTURE(bm_ftri_full_screen, avx2, SimdPath::AVX2);

// The same, textured in perspective like a floor receding from z = 2 to 40,
// the 256 x 256 texture repeated eight times across, brightened (SHADE) or
// darkened (-SHADE), as most of the scene's triangles are.
void bm_tfpcsptri_full_screen(benchmark::State& state, SimdPath path, int32_t shade) {
  RasterBenchScene s;
  DrawScope scope;
  if (!s.scope_for(state, path, scope)) return;
  for (auto _ : state) {
    const float k = s.next_scale(state, 2000), near_z = 2 * k, far_z = 40 * k;
    fill_textured_triangle(s.target, s.depth.data(), scope, 0, 0, far_z, 0, 0, W, 0, far_z, 2048, 0, 0, H, near_z, 0, 2048, shade,
                   s.texture);
    fill_textured_triangle(s.target, s.depth.data(), scope, W, 0, far_z, 2048, 0, W, H, near_z, 2048, 2048, 0, H, near_z, 0,
                   2048, shade, s.texture);
  }
  set_rates(state, double(s.drawn_pixels()), 2);
}
BENCHMARK_CAPTURE(bm_tfpcsptri_full_screen, brighten_portable, SimdPath::PORTABLE, 30);
BENCHMARK_CAPTURE(bm_tfpcsptri_full_screen, brighten_avx2, SimdPath::AVX2, 30);
BENCHMARK_CAPTURE(bm_tfpcsptri_full_screen, darken_portable, SimdPath::PORTABLE, -30);
BENCHMARK_CAPTURE(bm_tfpcsptri_full_screen, darken_avx2, SimdPath::AVX2, -30);

// Hidden pixels: the full-screen flat quad behind what is already there.
void bm_ftri_full_screen_hidden(benchmark::State& state, SimdPath path) {
  RasterBenchScene s;
  DrawScope scope;
  if (!s.scope_for(state, path, scope)) return;
  std::fill(s.depth.begin(), s.depth.end(), 1.0f);
  for (auto _ : state) {
    fill_flat_triangle(s.target, s.depth.data(), scope, 0, 0, 10, W, 0, 15, 0, H, 7, 0xFF336699u);
    fill_flat_triangle(s.target, s.depth.data(), scope, W, 0, 15, W, H, 12, 0, H, 7, 0xFF336699u);
  }
  set_rates(state, double(W) * H, 2);
}
BENCHMARK_CAPTURE(bm_ftri_full_screen_hidden, portable, SimdPath::PORTABLE);
BENCHMARK_CAPTURE(bm_ftri_full_screen_hidden, avx2, SimdPath::AVX2);

// Small triangles of about ten pixels scattered over the buffer, in batches of
// 1024 with fixed corners, the depth stepping nearer each batch.
struct SmallTriangles {
  std::vector<float> p;  // x, y per corner, 6 per triangle
  SmallTriangles() {
    std::mt19937 rng(9);
    std::uniform_real_distribution<float> x(8, W - 8), y(8, H - 8), jit(-0.4f, 0.4f);
    for (int32_t i = 0; i < 1024; ++i) {
      const float cx = x(rng), cy = y(rng);
      p.insert(p.end(), {cx, cy, cx + 4.5f + jit(rng), cy + jit(rng), cx + jit(rng), cy + 4.5f});
    }
  }
};

template <bool TEXTURED>
void bm_small_triangles(benchmark::State& state, SimdPath path) {
  RasterBenchScene s;
  DrawScope scope;
  if (!s.scope_for(state, path, scope)) return;
  const SmallTriangles t;
  int64_t pixels = 0;
  for (auto _ : state) {
    const float z = 10.0f * s.next_scale(state, 2000);
    for (size_t i = 0; i < t.p.size(); i += 6) {
      const float* c = &t.p[i];
      if (TEXTURED)
        fill_textured_triangle(s.target, s.depth.data(), scope, c[0], c[1], z, 0, 0, c[2], c[3], z, 40, 0, c[4], c[5], z * 1.1f, 0,
                       40, -20, s.texture);
      else
        fill_flat_triangle(s.target, s.depth.data(), scope, c[0], c[1], z, c[2], c[3], z, c[4], c[5], z * 1.1f, 0xFF996633u);
    }
    if (pixels == 0) pixels = s.drawn_pixels();  // the first batch, before any overlap is redrawn
  }
  set_rates(state, double(pixels), 1024);
}
void bm_small_flat(benchmark::State& state, SimdPath path) {
  bm_small_triangles<false>(state, path);
}
void bm_small_textured(benchmark::State& state, SimdPath path) {
  bm_small_triangles<true>(state, path);
}
BENCHMARK_CAPTURE(bm_small_flat, portable, SimdPath::PORTABLE)
    ->Name("BM_FTRI_SMALL_10PX/portable");
BENCHMARK_CAPTURE(bm_small_flat, avx2, SimdPath::AVX2)->Name("BM_FTRI_SMALL_10PX/avx2");
BENCHMARK_CAPTURE(bm_small_textured, portable, SimdPath::PORTABLE)
    ->Name("BM_TFPCSPTRI_SMALL_10PX/portable");
BENCHMARK_CAPTURE(bm_small_textured, avx2, SimdPath::AVX2)->Name("BM_TFPCSPTRI_SMALL_10PX/avx2");
}  // namespace
