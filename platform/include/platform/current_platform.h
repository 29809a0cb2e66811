// One owner for what the host services keep between calls: the host that
// answers, the screen page it shows and the text cursor on that page. The
// program's main makes a Platform around its host; while it lives, the service
// calls (screen_lock, key_held, timer, print_line, ...) go to it, and when it
// ends the platform in use before it comes back. Without one, a headless host
// with default settings answers.
#pragma once
#include <cstdint>
#include <vector>

#include "platform/host.h"

// The page: WIDTH x HEIGHT 32-bit pixels, rows WIDTH * 4 bytes apart, and the
// text cursor on its 8 x 8 grid (row and column counted from 1).
struct ScreenPage {
  std::vector<uint32_t> pixels;
  int32_t width = 0, height = 0;
  int32_t locks = 0;
  int32_t text_row = 1, text_column = 1;
  int32_t text_scale = 1;  // each font pixel drawn as a square of this many pixels
};

class Platform {
 public:
  // Takes over the service calls for its lifetime; HOST must outlive it.
  explicit Platform(Host& host);
  ~Platform();
  Platform(const Platform&) = delete;
  Platform& operator=(const Platform&) = delete;

  Host& host() { return host_; }
  ScreenPage& page() { return page_; }

 private:
  Host& host_;
  ScreenPage page_;
  Platform* previous_;
};

// The platform in use: the one made last that still lives.
Platform& current_platform();
