// The frame loop driven in-process through the headless host.
#include <gtest/gtest.h>
#include <unistd.h>

#include "app/main_routine.h"
#include "render/render_globals.h"
#include "platform/headless_host.h"
#include "scene_files.h"

namespace {
// Runs the whole program on a scripted headless host in the empty scene.
struct RUN_IN_PROCESS {
  explicit RUN_IN_PROCESS(std::vector<INPUT_EVENT> EVENTS, const std::string& NAME) {
    const auto ROOT = TEST_FILES::MAKE_EMPTY_SCENE(NAME);
    char OLD_DIR[4096];
    EXPECT_NE(getcwd(OLD_DIR, sizeof OLD_DIR), nullptr);
    EXPECT_EQ(chdir(ROOT.c_str()), 0);
    HEADLESS_SETTINGS SETTINGS;
    SETTINGS.EVENTS = std::move(EVENTS);
    SETTINGS.ECHO_TEXT = false;
    HOST = std::make_unique<HEADLESS_HOST>(SETTINGS);
    HOST_SET(HOST.get());
    ANTI_ALIAS = ISCALE = TEXTURED = -1;
    WIRE_FRAME = 0;
    STATUS = MAIN_ROUTINE();
    HOST_SET(nullptr);
    EXPECT_EQ(chdir(OLD_DIR), 0);
  }
  std::unique_ptr<HEADLESS_HOST> HOST;
  int32_t STATUS;
};
}  // namespace

TEST(FrameLoop, EscapeWithOtherKeysStillAppliesThemAndDrawsTheFrame) {
  RUN_IN_PROCESS RUN({{1, INPUT_KIND::DOWN, SC_ESCAPE, 0},
                      {1, INPUT_KIND::DOWN, SC_1, 0},
                      {1, INPUT_KIND::DOWN, SC_2, 0}},
                     "escape-keys");
  EXPECT_EQ(RUN.STATUS, 0);
  EXPECT_EQ(RUN.HOST->FRAMES_DONE(), 1);
  EXPECT_EQ(WIRE_FRAME, -1);
  EXPECT_EQ(TEXTURED, 0);
  // Two toggle pauses, the frame's 3 ms and the last second.
  EXPECT_EQ(RUN.HOST->SLEPT_MS(), 250 + 250 + 3 + 1000);
}

TEST(FrameLoop, ThreeAndFourInOneFrameFlipBothAndRebuildOnce) {
  RUN_IN_PROCESS RUN({{1, INPUT_KIND::DOWN, SC_3, 0},
                      {1, INPUT_KIND::DOWN, SC_4, 0},
                      {2, INPUT_KIND::UP, SC_3, 0},
                      {2, INPUT_KIND::UP, SC_4, 0},
                      {3, INPUT_KIND::DOWN, SC_ESCAPE, 0}},
                     "three-four");
  EXPECT_EQ(ISCALE, 0);
  EXPECT_EQ(ANTI_ALIAS, 0);
  EXPECT_EQ(RUN.HOST->SLEPT_MS(), 500 + 3 * 3 + 1000);
}

TEST(FrameLoop, HeldToggleFlipsEveryFrameThatSeesIt) {
  RUN_IN_PROCESS RUN({{1, INPUT_KIND::DOWN, SC_1, 0}, {3, INPUT_KIND::DOWN, SC_ESCAPE, 0}},
                     "held-toggle");
  EXPECT_EQ(WIRE_FRAME, -1);  // flipped in frames 1, 2 and 3
  EXPECT_EQ(RUN.HOST->SLEPT_MS(), 3 * 250 + 3 * 3 + 1000);
}

TEST(FrameLoop, MouseLookToggleShowsAndHidesTheCursor) {
  RUN_IN_PROCESS OFF({{1, INPUT_KIND::DOWN, SC_M, 0}, {1, INPUT_KIND::DOWN, SC_ESCAPE, 0}},
                     "mouse-off");
  EXPECT_TRUE(OFF.HOST->CURSOR_VISIBLE());
  RUN_IN_PROCESS ON({{1, INPUT_KIND::DOWN, SC_ESCAPE, 0}}, "mouse-on");
  EXPECT_FALSE(ON.HOST->CURSOR_VISIBLE());  // hidden at start-up
}
