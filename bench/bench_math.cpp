#include <benchmark/benchmark.h>

#include "math/nmathf.h"

using namespace NMATHF;

namespace {

MATRIX MODEL_VIEW() {
  MATRIX M(0.0f);
  M.LOOKAT(VEC3F(3, 50, 7), VEC3F(0, 45, -20), VEC3F(0, 1, 0));
  MATRIX ENTITY(0.0f);
  ENTITY.LOADIDENTITY();
  ENTITY.TRANSLATE(VEC3F(10, 5, -3));
  ENTITY.ROTATE(15.0f, 30.0f, 45.0f);
  M *= ENTITY;
  return M;
}

}  // namespace

// The model-view product: a few per entity per frame.
static void BM_MATRIX_PRODUCT(benchmark::State& STATE) {
  MATRIX A = MODEL_VIEW();
  const MATRIX B = MODEL_VIEW().INVERSE();
  for (auto _ : STATE) {
    benchmark::DoNotOptimize(B);
    A *= B;
    benchmark::DoNotOptimize(A);
  }
}
BENCHMARK(BM_MATRIX_PRODUCT);

// One vertex through the model-view matrix: per vertex per frame.
static void BM_VEC3F_TIMES_MATRIX(benchmark::State& STATE) {
  const MATRIX M = MODEL_VIEW();
  VEC3F V(1.5f, -2.0f, 3.25f);
  for (auto _ : STATE) {
    benchmark::DoNotOptimize(V);
    VEC4F R = V * M;
    benchmark::DoNotOptimize(R);
  }
}
BENCHMARK(BM_VEC3F_TIMES_MATRIX);

// The ground probe against a triangle it misses at the plane test (the common
// case) and against one it hits.
static void BM_LINE_TRIANGLE_INTERSECTION(benchmark::State& STATE) {
  const VEC3F WALL[3] = {VEC3F(-4, 0, 10), VEC3F(4, 0, 10), VEC3F(0, 8, 10)};
  const VEC3F FLOOR[3] = {VEC3F(-4, 0, -4), VEC3F(4, 0, -4), VEC3F(0, 0, 4)};
  const VEC3F PROBE[2] = {VEC3F(0.5f, 50, 0.5f), VEC3F(0.5f, -50, 0.5f)};
  const VEC3F* TRIANGLE = STATE.range(0) ? FLOOR : WALL;
  VEC3F HIT;
  for (auto _ : STATE) {
    benchmark::DoNotOptimize(TRIANGLE);
    benchmark::DoNotOptimize(LINE_TRIANGLE_INTERSECTION(TRIANGLE, PROBE, HIT));
  }
}
BENCHMARK(BM_LINE_TRIANGLE_INTERSECTION)->Arg(0)->Arg(1);
