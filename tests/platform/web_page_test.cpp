// The browser page's keys and pixels, checked without a browser.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <set>
#include <string>
#include <vector>

#include "platform/input.h"
#include "web_page.h"

namespace {

TEST(WebKeys, EveryKeyTheProgramPollsHasItsPhysicalKey) {
  const std::pair<const char*, int32_t> keys[] = {
      {"Digit1", SC_1}, {"Digit2", SC_2}, {"Digit3", SC_3}, {"Digit4", SC_4}, {"KeyW", SC_W},
      {"KeyA", SC_A},   {"KeyS", SC_S},   {"KeyD", SC_D},   {"KeyM", SC_M},   {"Space", SC_SPACE},
      {"KeyF", SC_F},   {"KeyC", SC_C},   {"KeyR", SC_R},   {"Home", SC_HOME}, {"F1", 59}};
  for (const auto& [code, scancode] : keys) EXPECT_EQ(scancode_of_key_code(code), scancode) << code;
  // Keys by position, not by letter: an AZERTY "A" key sends KeyQ.
  EXPECT_EQ(scancode_of_key_code("KeyQ"), 16);
  EXPECT_EQ(scancode_of_key_code("Numpad7"), 0);  // 71 is Home, as in the window
}

TEST(WebKeys, EscapeAndUnknownKeysAreNotPassedOn) {
  for (const char* code : {"Escape", "Tab", "", "keyw", "F11", "F12", "ArrowUp", "MetaLeft"})
    EXPECT_EQ(scancode_of_key_code(code), 0) << code;
  EXPECT_EQ(scancode_of_key_code(nullptr), 0);
}

TEST(WebKeys, EachKeyHasOneScanCodeAndEachScanCodeOneKey) {
  std::set<std::string> codes;
  std::set<int32_t> scancodes;
  for (size_t i = 0; i < WEB_KEY_COUNT; ++i) {
    EXPECT_TRUE(codes.insert(WEB_KEYS[i].code).second) << WEB_KEYS[i].code;
    EXPECT_TRUE(scancodes.insert(WEB_KEYS[i].scancode).second) << WEB_KEYS[i].scancode;
    EXPECT_GT(WEB_KEYS[i].scancode, SC_ESCAPE);
    EXPECT_LT(WEB_KEYS[i].scancode, 128);
  }
}

TEST(WebCanvas, PixelsBecomeRedGreenBlueAndOpaque) {
  const uint32_t page[4] = {0x00112233u, 0x80FF0000u, 0xFF0000FFu, 0x0000FF00u};
  uint32_t canvas[4];
  page_to_canvas(page, canvas, 4);
  unsigned char bytes[16];
  std::memcpy(bytes, canvas, sizeof bytes);
  const unsigned char want[16] = {0x11, 0x22, 0x33, 0xFF, 0xFF, 0, 0, 0xFF,
                                  0, 0, 0xFF, 0xFF, 0, 0xFF, 0, 0xFF};
  for (int i = 0; i < 16; ++i) EXPECT_EQ(bytes[i], want[i]) << i;
}

TEST(WebCanvas, DevicePixelsAreTheCssSizeTimesTheRatioInWholePixels) {
  const double nan = std::nan(""), inf = std::numeric_limits<double>::infinity();
  // CSS width, height, ratio, and the page size; 0 x 0 when the browser gives no
  // usable size (a hidden canvas, nonsense) and the page stays as it is.
  const double rows[][5] = {
      {1000, 700, 1, 1000, 700},  {1000, 576.5, 1.5, 1500, 865},  {333.33, 250.2, 1.25, 417, 313},
      {1e30, 1e30, 2, 1 << 20, 1 << 20},  // held far above any page, never overflowing
      {0, 700, 1, 0, 0},  {1000, 0.4, 1, 0, 0},  {-5, 700, 1, 0, 0},  {nan, 700, 1, 0, 0},
      {1000, 700, nan, 0, 0},  {inf, 700, 1, 0, 0},  {1e300, 1e300, 1e300, 0, 0}};
  for (const auto& r : rows) {
    int32_t w = 0, h = 0;
    EXPECT_EQ(canvas_device_pixels(r[0], r[1], r[2], w, h), r[3] > 0) << r[0] << " " << r[1] << " " << r[2];
    EXPECT_EQ(w, int32_t(r[3])) << r[0];
    EXPECT_EQ(h, int32_t(r[4])) << r[0];
  }
}

TEST(WebHelp, TheWindowsOwnKeysAreTheBrowsersInAPage) {
  const std::vector<std::string> window = {
      "Keys (F1 hides this help)", "",
      "M               mouse look                       on",
      "F1              this help",
      "F11, Alt+Enter  full screen",
      "F12             save a screenshot (PNG)",
      "Esc             quit",
      "Escape          not a key name this table uses"};
  const std::vector<std::string> page = page_help(window);
  ASSERT_EQ(page.size(), window.size() - 1);
  for (int i = 0; i < 4; ++i) EXPECT_EQ(page[i], window[i]);
  EXPECT_EQ(page[4], "F11             the browser's full screen");
  EXPECT_EQ(page[5], "Esc             free the mouse (the walk pauses)");
  EXPECT_EQ(page[6], window[7]);
}

}  // namespace
