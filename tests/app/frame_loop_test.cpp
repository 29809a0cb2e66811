// The frame loop driven in-process through the headless host.
#include <gtest/gtest.h>
#include <unistd.h>

#include "app/main_routine.h"
#include "platform/current_platform.h"
#include "platform/headless_host.h"
#include "platform/input.h"
#include "platform/screen.h"
#include "render/render_globals.h"
#include "scene_files.h"

namespace {
// Runs the whole program in the empty scene on HOST, scripted by its settings;
// returns the exit status.
int32_t run_in_empty_scene(Host& host, const std::string& name, const AppOptions& options = {}) {
  const auto root = test_files::make_empty_scene(name);
  char old_dir[4096];
  EXPECT_NE(getcwd(old_dir, sizeof old_dir), nullptr);
  EXPECT_EQ(chdir(root.c_str()), 0);
  ANTI_ALIAS = ISCALE = TEXTURED = -1;
  WIRE_FRAME = 0;
  int32_t status = 0;
  {
    const Platform platform(host);
    status = main_routine(options);
  }
  EXPECT_EQ(chdir(old_dir), 0);
  return status;
}

HeadlessSettings scripted(std::vector<InputEvent> events) {
  HeadlessSettings settings;
  settings.events = std::move(events);
  settings.echo_text = false;
  return settings;
}

// The whole program on a scripted headless host.
struct RunInProcess {
  RunInProcess(std::vector<InputEvent> events, const std::string& name)
      : host(std::make_unique<HeadlessHost>(scripted(std::move(events)))),
        status(run_in_empty_scene(*host, name)) {}
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

namespace {
// A headless host that can lose the user, and notes what only a window shows.
class WindowLikeHost : public HeadlessHost {
 public:
  WindowLikeHost(HeadlessSettings s, int32_t paused_from, int32_t paused_until)
      : HeadlessHost(std::move(s)), from_(paused_from), until_(paused_until) {}
  bool paused() override { return frame() >= from_ && frame() < until_; }
  void set_window_text(const std::string& status, const std::vector<std::string>& help) override {
    statuses.push_back(status);
    help_seen = help;
  }
  void text_line(const char* text) override {
    HeadlessHost::text_line(text);
    lines.emplace_back(text);
  }
  void refresh(const uint32_t* page, int32_t width, int32_t) override {
    ++refreshes;
    refreshed_at_frame = frames_done();
    // The refreshed page carries "OK!!" on row 5.
    ok_drawn = page[size_t(4 * 8 + 2) * size_t(width) + 1] != 0;
  }
  std::vector<std::string> statuses, help_seen, lines;
  int32_t refreshes = 0, refreshed_at_frame = -1;
  bool ok_drawn = false;

 private:
  int32_t from_, until_;
};

// The empty scene has no floor to walk on: the camera flies.
AppOptions flying() {
  AppOptions options;
  options.modes.fly = -1;
  return options;
}

struct RunWindowLike {
  RunWindowLike(std::vector<InputEvent> events, int32_t paused_from, int32_t paused_until,
                const std::string& name)
      : host(std::make_unique<WindowLikeHost>(scripted(std::move(events)), paused_from,
                                              paused_until)),
        status(run_in_empty_scene(*host, name, flying())) {}
  std::unique_ptr<WindowLikeHost> host;
  int32_t status;
};
}  // namespace

TEST(FrameLoop, WhilePausedNothingMovesOrTurnsAndTheFramesGoOn) {
  // W held and the pointer off centre from frame 1; the window lost the user in frames 1 to 10.
  const std::vector<InputEvent> events = {{1, InputKind::DOWN, SC_W, 0},
                                          {1, InputKind::MOUSE, 400, 300},
                                          {10, InputKind::DOWN, SC_ESCAPE, 0}};
  const std::string start = "x: 0, y: 50, z: 0";
  RunWindowLike paused(events, 1, 11, "paused");
  EXPECT_EQ(paused.status, 0);
  EXPECT_EQ(paused.host->frames_done(), 10);
  int32_t camera_lines = 0;
  for (const std::string& line : paused.host->lines)
    if (line.rfind("x: ", 0) == 0) {
      EXPECT_EQ(line, start);
      ++camera_lines;
    }
  EXPECT_EQ(camera_lines, 10);
  // Back from the pause the same input walks again.
  RunWindowLike resumed(events, 1, 5, "resumed");
  EXPECT_NE(resumed.host->lines[resumed.host->lines.size() - 3], start);
}

TEST(FrameLoop, TheWindowHearsTheSwitchesWhenTheyChangeAndShowsOkBeforeTheLastSecond) {
  RunWindowLike run({{2, InputKind::DOWN, SC_1, 0}, {3, InputKind::UP, SC_1, 0},
                     {5, InputKind::DOWN, SC_ESCAPE, 0}},
                    0, 0, "switch-text");
  ASSERT_EQ(run.host->statuses.size(), 2u);  // at the first frame and when 1 flipped
  EXPECT_EQ(run.host->statuses[0],
            "fly mode on, solid walls off, mouse look on, wire frame off, textures on, "
            "half-resolution drawing on, anti-aliasing on - 640x480");
  EXPECT_NE(run.host->statuses[1].find("wire frame on"), std::string::npos);
  ASSERT_FALSE(run.host->help_seen.empty());
  EXPECT_EQ(run.host->help_seen[0], "Keys (F1 hides this help)");
  EXPECT_EQ(run.host->refreshes, 1);
  EXPECT_EQ(run.host->refreshed_at_frame, 5);  // after the last frame, within the last second
  EXPECT_TRUE(run.host->ok_drawn);
  EXPECT_EQ(run.host->frames_done(), 5);  // the refresh is no frame of its own
}
