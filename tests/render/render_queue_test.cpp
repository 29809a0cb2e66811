// Drawing the render queue: the three paths, queue order, the count, and the
// wire frame that leaves the depth buffer alone.
#include <gtest/gtest.h>

#include <cstddef>
#include <cstring>
#include <vector>

#include "render/render_globals.h"
#include "render/render_queue.h"
#include "raster/ftri.h"
#include "raster/tfpcsptri.h"

using NMATHF::VEC2F;
using NMATHF::VEC3F;

namespace {
constexpr int32_t W = 64, H = 48;

SORT_STRUCT ENTRY(VEC3F A, VEC3F B, VEC3F C, uint32_t COL) {
  SORT_STRUCT E;
  E.VEC(0) = A;
  E.VEC(1) = B;
  E.VEC(2) = C;
  E.COL = COL;
  return E;
}

// A back buffer and depth buffer of W x H in the render globals, and a
// reference pair to draw the expected picture into.
class RENDER_QUEUE : public testing::Test {
 protected:
  void SetUp() override {
    SAVED_BACK = BACKBUFFER;
    SAVED_Z = ZBUFF;
    SAVED_WIRE = WIRE_FRAME;
    BACKBUFFER = BACK;
    ZBUFF = DEPTH.data();
    WIRE_FRAME = 0;
    for (uint32_t V = 0; V < 16; ++V)
      for (uint32_t U = 0; U < 16; ++U) TEXTURE->ROW(V)[U] = 0xFF000000u | V << 8 | U * 9;
  }
  void TearDown() override {
    BACKBUFFER = SAVED_BACK;
    ZBUFF = SAVED_Z;
    WIRE_FRAME = SAVED_WIRE;
    IMAGE_DESTROY(BACK);
    IMAGE_DESTROY(EXPECTED);
    IMAGE_DESTROY(TEXTURE);
  }
  // Runs F against the reference image and depth buffer instead.
  template <class F>
  void DRAW_EXPECTED(F DRAW) {
    ZBUFF = EXPECTED_DEPTH.data();
    DRAW();
    ZBUFF = DEPTH.data();
  }
  void EXPECT_SAME_PICTURE() {
    for (uint32_t Y = 0; Y < H; ++Y)
      ASSERT_EQ(std::memcmp(BACK->ROW(Y), EXPECTED->ROW(Y), W * 4), 0) << "row " << Y;
    EXPECT_EQ(std::memcmp(DEPTH.data(), EXPECTED_DEPTH.data(), DEPTH.size() * 4), 0);
  }
  int32_t PIXELS_OF(uint32_t COL) {
    int32_t N = 0;
    for (uint32_t Y = 0; Y < H; ++Y)
      for (int32_t X = 0; X < W; ++X) N += BACK->ROW(Y)[X] == COL;
    return N;
  }

  IMAGE* BACK = IMAGE_CREATE(W, H, 0);
  IMAGE* EXPECTED = IMAGE_CREATE(W, H, 0);
  IMAGE* TEXTURE = IMAGE_CREATE(16, 16);
  std::vector<float> DEPTH = std::vector<float>(W * H, 0.0f);
  std::vector<float> EXPECTED_DEPTH = std::vector<float>(W * H, 0.0f);

 private:
  IMAGE* SAVED_BACK = nullptr;
  float* SAVED_Z = nullptr;
  int32_t SAVED_WIRE = 0;
};
}  // namespace

TEST(SORT_STRUCT, NewEntriesAndTheQueueStartAtZero) {
  static_assert(offsetof(SORT_STRUCT, MIDPOINT) < offsetof(SORT_STRUCT, VEC) &&
                offsetof(SORT_STRUCT, VEC) < offsetof(SORT_STRUCT, TEXTURE) &&
                offsetof(SORT_STRUCT, TEXTURE) < offsetof(SORT_STRUCT, USE_TEX) &&
                offsetof(SORT_STRUCT, USE_TEX) < offsetof(SORT_STRUCT, UV) &&
                offsetof(SORT_STRUCT, UV) < offsetof(SORT_STRUCT, COL) &&
                offsetof(SORT_STRUCT, COL) < offsetof(SORT_STRUCT, SHADE));
  static_assert(RBUFFER_SIZE == 16384 && decltype(RBUFFER)::LOWER == 0 &&
                decltype(RBUFFER)::UPPER == 16383);
  // Entries the other tests never write.
  for (int32_t I = 100; I < RBUFFER_SIZE; ++I) {
    const SORT_STRUCT& E = RBUFFER(I);
    ASSERT_TRUE(E.MIDPOINT == 0.0f && E.TEXTURE == nullptr && E.USE_TEX == 0 && E.COL == 0 &&
                E.SHADE == 0)
        << I;
    for (int32_t K = 0; K < 3; ++K)
      ASSERT_TRUE(E.VEC(K).X == 0 && E.VEC(K).Y == 0 && E.VEC(K).Z == 0 && E.UV(K).X == 0 &&
                  E.UV(K).Y == 0);
  }
}

TEST_F(RENDER_QUEUE, EmptyOrNegativeCountDrawsNothing) {
  RBUFFER(0) = ENTRY({1, 1, 2}, {40, 1, 2}, {1, 40, 2}, 0xFFFFFFFFu);
  for (const int32_t WIRE : {0, -1})
    for (int32_t COUNT : {0, -1, -16385, INT32_MIN}) {
      WIRE_FRAME = WIRE;
      BUFFER_RENDER(COUNT);
      EXPECT_EQ(COUNT, 0);
    }
  EXPECT_SAME_PICTURE();
}

TEST_F(RENDER_QUEUE, EntriesAreDrawnFlatOrTexturedInQueueOrder) {
  SORT_STRUCT FLAT = ENTRY({2, 3, 4}, {50, 6, 9}, {8, 44, 20}, 0xFF112233u);
  FLAT.TEXTURE = TEXTURE;  // not used while USE_TEX is 0
  FLAT.UV(1) = VEC2F(5.0f, 5.0f);
  SORT_STRUCT TEXTURED = ENTRY({60, 2, 3}, {63, 40, 3}, {10, 30, 30}, 0xFF445566u);
  TEXTURED.USE_TEX = -1;
  TEXTURED.TEXTURE = TEXTURE;
  TEXTURED.UV(0) = VEC2F(0.0f, 0.0f);
  TEXTURED.UV(1) = VEC2F(16.0f, 3.0f);
  TEXTURED.UV(2) = VEC2F(-7.0f, 40.0f);
  TEXTURED.SHADE = -20;
  // A third entry exactly over the first, later in the queue: equal depths, so
  // the first one keeps its pixels.
  SORT_STRUCT SAME_PLACE = FLAT;
  SAME_PLACE.COL = 0xFF0000FFu;
  RBUFFER(0) = FLAT;
  RBUFFER(1) = TEXTURED;
  RBUFFER(2) = SAME_PLACE;
  int32_t COUNT = 3;
  BUFFER_RENDER(COUNT);
  EXPECT_EQ(COUNT, 0);
  DRAW_EXPECTED([&] {
    FTRI(EXPECTED, 2, 3, 4, 50, 6, 9, 8, 44, 20, 0xFF112233u);
    TFPCSPTRI_ORIG(EXPECTED, 60, 2, 3, 0, 0, 63, 40, 3, 16, 3, 10, 30, 30, -7, 40, -20, TEXTURE);
  });
  EXPECT_SAME_PICTURE();
  EXPECT_GT(PIXELS_OF(0xFF112233u), 300);
  EXPECT_EQ(PIXELS_OF(0xFF445566u), 0);  // the textured entry's COL is not used
  EXPECT_EQ(PIXELS_OF(0xFF0000FFu), 0);
}

TEST_F(RENDER_QUEUE, WireFrameDrawsThreeOutlinesAndLeavesDepthAlone) {
  std::fill(DEPTH.begin(), DEPTH.end(), 0.25f);
  std::fill(EXPECTED_DEPTH.begin(), EXPECTED_DEPTH.end(), 0.25f);
  SORT_STRUCT E = ENTRY({10, 10, 5}, {50, 10, 5}, {10, 40, 5}, 0xFF00FF00u);
  E.USE_TEX = -1;  // ignored, as are the missing texture and the depth
  RBUFFER(0) = E;
  WIRE_FRAME = -1;
  int32_t COUNT = 1;
  BUFFER_RENDER(COUNT);
  EXPECT_EQ(COUNT, 0);
  DRAW_EXPECTED([&] {
    DRAW_LINE(EXPECTED, 10, 10, 50, 10, 0xFF00FF00u);
    DRAW_LINE(EXPECTED, 50, 10, 10, 40, 0xFF00FF00u);
    DRAW_LINE(EXPECTED, 10, 40, 10, 10, 0xFF00FF00u);
  });
  EXPECT_SAME_PICTURE();
  for (int32_t X = 10; X <= 50; ++X) EXPECT_EQ(BACK->ROW(10)[X], 0xFF00FF00u) << X;
  for (uint32_t Y = 10; Y <= 40; ++Y) EXPECT_EQ(BACK->ROW(Y)[10], 0xFF00FF00u) << Y;
  EXPECT_EQ(BACK->ROW(40)[10], 0xFF00FF00u);
  EXPECT_EQ(BACK->ROW(25)[30], 0xFF00FF00u);  // on the slanted edge, x = 50 - 4 (y - 10) / 3
}

TEST_F(RENDER_QUEUE, WithoutBackBufferNothingIsDrawn) {
  RBUFFER(0) = ENTRY({1, 1, 2}, {40, 1, 2}, {1, 40, 2}, 0xFFFFFFFFu);
  BACKBUFFER = nullptr;
  int32_t COUNT = 1;
  BUFFER_RENDER(COUNT);
  EXPECT_EQ(COUNT, 0);
  EXPECT_SAME_PICTURE();
}

TEST_F(RENDER_QUEUE, TexturedEntryWithoutTextureStopsWithErrorSeven) {
  SORT_STRUCT E = ENTRY({1, 1, 2}, {40, 1, 2}, {1, 40, 2}, 0);
  E.USE_TEX = 1;
  RBUFFER(0) = E;
  int32_t COUNT = 1;
  EXPECT_EXIT(BUFFER_RENDER(COUNT), testing::ExitedWithCode(7), "TFPCSPTRI_ORIG");
}

TEST_F(RENDER_QUEUE, CountBeyondTheQueueStopsWithErrorSix) {
  int32_t COUNT = RBUFFER_SIZE + 1;
  EXPECT_EXIT(BUFFER_RENDER(COUNT), testing::ExitedWithCode(6), "BUFFER_RENDER");
}
