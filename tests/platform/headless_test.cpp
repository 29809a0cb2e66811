// The headless host: its input script, held keys, virtual clock and mouse.
#include "test_support.h"

#include "platform/headless_host.h"

namespace {
std::string DESCRIBE(const std::vector<INPUT_EVENT>& EVENTS) {
  std::string S;
  for (const INPUT_EVENT& E : EVENTS)
    S += std::to_string(E.FRAME) + "MDU"[int(E.KIND)] + std::to_string(E.A) + "," + std::to_string(E.B) + " ";
  return S;
}

TEST(InputScript, ReadsEventsSortedByFrame) {
  std::vector<INPUT_EVENT> EVENTS;
  std::string ERROR;
  ASSERT_TRUE(PARSE_INPUT_SCRIPT("# frame event arguments\n10 down W   # walk\n\n1 mouse 320 240\r\n"
                                 "70 up w\n10 down 42\n  3 down space\n4 down ESC",
                                 EVENTS, ERROR))
      << ERROR;
  EXPECT_EQ(DESCRIBE(EVENTS), "1M320,240 3D57,0 4D1,0 10D17,0 10D42,0 70U17,0 ");
}

TEST(InputScript, RejectsBadLinesNamingThem) {
  for (const char* TEXT : {"0 down W", "x down W", "1", "1 jump", "1 down F1", "1 down 0", "1 down 256",
                           "1 up", "1 mouse 5", "1 mouse 1.5 2", "1 down W W", "99999999999 down W"}) {
    std::vector<INPUT_EVENT> EVENTS;
    std::string ERROR;
    EXPECT_FALSE(PARSE_INPUT_SCRIPT(std::string("# fine\n\n") + TEXT, EVENTS, ERROR)) << TEXT;
    EXPECT_EQ(ERROR.rfind("line 3: ", 0), 0u) << TEXT << " gave " << ERROR;
  }
}

HEADLESS_SETTINGS QUIET(std::vector<INPUT_EVENT> EVENTS) {
  HEADLESS_SETTINGS S;
  S.EVENTS = std::move(EVENTS);
  S.ECHO_TEXT = false;
  return S;
}

TEST(HeadlessHost, KeysAreHeldFromTheirDownFrameUntilTheirUpFrame) {
  HEADLESS_SETTINGS S = QUIET({{2, INPUT_KIND::DOWN, SC_W, 0}, {4, INPUT_KIND::UP, SC_W, 0},
                               {3, INPUT_KIND::DOWN, SC_A, 0}, {3, INPUT_KIND::UP, SC_A, 0}});
  S.ESCAPE_FRAME = 5;
  HEADLESS_HOST HOST(S);
  ASSERT_EQ(HOST.OPEN(4, 4), 0);
  const uint32_t PAGE[16] = {};
  std::string HELD;
  for (int FRAME = 1; FRAME <= 6; ++FRAME) {
    EXPECT_EQ(HOST.FRAME(), FRAME);
    for (int32_t KEY : {int32_t(SC_W), int32_t(SC_A), int32_t(SC_ESCAPE), 0, -5, 1000}) HELD += HOST.KEY_HELD(KEY) == -1 ? 'X' : '.';
    HELD += ' ';
    HOST.PRESENT(PAGE, 4, 4);
  }
  // Down and up in one frame: never seen.
  EXPECT_EQ(HELD, "...... X..... X..... ...... ..X... ..X... ");
}

TEST(HeadlessHost, ClockAdvancesOneStepPerFrameAndSleepsCostNothing) {
  HEADLESS_SETTINGS S = QUIET({});
  S.DT_MS = 20.0;
  HEADLESS_HOST HOST(S);
  const uint32_t PAGE[16] = {};
  const double START = HOST.TIMER();
  HOST.SLEEP(250);
  HOST.SLEEP(3);
  EXPECT_EQ(HOST.TIMER(), START);
  EXPECT_EQ(HOST.SLEPT_MS(), 253.0);
  for (int I = 0; I < 3; ++I) HOST.PRESENT(PAGE, 4, 4);
  EXPECT_NEAR(HOST.TIMER() - START, 0.060, 1e-12);
}

TEST(HeadlessHost, MouseIsClampedIntoTheWindowAndCursorVisibilityKept) {
  HEADLESS_HOST HOST(QUIET({{2, INPUT_KIND::MOUSE, 500, 7}}));
  HOST.OPEN(100, 50);
  const auto MOUSE = [&] {
    int32_t X, Y, WHEEL, BUTTONS;
    HOST.GET_MOUSE(X, Y, WHEEL, BUTTONS);
    return std::pair(X, Y);
  };
  HOST.SET_MOUSE(500, -20, -1, -1);
  EXPECT_EQ(MOUSE(), std::pair(99, 0));
  EXPECT_TRUE(HOST.CURSOR_VISIBLE());
  HOST.SET_MOUSE(50, MOUSE_UNCHANGED, 0, 1);
  EXPECT_EQ(MOUSE(), std::pair(50, 0));
  EXPECT_FALSE(HOST.CURSOR_VISIBLE());
  HOST.SET_MOUSE(MOUSE_UNCHANGED, 25, -1, -1);
  EXPECT_EQ(MOUSE(), std::pair(50, 25));
  EXPECT_FALSE(HOST.CURSOR_VISIBLE());
  HOST.SET_MOUSE(MOUSE_UNCHANGED, MOUSE_UNCHANGED, 1, -1);
  EXPECT_TRUE(HOST.CURSOR_VISIBLE());
  const uint32_t PAGE[100 * 50] = {};
  HOST.PRESENT(PAGE, 100, 50);  // frame 2 moves the pointer outside the window
  EXPECT_EQ(MOUSE(), std::pair(-1, -1));
}

TEST(HeadlessHost, ServesThePlatformCallsOnceSet) {
  HEADLESS_HOST HOST(QUIET({{1, INPUT_KIND::DOWN, SC_M, 0}}));
  HOST_SET(&HOST);
  EXPECT_EQ(SET_GRAPHICS_MODE(32, 16), 0);
  EXPECT_EQ(KEY_HELD(SC_M), -1);
  SCREEN_LOCK();
  SCREEN_UNLOCK();
  EXPECT_EQ(HOST.FRAMES_DONE(), 1);
  HOST_SET(nullptr);  // back to the default host
  EXPECT_NE(HOST_GET(), &HOST);
}
}  // namespace
