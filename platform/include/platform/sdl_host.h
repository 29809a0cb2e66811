// The real window: SDL2, drawn purely in software through the window surface.
#pragma once
#include <string>

#include "platform/host.h"

struct SDL_Window;

class SdlHost : public Host {
 public:
  // SCALE: the window is SCALE times the page, nearest neighbour. SEED, when not
  // 0, replaces the clock as the random generator's seed.
  // Screenshots (F12) go to SHOT_DIR, or the working directory when it is empty.
  explicit SdlHost(int32_t scale = 1, uint64_t seed = 0, std::string shot_dir = "",
                    std::string title = "mazewalk");
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

 private:
  void pump();
  void save_screenshot(const uint32_t* page, int32_t width, int32_t height);

  int32_t scale_;
  uint64_t seed_;
  std::string shot_dir_;
  std::string title_;
  SDL_Window* window_ = nullptr;
  int32_t width_ = 0, height_ = 0;
  bool close_requested_ = false;
  bool screenshot_requested_ = false;
  int32_t wheel_ = 0;
};
