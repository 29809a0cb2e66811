#include <benchmark/benchmark.h>

#include "math/nmathf.h"

using namespace NMATHF;

namespace {

MATRIX model_view() {
  MATRIX m(0.0f);
  m.LOOKAT(VEC3F(3, 50, 7), VEC3F(0, 45, -20), VEC3F(0, 1, 0));
  MATRIX entity(0.0f);
  entity.LOADIDENTITY();
  entity.TRANSLATE(VEC3F(10, 5, -3));
  entity.ROTATE(15.0f, 30.0f, 45.0f);
  m *= entity;
  return m;
}

}  // namespace

// The model-view product: a few per entity per frame.
static void bm_matrix_product(benchmark::State& state) {
  MATRIX a = model_view();
  const MATRIX b = model_view().INVERSE();
  for (auto _ : state) {
    benchmark::DoNotOptimize(b);
    a *= b;
    benchmark::DoNotOptimize(a);
  }
}
BENCHMARK(bm_matrix_product);

// One vertex through the model-view matrix: per vertex per frame.
static void bm_vec3f_times_matrix(benchmark::State& state) {
  const MATRIX m = model_view();
  VEC3F v(1.5f, -2.0f, 3.25f);
  for (auto _ : state) {
    benchmark::DoNotOptimize(v);
    VEC4F r = v * m;
    benchmark::DoNotOptimize(r);
  }
}
BENCHMARK(bm_vec3f_times_matrix);

// The ground probe against a triangle it misses at the plane test (the common
// case) and against one it hits.
static void bm_line_triangle_intersection(benchmark::State& state) {
  const VEC3F wall[3] = {VEC3F(-4, 0, 10), VEC3F(4, 0, 10), VEC3F(0, 8, 10)};
  const VEC3F floor[3] = {VEC3F(-4, 0, -4), VEC3F(4, 0, -4), VEC3F(0, 0, 4)};
  const VEC3F probe[2] = {VEC3F(0.5f, 50, 0.5f), VEC3F(0.5f, -50, 0.5f)};
  const VEC3F* triangle = state.range(0) ? floor : wall;
  VEC3F hit;
  for (auto _ : state) {
    benchmark::DoNotOptimize(triangle);
    benchmark::DoNotOptimize(LINE_TRIANGLE_INTERSECTION(triangle, probe, hit));
  }
}
BENCHMARK(bm_line_triangle_intersection)->Arg(0)->Arg(1);
