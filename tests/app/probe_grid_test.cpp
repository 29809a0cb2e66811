// The ground probe through the grid finds what the scan of every triangle
// finds: the same first hit in stored order, the same lift, at every place
// of the maze, on its edges and corners, and wherever the grid cannot answer.
#include "app/probe_grid.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "app/player.h"
#include "temp_folder.h"

using namespace NMATHF;

namespace {
struct ModelFree {
  void operator()(MODEL_STRUCT* m) const {
    UNLOAD_OBJ(m);
    std::free(m);
  }
};
using ModelPtr = std::unique_ptr<MODEL_STRUCT, ModelFree>;

ModelPtr load(const std::string& path) {
  MODEL_STRUCT* m = static_cast<MODEL_STRUCT*>(std::calloc(1, sizeof(MODEL_STRUCT)));
  LOAD_OBJ(path, m);
  return ModelPtr(m);
}

// The probe from P with and without the grid, flying (first hit) and walking
// (highest hit): everything it decides is equal.
void expect_same_probe(const MODEL_STRUCT& maze, const ProbeGrid& grid, const VEC3F& p,
                       int64_t& hits) {
  for (const int32_t fly : {-1, 0}) {
  Player scan, gridded;
  scan.fly = gridded.fly = fly;
  scan.CAM.P = gridded.CAM.P = p;
  scan.GRAVY = gridded.GRAVY = -5.0f;
  ground_test(scan, maze);
  ground_test(gridded, maze, grid);
  const std::string where = p.to_string();
  ASSERT_EQ(scan.INTERSECTED, gridded.INTERSECTED) << where;
  ASSERT_EQ(scan.ISTRING, gridded.ISTRING) << where;
  ASSERT_EQ(scan.ON_GROUND, gridded.ON_GROUND) << where;
  ASSERT_EQ(std::bit_cast<uint32_t>(scan.GRAVY), std::bit_cast<uint32_t>(gridded.GRAVY)) << where;
  ASSERT_EQ(scan.CAM.P.to_string(), gridded.CAM.P.to_string()) << where;
  ASSERT_EQ(std::bit_cast<uint32_t>(scan.CAM.P.Y), std::bit_cast<uint32_t>(gridded.CAM.P.Y));
  if (scan.INTERSECTED) {
    ++hits;
    ASSERT_EQ(std::bit_cast<uint32_t>(scan.IPOINT.Y), std::bit_cast<uint32_t>(gridded.IPOINT.Y))
        << where;
  }
  }
}

// Writes a model of triangles (corners as 1-based vertex numbers) and loads it.
ModelPtr load_triangles(const std::string& name, const std::vector<VEC3F>& v,
                        const std::vector<std::array<int, 3>>& f) {
  const auto path = std::filesystem::temp_directory_path() /
                    ("mazewalk-probe-" + name + "-" + std::to_string(getpid()) + ".obj");
  {
    std::ofstream out(path);
    out.precision(9);
    out << "# Vertices: " << v.size() << "\n# Faces: " << f.size() << "\n";
    // The reader takes "nan" and "inf" for 0; a number past the float range
    // reads as infinite.
    const auto put = [&out](float c) -> std::ofstream& {
      if (std::isinf(c)) out << (c > 0 ? " 1e39" : " -1e39");
      else out << " " << c;
      return out;
    };
    for (const VEC3F& p : v) {
      out << "v";
      put(p.X), put(p.Y), put(p.Z) << "\n";
    }
    for (const auto& t : f)
      out << "vt 0 0\nvt 0 0\nvt 0 0\nf " << t[0] << " " << t[1] << " " << t[2] << "\n";
  }
  ModelPtr maze = load(path.string());
  std::filesystem::remove(path);
  return maze;
}

// Probes over the whole maze and beyond it, at several heights, on a grid
// that does not line up with the cells, at every corner of every triangle and
// a hair to either side of it, and at random places.
void probe_everywhere(const MODEL_STRUCT& maze, int64_t& hits) {
  ProbeGrid grid;
  grid.build(maze);
  ASSERT_TRUE(grid.built());
  float lo_x = INFINITY, hi_x = -INFINITY, lo_z = INFINITY, hi_z = -INFINITY;
  for (uint32_t i = 0; i < maze.MAX_VERTICES; ++i) {
    lo_x = std::min(lo_x, maze.VERTICES[i].X), hi_x = std::max(hi_x, maze.VERTICES[i].X);
    lo_z = std::min(lo_z, maze.VERTICES[i].Z), hi_z = std::max(hi_z, maze.VERTICES[i].Z);
  }
  const float heights[] = {2.0f, 9.0f, 99.0f};
  for (float x = lo_x - 3.0f; x <= hi_x + 3.0f; x += 2.3f)
    for (float z = lo_z - 3.0f; z <= hi_z + 3.0f; z += 2.9f)
      for (const float y : heights) expect_same_probe(maze, grid, VEC3F(x, y, z), hits);
  // Corners lie on the edges of several triangles: where the rounding of the
  // crossing test decides.
  const uint32_t step = maze.MAX_VERTICES / 2500 + 1;
  for (uint32_t i = 0; i < maze.MAX_VERTICES; i += step) {
    const VEC3F& v = maze.VERTICES[i];
    expect_same_probe(maze, grid, VEC3F(v.X, v.Y + 4.0f, v.Z), hits);
    expect_same_probe(maze, grid, VEC3F(v.X + 1e-4f, v.Y + 4.0f, v.Z - 1e-4f), hits);
    expect_same_probe(maze, grid, VEC3F(std::nextafter(v.X, INFINITY), v.Y + 50.0f, v.Z), hits);
  }
  std::mt19937 rng(8);
  std::uniform_real_distribution<float> x(lo_x - 5, hi_x + 5), y(-20, 160), z(lo_z - 5, hi_z + 5);
  for (int i = 0; i < 1500; ++i) expect_same_probe(maze, grid, VEC3F(x(rng), y(rng), z(rng)), hits);
}
}  // namespace

TEST(ProbeGrid, TheMazeAnswersAsTheFullScanEverywhere) {
  ModelPtr maze = load(std::string(MW_SOURCE_DIR) + "/res/model/maze.obj");
  int64_t hits = 0;
  probe_everywhere(*maze, hits);
  EXPECT_GT(hits, 4000);  // most probes stand over the floor
}

// Steep slopes, near-vertical faces, slivers, a triangle without area and
// triangles far apart, in an order where the first hit is not the nearest.
TEST(ProbeGrid, HardTrianglesAnswerAsTheFullScan) {
  const auto path = test_files::temp_path("probe-hard.obj");
  std::vector<VEC3F> v;
  std::vector<std::array<int, 3>> f;
  std::mt19937 rng(3);
  std::uniform_real_distribution<float> pos(-40, 40), h(0, 12), tiny(-0.01f, 0.01f);
  for (int i = 0; i < 300; ++i) {
    const int b = int(v.size());
    const VEC3F a(pos(rng), h(rng), pos(rng));
    switch (i % 5) {
      case 0:  // an ordinary slope
        v.insert(v.end(), {a, a + VEC3F(4, h(rng) - 6, 1), a + VEC3F(1, h(rng) - 6, 5)});
        break;
      case 1:  // almost a wall
        v.insert(v.end(), {a, a + VEC3F(5, tiny(rng), 0.001f), a + VEC3F(0.001f, 8, tiny(rng))});
        break;
      case 2:  // a sliver
        v.insert(v.end(), {a, a + VEC3F(9, 0.5f, 3), a + VEC3F(4.5f, 0.25f, 1.5f + 1e-3f)});
        break;
      case 3:  // no area
        v.insert(v.end(), {a, a + VEC3F(2, 1, 2), a + VEC3F(4, 2, 4)});
        break;
      default:  // a steep tile
        v.insert(v.end(), {a, a + VEC3F(0.2f, 10, 0), a + VEC3F(0, 10, 0.2f)});
    }
    f.push_back({b + 1, b + 2, b + 3});
  }
  ModelPtr maze = load_triangles("hard", v, f);
  int64_t hits = 0;
  probe_everywhere(*maze, hits);
  EXPECT_GT(hits, 300);
}

// Where the grid cannot answer (no finite position, far above the maze) the
// probe scans every triangle, as it always did.
TEST(ProbeGrid, PositionsOutsideTheGridScanEveryTriangle) {
  ModelPtr maze = load(std::string(MW_SOURCE_DIR) + "/res/model/maze.obj");
  ProbeGrid grid;
  grid.build(*maze);
  ProbeGrid::Candidates near;
  const float nan_f = std::numeric_limits<float>::quiet_NaN();
  EXPECT_FALSE(grid.candidates(nan_f, 5, 0, near));
  EXPECT_FALSE(grid.candidates(0, 5, INFINITY, near));
  EXPECT_FALSE(grid.candidates(0, 1e7f, 0, near));
  EXPECT_FALSE(grid.candidates(1e6f, 5, 0, near));
  ASSERT_TRUE(grid.candidates(0, 5, 0, near));
  std::vector<uint32_t> order;
  near.in_stored_order([&](uint32_t id) { return order.push_back(id), false; });
  EXPECT_LT(order.size(), maze->MAX_TRIANGLES / 10);  // the point of the grid
  for (size_t i = 1; i < order.size(); ++i) EXPECT_LT(order[i - 1], order[i]);  // stored order
  int64_t hits = 0;
  for (const VEC3F p : {VEC3F(nan_f, 5, 0), VEC3F(0, 1e7f, 0), VEC3F(0, 120, 0), VEC3F(0, -3, 0)})
    expect_same_probe(*maze, grid, p, hits);
  ProbeGrid none;  // never built: every probe scans
  EXPECT_FALSE(none.candidates(0, 5, 0, near));
  expect_same_probe(*maze, none, VEC3F(1, 6, 1), hits);
  EXPECT_GE(hits, 1);
}

// Coordinates near the float limit make no grid (its sizes would overflow), and
// the probe and the walls scan every triangle instead.
TEST(ProbeGrid, CoordinatesNearTheFloatLimitBuildNoGrid) {
  const auto path = test_files::temp_path("probe-huge.obj");
  {
    std::ofstream out(path);
    out << "# Vertices: 6\n# Faces: 2\n"
        << "v -10 0 -10\nv 10 0 -10\nv 0 0 10\n"
        << "v -3e38 1 -3e38\nv 3e38 1 -3e38\nv 0 1 3e38\n"
        << "vt 0 0\nvt 0 0\nvt 0 0\nf 1 3 2\nvt 0 0\nvt 0 0\nvt 0 0\nf 4 6 5\n";
  }
  ModelPtr maze = load(path.string());
  std::filesystem::remove(path);
  ProbeGrid grid;
  grid.build(*maze);
  EXPECT_FALSE(grid.built());
  int64_t hits = 0;
  for (const VEC3F p : {VEC3F(0, 6, 0), VEC3F(1e30f, 6, -1e30f), VEC3F(0, -0.5f, 0)})
    expect_same_probe(*maze, grid, p, hits);
  EXPECT_GE(hits, 1);
}

// Worlds made to break a grid: long slivers that cross the whole world, faces
// without area, infinite corners, one triangle 1e30 wide. Each
// answers as the full scan, and the grid keeps at most 64 entries a triangle
// and no more cells than triangles.
TEST(ProbeGrid, HostileWorldsAnswerAsTheFullScanInBoundedMemory) {
  struct Row {
    const char* name;
    int count;
    size_t wide;  // the triangles that must not be listed cell by cell
    VEC3F (*corner)(int tri, int k, std::mt19937& rng);
  };
  const Row rows[] = {
      {"slivers", 2000, 2000,
       [](int, int k, std::mt19937& rng) {
         static VEC3F a;
         std::uniform_real_distribution<float> pos(-50, 50), h(0, 6);
         if (k == 0) a = VEC3F(pos(rng), h(rng), pos(rng));
         const VEC3F along(100, 0.5f, 37);  // long and a hair wide
         return k == 0 ? a : k == 1 ? a + along : a + along * 0.5f + VEC3F(0, 0, 0.01f);
       }},
      {"thin", 1500, 0,  // listed cell by cell, with a wider margin
       [](int, int k, std::mt19937& rng) {
         static VEC3F a, along;
         std::uniform_real_distribution<float> pos(-50, 50), h(0, 6), d(-6, 6), w(0.1f, 0.3f);
         if (k == 0) a = VEC3F(pos(rng), h(rng), pos(rng)), along = VEC3F(d(rng), d(rng) * 0.5f, d(rng));
         const float width = w(rng);
         return k == 0 ? a : k == 1 ? a + along : a + along * 0.5f + VEC3F(-along.Z, 0, along.X) * (width / 8);
       }},
      {"no-area", 2000, 0,
       [](int t, int k, std::mt19937& rng) {
         std::uniform_real_distribution<float> pos(-50, 50);
         if (t % 2) return VEC3F(float(t % 40) - 20, 1, float(t / 40 % 40) - 20);  // all one point
         const float x = pos(rng);
         return VEC3F(x + float(k), 2, x * 0.5f);  // on one line
       }},
      {"infinite", 600, 12,
       [](int t, int k, std::mt19937& rng) {
         std::uniform_real_distribution<float> pos(-50, 50), h(0, 6);
         if (t % 50 == 7 && k == 1) return VEC3F(t % 100 == 7 ? -INFINITY : INFINITY, 1, 0);
         const VEC3F a(float(t % 20) * 5 - 50, h(rng), float(t / 20) * 5 - 50);
         return k == 0 ? a : k == 1 ? a + VEC3F(6, 0, 1) : a + VEC3F(1, 0.5f, 6);
       }},
      {"huge", 400, 1,
       [](int t, int k, std::mt19937&) {
         if (t == 150) return k == 0 ? VEC3F(-1e30f, 3, -1e30f)
                              : k == 1 ? VEC3F(0, 3, 1e30f) : VEC3F(1e30f, 3, -1e30f);
         const VEC3F a(float(t % 20) * 5 - 50, 0, float(t / 20) * 5 - 50);
         return k == 0 ? a : k == 1 ? a + VEC3F(0, 0, 6) : a + VEC3F(6, 0, 0);
       }},
  };
  for (const Row& row : rows) {
    std::mt19937 rng(11);
    std::vector<VEC3F> v;
    std::vector<std::array<int, 3>> f;
    for (int t = 0; t < row.count; ++t) {
      for (int k = 0; k < 3; ++k) v.push_back(row.corner(t, k, rng));
      f.push_back({3 * t + 1, 3 * t + 2, 3 * t + 3});
    }
    ModelPtr maze = load_triangles(row.name, v, f);
    ProbeGrid grid;
    grid.build(*maze);
    EXPECT_TRUE(grid.built()) << row.name;
    EXPECT_LE(grid.listed(), 64u * maze->MAX_TRIANGLES) << row.name;
    EXPECT_GE(grid.wide(), row.wide) << row.name;
    EXPECT_LE(grid.cell_count(), size_t(maze->MAX_TRIANGLES)) << row.name;
    int64_t hits = 0;
    std::uniform_real_distribution<float> x(-60, 60), y(-5, 40);
    for (int i = 0; i < 1000; ++i) expect_same_probe(*maze, grid, VEC3F(x(rng), y(rng), x(rng)), hits);
    // At corners and edge midpoints, and a hair beside them.
    for (uint32_t i = 0; i + 2 < maze->MAX_VERTICES; i += 9) {
      const VEC3F& c = maze->VERTICES[i];
      const VEC3F m = (c + maze->VERTICES[i + 1]) * 0.5f;
      expect_same_probe(*maze, grid, VEC3F(c.X, c.Y + 4.0f, c.Z), hits);
      expect_same_probe(*maze, grid, VEC3F(m.X, m.Y + 4.0f, m.Z), hits);
      expect_same_probe(*maze, grid, VEC3F(std::nextafter(m.X, INFINITY), m.Y + 9.0f, m.Z), hits);
    }
    if (std::string(row.name) != "no-area") {
      EXPECT_GT(hits, 100) << row.name;
    }
  }
}
