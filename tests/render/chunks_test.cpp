// A large model in chunks: the chunks cover the triangles in order, a chunk
// is skipped only when its box is wholly out of view, and what the chunked
// transform queues is what the whole-model transform queues, to the bit.
#include <cmath>
#include <cstring>
#include <limits>

#include "chunks/chunk_view_test.h"
#include "render/model_chunks.h"
#include "transform_fixture.h"

namespace {

MATRIX look(VEC3F eye, VEC3F target) {
  MATRIX m = identity();
  m.LOOKAT(eye, target, VEC3F(0, 1, 0));
  return m;
}

TEST(ModelChunks, CoverTheTrianglesInOrderWithTheirVerticesInsideTheirBoxes) {
  const std::string root = MW_SOURCE_DIR;
  MODEL_STRUCT* maze = static_cast<MODEL_STRUCT*>(std::calloc(1, sizeof(MODEL_STRUCT)));
  LOAD_OBJ(root + "/res/model/maze.obj", maze);
  const ModelChunks chunks = make_model_chunks(*maze);
  ASSERT_GT(chunks.chunks.size(), 16u);
  uint32_t next = 0;
  for (const ModelChunk& c : chunks.chunks) {
    ASSERT_EQ(c.first_triangle, next);
    ASSERT_GT(c.last_triangle, c.first_triangle);
    ASSERT_LE(c.last_triangle - c.first_triangle, CHUNK_TRIANGLES);
    next = c.last_triangle;
    const uint32_t* first = chunks.vertex_ids.data() + c.first_vertex;
    const uint32_t* last = chunks.vertex_ids.data() + c.last_vertex;
    for (uint32_t t = c.first_triangle; t < c.last_triangle; ++t)
      for (int k = 1; k <= 3; ++k) {
        const uint32_t id = maze->TRIANGLES[t].POINT_ID(k);
        ASSERT_TRUE(std::binary_search(first, last, id)) << t;
        const VEC3F& p = maze->VERTICES[id];
        ASSERT_TRUE(p.X >= c.low.X && p.Y >= c.low.Y && p.Z >= c.low.Z && p.X <= c.high.X &&
                    p.Y <= c.high.Y && p.Z <= c.high.Z);
      }
  }
  EXPECT_EQ(next, maze->MAX_TRIANGLES);
  UNLOAD_OBJ(maze);
  std::free(maze);

  // A corner out of range is left out; one not finite keeps the chunk unbounded.
  const float nan_f = std::numeric_limits<float>::quiet_NaN();
  MemoryModel odd({VEC3F(0, 0, -5), VEC3F(1, 0, -5), VEC3F(nan_f, 0, -5)}, {{0, 1, 7}, {0, 1, 2}});
  const ModelChunks odd_chunks = make_model_chunks(*odd.m);
  // (Each triangle is as wide as the model, so each makes a chunk.)
  ASSERT_EQ(odd_chunks.chunks.size(), 2u);
  EXPECT_TRUE(odd_chunks.chunks[0].bounded);
  EXPECT_FALSE(odd_chunks.chunks[1].bounded);
  EXPECT_EQ(odd_chunks.vertex_ids, (std::vector<uint32_t>{0, 1, 0, 1, 2}));
}

class ChunkViewTest : public TransformTest {};

// The eye at the origin looking down -Z: boxes behind, left of, above and far
// beside the view are skipped; one in front, one around the eye, one that
// reaches into view and one that is not finite are kept.
TEST_F(ChunkViewTest, OnlyBoxesWhollyOutsideAPlaneAreSkipped) {
  const float inf = std::numeric_limits<float>::infinity();
  struct Row {
    VEC3F low, high;
    bool bounded, skipped;
  } rows[] = {
      {VEC3F(-1, -1, 5), VEC3F(1, 1, 9), true, true},          // behind
      {VEC3F(-1, -1, -1.9f), VEC3F(1, 1, -1), true, true},     // before the near plane
      {VEC3F(-60, -1, -20), VEC3F(-40, 1, -10), true, true},   // left
      {VEC3F(-1, 40, -20), VEC3F(1, 60, -10), true, true},     // above
      {VEC3F(-1, -1, -20), VEC3F(1, 1, -10), true, false},     // in front
      {VEC3F(-5, -5, -5), VEC3F(5, 5, 5), true, false},        // around the eye
      {VEC3F(-60, -1, -20), VEC3F(-5, 1, -10), true, false},   // reaches in
      {VEC3F(-1, -1, -20), VEC3F(1, 1, -10), false, false},    // not finite
      {VEC3F(-inf, -1, 5), VEC3F(1, 1, 9), true, false},       // infinite box
  };
  const MATRIX view = identity();
  for (const Row& r : rows) {
    ModelChunk c{0, 1, 0, 0, r.low, r.high, r.bounded};
    EXPECT_EQ(chunk_outside_view(c, view.M, PROJECTION_MATRIX.M, ZNEAR), r.skipped)
        << r.low.X << " " << r.low.Z;
  }
}

// The bundled maze seen from many places and directions, three frames each:
// the chunked transform queues the same entries in the same order as the
// whole-model one, and leaves the triangles it queues the same texture
// coordinates for the next frame; some views do skip chunks.
TEST_F(ChunkViewTest, ChunkedTransformQueuesWhatTheWholeModelQueues) {
  const std::string path = std::string(MW_SOURCE_DIR) + "/res/model/maze.obj";
  MODEL_STRUCT* whole = static_cast<MODEL_STRUCT*>(std::calloc(1, sizeof(MODEL_STRUCT)));
  MODEL_STRUCT* chunked = static_cast<MODEL_STRUCT*>(std::calloc(1, sizeof(MODEL_STRUCT)));
  LOAD_OBJ(path, whole);
  LOAD_OBJ(path, chunked);
  const ModelChunks chunks = make_model_chunks(*chunked);
  VEC3F low = whole->VERTICES[0], high = low;
  for (uint32_t i = 0; i < whole->MAX_VERTICES; ++i) {
    const VEC3F& p = whole->VERTICES[i];
    low = VEC3F(std::min(low.X, p.X), std::min(low.Y, p.Y), std::min(low.Z, p.Z));
    high = VEC3F(std::max(high.X, p.X), std::max(high.Y, p.Y), std::max(high.Z, p.Z));
  }
  std::vector<SORT_STRUCT> expected;
  int64_t skipped = 0;
  float color_mult = 0.0f;
  for (int place = 0; place < 16; ++place) {
    const float fx = float(place % 4 + 0.5f) / 4, fz = float(place / 4 + 0.5f) / 4;
    const VEC3F eye(low.X + fx * (high.X - low.X), low.Y + 1.7f + (place % 3) * 3.0f,
                    low.Z + fz * (high.Z - low.Z));
    for (int turn = 0; turn < 8; ++turn) {
      const float a = float(turn) * 0.785398f;
      const MATRIX m = look(eye, eye + VEC3F(std::sin(a), -0.3f, std::cos(a)));
      const VEC3F light(0, 50, 0);
      for (int frame = 0; frame < 2; ++frame) {
        int32_t count = 0;
        MODEL_TRANSFORM(whole, m, count, light, color_mult, 0.0f, -1, nullptr, VEC2F(0.5f, 0));
        expected.assign(RBUFFER.data(), RBUFFER.data() + count);
        int32_t chunked_count = 0;
        default_renderer().transform_counts() = {};
        transform_in_chunks(default_renderer(), chunked, chunks, m, chunked_count, light, 0.0f, -1,
                            nullptr, VEC2F(0.5f, 0));
        skipped += default_renderer().transform_counts().culled_by_chunk;
        ASSERT_EQ(chunked_count, count) << place << " " << turn;
        ASSERT_EQ(std::memcmp(expected.data(), RBUFFER.data(), sizeof(SORT_STRUCT) * size_t(count)),
                  0)
            << place << " " << turn;
      }
    }
  }
  EXPECT_GT(skipped, 0);
  UNLOAD_OBJ(whole);
  UNLOAD_OBJ(chunked);
  std::free(whole);
  std::free(chunked);
}

}  // namespace
