// The edge connections found through the hash of vertex pairs are exactly those
// of the plain search over every pair of triangles, kept here as the reference.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <random>
#include <stdexcept>
#include <vector>

#include "model_files.h"

namespace {

uint64_t edge_key(const uint32_t* corner, int k) {
  const uint32_t a = corner[k];
  const uint32_t b = corner[k == 2 ? 0 : k + 1];
  return a < b ? (uint64_t(a) << 32 | b) : (uint64_t(b) << 32 | a);
}

// The reference: each triangle F, for each later triangle F2, for each edge of F
// still free, connects to every equal edge of F2 (overwriting F2's entry).
// Quadratic in the number of triangles.
void pairwise_neighbors(MODEL_STRUCT& m) {
  const uint32_t n = m.MAX_TRIANGLES;
  for (uint32_t i = 0; i < n; ++i) {
    int32_t* con = m.TRIANGLES[i].CON.data();
    con[0] = con[1] = con[2] = 0;
  }
  for (uint32_t f = 0; f + 1 < n; ++f)
    for (uint32_t f2 = f + 1; f2 < n; ++f2)
      for (int e = 0; e < 3; ++e) {
        int32_t* con = m.TRIANGLES[f].CON.data();
        if (con[e] != 0) continue;
        for (int e2 = 0; e2 < 3; ++e2) {
          if (edge_key(m.TRIANGLES[f].POINT_ID.data(), e) != edge_key(m.TRIANGLES[f2].POINT_ID.data(), e2))
            continue;
          con[e] = int32_t(f2 + 1);
          m.TRIANGLES[f2].CON.data()[e2] = int32_t(f + 1);
        }
      }
}

// A model record over triangles only (the search never reads vertices).
struct TriangleSoup {
  std::vector<TRIANGLE_STRUCT> triangles;
  MODEL_STRUCT record{};
  MODEL_STRUCT* ptr = &record;

  explicit TriangleSoup(std::vector<TRIANGLE_STRUCT> t) : triangles(std::move(t)) {
    record.MAX_TRIANGLES = uint32_t(triangles.size());
    record.TRIANGLES = triangles.data();
  }
};

// COUNT triangles over a pool of POOL vertex indices, so that edges are shared
// by two, three or many triangles; some triangles repeat a corner (an edge from
// a vertex to itself, or the same edge twice), some repeat another triangle's
// corners outright. CON starts with stale values.
std::vector<TRIANGLE_STRUCT> random_triangles(std::mt19937& rng, uint32_t count, uint32_t pool) {
  std::uniform_int_distribution<uint32_t> vertex(0, pool - 1), kind(0, 9);
  std::vector<TRIANGLE_STRUCT> t(count);
  for (uint32_t i = 0; i < count; ++i) {
    uint32_t* c = t[i].POINT_ID.data();
    c[0] = vertex(rng), c[1] = vertex(rng), c[2] = vertex(rng);
    const uint32_t k = kind(rng);
    if (k == 0) c[1] = c[0];
    if (k == 1) c[2] = c[0] = c[1];
    if (k == 2 && i > 0) std::copy_n(t[rng() % i].POINT_ID.data(), 3, c);
    if (k == 3 && i > 0) {  // the same triangle the other way round
      const uint32_t* o = t[rng() % i].POINT_ID.data();
      c[0] = o[2], c[1] = o[1], c[2] = o[0];
    }
    for (int e = 0; e < 3; ++e) t[i].CON.data()[e] = int32_t(rng() % 7) - 3;
  }
  return t;
}

void expect_same_connections(std::vector<TRIANGLE_STRUCT> triangles, const std::string& what) {
  TriangleSoup fast(triangles), reference(triangles);
  SET_POLY_NEIGHBORS(fast.ptr);
  pairwise_neighbors(reference.record);
  for (size_t i = 0; i < triangles.size(); ++i)
    for (int e = 0; e < 3; ++e)
      ASSERT_EQ(fast.triangles[i].CON.data()[e], reference.triangles[i].CON.data()[e])
          << what << ": triangle " << i << " edge " << e + 1;
}

TEST(NeighborSearch, MatchesThePairwiseSearchOnRandomMeshes) {
  std::mt19937 rng(20261207);
  for (int round = 0; round < 400; ++round) {
    const uint32_t count = rng() % 120;
    const uint32_t pool = 1 + rng() % (round % 4 == 0 ? 4 : 40);
    expect_same_connections(random_triangles(rng, count, pool),
                            "round " + std::to_string(round) + " (" + std::to_string(count) +
                                " triangles over " + std::to_string(pool) + " vertices)");
  }
  // Larger meshes: the table grows and its probes wrap around.
  for (uint32_t count : {1000u, 5000u})
    expect_same_connections(random_triangles(rng, count, count / 2), std::to_string(count));
}

// An ordinary OBJ file of SIDE x SIDE quads, so that inner edges are shared.
std::string quad_grid(int side) {
  std::string text;
  for (int z = 0; z <= side; ++z)
    for (int x = 0; x <= side; ++x) text += "v " + std::to_string(x) + " 0 " + std::to_string(z) + "\n";
  for (int z = 0; z < side; ++z)
    for (int x = 0; x < side; ++x) {
      const int a = z * (side + 1) + x + 1;
      text += "f " + std::to_string(a) + " " + std::to_string(a + side + 1) + " " +
              std::to_string(a + side + 2) + " " + std::to_string(a + 1) + "\n";
    }
  return text;
}

// Work done beside the search sees the planes and normals made, and the record
// comes out as a load without it makes it; a failure of that work reaches the
// caller once the search is over.
TEST(NeighborSearch, WorkBesideTheSearchLeavesTheSameRecord) {
  const std::string path = write_model_file("beside.obj", quad_grid(40));
  LoadedModel alone, beside, failing;
  ObjMaterials materials;
  LOAD_OBJ(path, alone.ptr, materials);
  bool ran = false;
  LOAD_OBJ(path, beside.ptr, materials, [&](MODEL_STRUCT& m) {
    ran = true;
    EXPECT_EQ(std::memcmp(&m.TRIANGLES[5].NORMAL, &alone.triangle(5).NORMAL, sizeof(NMATHF::VEC3F)), 0);
  });
  EXPECT_TRUE(ran);
  ASSERT_EQ(beside->MAX_TRIANGLES, 3200u);
  EXPECT_EQ(std::memcmp(beside->TRIANGLES, alone->TRIANGLES, 3200 * sizeof(TRIANGLE_STRUCT)), 0);
  EXPECT_NE(alone.triangle(0).CON(1) + alone.triangle(0).CON(2) + alone.triangle(0).CON(3), 0);
  EXPECT_THROW(LOAD_OBJ(path, failing.ptr, materials, [](MODEL_STRUCT&) { throw std::runtime_error("beside"); }),
               std::runtime_error);
}

}  // namespace
