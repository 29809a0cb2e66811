// The frame loop driven in-process through the headless host.
#include <gtest/gtest.h>
#include <unistd.h>

#include "app/main_routine.h"
#include "render/render_globals.h"
#include "platform/headless_host.h"
#include "scene_files.h"

namespace {
// Runs the whole program on a scripted headless host in the empty scene.
struct RunInProcess {
  explicit RunInProcess(std::vector<InputEvent> events, const std::string& name) {
    const auto root = test_files::make_empty_scene(name);
    char old_dir[4096];
    EXPECT_NE(getcwd(old_dir, sizeof old_dir), nullptr);
    EXPECT_EQ(chdir(root.c_str()), 0);
    HeadlessSettings settings;
    settings.events = std::move(events);
    settings.echo_text = false;
    host = std::make_unique<HeadlessHost>(settings);
    host_set(host.get());
    ANTI_ALIAS = ISCALE = TEXTURED = -1;
    WIRE_FRAME = 0;
    status = main_routine();
    host_set(nullptr);
    EXPECT_EQ(chdir(old_dir), 0);
  }
  std::unique_ptr<HeadlessHost> host;
  int32_t status;
};
}  // namespace

TEST(FrameLoop, EscapeWithOtherKeysStillAppliesThemAndDrawsTheFrame) {
  RunInProcess run({{1, InputKind::DOWN, SC_ESCAPE, 0},
                      {1, InputKind::DOWN, SC_1, 0},
                      {1, InputKind::DOWN, SC_2, 0}},
                     "escape-keys");
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.host->frames_done(), 1);
  EXPECT_EQ(WIRE_FRAME, -1);
  EXPECT_EQ(TEXTURED, 0);
  // Two toggle pauses, the frame's 3 ms and the last second.
  EXPECT_EQ(run.host->slept_ms(), 250 + 250 + 3 + 1000);
}

TEST(FrameLoop, ThreeAndFourInOneFrameFlipBothAndRebuildOnce) {
  RunInProcess run({{1, InputKind::DOWN, SC_3, 0},
                      {1, InputKind::DOWN, SC_4, 0},
                      {2, InputKind::UP, SC_3, 0},
                      {2, InputKind::UP, SC_4, 0},
                      {3, InputKind::DOWN, SC_ESCAPE, 0}},
                     "three-four");
  EXPECT_EQ(ISCALE, 0);
  EXPECT_EQ(ANTI_ALIAS, 0);
  EXPECT_EQ(run.host->slept_ms(), 500 + 3 * 3 + 1000);
}

TEST(FrameLoop, HeldToggleFlipsEveryFrameThatSeesIt) {
  RunInProcess run({{1, InputKind::DOWN, SC_1, 0}, {3, InputKind::DOWN, SC_ESCAPE, 0}},
                     "held-toggle");
  EXPECT_EQ(WIRE_FRAME, -1);  // flipped in frames 1, 2 and 3
  EXPECT_EQ(run.host->slept_ms(), 3 * 250 + 3 * 3 + 1000);
}

TEST(FrameLoop, MouseLookToggleShowsAndHidesTheCursor) {
  RunInProcess off({{1, InputKind::DOWN, SC_M, 0}, {1, InputKind::DOWN, SC_ESCAPE, 0}},
                     "mouse-off");
  EXPECT_TRUE(off.host->cursor_visible());
  RunInProcess on({{1, InputKind::DOWN, SC_ESCAPE, 0}}, "mouse-on");
  EXPECT_FALSE(on.host->cursor_visible());  // hidden at start-up
}
