// The seam between the host services and the machine: a real window (SDL) or a
// headless page with a virtual clock and scripted input. The page itself, its
// lock, the text cursor and the drawing live in the services; a host only shows
// the page and answers for input, time and chance.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

class Host {
 public:
  virtual ~Host() = default;
  // Opens the window for a page of WIDTH x HEIGHT. 0 or ERR_ILLEGAL_CALL (with a
  // failure note that says why in words).
  virtual int32_t open(int32_t width, int32_t height) = 0;
  // Shows the page (rows WIDTH * 4 bytes apart); also the point where a frame ends.
  virtual void present(const uint32_t* page, int32_t width, int32_t height) = 0;
  virtual int32_t wait_retrace() = 0;
  virtual int32_t key_held(int32_t scancode) = 0;
  // The pointer in page pixels (-1, -1 outside the page). While the cursor is
  // hidden the pointer is captured for mouse look: the reading is the position
  // last set (the page centre when it was hidden) plus the pointer's travel
  // since, and it never leaves the page.
  virtual void get_mouse(int32_t& x, int32_t& y, int32_t& wheel, int32_t& buttons) = 0;
  virtual void set_mouse(int32_t x, int32_t y, int32_t visible, int32_t confine) = 0;
  virtual double timer() = 0;
  virtual void sleep(int32_t ms) = 0;
  virtual uint64_t seed_from_timer() = 0;
  // Every line printed on the page, as text (the headless host echoes them).
  virtual void text_line(const char* /*TEXT*/) {}

  // True while the window has lost the user (focus gone elsewhere): the pointer
  // is free and the program holds still until the user comes back.
  virtual bool paused() { return false; }
  // Words only a window shows, never the page: STATUS follows the program's name
  // in the title, and HELP_LINES are the help it shows on request (the first
  // line is the help's heading).
  virtual void set_window_text(const std::string& /*STATUS*/,
                               const std::vector<std::string>& /*HELP_LINES*/) {}
  // A line only a window shows, for its first seconds, under the status text.
  virtual void set_window_notice(const std::string& /*NOTICE*/) {}
  // The window's size in device pixels (the drawable, which a high-density
  // display makes larger than the window's size in points); false for a host
  // whose page has no window to follow.
  virtual bool window_pixels(int32_t& /*WIDTH*/, int32_t& /*HEIGHT*/) { return false; }
  // The page is now WIDTH x HEIGHT; the window itself stays as it is. 0, or
  // ERR_ILLEGAL_CALL (1) from a host that cannot.
  virtual int32_t resize_page(int32_t /*WIDTH*/, int32_t /*HEIGHT*/) { return 1; }
  // Shows the page again without ending a frame, so that text printed after
  // the last frame is seen.
  virtual void refresh(const uint32_t* /*PAGE*/, int32_t /*WIDTH*/, int32_t /*HEIGHT*/) {}
};
