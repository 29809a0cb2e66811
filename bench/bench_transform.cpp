// The model transform of one entity: the maze seen from eye height in a
// corridor (floor under the eye, so the near-plane cut runs too), and one UFO
// a little way ahead. The data files are used when they are present;
// otherwise a generated floor of about 4000 triangles and a 300-triangle
// saucer stand in.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "render/model_transform.h"
#include "render/render_buffers.h"
#include "render/render_globals.h"
#include "render/render_queue.h"

using NMATHF::MATRIX;
using NMATHF::VEC3F;
using NMATHF::VEC4F;

namespace {

MODEL_STRUCT* allocate_model(uint32_t nv, uint32_t nt) {
  auto* m = static_cast<MODEL_STRUCT*>(std::calloc(1, sizeof(MODEL_STRUCT)));
  m->MAX_VERTICES = nv;
  m->MAX_TRIANGLES = nt;
  m->VERTICES = static_cast<VEC3F*>(std::calloc(nv, sizeof(VEC3F)));
  m->RVERTICES = static_cast<VEC4F*>(std::calloc(2 * size_t(nv), sizeof(VEC4F)));
  m->TVERTICES = static_cast<VEC4F*>(std::calloc(nv, sizeof(VEC4F)));
  m->PVERTICES = static_cast<VEC3F*>(std::calloc(2 * size_t(nv), sizeof(VEC3F)));
  m->TRIANGLES = static_cast<TRIANGLE_STRUCT*>(std::calloc(nt, sizeof(TRIANGLE_STRUCT)));
  m->RTRIANGLES = static_cast<TRIANGLE_STRUCT*>(std::calloc(2 * size_t(nt), sizeof(TRIANGLE_STRUCT)));
  return m;
}

void set_triangle(MODEL_STRUCT* m, uint32_t i, uint32_t a, uint32_t b, uint32_t c) {
  TRIANGLE_STRUCT& t = m->TRIANGLES[i];
  t.POINT_ID(1) = a;
  t.POINT_ID(2) = b;
  t.POINT_ID(3) = c;
  for (int k = 1; k <= 3; ++k) t.TCOORD(k) = NMATHF::VEC2F(64.0f * k, 32.0f * k);
  t.COL = {uint32_t(37 * i % 256), uint32_t(91 * i % 256), uint32_t(53 * i % 256)};
  const VEC3F& p = m->VERTICES[a];
  const VEC3F e1 = m->VERTICES[b] - p, e2 = m->VERTICES[c] - p;
  t.NORMAL = e1.CROSS(e2);
  t.NORMAL.NORMALIZE();
}

// A 45 x 45 grid of 4-unit floor tiles around the origin: 4050 triangles.
MODEL_STRUCT* generated_floor() {
  const uint32_t n = 45, nv = (n + 1) * (n + 1);
  MODEL_STRUCT* m = allocate_model(nv, 2 * n * n);
  for (uint32_t z = 0; z <= n; ++z)
    for (uint32_t x = 0; x <= n; ++x)
      m->VERTICES[z * (n + 1) + x] = VEC3F(4.0f * x - 90.0f, 0.0f, 4.0f * z - 90.0f);
  uint32_t t = 0;
  for (uint32_t z = 0; z < n; ++z)
    for (uint32_t x = 0; x < n; ++x) {
      const uint32_t a = z * (n + 1) + x, b = a + 1, c = a + n + 1, d = c + 1;
      set_triangle(m, t++, a, c, b);  // facing up
      set_triangle(m, t++, b, c, d);
    }
  return m;
}

// A saucer of 11 rings by 15 segments: 300 triangles, about 3 across.
MODEL_STRUCT* generated_saucer() {
  const uint32_t rings = 11, segs = 15;
  MODEL_STRUCT* m = allocate_model(rings * segs, 2 * (rings - 1) * segs);
  for (uint32_t r = 0; r < rings; ++r) {
    const double phi = 3.14159265358979 * (r + 0.5) / rings;
    for (uint32_t s = 0; s < segs; ++s) {
      const double theta = 2 * 3.14159265358979 * s / segs;
      m->VERTICES[r * segs + s] = VEC3F(float(1.5 * std::sin(phi) * std::cos(theta)),
                                        float(0.5 * std::cos(phi)),
                                        float(1.5 * std::sin(phi) * std::sin(theta)));
    }
  }
  uint32_t t = 0;
  for (uint32_t r = 0; r + 1 < rings; ++r)
    for (uint32_t s = 0; s < segs; ++s) {
      const uint32_t a = r * segs + s, b = r * segs + (s + 1) % segs;
      set_triangle(m, t++, a, b, a + segs);
      set_triangle(m, t++, b, b + segs, a + segs);
    }
  return m;
}

// The model file when the data files are there, else the generated stand-in.
MODEL_STRUCT* model_or(const char* file, MODEL_STRUCT* (*make)(), const char*& source) {
  const std::string path = std::string(MW_SOURCE_DIR) + "/" + file;
  if (std::filesystem::exists(path)) {
    auto* m = static_cast<MODEL_STRUCT*>(std::calloc(1, sizeof(MODEL_STRUCT)));
    LOAD_OBJ(path, m);
    source = file;
    return m;
  }
  source = "generated";
  return make();
}

void set_frame() {
  reset_render_state();
  INIT_BUFFERS();
}

// The view from eye height (4 above the floor) along a corridor, a little
// downwards; or steeply down at the floor, where the near-plane cut has work.
MATRIX view(float drop = 0.2f) {
  MATRIX l(0.0f);
  l.LOADIDENTITY();
  l.LOOKAT(VEC3F(2.0f, 4.0f, 20.0f), VEC3F(1.5f, 4.0f - drop, 19.0f), VEC3F(0.0f, 1.0f, 0.0f));
  return l;
}

void run_transform(benchmark::State& state, MODEL_STRUCT* model, const MATRIX& m,
                   const MATRIX& view_m) {
  set_frame();
  const VEC4F light4 = VEC3F(0.0f, 100.0f, 0.0f) * view_m;
  const VEC3F light(light4.X, light4.Y, light4.Z);
  float color_mult = 0.0f;
  const float depth_offset = 0.0f;
  int32_t fcnt = 0;
  Renderer::TransformCounts& counts = default_renderer().transform_counts();
  for (auto _ : state) {
    fcnt = 0;
    counts = {};
    MODEL_TRANSFORM(model, m, fcnt, light, color_mult, depth_offset, -1, nullptr,
                    NMATHF::VEC2F(0.0f, 0.0f));
    benchmark::DoNotOptimize(fcnt);
  }
  state.counters["triangles"] = model->MAX_TRIANGLES;
  state.counters["queued"] = fcnt;
  state.counters["pieces"] = double(counts.near_pieces);
  state.SetItemsProcessed(int64_t(state.iterations()) * model->MAX_TRIANGLES);
}

void bm_transform_maze(benchmark::State& state) {
  static const char* source = nullptr;
  static MODEL_STRUCT* maze = model_or("res/model/maze.obj", generated_floor, source);
  state.SetLabel(source);
  run_transform(state, maze, view(), view());
}
BENCHMARK(bm_transform_maze);

void bm_transform_maze_looking_down(benchmark::State& state) {
  static const char* source = nullptr;
  static MODEL_STRUCT* maze = model_or("res/model/maze.obj", generated_floor, source);
  state.SetLabel(source);
  run_transform(state, maze, view(1.2f), view(1.2f));
}
BENCHMARK(bm_transform_maze_looking_down);

void bm_transform_ufo(benchmark::State& state) {
  static const char* source = nullptr;
  static MODEL_STRUCT* ufo = model_or("res/model/ufo.obj", generated_saucer, source);
  state.SetLabel(source);
  MATRIX place(0.0f);  // a little ahead of the eye, turned
  place.LOADIDENTITY();
  place.TRANSLATE(VEC3F(-2.0f, 5.0f, 5.0f));
  place.ROTATE(10.0f, 35.0f, 0.0f);
  MATRIX m = view();
  m *= place;
  run_transform(state, ufo, m, view());
}
BENCHMARK(bm_transform_ufo);

}  // namespace
