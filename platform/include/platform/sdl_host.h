// The real window: SDL2, the page drawn in software and shown through a
// streaming texture, letterboxed in a window of any size or full screen.
#pragma once
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/host.h"

struct SdlSettings {
  int32_t scale = 1;         // the window starts SCALE times the page (1 to 8)
  bool fullscreen = false;   // start on the whole screen
  std::optional<uint64_t> seed;  // replaces the clock as the random seed when given (0 too)
  std::string shot_dir;      // F12 screenshots go here (the working directory when empty)
  std::string title = "mazewalk";
  double open_timeout_s = 5.0;  // a display that has not answered by then counts as none
};

class SdlHost : public Host {
 public:
  explicit SdlHost(SdlSettings settings);
  ~SdlHost() override;
  int32_t open(int32_t width, int32_t height) override;
  void present(const uint32_t* page, int32_t width, int32_t height) override;
  int32_t wait_retrace() override;
  int32_t key_held(int32_t scancode) override;
  void get_mouse(int32_t& x, int32_t& y, int32_t& wheel, int32_t& buttons) override;
  void set_mouse(int32_t x, int32_t y, int32_t visible, int32_t confine) override;
  double timer() override;
  void sleep(int32_t ms) override;
  uint64_t seed_from_timer() override;
  bool paused() override;
  void set_window_text(const std::string& status, const std::vector<std::string>& help_lines) override;
  void set_window_notice(const std::string& notice) override;
  void refresh(const uint32_t* page, int32_t width, int32_t height) override;
  bool window_pixels(int32_t& width, int32_t& height) override;
  int32_t resize_page(int32_t width, int32_t height) override;

  struct State;  // everything SDL, kept out of this header

 private:
  std::unique_ptr<State> s_;
};
