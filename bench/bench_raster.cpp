// Fill rate of the rasterizers at the back buffer's size, and the per-triangle
// cost of small triangles. Every draw is made nearer than the one before so
// that its pixels pass the depth test; the depth buffer is cleared, outside the
// timing, when the depths run out.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdint>
#include <random>
#include <vector>

#include "render/render_globals.h"
#include "platform/platform.h"
#include "raster/ftri.h"
#include "raster/tfpcsptri.h"

namespace {
constexpr int32_t W = 640, H = 480;

// The back buffer, its depth buffer and a 256 x 256 texture.
struct RASTER_BENCH_SCENE {
  IMAGE* TARGET = IMAGE_CREATE(W, H, 0);
  IMAGE* TEXTURE = IMAGE_CREATE(256, 256);
  std::vector<float> DEPTH = std::vector<float>(size_t(W) * H, 0.0f);
  int32_t STEP = 0;  // draws since the last clear

  RASTER_BENCH_SCENE() {
    std::mt19937 RNG(3);
    for (uint32_t Y = 0; Y < 256; ++Y)
      for (uint32_t X = 0; X < 256; ++X) TEXTURE->ROW(Y)[X] = RNG() | 0xFF000000u;
    ZBUFF = DEPTH.data();
  }
  ~RASTER_BENCH_SCENE() {
    ZBUFF = nullptr;
    IMAGE_DESTROY(TARGET);
    IMAGE_DESTROY(TEXTURE);
  }
  // A depth scale that shrinks with every draw, so each draw lies in front.
  float NEXT_SCALE(benchmark::State& STATE, int32_t STEPS) {
    if (STEP == STEPS) {
      STATE.PauseTiming();
      std::fill(DEPTH.begin(), DEPTH.end(), 0.0f);
      STEP = 0;
      STATE.ResumeTiming();
    }
    return 1.0f - 0.0004f * float(STEP++);
  }
  int64_t DRAWN_PIXELS() const {
    return std::count_if(DEPTH.begin(), DEPTH.end(), [](float Z) { return Z != 0.0f; });
  }
};

void SET_RATES(benchmark::State& STATE, double PIXELS_PER_DRAW, double TRIANGLES_PER_DRAW) {
  const double N = double(STATE.iterations());
  // Shown per second with SI prefixes: pixels=1.1G/s is 1100 Mpixels/s.
  STATE.counters["pixels"] = benchmark::Counter(N * PIXELS_PER_DRAW, benchmark::Counter::kIsRate);
  STATE.counters["triangles"] =
      benchmark::Counter(N * TRIANGLES_PER_DRAW, benchmark::Counter::kIsRate);
}

// The whole 640 x 480 buffer as two triangles, flat.
void BM_FTRI_FULL_SCREEN(benchmark::State& STATE) {
  RASTER_BENCH_SCENE S;
  for (auto _ : STATE) {
    const float Z = 10.0f * S.NEXT_SCALE(STATE, 2000);
    FTRI(S.TARGET, 0, 0, Z, W, 0, Z * 1.5f, 0, H, Z * 0.7f, 0xFF336699u);
    FTRI(S.TARGET, W, 0, Z * 1.5f, W, H, Z * 1.2f, 0, H, Z * 0.7f, 0xFF336699u);
  }
  SET_RATES(STATE, double(S.DRAWN_PIXELS()), 2);
}
BENCHMARK(BM_FTRI_FULL_SCREEN);

// The same, textured in perspective like a floor receding from z = 2 to 40,
// the 256 x 256 texture repeated eight times across, brightened.
void BM_TFPCSPTRI_FULL_SCREEN(benchmark::State& STATE) {
  RASTER_BENCH_SCENE S;
  for (auto _ : STATE) {
    const float K = S.NEXT_SCALE(STATE, 2000), NEAR_Z = 2 * K, FAR_Z = 40 * K;
    TFPCSPTRI_ORIG(S.TARGET, 0, 0, FAR_Z, 0, 0, W, 0, FAR_Z, 2048, 0, 0, H, NEAR_Z, 0, 2048, 30,
                   S.TEXTURE);
    TFPCSPTRI_ORIG(S.TARGET, W, 0, FAR_Z, 2048, 0, W, H, NEAR_Z, 2048, 2048, 0, H, NEAR_Z, 0,
                   2048, 30, S.TEXTURE);
  }
  SET_RATES(STATE, double(S.DRAWN_PIXELS()), 2);
}
BENCHMARK(BM_TFPCSPTRI_FULL_SCREEN);

// Hidden pixels: the full-screen flat quad behind what is already there.
void BM_FTRI_FULL_SCREEN_HIDDEN(benchmark::State& STATE) {
  RASTER_BENCH_SCENE S;
  std::fill(S.DEPTH.begin(), S.DEPTH.end(), 1.0f);
  for (auto _ : STATE) {
    FTRI(S.TARGET, 0, 0, 10, W, 0, 15, 0, H, 7, 0xFF336699u);
    FTRI(S.TARGET, W, 0, 15, W, H, 12, 0, H, 7, 0xFF336699u);
  }
  SET_RATES(STATE, double(W) * H, 2);
}
BENCHMARK(BM_FTRI_FULL_SCREEN_HIDDEN);

// Small triangles of about ten pixels scattered over the buffer, in batches of
// 1024 with fixed corners, the depth stepping nearer each batch.
struct SMALL_TRIANGLES {
  std::vector<float> P;  // x, y per corner, 6 per triangle
  SMALL_TRIANGLES() {
    std::mt19937 RNG(9);
    std::uniform_real_distribution<float> X(8, W - 8), Y(8, H - 8), JIT(-0.4f, 0.4f);
    for (int32_t I = 0; I < 1024; ++I) {
      const float CX = X(RNG), CY = Y(RNG);
      P.insert(P.end(), {CX, CY, CX + 4.5f + JIT(RNG), CY + JIT(RNG), CX + JIT(RNG), CY + 4.5f});
    }
  }
};

template <bool TEXTURED>
void BM_SMALL_TRIANGLES(benchmark::State& STATE) {
  RASTER_BENCH_SCENE S;
  const SMALL_TRIANGLES T;
  int64_t PIXELS = 0;
  for (auto _ : STATE) {
    const float Z = 10.0f * S.NEXT_SCALE(STATE, 2000);
    for (size_t I = 0; I < T.P.size(); I += 6) {
      const float* C = &T.P[I];
      if (TEXTURED)
        TFPCSPTRI_ORIG(S.TARGET, C[0], C[1], Z, 0, 0, C[2], C[3], Z, 40, 0, C[4], C[5], Z * 1.1f, 0,
                       40, -20, S.TEXTURE);
      else
        FTRI(S.TARGET, C[0], C[1], Z, C[2], C[3], Z, C[4], C[5], Z * 1.1f, 0xFF996633u);
    }
    if (PIXELS == 0) PIXELS = S.DRAWN_PIXELS();  // the first batch, before any overlap is redrawn
  }
  SET_RATES(STATE, double(PIXELS), 1024);
}
BENCHMARK(BM_SMALL_TRIANGLES<false>)->Name("BM_FTRI_SMALL_10PX");
BENCHMARK(BM_SMALL_TRIANGLES<true>)->Name("BM_TFPCSPTRI_SMALL_10PX");
}  // namespace
