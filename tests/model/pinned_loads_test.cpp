// Files in the counted format load into exactly the same arrays, bit for bit, as
// the reader has always made from them: each array of each file is hashed and
// compared with the hash recorded when the format was first read this way.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>

#include "model_files.h"

namespace {

// FNV-1a over the bytes of an array, padding included (the arrays are
// zero-filled and only fields are ever written).
uint64_t hash_bytes(const void* data, size_t size) {
  uint64_t h = 0xcbf29ce484222325u;
  const auto* p = static_cast<const uint8_t*>(data);
  for (size_t i = 0; i < size; ++i) h = (h ^ p[i]) * 0x100000001b3u;
  return h;
}

struct PinnedFile {
  const char* path;  // from the source folder
  uint32_t vertices, triangles;
  uint64_t vertex_hash, triangle_hash;  // VERTICES and TRIANGLES
};

const PinnedFile PINNED[] = {
    {"res/model/maze.obj", 2061, 3981, 0xf09c9197b7abb369u, 0x9b818addbe3582a7u},
    {"res/model/cube.obj", 8, 12, 0x04edb509eba9dbe5u, 0xe0204a35c86ac555u},
    {"res/model/ufo.obj", 178, 352, 0x41eeae6f755e7709u, 0xf55c2ed2915eace9u},
    {"tests/fuzz/corpus/cube.obj", 8, 12, 0x19acc3f5654ecce5u, 0x6420a3f61352a439u},
    {"tests/fuzz/corpus/headers_late.obj", 3, 1, 0x943cf28841434e75u, 0x037520e016904890u},
    {"tests/fuzz/corpus/odd_spacing.obj", 4, 2, 0xa67fb1b52962ea1bu, 0x7775c0792d4486b2u},
    {"tests/fuzz/corpus/shared_edges.obj", 6, 4, 0x561795957935a6a8u, 0x766da4d875e12e41u},
};

bool all_zero(const void* data, size_t size) {
  const auto* p = static_cast<const uint8_t*>(data);
  for (size_t i = 0; i < size; ++i)
    if (p[i] != 0) return false;
  return true;
}

}  // namespace

TEST(PinnedLoads, CountedFilesGiveTheRecordedArrays) {
  for (const PinnedFile& f : PINNED) {
    SCOPED_TRACE(f.path);
    const std::string path = std::string(MW_SOURCE_DIR) + "/" + f.path;
    if (!std::filesystem::is_regular_file(path)) {
      ADD_FAILURE() << path << " is missing";
      continue;
    }
    LoadedModel m;
    LOAD_OBJ(path, m.ptr);
    const uint32_t nv = m->MAX_VERTICES, nt = m->MAX_TRIANGLES;
    const uint64_t vh = hash_bytes(m->VERTICES, nv * sizeof(NMATHF::VEC3F));
    const uint64_t th = hash_bytes(m->TRIANGLES, nt * sizeof(TRIANGLE_STRUCT));
    EXPECT_EQ(nv, f.vertices);
    EXPECT_EQ(nt, f.triangles);
    EXPECT_EQ(vh, f.vertex_hash);
    EXPECT_EQ(th, f.triangle_hash);
    if (vh != f.vertex_hash || th != f.triangle_hash)
      std::printf("now: {\"%s\", %u, %u, 0x%016llxu, 0x%016llxu}\n", f.path, nv, nt,
                  (unsigned long long)vh, (unsigned long long)th);
    // The per-frame arrays are zero-filled at load.
    EXPECT_TRUE(all_zero(m->RVERTICES, 2 * size_t(nv) * sizeof(NMATHF::VEC4F)));
    EXPECT_TRUE(all_zero(m->TVERTICES, size_t(nv) * sizeof(NMATHF::VEC4F)));
    EXPECT_TRUE(all_zero(m->PVERTICES, 2 * size_t(nv) * sizeof(NMATHF::VEC3F)));
    EXPECT_TRUE(all_zero(m->RTRIANGLES, 2 * size_t(nt) * sizeof(TRIANGLE_STRUCT)));
  }
}
