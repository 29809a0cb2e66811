// Drawing the render queue: the three paths, queue order, the count, and the
// wire frame that leaves the depth buffer alone.
#include <gtest/gtest.h>

#include <cstddef>
#include <cstring>
#include <vector>

#include "base/line.h"
#include "render/rasterizers.h"
#include "render/render_globals.h"
#include "render/render_queue.h"

using NMATHF::VEC2F;
using NMATHF::VEC3F;

namespace {
constexpr int32_t W = 64, H = 48;

SORT_STRUCT entry(VEC3F a, VEC3F b, VEC3F c, uint32_t col) {
  SORT_STRUCT e;
  e.VEC(0) = a;
  e.VEC(1) = b;
  e.VEC(2) = c;
  e.COL = col;
  return e;
}

// A back buffer and depth buffer of W x H in the render globals, and a
// reference pair to draw the expected picture into.
class RenderQueue : public testing::Test {
 protected:
  void SetUp() override {
    saved_back = BACKBUFFER;
    saved_z = ZBUFF;
    saved_wire = WIRE_FRAME;
    BACKBUFFER = back;
    ZBUFF = depth.data();
    WIRE_FRAME = 0;
    for (uint32_t v = 0; v < 16; ++v)
      for (uint32_t u = 0; u < 16; ++u) texture->row(v)[u] = 0xFF000000u | v << 8 | u * 9;
  }
  void TearDown() override {
    BACKBUFFER = saved_back;
    ZBUFF = saved_z;
    WIRE_FRAME = saved_wire;
    image_destroy(back);
    image_destroy(expected);
    image_destroy(texture);
  }
  // Runs F against the reference image and depth buffer instead.
  template <class F>
  void draw_expected(F draw) {
    ZBUFF = expected_depth.data();
    draw();
    ZBUFF = depth.data();
  }
  void expect_same_picture() {
    for (uint32_t y = 0; y < H; ++y)
      ASSERT_EQ(std::memcmp(back->row(y), expected->row(y), W * 4), 0) << "row " << y;
    EXPECT_EQ(std::memcmp(depth.data(), expected_depth.data(), depth.size() * 4), 0);
  }
  int32_t pixels_of(uint32_t col) {
    int32_t n = 0;
    for (uint32_t y = 0; y < H; ++y)
      for (int32_t x = 0; x < W; ++x) n += back->row(y)[x] == col;
    return n;
  }

  IMAGE* back = image_create(W, H, 0);
  IMAGE* expected = image_create(W, H, 0);
  IMAGE* texture = image_create(16, 16);
  std::vector<float> depth = std::vector<float>(W * H, 0.0f);
  std::vector<float> expected_depth = std::vector<float>(W * H, 0.0f);

 private:
  IMAGE* saved_back = nullptr;
  float* saved_z = nullptr;
  int32_t saved_wire = 0;
};
}  // namespace

TEST(SORT_STRUCT, NewEntriesAndTheQueueStartAtZero) {
  static_assert(offsetof(SORT_STRUCT, MIDPOINT) < offsetof(SORT_STRUCT, VEC) &&
                offsetof(SORT_STRUCT, VEC) < offsetof(SORT_STRUCT, TEXTURE) &&
                offsetof(SORT_STRUCT, TEXTURE) < offsetof(SORT_STRUCT, USE_TEX) &&
                offsetof(SORT_STRUCT, USE_TEX) < offsetof(SORT_STRUCT, UV) &&
                offsetof(SORT_STRUCT, UV) < offsetof(SORT_STRUCT, COL) &&
                offsetof(SORT_STRUCT, COL) < offsetof(SORT_STRUCT, SHADE));
  static_assert(RBUFFER_SIZE == 16384 && decltype(RBUFFER)::LOWER == 0);
  // A queue made as the program's is (static storage): every entry zero. The
  // program's own queue is written by the other tests of this process.
  static const decltype(RBUFFER) fresh_queue;
  for (int32_t i = 0; i < RBUFFER_SIZE; ++i) {
    const SORT_STRUCT& e = fresh_queue(i);
    ASSERT_TRUE(e.MIDPOINT == 0.0f && e.TEXTURE == nullptr && e.USE_TEX == 0 && e.COL == 0 &&
                e.SHADE == 0)
        << i;
    for (int32_t k = 0; k < 3; ++k)
      ASSERT_TRUE(e.VEC(k).X == 0 && e.VEC(k).Y == 0 && e.VEC(k).Z == 0 && e.UV(k).X == 0 &&
                  e.UV(k).Y == 0);
  }
}

TEST_F(RenderQueue, EmptyOrNegativeCountDrawsNothing) {
  RBUFFER(0) = entry({1, 1, 2}, {40, 1, 2}, {1, 40, 2}, 0xFFFFFFFFu);
  for (const int32_t wire : {0, -1})
    for (int32_t count : {0, -1, -16385, INT32_MIN}) {
      WIRE_FRAME = wire;
      BUFFER_RENDER(count);
      EXPECT_EQ(count, 0);
    }
  expect_same_picture();
}

TEST_F(RenderQueue, EntriesAreDrawnFlatOrTexturedInQueueOrder) {
  SORT_STRUCT flat = entry({2, 3, 4}, {50, 6, 9}, {8, 44, 20}, 0xFF112233u);
  flat.TEXTURE = texture;  // not used while USE_TEX is 0
  flat.UV(1) = VEC2F(5.0f, 5.0f);
  SORT_STRUCT textured = entry({60, 2, 3}, {63, 40, 3}, {10, 30, 30}, 0xFF445566u);
  textured.USE_TEX = -1;
  textured.TEXTURE = texture;
  textured.UV(0) = VEC2F(0.0f, 0.0f);
  textured.UV(1) = VEC2F(16.0f, 3.0f);
  textured.UV(2) = VEC2F(-7.0f, 40.0f);
  textured.SHADE = -20;
  // A third entry exactly over the first, later in the queue: equal depths, so
  // the first one keeps its pixels.
  SORT_STRUCT same_place = flat;
  same_place.COL = 0xFF0000FFu;
  RBUFFER(0) = flat;
  RBUFFER(1) = textured;
  RBUFFER(2) = same_place;
  int32_t count = 3;
  BUFFER_RENDER(count);
  EXPECT_EQ(count, 0);
  draw_expected([&] {
    FTRI(expected, 2, 3, 4, 50, 6, 9, 8, 44, 20, 0xFF112233u);
    TFPCSPTRI_ORIG(expected, 60, 2, 3, 0, 0, 63, 40, 3, 16, 3, 10, 30, 30, -7, 40, -20, texture);
  });
  expect_same_picture();
  EXPECT_GT(pixels_of(0xFF112233u), 300);
  EXPECT_EQ(pixels_of(0xFF445566u), 0);  // the textured entry's COL is not used
  EXPECT_EQ(pixels_of(0xFF0000FFu), 0);
}

TEST_F(RenderQueue, WireFrameDrawsThreeOutlinesAndLeavesDepthAlone) {
  std::fill(depth.begin(), depth.end(), 0.25f);
  std::fill(expected_depth.begin(), expected_depth.end(), 0.25f);
  SORT_STRUCT e = entry({10, 10, 5}, {50, 10, 5}, {10, 40, 5}, 0xFF00FF00u);
  e.USE_TEX = -1;  // ignored, as are the missing texture and the depth
  RBUFFER(0) = e;
  WIRE_FRAME = -1;
  int32_t count = 1;
  BUFFER_RENDER(count);
  EXPECT_EQ(count, 0);
  draw_expected([&] {
    draw_line(expected, 10, 10, 50, 10, 0xFF00FF00u);
    draw_line(expected, 50, 10, 10, 40, 0xFF00FF00u);
    draw_line(expected, 10, 40, 10, 10, 0xFF00FF00u);
  });
  expect_same_picture();
  for (int32_t x = 10; x <= 50; ++x) EXPECT_EQ(back->row(10)[x], 0xFF00FF00u) << x;
  for (uint32_t y = 10; y <= 40; ++y) EXPECT_EQ(back->row(y)[10], 0xFF00FF00u) << y;
  EXPECT_EQ(back->row(40)[10], 0xFF00FF00u);
  EXPECT_EQ(back->row(25)[30], 0xFF00FF00u);  // on the slanted edge, x = 50 - 4 (y - 10) / 3
}

TEST_F(RenderQueue, WithoutBackBufferNothingIsDrawn) {
  RBUFFER(0) = entry({1, 1, 2}, {40, 1, 2}, {1, 40, 2}, 0xFFFFFFFFu);
  BACKBUFFER = nullptr;
  int32_t count = 1;
  BUFFER_RENDER(count);
  EXPECT_EQ(count, 0);
  expect_same_picture();
}

TEST_F(RenderQueue, TexturedEntryWithoutTextureStopsWithErrorSeven) {
  SORT_STRUCT e = entry({1, 1, 2}, {40, 1, 2}, {1, 40, 2}, 0);
  e.USE_TEX = 1;
  RBUFFER(0) = e;
  int32_t count = 1;
  EXPECT_EXIT(BUFFER_RENDER(count), testing::ExitedWithCode(7), "TFPCSPTRI_ORIG");
}

TEST_F(RenderQueue, CountBeyondTheQueueStopsWithErrorSix) {
  int32_t count = RBUFFER.size() + 1;
  EXPECT_EXIT(BUFFER_RENDER(count), testing::ExitedWithCode(6), "BUFFER_RENDER");
}
