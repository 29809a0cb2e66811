#include <gtest/gtest.h>

#include "render/render_buffers.h"
#include "render/render_globals.h"

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
