#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "platform/screen.h"
#include "render/post_filters.h"
#include "render/render_buffers.h"
#include "render/render_queue.h"
#include "render/renderer.h"
#include "render/render_globals.h"

using NMATHF::VEC3F;

namespace {
class RenderBuffers : public testing::Test {
 protected:
  void SetUp() override {
    reset_render_state();
  }
  void TearDown() override {
    free_buffers();
    ANTI_ALIAS = ISCALE = -1;
  }
  static void expect_zbuff_clear() {
    for (int32_t i = 0; i < BUFFSIZE; ++i) ASSERT_EQ(ZBUFF[i], 0.0f);
  }
};
}  // namespace

TEST_F(RenderBuffers, BothSwitchesOnDrawsAtScreenSizeWithAHalfSizeSecondBuffer) {
  ISCALE = ANTI_ALIAS = -1;
  EXPECT_EQ(INIT_BUFFERS(), 1);
  EXPECT_EQ(BUFFW, 640);
  EXPECT_EQ(BUFFH, 480);
  EXPECT_EQ(TSCRW, 320);
  EXPECT_EQ(TSCRH, 240);
  EXPECT_EQ(TOP, 480);
  EXPECT_EQ(BUFFSIZE, 307200);
  ASSERT_NE(BACKBUFFER2, nullptr);
  EXPECT_EQ(BACKBUFFER2->WIDTH, 320u);
  EXPECT_EQ(BACKBUFFER2->HEIGHT, 240u);
  EXPECT_EQ(BACKBUFFER->WIDTH, 640u);
  EXPECT_EQ(BACKBUFFER->PITCH, 2560u);
  EXPECT_FLOAT_EQ(ASPECT, 4.0f / 3.0f);
  EXPECT_EQ(PROJECTION_MATRIX.M[0], 1.2990381f);
  expect_zbuff_clear();
}

TEST_F(RenderBuffers, AntiAliasAloneDrawsAtTwiceTheSize) {
  ISCALE = 0, ANTI_ALIAS = -1;
  INIT_BUFFERS();
  EXPECT_EQ(BUFFW, 1280);
  EXPECT_EQ(BUFFH, 960);
  EXPECT_EQ(TSCRW, 640);
  EXPECT_EQ(TSCRH, 480);
  EXPECT_EQ(TOP, 960);
  EXPECT_EQ(BUFFSIZE, 1228800);
  EXPECT_EQ(BACKBUFFER->WIDTH, 1280u);
  EXPECT_EQ(BACKBUFFER2, nullptr);
  expect_zbuff_clear();
}

TEST_F(RenderBuffers, HalfResolutionKeepsAnEarlierSecondBuffer) {
  ISCALE = ANTI_ALIAS = -1;
  INIT_BUFFERS();
  IMAGE* kept = BACKBUFFER2;
  ANTI_ALIAS = 0;
  INIT_BUFFERS();
  EXPECT_EQ(BUFFW, 320);
  EXPECT_EQ(BUFFH, 240);
  EXPECT_EQ(TSCRW, 160);
  EXPECT_EQ(TSCRH, 120);
  EXPECT_EQ(TOP, 240);
  EXPECT_EQ(BUFFSIZE, 76800);
  EXPECT_EQ(BACKBUFFER->WIDTH, 320u);
  EXPECT_EQ(BACKBUFFER2, kept);
  EXPECT_FLOAT_EQ(ASPECT, 4.0f / 3.0f);
}

TEST_F(RenderBuffers, BothOffDrawsAtScreenSize) {
  ISCALE = ANTI_ALIAS = 0;
  INIT_BUFFERS();
  EXPECT_EQ(BUFFW, 640);
  EXPECT_EQ(BUFFH, 480);
  EXPECT_EQ(TOP, 480);
  EXPECT_EQ(BUFFSIZE, 307200);
  expect_zbuff_clear();
}

namespace {
// A screen size and a pair of switches, with the back buffer they draw into.
struct SizedBuffers {
  int32_t scr_w, scr_h;
  int32_t iscale, anti_alias;
  int32_t buffw, buffh;
  int32_t half_w, half_h;  // BACKBUFFER2 when both switches are on
};

class SizedScreen : public testing::TestWithParam<SizedBuffers> {
 protected:
  void SetUp() override { reset_render_state(); }
  void TearDown() override {
    free_buffers();
    ANTI_ALIAS = ISCALE = -1;
    reset_render_state();
    set_graphics_mode(640, 480);
  }
};
}  // namespace

// Every page pixel is written however odd the size: nothing of an earlier
// frame stays at the right or bottom edge, and nothing is read past a buffer.
TEST_P(SizedScreen, BuffersFollowTheSizeAndTheFiltersFillTheWholePage) {
  const SizedBuffers& c = GetParam();
  set_screen_size(c.scr_w, c.scr_h);
  ISCALE = c.iscale, ANTI_ALIAS = c.anti_alias;
  INIT_BUFFERS();
  EXPECT_EQ(BUFFW, c.buffw);
  EXPECT_EQ(BUFFH, c.buffh);
  EXPECT_EQ(TSCRW, c.buffw / 2);
  EXPECT_EQ(TOP, c.buffh);
  EXPECT_FLOAT_EQ(ASPECT, float(c.buffw) / float(c.buffh));
  ASSERT_NE(BACKBUFFER, nullptr);
  EXPECT_EQ(int32_t(BACKBUFFER->WIDTH), c.buffw);
  if (c.iscale && c.anti_alias) {
    ASSERT_NE(BACKBUFFER2, nullptr);
    EXPECT_EQ(int32_t(BACKBUFFER2->WIDTH), c.half_w);
    EXPECT_EQ(int32_t(BACKBUFFER2->HEIGHT), c.half_h);
  }
  ASSERT_EQ(set_graphics_mode(c.scr_w, c.scr_h), 0);
  screen_lock();
  uint32_t* page = screen_ptr();
  std::fill_n(page, size_t(c.scr_w) * size_t(c.scr_h), 0xDEADBEEFu);
  clear_back_buffer();
  clear_depth_buffer();
  bring_to_screen(default_renderer());
  size_t stale = 0;
  for (size_t i = 0; i < size_t(c.scr_w) * size_t(c.scr_h); ++i) stale += page[i] == 0xDEADBEEFu;
  EXPECT_EQ(stale, 0u);
  if (c.scr_w > 2000) {  // the largest size only for the check above
    screen_unlock();
    return;
  }

  // Clearing, drawing and filtering band by band leaves the page that the
  // three steps one after the other leave, on any number of threads.
  const auto queue_triangles = [&] {
    for (int32_t i = 0; i < 40; ++i) {
      SORT_STRUCT& e = RBUFFER(i);
      const float x = float((i * 37) % c.buffw), y = float((i * 53) % c.buffh);
      e.VEC(0) = VEC3F(x, y - 300.0f, 5.0f + float(i % 7));
      e.VEC(1) = VEC3F(x + 250.0f, y + 41.5f, 9.0f);
      e.VEC(2) = VEC3F(x - 180.0f, y + 200.0f, 3.0f + float(i % 5));
      e.USE_TEX = 0;
      e.COL = 0xFF000000u | uint32_t(i) * 0x0304F7u;
    }
    return int32_t(40);
  };
  const auto page_now = [&] { return std::vector<uint32_t>(page, page + size_t(c.scr_w) * c.scr_h); };
  int32_t n = queue_triangles();
  clear_depth_buffer();
  clear_back_buffer();
  BUFFER_RENDER(n);
  bring_to_screen(default_renderer());
  const std::vector<uint32_t> one_by_one = page_now();
  for (const int32_t threads : {1, 3}) {
    Renderer renderer(threads);
    std::fill_n(page, size_t(c.scr_w) * size_t(c.scr_h), 0xDEADBEEFu);
    n = queue_triangles();
    draw_to_screen(renderer, n);
    EXPECT_EQ(n, 0);
    EXPECT_TRUE(page_now() == one_by_one) << threads << " threads";
  }
  screen_unlock();
}

INSTANTIATE_TEST_SUITE_P(
    Sizes, SizedScreen,
    testing::Values(SizedBuffers{640, 480, -1, -1, 640, 480, 320, 240},
                    SizedBuffers{321, 201, -1, -1, 322, 202, 161, 101},
                    SizedBuffers{321, 201, -1, 0, 161, 101, 0, 0},
                    SizedBuffers{321, 201, 0, -1, 642, 402, 0, 0},
                    SizedBuffers{321, 201, 0, 0, 321, 201, 0, 0},
                    SizedBuffers{1366, 768, -1, -1, 1366, 768, 683, 384},
                    SizedBuffers{1366, 768, 0, -1, 2732, 1536, 0, 0},
                    SizedBuffers{1366, 768, -1, 0, 683, 384, 0, 0},
                    SizedBuffers{7680, 4320, -1, -1, 7680, 4320, 3840, 2160},
                    SizedBuffers{7680, 4320, 0, 0, 7680, 4320, 0, 0}));
