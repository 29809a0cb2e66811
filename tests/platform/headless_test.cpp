// The headless host: its input script, held keys, virtual clock and mouse.
#include <array>

#include "test_support.h"

#include "platform/current_platform.h"
#include "platform/headless_host.h"
#include "platform/input.h"
#include "platform/screen.h"

namespace {
std::string describe(const std::vector<InputEvent>& events) {
  std::string s;
  for (const InputEvent& e : events)
    s += std::to_string(e.frame) + "MDU"[int(e.kind)] + std::to_string(e.a) + "," + std::to_string(e.b) + " ";
  return s;
}

TEST(InputScript, ReadsEventsSortedByFrame) {
  std::vector<InputEvent> events;
  std::string error;
  ASSERT_TRUE(parse_input_script("# frame event arguments\n10 down W   # walk\n\n1 mouse 320 240\r\n"
                                 "70 up w\n10 down 42\n  3 down space\n4 down ESC",
                                 events, error))
      << error;
  EXPECT_EQ(describe(events), "1M320,240 3D57,0 4D1,0 10D17,0 10D42,0 70U17,0 ");
}

TEST(InputScript, NamesTheFlySolidWallsAndRespawnKeys) {
  std::vector<InputEvent> events;
  std::string error;
  ASSERT_TRUE(parse_input_script("1 down F\n2 down c\n3 down R\n4 down Home\n", events, error))
      << error;
  EXPECT_EQ(describe(events), "1D33,0 2D46,0 3D19,0 4D71,0 ");
}

TEST(InputScript, RejectsBadLinesNamingThem) {
  for (const char* text : {"0 down W", "x down W", "1", "1 jump", "1 down F1", "1 down 0", "1 down 256",
                           "1 up", "1 mouse 5", "1 mouse 1.5 2", "1 down W W", "99999999999 down W"}) {
    std::vector<InputEvent> events;
    std::string error;
    EXPECT_FALSE(parse_input_script(std::string("# fine\n\n") + text, events, error)) << text;
    EXPECT_EQ(error.rfind("line 3: ", 0), 0u) << text << " gave " << error;
  }
}

HeadlessSettings quiet(std::vector<InputEvent> events) {
  HeadlessSettings s;
  s.events = std::move(events);
  s.echo_text = false;
  return s;
}

TEST(HeadlessHost, KeysAreHeldFromTheirDownFrameUntilTheirUpFrame) {
  HeadlessSettings s = quiet({{2, InputKind::DOWN, SC_W, 0}, {4, InputKind::UP, SC_W, 0},
                               {3, InputKind::DOWN, SC_A, 0}, {3, InputKind::UP, SC_A, 0}});
  s.escape_frame = 5;
  HeadlessHost host(s);
  ASSERT_EQ(host.open(4, 4), 0);
  const uint32_t page[16] = {};
  std::string held;
  for (int frame = 1; frame <= 6; ++frame) {
    EXPECT_EQ(host.frame(), frame);
    for (int32_t key : {int32_t(SC_W), int32_t(SC_A), int32_t(SC_ESCAPE), 0, -5, 1000}) held += host.key_held(key) == -1 ? 'X' : '.';
    held += ' ';
    host.present(page, 4, 4);
  }
  // Down and up in one frame: never seen.
  EXPECT_EQ(held, "...... X..... X..... ...... ..X... ..X... ");
}

TEST(HeadlessHost, ClockAdvancesOneStepPerFrameAndSleepsCostNothing) {
  HeadlessSettings s = quiet({});
  s.dt_ms = 20.0;
  HeadlessHost host(s);
  const uint32_t page[16] = {};
  const double start = host.timer();
  host.sleep(250);
  host.sleep(3);
  EXPECT_EQ(host.timer(), start);
  EXPECT_EQ(host.slept_ms(), 253.0);
  for (int i = 0; i < 3; ++i) host.present(page, 4, 4);
  EXPECT_NEAR(host.timer() - start, 0.060, 1e-12);
}

TEST(HeadlessHost, MouseIsClampedIntoTheWindowAndCursorVisibilityKept) {
  HeadlessHost host(quiet({{2, InputKind::MOUSE, 500, 7}}));
  host.open(100, 50);
  const auto mouse = [&] {
    int32_t x, y, wheel, buttons;
    host.get_mouse(x, y, wheel, buttons);
    return std::pair(x, y);
  };
  host.set_mouse(500, -20, -1, -1);
  EXPECT_EQ(mouse(), std::pair(99, 0));
  EXPECT_TRUE(host.cursor_visible());
  host.set_mouse(50, MOUSE_UNCHANGED, 0, 1);
  EXPECT_EQ(mouse(), std::pair(50, 0));
  EXPECT_FALSE(host.cursor_visible());
  host.set_mouse(MOUSE_UNCHANGED, 25, -1, -1);
  EXPECT_EQ(mouse(), std::pair(50, 25));
  EXPECT_FALSE(host.cursor_visible());
  host.set_mouse(MOUSE_UNCHANGED, MOUSE_UNCHANGED, 1, -1);
  EXPECT_TRUE(host.cursor_visible());
  const uint32_t page[100 * 50] = {};
  host.present(page, 100, 50);  // frame 2 moves the pointer outside the window
  EXPECT_EQ(mouse(), std::pair(-1, -1));
}

// Script positions are travel from the 640 x 480 page's centre, on any page.
TEST(HeadlessHost, ScriptMouseIsReadAgainstTheScriptPageCentre) {
  for (const auto& [w, h, x, y] : {std::array{640, 480, 330, 235}, std::array{1920, 1080, 970, 535},
                                   std::array{321, 201, 170, 95}}) {
    HeadlessHost host(quiet({{1, InputKind::MOUSE, 330, 235}}));
    host.open(w, h);
    int32_t mx, my, wheel, buttons;
    host.get_mouse(mx, my, wheel, buttons);
    EXPECT_EQ(std::pair(mx, my), std::pair(x, y)) << w << "x" << h;
  }
}

TEST(HeadlessHost, ServesThePlatformCallsOnceSet) {
  HeadlessHost host(quiet({{1, InputKind::DOWN, SC_M, 0}}));
  {
    const Platform platform(host);
    EXPECT_EQ(set_graphics_mode(32, 16), 0);
    EXPECT_EQ(key_held(SC_M), -1);
    screen_lock();
    screen_unlock();
    EXPECT_EQ(host.frames_done(), 1);
    EXPECT_EQ(&current_platform().host(), &host);
  }
  // Back to the default host, which holds no key.
  EXPECT_NE(&current_platform().host(), &host);
  EXPECT_EQ(key_held(SC_M), 0);
}
}  // namespace
