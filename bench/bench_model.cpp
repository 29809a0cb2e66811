// Loading a maze-sized model: reading the lines, then planes, normals and the
// quadratic edge-connection search.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "model/model.h"

namespace {

// Files written for the benchmarks, removed when the program ends.
struct BENCH_FILES {
  std::vector<std::filesystem::path> PATHS;
  ~BENCH_FILES() {
    std::error_code IGNORED;
    for (const auto& PATH : PATHS) std::filesystem::remove(PATH, IGNORED);
  }
};

std::string BENCH_FILE(const std::string& NAME, const std::string& TEXT) {
  static BENCH_FILES FILES;
  const auto PATH = std::filesystem::temp_directory_path() /
                    ("mazewalk_bench_" + std::to_string(getpid()) + "_" + NAME);
  std::ofstream(PATH, std::ios::binary) << TEXT;
  FILES.PATHS.push_back(PATH);
  return PATH.string();
}

void APPEND_FACE(std::string& TEXT, int A, int B, int C) {
  char LINE[160];
  std::snprintf(LINE, sizeof LINE, "vt 0.25 0.5\nvt 0.75 0.5\nvt 0.5 1\nf %d/1/1 %d/2/1 %d/3/1\n",
                A + 1, B + 1, C + 1);
  TEXT += LINE;
}

// A floor of COLUMNS x ROWS quads, two triangles each, sharing their vertices:
// every inner edge connects two triangles, as in the maze.
std::string GRID_MODEL(int COLUMNS, int ROWS) {
  const int VERTICES = (COLUMNS + 1) * (ROWS + 1);
  std::string TEXT = "# Vertices: " + std::to_string(VERTICES) + "\n# Faces: " +
                     std::to_string(2 * COLUMNS * ROWS) + "\nusemtl col_200_180_120\n";
  char LINE[96];
  for (int Z = 0; Z <= ROWS; ++Z)
    for (int X = 0; X <= COLUMNS; ++X) {
      std::snprintf(LINE, sizeof LINE, "v %d.5 0 %d.25\n", X * 4, Z * 4);
      TEXT += LINE;
    }
  for (int Z = 0; Z < ROWS; ++Z)
    for (int X = 0; X < COLUMNS; ++X) {
      const int A = Z * (COLUMNS + 1) + X, B = A + 1, C = A + COLUMNS + 1, D = C + 1;
      APPEND_FACE(TEXT, A, C, B);
      APPEND_FACE(TEXT, B, C, D);
    }
  return TEXT;
}

// TRIANGLES triangles that share no vertex: no edge ever matches, so the
// connection search compares every pair.
std::string SOUP_MODEL(int TRIANGLES) {
  std::string TEXT = "# Vertices: " + std::to_string(3 * TRIANGLES) + "\n# Faces: " +
                     std::to_string(TRIANGLES) + "\n";
  char LINE[96];
  for (int I = 0; I < 3 * TRIANGLES; ++I) {
    std::snprintf(LINE, sizeof LINE, "v %d %d 0\n", I % 97, I / 3);
    TEXT += LINE;
  }
  for (int I = 0; I < TRIANGLES; ++I) APPEND_FACE(TEXT, 3 * I, 3 * I + 1, 3 * I + 2);
  return TEXT;
}

void LOAD_AND_UNLOAD(benchmark::State& STATE, const std::string& PATH) {
  uint32_t TRIANGLES = 0;
  for (auto _ : STATE) {
    MODEL_STRUCT RECORD{};
    MODEL_STRUCT* MODEL = &RECORD;
    LOAD_OBJ(PATH, MODEL);
    TRIANGLES = MODEL->MAX_TRIANGLES;
    benchmark::DoNotOptimize(MODEL->TRIANGLES);
    UNLOAD_OBJ(MODEL);
  }
  STATE.counters["triangles"] = TRIANGLES;
}

}  // namespace

// 60 x 50 quads: 6000 triangles, the largest maze the data files may hold.
static void BM_LOAD_OBJ_GRID_6000(benchmark::State& STATE) {
  static const std::string PATH = BENCH_FILE("grid.obj", GRID_MODEL(60, 50));
  LOAD_AND_UNLOAD(STATE, PATH);
}
BENCHMARK(BM_LOAD_OBJ_GRID_6000)->Unit(benchmark::kMillisecond);

// The worst case of the connection search at the same size.
static void BM_LOAD_OBJ_UNCONNECTED_6000(benchmark::State& STATE) {
  static const std::string PATH = BENCH_FILE("soup.obj", SOUP_MODEL(6000));
  LOAD_AND_UNLOAD(STATE, PATH);
}
BENCHMARK(BM_LOAD_OBJ_UNCONNECTED_6000)->Unit(benchmark::kMillisecond);

// The maze the program loads, when the data files are there.
static void BM_LOAD_OBJ_MAZE(benchmark::State& STATE) {
  const std::string PATH = std::string(MW_SOURCE_DIR) + "/res/model/maze.obj";
  if (!std::filesystem::is_regular_file(PATH)) {
    STATE.SkipWithError("res/model/maze.obj not present");
    return;
  }
  LOAD_AND_UNLOAD(STATE, PATH);
}
BENCHMARK(BM_LOAD_OBJ_MAZE)->Unit(benchmark::kMillisecond);
