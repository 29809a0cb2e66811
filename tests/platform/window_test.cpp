// What the window does without a display: where the picture sits, how the
// pointer maps back, the pacing deadlines, latched taps, the captured pointer
// and the words drawn over the window's copy of the page.
#include "test_support.h"

#include "captured_pointer.h"
#include "frame_pacer.h"
#include "key_latch.h"
#include "letterbox.h"
#include "platform/sdl_host.h"
#include "window_extras.h"

namespace {
std::string rect_text(const PictureRect& r) {
  return std::to_string(r.x) + "," + std::to_string(r.y) + " " + std::to_string(r.w) + "x" +
         std::to_string(r.h);
}
}  // namespace

TEST(Letterbox, KeepsThePageShapeCentredWithBarsOnTheLongSides) {
  EXPECT_EQ(rect_text(letterbox(640, 480, 640, 480)), "0,0 640x480");
  EXPECT_EQ(rect_text(letterbox(1000, 600, 640, 480)), "100,0 800x600");   // bars left and right
  EXPECT_EQ(rect_text(letterbox(1280, 1024, 640, 480)), "0,32 1280x960");  // bars above and below
  EXPECT_EQ(rect_text(letterbox(1920, 1440, 640, 480)), "0,0 1920x1440");
  EXPECT_EQ(rect_text(letterbox(641, 480, 640, 480)), "0,0 640x480");      // an odd pixel: no shift
  EXPECT_EQ(rect_text(letterbox(1, 1, 640, 480)), "0,0 1x0");
  EXPECT_EQ(rect_text(letterbox(0, 600, 640, 480)), "0,0 0x0");
}

TEST(Letterbox, PointerMapsToPagePixelsAndBarsAreOutside) {
  const PictureRect r = letterbox(1000, 600, 640, 480);
  int32_t px = 7, py = 7;
  ASSERT_TRUE(window_to_page(r, 640, 480, 100, 0, px, py));
  EXPECT_EQ(px, 0);
  EXPECT_EQ(py, 0);
  ASSERT_TRUE(window_to_page(r, 640, 480, 899, 599, px, py));
  EXPECT_EQ(px, 639);
  EXPECT_EQ(py, 479);
  ASSERT_TRUE(window_to_page(r, 640, 480, 500, 300, px, py));
  EXPECT_EQ(px, 320);
  EXPECT_EQ(py, 240);
  EXPECT_FALSE(window_to_page(r, 640, 480, 99, 300, px, py));
  EXPECT_FALSE(window_to_page(r, 640, 480, 900, 300, px, py));
  EXPECT_FALSE(window_to_page(r, 640, 480, 500, 600, px, py));
  EXPECT_FALSE(window_to_page(r, 640, 480, -1, -1, px, py));
  EXPECT_FALSE(window_to_page(PictureRect{}, 640, 480, 0, 0, px, py));
  // Every page pixel survives the trip to the window and back, at any scale.
  for (const PictureRect& s : {r, letterbox(1280, 1024, 640, 480), letterbox(640, 480, 640, 480)})
    for (int32_t x : {0, 1, 319, 320, 638, 639})
      for (int32_t y : {0, 1, 239, 479}) {
        int32_t wx, wy, bx, by;
        page_to_window(s, 640, 480, x, y, wx, wy);
        ASSERT_TRUE(window_to_page(s, 640, 480, wx, wy, bx, by));
        EXPECT_EQ(bx, x);
        EXPECT_EQ(by, y);
      }
}

TEST(FramePacer, EarlyFramesWaitForEvenlySpacedDeadlines) {
  FramePacer pacer(0.016);
  EXPECT_DOUBLE_EQ(pacer.next_wait(10.0), 10.0);  // the first frame starts the cadence
  EXPECT_DOUBLE_EQ(pacer.next_wait(10.005), 10.016);
  // Deadlines stay a period apart whenever the frame comes back to wait.
  EXPECT_DOUBLE_EQ(pacer.next_wait(10.0165), 10.032);
  EXPECT_DOUBLE_EQ(pacer.next_wait(10.040), 10.048);
  EXPECT_DOUBLE_EQ(pacer.next_wait(10.050), 10.064);
}

TEST(FramePacer, ALateFrameKeepsTheCadenceUnlessAWholePeriodWasLost) {
  FramePacer pacer(0.010);
  pacer.next_wait(0.0);  // next deadline 0.010
  EXPECT_DOUBLE_EQ(pacer.next_wait(0.015), 0.015);  // late by half a period: no wait
  EXPECT_DOUBLE_EQ(pacer.next_wait(0.018), 0.020);  // the cadence holds
  EXPECT_DOUBLE_EQ(pacer.next_wait(0.100), 0.100);  // far behind: start afresh from now
  EXPECT_NEAR(pacer.next_wait(0.101), 0.110, 1e-12);
  pacer.set_period(0.0);  // ignored
  EXPECT_DOUBLE_EQ(pacer.period(), 0.010);
}

TEST(KeyLatch, ATapBetweenTwoReadsIsHeldOnceAndAHeldKeyAsTheStateSays) {
  KeyLatch<8> latch;
  EXPECT_FALSE(latch.read(3, false));
  latch.press(3);                       // down and up again before the read
  EXPECT_TRUE(latch.read(3, false));
  EXPECT_FALSE(latch.read(3, false));   // one read only
  latch.press(3);
  EXPECT_TRUE(latch.read(3, true));     // held
  EXPECT_TRUE(latch.read(3, true));
  EXPECT_FALSE(latch.read(3, false));   // released
  latch.press(5);
  latch.clear();                        // focus went elsewhere
  EXPECT_FALSE(latch.read(5, false));
  latch.press(99);                      // beyond the table: ignored
  EXPECT_TRUE(latch.read(99, true));
  EXPECT_FALSE(latch.read(99, false));
}

TEST(CapturedPointer, ReadsThePositionSetPlusTheTravelSince) {
  CapturedPointer p;
  p.set(320, 240);
  p.add_motion(50, 0);
  p.add_motion(-20, 7);
  EXPECT_EQ(p.x(), 350);
  EXPECT_EQ(p.y(), 247);
  p.set(320, 240);  // mouse look re-centres every frame
  EXPECT_EQ(p.x(), 320);
  EXPECT_EQ(p.y(), 240);
  for (int i = 0; i < 5000; ++i) p.add_motion(INT32_MAX, INT32_MIN);  // no overflow
  EXPECT_EQ(p.x(), 320 + 1000000);
  EXPECT_EQ(p.y(), 240 - 1000000);
}

namespace {
struct Canvas {
  Canvas(int32_t w, int32_t h, uint32_t fill) : width(w), height(h), pixels(size_t(w * h), fill) {}
  PixelTarget target() { return PixelTarget{pixels.data(), width, height, width}; }
  int32_t count(uint32_t colour, int32_t y0 = 0, int32_t y1 = -1) const {
    if (y1 < 0) y1 = height;
    int32_t n = 0;
    for (int32_t y = y0; y < y1; ++y)
      for (int32_t x = 0; x < width; ++x) n += pixels[size_t(y * width + x)] == colour;
    return n;
  }
  int32_t width, height;
  std::vector<uint32_t> pixels;
};
}  // namespace

TEST(WindowExtras, TextIsCutAtTheEdgesAndWritesOnlyGlyphPixels) {
  Canvas c(20, 10, 0xFF123456u);
  draw_text(c.target(), -4, -3, "HI", EXTRAS_TEXT);
  draw_text(c.target(), 16, 6, "W", EXTRAS_TEXT);
  draw_text(c.target(), 0, 0, "", EXTRAS_TEXT);
  draw_text(c.target(), 300, 300, "far", EXTRAS_TEXT);
  EXPECT_GT(c.count(EXTRAS_TEXT), 0);
  EXPECT_GT(c.count(0xFF123456u), 100);  // the gaps between strokes keep the picture
  EXPECT_EQ(c.count(EXTRAS_TEXT) + c.count(0xFF123456u), 200);
  shade_box(c.target(), -5, -5, 100, 100);
  EXPECT_EQ(c.count(0xFF040D15u) + c.count(0xFF3F3F3Fu), 200);  // a quarter of each channel
}

TEST(WindowExtras, HintAlongTheBottomPauseAcrossTheMiddleHelpInAPanel) {
  const uint32_t grey = 0xFF808080u;
  Canvas none(640, 480, grey);
  draw_window_extras(none.target(), WindowExtras{});
  EXPECT_EQ(none.count(grey), 640 * 480);

  Canvas hint(640, 480, grey);
  WindowExtras e;
  e.hint = true;
  draw_window_extras(hint.target(), e);
  EXPECT_GT(hint.count(EXTRAS_TEXT, 460, 480), 100);
  EXPECT_EQ(hint.count(grey, 0, 460), 640 * 460);

  Canvas notice(640, 480, grey);  // under the status lines, clear of their rows
  e = WindowExtras{};
  e.notice = "Walking: F to fly";
  draw_window_extras(notice.target(), e);
  EXPECT_GT(notice.count(EXTRAS_TEXT, 32, 48), 50);
  EXPECT_EQ(notice.count(grey, 0, 32) + notice.count(grey, 48, 480), 640 * 464);

  Canvas paused(640, 480, grey);
  e = WindowExtras{};
  e.paused = true;
  draw_window_extras(paused.target(), e);
  EXPECT_GT(paused.count(EXTRAS_TITLE, 228, 252), 100);
  EXPECT_EQ(paused.count(grey, 0, 200) + paused.count(grey, 280, 480), 640 * 400);

  Canvas help(640, 480, grey);
  e = WindowExtras{};
  e.help = true;
  e.help_lines = {"Keys", "", "1   wire frame   on"};
  draw_window_extras(help.target(), e);
  EXPECT_GT(help.count(EXTRAS_TITLE), 10);  // the heading
  EXPECT_GT(help.count(EXTRAS_TEXT), 50);
  EXPECT_GT(help.count(0xFF202020u), 1000);  // the shaded panel
  EXPECT_EQ(help.count(grey, 0, 200) + help.count(grey, 280, 480), 640 * 400);

  Canvas tiny(8, 4, grey);  // nothing is written outside a small target
  e.hint = e.paused = true;
  draw_window_extras(tiny.target(), e);
  draw_window_extras(PixelTarget{nullptr, 0, 0, 0}, e);
}

TEST(SdlHost, AGivenSeedReplacesTheClockZeroIncluded) {
  for (const uint64_t seed : {uint64_t(0), uint64_t(7)}) {
    SdlSettings settings;
    settings.seed = seed;
    EXPECT_EQ(SdlHost(settings).seed_from_timer(), seed);
  }
}
