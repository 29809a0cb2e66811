// The real window: SDL2, drawn purely in software through the window surface.
#pragma once
#include <string>

#include "platform/host.h"

struct SDL_Window;

class SDL_HOST : public HOST {
 public:
  // SCALE: the window is SCALE times the page, nearest neighbour. SEED, when not
  // 0, replaces the clock as the random generator's seed.
  // Screenshots (F12) go to SHOT_DIR, or the working directory when it is empty.
  explicit SDL_HOST(int32_t SCALE = 1, uint64_t SEED = 0, std::string SHOT_DIR = "",
                    std::string TITLE = "mazewalk");
  ~SDL_HOST() override;
  int32_t OPEN(int32_t WIDTH, int32_t HEIGHT) override;
  void PRESENT(const uint32_t* PAGE, int32_t WIDTH, int32_t HEIGHT) override;
  int32_t WAIT_RETRACE() override;
  int32_t KEY_HELD(int32_t SCANCODE) override;
  void GET_MOUSE(int32_t& X, int32_t& Y, int32_t& WHEEL, int32_t& BUTTONS) override;
  void SET_MOUSE(int32_t X, int32_t Y, int32_t VISIBLE, int32_t CONFINE) override;
  double TIMER() override;
  void SLEEP(int32_t MS) override;
  uint64_t SEED_FROM_TIMER() override;

 private:
  void PUMP();
  void SAVE_SCREENSHOT(const uint32_t* PAGE, int32_t WIDTH, int32_t HEIGHT);

  int32_t SCALE_;
  uint64_t SEED_;
  std::string SHOT_DIR_;
  std::string TITLE_;
  SDL_Window* WINDOW_ = nullptr;
  int32_t WIDTH_ = 0, HEIGHT_ = 0;
  bool CLOSE_REQUESTED_ = false;
  bool SCREENSHOT_REQUESTED_ = false;
  int32_t WHEEL_ = 0;
};
