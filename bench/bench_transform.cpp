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
#include "render/render_globals.h"
#include "render/render_queue.h"

using NMATHF::MATRIX;
using NMATHF::VEC3F;
using NMATHF::VEC4F;

namespace {

MODEL_STRUCT* ALLOCATE_MODEL(uint32_t NV, uint32_t NT) {
  auto* M = static_cast<MODEL_STRUCT*>(std::calloc(1, sizeof(MODEL_STRUCT)));
  M->MAX_VERTICES = NV;
  M->MAX_TRIANGLES = NT;
  M->VERTICES = static_cast<VEC3F*>(std::calloc(NV, sizeof(VEC3F)));
  M->RVERTICES = static_cast<VEC4F*>(std::calloc(2 * size_t(NV), sizeof(VEC4F)));
  M->TVERTICES = static_cast<VEC4F*>(std::calloc(NV, sizeof(VEC4F)));
  M->PVERTICES = static_cast<VEC3F*>(std::calloc(2 * size_t(NV), sizeof(VEC3F)));
  M->TRIANGLES = static_cast<TRIANGLE_STRUCT*>(std::calloc(NT, sizeof(TRIANGLE_STRUCT)));
  M->RTRIANGLES = static_cast<TRIANGLE_STRUCT*>(std::calloc(2 * size_t(NT), sizeof(TRIANGLE_STRUCT)));
  return M;
}

void SET_TRIANGLE(MODEL_STRUCT* M, uint32_t I, uint32_t A, uint32_t B, uint32_t C) {
  TRIANGLE_STRUCT& T = M->TRIANGLES[I];
  T.POINT_ID(1) = A;
  T.POINT_ID(2) = B;
  T.POINT_ID(3) = C;
  for (int K = 1; K <= 3; ++K) T.TCOORD(K) = NMATHF::VEC2F(64.0f * K, 32.0f * K);
  T.COL = {uint32_t(37 * I % 256), uint32_t(91 * I % 256), uint32_t(53 * I % 256)};
  const VEC3F& P = M->VERTICES[A];
  const VEC3F E1 = M->VERTICES[B] - P, E2 = M->VERTICES[C] - P;
  T.NORMAL = E1.CROSS(E2);
  T.NORMAL.NORMALIZE();
}

// A 45 x 45 grid of 4-unit floor tiles around the origin: 4050 triangles.
MODEL_STRUCT* GENERATED_FLOOR() {
  const uint32_t N = 45, NV = (N + 1) * (N + 1);
  MODEL_STRUCT* M = ALLOCATE_MODEL(NV, 2 * N * N);
  for (uint32_t Z = 0; Z <= N; ++Z)
    for (uint32_t X = 0; X <= N; ++X)
      M->VERTICES[Z * (N + 1) + X] = VEC3F(4.0f * X - 90.0f, 0.0f, 4.0f * Z - 90.0f);
  uint32_t T = 0;
  for (uint32_t Z = 0; Z < N; ++Z)
    for (uint32_t X = 0; X < N; ++X) {
      const uint32_t A = Z * (N + 1) + X, B = A + 1, C = A + N + 1, D = C + 1;
      SET_TRIANGLE(M, T++, A, C, B);  // facing up
      SET_TRIANGLE(M, T++, B, C, D);
    }
  return M;
}

// A saucer of 11 rings by 15 segments: 300 triangles, about 3 across.
MODEL_STRUCT* GENERATED_SAUCER() {
  const uint32_t RINGS = 11, SEGS = 15;
  MODEL_STRUCT* M = ALLOCATE_MODEL(RINGS * SEGS, 2 * (RINGS - 1) * SEGS);
  for (uint32_t R = 0; R < RINGS; ++R) {
    const double PHI = 3.14159265358979 * (R + 0.5) / RINGS;
    for (uint32_t S = 0; S < SEGS; ++S) {
      const double THETA = 2 * 3.14159265358979 * S / SEGS;
      M->VERTICES[R * SEGS + S] = VEC3F(float(1.5 * std::sin(PHI) * std::cos(THETA)),
                                        float(0.5 * std::cos(PHI)),
                                        float(1.5 * std::sin(PHI) * std::sin(THETA)));
    }
  }
  uint32_t T = 0;
  for (uint32_t R = 0; R + 1 < RINGS; ++R)
    for (uint32_t S = 0; S < SEGS; ++S) {
      const uint32_t A = R * SEGS + S, B = R * SEGS + (S + 1) % SEGS;
      SET_TRIANGLE(M, T++, A, B, A + SEGS);
      SET_TRIANGLE(M, T++, B, B + SEGS, A + SEGS);
    }
  return M;
}

// The model file when the data files are there, else the generated stand-in.
MODEL_STRUCT* MODEL_OR(const char* FILE, MODEL_STRUCT* (*MAKE)(), const char*& SOURCE) {
  const std::string PATH = std::string(MW_SOURCE_DIR) + "/" + FILE;
  if (std::filesystem::exists(PATH)) {
    auto* M = static_cast<MODEL_STRUCT*>(std::calloc(1, sizeof(MODEL_STRUCT)));
    LOAD_OBJ(PATH, M);
    SOURCE = FILE;
    return M;
  }
  SOURCE = "generated";
  return MAKE();
}

void SET_FRAME() {
  TSCRW = 320;
  TSCRH = 240;
  TOP = 480;
  ZNEAR = 2.0f;
  ZFAR = 500.0f;
  PROJECTION_MATRIX = MATRIX(0.0f);
  PROJECTION_MATRIX.PERSPECTIVE(60.0f, 1.3333334f, 2.0f, 500.0f);
}

// The view from eye height (4 above the floor) along a corridor, a little
// downwards; or steeply down at the floor, where the near-plane cut has work.
MATRIX VIEW(float DROP = 0.2f) {
  MATRIX L(0.0f);
  L.LOADIDENTITY();
  L.LOOKAT(VEC3F(2.0f, 4.0f, 20.0f), VEC3F(1.5f, 4.0f - DROP, 19.0f), VEC3F(0.0f, 1.0f, 0.0f));
  return L;
}

void RUN_TRANSFORM(benchmark::State& STATE, MODEL_STRUCT* MODEL, const MATRIX& M,
                   const MATRIX& VIEW_M) {
  SET_FRAME();
  const VEC4F LIGHT4 = VEC3F(0.0f, 100.0f, 0.0f) * VIEW_M;
  const VEC3F LIGHT(LIGHT4.X, LIGHT4.Y, LIGHT4.Z);
  float COLOR_MULT = 0.0f;
  const float DEPTH_OFFSET = 0.0f;
  int32_t FCNT = 0;
  for (auto _ : STATE) {
    FCNT = 0;
    MODEL_TRANSFORM(MODEL, M, FCNT, LIGHT, COLOR_MULT, DEPTH_OFFSET, -1, nullptr,
                    NMATHF::VEC2F(0.0f, 0.0f));
    benchmark::DoNotOptimize(FCNT);
  }
  STATE.counters["triangles"] = MODEL->MAX_TRIANGLES;
  STATE.counters["queued"] = FCNT;
  STATE.counters["pieces"] = MODEL->MAX_RTRIS - MODEL->MAX_TRIANGLES;
  STATE.SetItemsProcessed(int64_t(STATE.iterations()) * MODEL->MAX_TRIANGLES);
}

void BM_TRANSFORM_MAZE(benchmark::State& STATE) {
  static const char* SOURCE = nullptr;
  static MODEL_STRUCT* MAZE = MODEL_OR("res/model/maze.obj", GENERATED_FLOOR, SOURCE);
  STATE.SetLabel(SOURCE);
  RUN_TRANSFORM(STATE, MAZE, VIEW(), VIEW());
}
BENCHMARK(BM_TRANSFORM_MAZE);

void BM_TRANSFORM_MAZE_LOOKING_DOWN(benchmark::State& STATE) {
  static const char* SOURCE = nullptr;
  static MODEL_STRUCT* MAZE = MODEL_OR("res/model/maze.obj", GENERATED_FLOOR, SOURCE);
  STATE.SetLabel(SOURCE);
  RUN_TRANSFORM(STATE, MAZE, VIEW(1.2f), VIEW(1.2f));
}
BENCHMARK(BM_TRANSFORM_MAZE_LOOKING_DOWN);

void BM_TRANSFORM_UFO(benchmark::State& STATE) {
  static const char* SOURCE = nullptr;
  static MODEL_STRUCT* UFO = MODEL_OR("res/model/ufo.obj", GENERATED_SAUCER, SOURCE);
  STATE.SetLabel(SOURCE);
  MATRIX PLACE(0.0f);  // a little ahead of the eye, turned
  PLACE.LOADIDENTITY();
  PLACE.TRANSLATE(VEC3F(-2.0f, 5.0f, 5.0f));
  PLACE.ROTATE(10.0f, 35.0f, 0.0f);
  MATRIX M = VIEW();
  M *= PLACE;
  RUN_TRANSFORM(STATE, UFO, M, VIEW());
}
BENCHMARK(BM_TRANSFORM_UFO);

}  // namespace
