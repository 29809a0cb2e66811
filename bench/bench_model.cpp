// Loading models: reading the lines, then planes, normals and the edge
// connections, from maze size up to files of millions of faces.
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
struct BenchFiles {
  std::vector<std::filesystem::path> paths;
  ~BenchFiles() {
    std::error_code ignored;
    for (const auto& path : paths) std::filesystem::remove(path, ignored);
  }
};

std::string bench_file(const std::string& name, const std::string& text) {
  static BenchFiles files;
  const auto path = std::filesystem::temp_directory_path() /
                    ("mazewalk_bench_" + std::to_string(getpid()) + "_" + name);
  std::ofstream(path, std::ios::binary) << text;
  files.paths.push_back(path);
  return path.string();
}

void append_face(std::string& text, int a, int b, int c) {
  char line[160];
  std::snprintf(line, sizeof line, "vt 0.25 0.5\nvt 0.75 0.5\nvt 0.5 1\nf %d/1/1 %d/2/1 %d/3/1\n",
                a + 1, b + 1, c + 1);
  text += line;
}

// A floor of COLUMNS x ROWS quads, two triangles each, sharing their vertices:
// every inner edge connects two triangles, as in the maze.
std::string grid_model(int columns, int rows) {
  const int vertices = (columns + 1) * (rows + 1);
  std::string text = "# Vertices: " + std::to_string(vertices) + "\n# Faces: " +
                     std::to_string(2 * columns * rows) + "\nusemtl col_200_180_120\n";
  char line[96];
  for (int z = 0; z <= rows; ++z)
    for (int x = 0; x <= columns; ++x) {
      std::snprintf(line, sizeof line, "v %d.5 0 %d.25\n", x * 4, z * 4);
      text += line;
    }
  for (int z = 0; z < rows; ++z)
    for (int x = 0; x < columns; ++x) {
      const int a = z * (columns + 1) + x, b = a + 1, c = a + columns + 1, d = c + 1;
      append_face(text, a, c, b);
      append_face(text, b, c, d);
    }
  return text;
}

// The same floor as ordinary OBJ: no count lines, one quad per face line and
// shared texture coordinates, read through the counting first pass.
std::string plain_grid_model(int columns, int rows) {
  std::string text = "o floor\nvt 0 0\nvt 1 0\nvt 1 1\nvt 0 1\nvn 0 1 0\nusemtl floor\n";
  char line[96];
  for (int z = 0; z <= rows; ++z)
    for (int x = 0; x <= columns; ++x) {
      std::snprintf(line, sizeof line, "v %d.5 0 %d.25\n", x * 4, z * 4);
      text += line;
    }
  for (int z = 0; z < rows; ++z)
    for (int x = 0; x < columns; ++x) {
      const int a = z * (columns + 1) + x + 1, b = a + 1, c = a + columns + 1, d = c + 1;
      std::snprintf(line, sizeof line, "f %d/1/1 %d/4/1 %d/3/1 %d/2/1\n", a, c, d, b);
      text += line;
    }
  return text;
}

// TRIANGLES triangles that share no vertex: no edge ever matches (for a
// search over every pair, its worst case).
std::string soup_model(int triangles) {
  std::string text = "# Vertices: " + std::to_string(3 * triangles) + "\n# Faces: " +
                     std::to_string(triangles) + "\n";
  char line[96];
  for (int i = 0; i < 3 * triangles; ++i) {
    std::snprintf(line, sizeof line, "v %d %d 0\n", i % 97, i / 3);
    text += line;
  }
  for (int i = 0; i < triangles; ++i) append_face(text, 3 * i, 3 * i + 1, 3 * i + 2);
  return text;
}

// A city-sized ordinary OBJ file as exporters write one: COLUMNS x ROWS quads
// of uneven ground cut into two triangles each, coordinates with three
// decimals, a texture coordinate named at every corner, and a material of a
// library (colours only) switched every few hundred faces.
std::string city_model(int columns, int rows, const std::string& library) {
  std::string text = "# generated\nmtllib " + library + "\nvt 0 0\nvt 1 0\nvt 1 1\nvt 0 1\n";
  char line[96];
  for (int z = 0; z <= rows; ++z)
    for (int x = 0; x <= columns; ++x) {
      std::snprintf(line, sizeof line, "v %.3f %.3f %.3f\n", x * 6.0 - 600.0, ((x * 7 + z * 13) % 50) * 0.125,
                    z * -6.0 + 540.0);
      text += line;
    }
  int faces = 0;
  for (int z = 0; z < rows; ++z)
    for (int x = 0; x < columns; ++x) {
      if (faces++ % 300 == 0) text += "usemtl " + std::string(1, char('a' + faces % 4)) + "\n";
      const int a = z * (columns + 1) + x + 1, b = a + 1, c = a + columns + 1, d = c + 1;
      std::snprintf(line, sizeof line, "f %d/1 %d/2 %d/3\nf %d/1 %d/3 %d/4\n", a, b, d, a, d, c);
      text += line;
    }
  return text;
}

void load_and_unload(benchmark::State& state, const std::string& path) {
  uint32_t triangles = 0;
  for (auto _ : state) {
    MODEL_STRUCT record{};
    MODEL_STRUCT* model = &record;
    LOAD_OBJ(path, model);
    triangles = model->MAX_TRIANGLES;
    benchmark::DoNotOptimize(model->TRIANGLES);
    UNLOAD_OBJ(model);
  }
  state.counters["triangles"] = triangles;
}

}  // namespace

// 60 x 50 quads: 6000 triangles, the largest maze the data files may hold.
static void bm_load_obj_grid_6000(benchmark::State& state) {
  static const std::string PATH = bench_file("grid.obj", grid_model(60, 50));
  load_and_unload(state, PATH);
}
BENCHMARK(bm_load_obj_grid_6000)->Unit(benchmark::kMillisecond);

// The worst case of the connection search at the same size.
static void bm_load_obj_unconnected_6000(benchmark::State& state) {
  static const std::string PATH = bench_file("soup.obj", soup_model(6000));
  load_and_unload(state, PATH);
}
BENCHMARK(bm_load_obj_unconnected_6000)->Unit(benchmark::kMillisecond);

// The maze the program loads, when the data files are there.
static void bm_load_obj_maze(benchmark::State& state) {
  const std::string path = std::string(MW_SOURCE_DIR) + "/res/model/maze.obj";
  if (!std::filesystem::is_regular_file(path)) {
    state.SkipWithError("res/model/maze.obj not present");
    return;
  }
  load_and_unload(state, path);
}
BENCHMARK(bm_load_obj_maze)->Unit(benchmark::kMillisecond);

// A third of a million triangles that share nothing: every edge is a border.
static void bm_load_obj_unconnected_333333(benchmark::State& state) {
  static const std::string PATH = bench_file("soup_large.obj", soup_model(333333));
  load_and_unload(state, PATH);
}
BENCHMARK(bm_load_obj_unconnected_333333)->Unit(benchmark::kMillisecond);

// 1000 x 1000 quads: two million triangles sharing their inner edges.
static void bm_load_obj_grid_2000000(benchmark::State& state) {
  static const std::string PATH = bench_file("grid_large.obj", grid_model(1000, 1000));
  load_and_unload(state, PATH);
}
BENCHMARK(bm_load_obj_grid_2000000)->Unit(benchmark::kMillisecond);

// Two million triangles from a million quads in an ordinary OBJ file.
static void bm_load_plain_obj_grid_2000000(benchmark::State& state) {
  static const std::string PATH = bench_file("plain_grid_large.obj", plain_grid_model(1000, 1000));
  load_and_unload(state, PATH);
}
BENCHMARK(bm_load_plain_obj_grid_2000000)->Unit(benchmark::kMillisecond);

// A million triangles of a city-sized ordinary OBJ file, read with the
// materials of its library, as the program reads a world of the user's own.
static void bm_load_plain_obj_city_1000000(benchmark::State& state) {
  static const std::string LIBRARY =
      bench_file("city.mtl", "newmtl a\nKd 0.5 0.5 0.5\nnewmtl b\nKd 0.8 0.2 0.2\n"
                             "newmtl c\nKd 0.2 0.8 0.2\nnewmtl d\nKd 0.2 0.2 0.8\n");
  static const std::string PATH =
      bench_file("city.obj", city_model(500, 1000, std::filesystem::path(LIBRARY).filename().string()));
  uint32_t triangles = 0;
  for (auto _ : state) {
    MODEL_STRUCT record{};
    MODEL_STRUCT* model = &record;
    ObjMaterials materials;
    LOAD_OBJ(PATH, model, materials);
    triangles = model->MAX_TRIANGLES;
    benchmark::DoNotOptimize(model->TRIANGLES);
    UNLOAD_OBJ(model);
  }
  state.counters["triangles"] = triangles;
}
BENCHMARK(bm_load_plain_obj_city_1000000)->Unit(benchmark::kMillisecond);
