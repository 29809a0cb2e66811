// A large model in chunks: the chunks cover the triangles in order, a chunk
// is skipped only when its box is wholly out of view, and what the chunked
// transform queues is what the whole-model transform queues, to the bit.
#include <cmath>
#include <cstring>
#include <limits>

#include "chunks/chunk_view_test.h"
#include "chunks/occlusion_map.h"
#include "render/model_chunks.h"
#include "render/render_buffers.h"
#include "transform_fixture.h"

namespace {

MATRIX look(VEC3F eye, VEC3F target) {
  MATRIX m = identity();
  m.LOOKAT(eye, target, VEC3F(0, 1, 0));
  return m;
}

// A town of SIDE x SIDE boxes, 4 wide, HEIGHT tall and 10 apart, stored box
// by box in rows, faces outwards; with GROUND, on a square seen from both
// sides, stored first.
MemoryModel town(int side, float height = 4.0f, bool ground = false) {
  std::vector<VEC3F> v;
  std::vector<Face> f;
  if (ground) {
    const float a = -5.0f, b = float(side) * 10.0f + 5.0f;
    v = {VEC3F(a, 0, a), VEC3F(b, 0, a), VEC3F(b, 0, b), VEC3F(a, 0, b)};
    f = {{0, 1, 2}, {0, 2, 3}, {0, 2, 1}, {0, 3, 2}};
  }
  const uint32_t quads[6][4] = {{0, 2, 3, 1}, {4, 5, 7, 6}, {0, 1, 5, 4},
                                {2, 6, 7, 3}, {0, 4, 6, 2}, {1, 3, 7, 5}};
  for (int j = 0; j < side; ++j)
    for (int i = 0; i < side; ++i) {
      const uint32_t base = uint32_t(v.size());
      for (int k = 0; k < 8; ++k)
        v.push_back(VEC3F(i * 10.0f + (k & 1 ? 4.0f : 0.0f), k & 2 ? height : 0.0f,
                          j * 10.0f + (k & 4 ? 4.0f : 0.0f)));
      for (const auto& q : quads) {
        f.push_back({base + q[0], base + q[1], base + q[2]});
        f.push_back({base + q[0], base + q[2], base + q[3]});
      }
    }
  return MemoryModel(v, f);
}

TEST(ModelChunks, CoverTheTrianglesInOrderWithTheirVerticesInsideTheirBoxes) {
  MemoryModel model = town(32);
  const ModelChunks chunks = make_model_chunks(*model.m);
  ASSERT_GT(chunks.chunks.size(), 16u);
  uint32_t next = 0;
  for (const ModelChunk& c : chunks.chunks) {
    ASSERT_EQ(c.first_triangle, next);
    ASSERT_GT(c.last_triangle, c.first_triangle);
    ASSERT_LE(c.last_triangle - c.first_triangle, CHUNK_TRIANGLES);
    EXPECT_TRUE(c.bounded);
    next = c.last_triangle;
    const uint32_t* first = chunks.vertex_ids.data() + c.first_vertex;
    const uint32_t* last = chunks.vertex_ids.data() + c.last_vertex;
    for (uint32_t t = c.first_triangle; t < c.last_triangle; ++t)
      for (int k = 1; k <= 3; ++k) {
        const uint32_t id = model->TRIANGLES[t].POINT_ID(k);
        ASSERT_TRUE(std::binary_search(first, last, id)) << t;
        const VEC3F& p = model->VERTICES[id];
        ASSERT_TRUE(p.X >= c.low.X && p.Y >= c.low.Y && p.Z >= c.low.Z && p.X <= c.high.X &&
                    p.Y <= c.high.Y && p.Z <= c.high.Z);
      }
  }
  EXPECT_EQ(next, model->MAX_TRIANGLES);

  // The bundled maze's file keeps no neighbours together: one chunk.
  MODEL_STRUCT* maze = static_cast<MODEL_STRUCT*>(std::calloc(1, sizeof(MODEL_STRUCT)));
  LOAD_OBJ(std::string(MW_SOURCE_DIR) + "/res/model/maze.obj", maze);
  EXPECT_EQ(make_model_chunks(*maze).chunks.size(), 1u);
  UNLOAD_OBJ(maze);
  std::free(maze);

  // A corner out of range is left out; one not finite leaves the box unbounded.
  const float nan_f = std::numeric_limits<float>::quiet_NaN();
  MemoryModel odd({VEC3F(0, 0, -5), VEC3F(1, 0, -5), VEC3F(nan_f, 0, -5)}, {{0, 1, 7}, {0, 1, 2}});
  const ModelChunks odd_chunks = chunks_within(*odd.m, 0.5f);
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

// Every vertex of a chunk in view lands inside the chunk's reach on the
// screen, no nearer than its nearest w, as the whole-model transform
// projects it.
TEST_F(ChunkViewTest, AChunksReachHoldsItsVerticesOnTheScreen) {
  MemoryModel model = town(12, 12.0f, true);
  const ModelChunks chunks = make_model_chunks(*model.m);
  const VEC3F eye(27.0f, 1.7f, 7.0f);
  int checked = 0;
  for (int turn = 0; turn < 4; ++turn) {
    const float a = float(turn) * 1.5708f;
    const MATRIX m = look(eye, eye + VEC3F(std::sin(a), -0.1f, std::cos(a)));
    run(model, m);
    const Viewport vp = make_viewport(TSCRW, TSCRH, TOP, ZNEAR, ZFAR);
    for (const ModelChunk& c : chunks.chunks) {
      const ChunkReach r = chunk_reach(c, m.M, PROJECTION_MATRIX.M, vp, ZNEAR);
      if (r.before_near || chunk_outside_view(c, m.M, PROJECTION_MATRIX.M, ZNEAR)) continue;
      for (uint32_t n = c.first_vertex; n < c.last_vertex; ++n) {
        const uint32_t i = chunks.vertex_ids[n];
        const VEC3F& p = model->PVERTICES[i];
        ASSERT_TRUE(p.X >= r.x0 && p.X <= r.x1 && p.Y >= r.y0 && p.Y <= r.y1) << i;
        ASSERT_GE(model->RVERTICES[i].W, r.nearest_w) << i;
        ++checked;
      }
    }
  }
  EXPECT_GT(checked, 100);
}

// A square drawn at depth 10 over pixels 100 to 299: what lies behind it, on
// tiles it wholly covers, is hidden; what reaches empty tiles, lies no
// farther than the square (give or take the margin), reaches the near plane
// or is not a number is not; what lies wholly off the picture is.
TEST(OcclusionMap, HidesOnlyWhatLiesStrictlyBehindOnCoveredTiles) {
  SORT_STRUCT quad[2];
  const VEC3F a(100, 100, 10), b(300, 100, 10), c(300, 300, 10), d(100, 300, 10);
  quad[0].VEC(0) = a, quad[0].VEC(1) = b, quad[0].VEC(2) = c;
  quad[1].VEC(0) = a, quad[1].VEC(1) = c, quad[1].VEC(2) = d;
  DrawWorkers workers(1);
  OcclusionMap map;
  map.draw(workers, 640, 480, {EntryRun{quad, 2}});
  const double nan = std::numeric_limits<double>::quiet_NaN();
  struct Row {
    ChunkReach reach;
    bool hidden;
  } rows[] = {
      {{false, 20.0, 150, 150, 250, 250}, true},    // behind, inside
      {{false, 11.0, 280, 280, 290, 290}, true},    // behind, near its edge
      {{false, 10.0, 150, 150, 250, 250}, false},   // as near: not strictly behind
      {{false, 10.02, 150, 150, 250, 250}, false},  // within the rounding margin
      {{false, 20.0, 293, 150, 296, 250}, false},   // the margin reaches an empty tile
      {{false, 20.0, 50, 150, 250, 250}, false},    // reaches beside it
      {{true, 20.0, 150, 150, 250, 250}, false},    // reaches the near plane
      {{false, nan, 150, 150, 250, 250}, false},    // not a number
      {{false, 20.0, nan, 150, 250, 250}, false},
      {{false, 1.0, -50, 150, -10, 250}, true},     // left of the picture
      {{false, 1.0, 150, 490, 250, 900}, true},     // below it
  };
  for (const Row& r : rows)
    EXPECT_EQ(map.hides(r.reach), r.hidden) << r.reach.nearest_w << " " << r.reach.x0;
}

// The town seen from many places (in the streets, inside a box) and
// directions, two frames each: the chunked transform, on one thread and on
// three, queues the same entries in the same order as the whole-model one,
// and leaves the triangles the same texture coordinates for the next frame;
// the views do skip chunks.
class ChunkedTransform : public ChunkViewTest, public ::testing::WithParamInterface<int32_t> {
 protected:
  void TearDown() override {
    set_draw_threads(1);
    default_renderer().set_occlusion_culling(true);
  }
};

TEST_P(ChunkedTransform, QueuesWhatTheWholeModelQueues) {
  set_draw_threads(GetParam());
  MemoryModel whole = town(24), chunked = town(24);
  ModelChunks chunks = make_model_chunks(*chunked.m);
  ASSERT_GT(chunks.chunks.size(), 1u);
  std::vector<SORT_STRUCT> expected;
  int64_t skipped = 0;
  float color_mult = 0.0f;
  for (int place = 0; place < 12; ++place) {
    // Streets between the boxes, and every fourth place inside one.
    const float inside = place % 4 == 3 ? 2.0f : -3.0f;
    const VEC3F eye(float(place * 19 % 23) * 10.0f + inside, 1.7f + (place % 3) * 4.0f,
                    float(place * 7 % 23) * 10.0f + inside);
    for (int turn = 0; turn < 8; ++turn) {
      const float a = float(turn) * 0.785398f;
      const MATRIX m = look(eye, eye + VEC3F(std::sin(a), -0.2f, std::cos(a)));
      const VEC3F light(0, 50, 0);
      for (int frame = 0; frame < 2; ++frame) {
        int32_t count = 0;
        MODEL_TRANSFORM(whole.m, m, count, light, color_mult, 0.0f, -1, nullptr, VEC2F(0.5f, 0));
        expected.assign(RBUFFER.data(), RBUFFER.data() + count);
        int32_t chunked_count = 0;
        default_renderer().transform_counts() = {};
        default_renderer().set_occlusion_culling(false);  // the whole queue, to compare
        transform_in_chunks(default_renderer(), chunked.m, chunks, m, chunked_count, light, 0.0f,
                            -1, nullptr, VEC2F(0.5f, 0));
        skipped += default_renderer().transform_counts().culled_by_chunk;
        ASSERT_EQ(chunked_count, count) << place << " " << turn;
        ASSERT_EQ(std::memcmp(expected.data(), RBUFFER.data(), sizeof(SORT_STRUCT) * size_t(count)),
                  0)
            << place << " " << turn;
      }
    }
  }
  EXPECT_GT(skipped, 0);
}

INSTANTIATE_TEST_SUITE_P(Threads, ChunkedTransform, ::testing::Values(1, 3));

// A town of tall boxes on the ground drawn textured from its streets and
// from above, looking along them and across, three frames from each place,
// with hidden chunks skipped (on the parameter's threads) and without (on
// one): every pixel and depth is the same, frame after frame (a chunk skipped
// while its texture coordinates have not settled would show later with
// others), and chunks were skipped.
TEST_P(ChunkedTransform, SkippingHiddenChunksChangesNoPixel) {
  MemoryModel culled = town(20, 12.0f, true), whole = town(20, 12.0f, true);
  ModelChunks culled_chunks = make_model_chunks(*culled.m);
  ModelChunks whole_chunks = make_model_chunks(*whole.m);
  IMAGE* texture = image_create(16, 16);
  for (uint32_t v = 0; v < 16; ++v)
    for (uint32_t u = 0; u < 16; ++u) texture->row(v)[u] = 0xFF000000u | v << 12 | u * 13;
  const int32_t width = int32_t(BACKBUFFER->WIDTH), height = int32_t(BACKBUFFER->HEIGHT);
  // One frame of MODEL from M into the back buffer; its pixels and depths.
  auto frame = [&](MemoryModel& model, ModelChunks& chunks, const MATRIX& m, bool skip_hidden,
                   std::vector<uint32_t>& pixels, std::vector<float>& depth) {
    Renderer& renderer = default_renderer();
    renderer.set_occlusion_culling(skip_hidden);
    set_draw_threads(skip_hidden ? GetParam() : 1);
    clear_depth_buffer();
    clear_back_buffer();
    int32_t count = 0;
    transform_in_chunks(renderer, model.m, chunks, m, count, VEC3F(0, 80, 0), 0.0f, -1, texture,
                        VEC2F(0.0f, 0.0f));
    BUFFER_RENDER(count);
    pixels.resize(size_t(width) * size_t(height));
    depth.assign(ZBUFF, ZBUFF + pixels.size());
    for (int32_t y = 0; y < height; ++y)
      std::memcpy(pixels.data() + size_t(y) * size_t(width), BACKBUFFER->row(uint32_t(y)),
                  size_t(width) * 4);
  };
  std::vector<uint32_t> pixels, expected_pixels;
  std::vector<float> depth, expected_depth;
  int64_t hidden = 0;
  for (int place = 0; place < 6; ++place) {
    const float above = place % 3 == 2 ? 20.0f : 0.0f;
    const VEC3F eye(float(place * 7 % 19) * 10.0f + 7.0f, 1.7f + float(place % 2) * 6.0f + above,
                    float(place * 5 % 19) * 10.0f + 7.0f);
    for (int turn = 0; turn < 6; ++turn) {
      const float a = float(turn) * 1.0472f + float(place) * 0.3f;
      const MATRIX m =
          look(eye, eye + VEC3F(std::sin(a), above > 0.0f ? -0.5f : -0.05f, std::cos(a)));
      for (int n = 0; n < 3; ++n) {
        default_renderer().transform_counts() = {};
        frame(culled, culled_chunks, m, true, pixels, depth);
        hidden += default_renderer().transform_counts().occluded;
        frame(whole, whole_chunks, m, false, expected_pixels, expected_depth);
        ASSERT_TRUE(pixels == expected_pixels) << place << " " << turn << " " << n;
        ASSERT_EQ(std::memcmp(depth.data(), expected_depth.data(), depth.size() * 4), 0)
            << place << " " << turn << " " << n;
      }
    }
  }
  EXPECT_GT(hidden, 0);

  // Outlines show hidden triangles too: none is skipped.
  const int32_t wire_frame = WIRE_FRAME;
  WIRE_FRAME = -1;
  const VEC3F eye(17.0f, 1.7f, 7.0f);
  const MATRIX m = look(eye, eye + VEC3F(1.0f, -0.05f, 1.0f));
  default_renderer().transform_counts() = {};
  frame(culled, culled_chunks, m, true, pixels, depth);
  EXPECT_EQ(default_renderer().transform_counts().occluded, 0);
  frame(whole, whole_chunks, m, false, expected_pixels, expected_depth);
  EXPECT_TRUE(pixels == expected_pixels);
  WIRE_FRAME = wire_frame;
  image_destroy(texture);
}

}  // namespace
