#include "platform/sdl_host.h"

#include <SDL.h>

#include <algorithm>
#include <cstdio>
#include <ctime>

#include "platform/platform.h"

namespace {
// PC scan codes (set 1) of the main block, by SDL scancode.
SDL_Scancode sdl_scancode_of(int32_t pc) {
  static const SDL_Scancode TABLE[] = {
      SDL_SCANCODE_UNKNOWN, SDL_SCANCODE_ESCAPE, SDL_SCANCODE_1, SDL_SCANCODE_2,
      SDL_SCANCODE_3, SDL_SCANCODE_4, SDL_SCANCODE_5, SDL_SCANCODE_6, SDL_SCANCODE_7,
      SDL_SCANCODE_8, SDL_SCANCODE_9, SDL_SCANCODE_0, SDL_SCANCODE_MINUS, SDL_SCANCODE_EQUALS,
      SDL_SCANCODE_BACKSPACE, SDL_SCANCODE_TAB, SDL_SCANCODE_Q, SDL_SCANCODE_W, SDL_SCANCODE_E,
      SDL_SCANCODE_R, SDL_SCANCODE_T, SDL_SCANCODE_Y, SDL_SCANCODE_U, SDL_SCANCODE_I,
      SDL_SCANCODE_O, SDL_SCANCODE_P, SDL_SCANCODE_LEFTBRACKET, SDL_SCANCODE_RIGHTBRACKET,
      SDL_SCANCODE_RETURN, SDL_SCANCODE_LCTRL, SDL_SCANCODE_A, SDL_SCANCODE_S, SDL_SCANCODE_D,
      SDL_SCANCODE_F, SDL_SCANCODE_G, SDL_SCANCODE_H, SDL_SCANCODE_J, SDL_SCANCODE_K,
      SDL_SCANCODE_L, SDL_SCANCODE_SEMICOLON, SDL_SCANCODE_APOSTROPHE, SDL_SCANCODE_GRAVE,
      SDL_SCANCODE_LSHIFT, SDL_SCANCODE_BACKSLASH, SDL_SCANCODE_Z, SDL_SCANCODE_X,
      SDL_SCANCODE_C, SDL_SCANCODE_V, SDL_SCANCODE_B, SDL_SCANCODE_N, SDL_SCANCODE_M,
      SDL_SCANCODE_COMMA, SDL_SCANCODE_PERIOD, SDL_SCANCODE_SLASH, SDL_SCANCODE_RSHIFT,
      SDL_SCANCODE_KP_MULTIPLY, SDL_SCANCODE_LALT, SDL_SCANCODE_SPACE, SDL_SCANCODE_CAPSLOCK,
      SDL_SCANCODE_F1, SDL_SCANCODE_F2, SDL_SCANCODE_F3, SDL_SCANCODE_F4, SDL_SCANCODE_F5,
      SDL_SCANCODE_F6, SDL_SCANCODE_F7, SDL_SCANCODE_F8, SDL_SCANCODE_F9, SDL_SCANCODE_F10,
      SDL_SCANCODE_NUMLOCKCLEAR, SDL_SCANCODE_SCROLLLOCK, SDL_SCANCODE_KP_7, SDL_SCANCODE_KP_8,
      SDL_SCANCODE_KP_9, SDL_SCANCODE_KP_MINUS, SDL_SCANCODE_KP_4, SDL_SCANCODE_KP_5,
      SDL_SCANCODE_KP_6, SDL_SCANCODE_KP_PLUS, SDL_SCANCODE_KP_1, SDL_SCANCODE_KP_2,
      SDL_SCANCODE_KP_3, SDL_SCANCODE_KP_0, SDL_SCANCODE_KP_PERIOD};
  constexpr int32_t COUNT = int32_t(sizeof TABLE / sizeof TABLE[0]);
  if (pc == 71) return SDL_SCANCODE_HOME;  // shared with keypad 7 in set 1: the Home key
  if (pc == 87) return SDL_SCANCODE_F11;
  if (pc == 88) return SDL_SCANCODE_F12;
  return (pc > 0 && pc < COUNT) ? TABLE[pc] : SDL_SCANCODE_UNKNOWN;
}
}  // namespace

SdlHost::SdlHost(int32_t scale, uint64_t seed, std::string shot_dir, std::string title)
    : scale_(std::clamp(scale, 1, 8)), seed_(seed), shot_dir_(std::move(shot_dir)),
      title_(std::move(title)) {}

SdlHost::~SdlHost() {
  if (window_) SDL_DestroyWindow(window_);
  SDL_Quit();
}

int32_t SdlHost::open(int32_t width, int32_t height) {
  if (SDL_Init(SDL_INIT_VIDEO | SDL_INIT_TIMER) != 0) return ERR_ILLEGAL_CALL;
  SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
  window_ = SDL_CreateWindow(title_.c_str(), SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED,
                             width * scale_, height * scale_, SDL_WINDOW_SHOWN);
  if (!window_ || !SDL_GetWindowSurface(window_)) return ERR_ILLEGAL_CALL;
  width_ = width;
  height_ = height;
  return 0;
}

void SdlHost::pump() {
  SDL_Event event;
  while (SDL_PollEvent(&event)) {
    if (event.type == SDL_QUIT) close_requested_ = true;
    if (event.type == SDL_WINDOWEVENT && event.window.event == SDL_WINDOWEVENT_CLOSE)
      close_requested_ = true;
    if (event.type == SDL_KEYDOWN && !event.key.repeat &&
        event.key.keysym.scancode == SDL_SCANCODE_F12)
      screenshot_requested_ = true;
    if (event.type == SDL_MOUSEWHEEL) wheel_ += event.wheel.y;
  }
}

void SdlHost::save_screenshot(const uint32_t* page, int32_t width, int32_t height) {
  char name[64];
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  std::strftime(name, sizeof name, "screenshot-%Y%m%d-%H%M%S.png", &local);
  const std::string path = shot_dir_.empty() ? name : shot_dir_ + "/" + name;
  if (save_png(path.c_str(), page, width, height, width * 4) == 0)
    std::fprintf(stderr, "mazewalk: saved %s\n", path.c_str());
  else
    std::fprintf(stderr, "mazewalk: cannot write %s\n", path.c_str());
}

void SdlHost::present(const uint32_t* page, int32_t width, int32_t height) {
  pump();
  if (screenshot_requested_) {
    screenshot_requested_ = false;
    save_screenshot(page, width, height);
  }
  SDL_Surface* surface = SDL_GetWindowSurface(window_);
  if (!surface) return;
  SDL_Surface* source = SDL_CreateRGBSurfaceWithFormatFrom(
      const_cast<uint32_t*>(page), width, height, 32, width * 4, SDL_PIXELFORMAT_XRGB8888);
  if (!source) return;
  if (scale_ == 1)
    SDL_BlitSurface(source, nullptr, surface, nullptr);
  else
    SDL_BlitScaled(source, nullptr, surface, nullptr);
  SDL_FreeSurface(source);
  SDL_UpdateWindowSurface(window_);
}

int32_t SdlHost::wait_retrace() {
  // A window surface has no retrace signal: wait one refresh period.
  SDL_DisplayMode mode;
  int32_t period_ms = 16;
  const int display = window_ ? SDL_GetWindowDisplayIndex(window_) : 0;
  if (SDL_GetCurrentDisplayMode(display < 0 ? 0 : display, &mode) == 0 && mode.refresh_rate > 0)
    period_ms = 1000 / mode.refresh_rate;
  SDL_Delay(Uint32(period_ms));
  return 0;
}

int32_t SdlHost::key_held(int32_t scancode) {
  SDL_PumpEvents();
  if (scancode == SC_ESCAPE && close_requested_) return -1;  // the close button is Escape
  const SDL_Scancode code = sdl_scancode_of(scancode);
  if (code == SDL_SCANCODE_UNKNOWN) return 0;
  const Uint8* state = SDL_GetKeyboardState(nullptr);
  return state[code] ? -1 : 0;
}

void SdlHost::get_mouse(int32_t& x, int32_t& y, int32_t& wheel, int32_t& buttons) {
  pump();
  int mx = 0, my = 0;
  const Uint32 state = SDL_GetMouseState(&mx, &my);
  if (SDL_GetMouseFocus() != window_) {
    x = y = -1;
  } else {
    x = mx / scale_;
    y = my / scale_;
  }
  wheel = wheel_;
  buttons = int32_t(state);
}

void SdlHost::set_mouse(int32_t x, int32_t y, int32_t visible, int32_t confine) {
  if (!window_) return;
  if (x != MOUSE_UNCHANGED || y != MOUSE_UNCHANGED) {
    int mx = 0, my = 0;
    SDL_GetMouseState(&mx, &my);
    const int32_t nx = x != MOUSE_UNCHANGED ? std::clamp(x, 0, width_ - 1) : mx / scale_;
    const int32_t ny = y != MOUSE_UNCHANGED ? std::clamp(y, 0, height_ - 1) : my / scale_;
    SDL_WarpMouseInWindow(window_, nx * scale_ + scale_ / 2, ny * scale_ + scale_ / 2);
  }
  if (visible == 1) SDL_ShowCursor(SDL_ENABLE);
  if (visible == 0) SDL_ShowCursor(SDL_DISABLE);
  if (confine == 1) SDL_SetWindowGrab(window_, SDL_TRUE);
  if (confine == 0) SDL_SetWindowGrab(window_, SDL_FALSE);
}

double SdlHost::timer() {
  return double(SDL_GetPerformanceCounter()) / double(SDL_GetPerformanceFrequency());
}

void SdlHost::sleep(int32_t ms) {
  SDL_Delay(Uint32(ms));
}

uint64_t SdlHost::seed_from_timer() {
  return seed_ ? seed_ : SDL_GetPerformanceCounter();
}
