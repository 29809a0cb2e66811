#include "platform/sdl_host.h"

#include <SDL.h>

#include <algorithm>
#include <cstdio>
#include <ctime>

#include "platform/platform.h"

namespace {
// PC scan codes (set 1) of the main block, by SDL scancode.
SDL_Scancode SDL_SCANCODE_OF(int32_t PC) {
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
  if (PC == 87) return SDL_SCANCODE_F11;
  if (PC == 88) return SDL_SCANCODE_F12;
  return (PC > 0 && PC < COUNT) ? TABLE[PC] : SDL_SCANCODE_UNKNOWN;
}
}  // namespace

SDL_HOST::SDL_HOST(int32_t SCALE, uint64_t SEED, std::string TITLE)
    : SCALE_(std::clamp(SCALE, 1, 8)), SEED_(SEED), TITLE_(std::move(TITLE)) {}

SDL_HOST::~SDL_HOST() {
  if (WINDOW_) SDL_DestroyWindow(WINDOW_);
  SDL_Quit();
}

int32_t SDL_HOST::OPEN(int32_t WIDTH, int32_t HEIGHT) {
  if (SDL_Init(SDL_INIT_VIDEO | SDL_INIT_TIMER) != 0) return ERR_ILLEGAL_CALL;
  SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
  WINDOW_ = SDL_CreateWindow(TITLE_.c_str(), SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED,
                             WIDTH * SCALE_, HEIGHT * SCALE_, SDL_WINDOW_SHOWN);
  if (!WINDOW_ || !SDL_GetWindowSurface(WINDOW_)) return ERR_ILLEGAL_CALL;
  WIDTH_ = WIDTH;
  HEIGHT_ = HEIGHT;
  return 0;
}

void SDL_HOST::PUMP() {
  SDL_Event EVENT;
  while (SDL_PollEvent(&EVENT)) {
    if (EVENT.type == SDL_QUIT) CLOSE_REQUESTED_ = true;
    if (EVENT.type == SDL_WINDOWEVENT && EVENT.window.event == SDL_WINDOWEVENT_CLOSE)
      CLOSE_REQUESTED_ = true;
    if (EVENT.type == SDL_KEYDOWN && !EVENT.key.repeat &&
        EVENT.key.keysym.scancode == SDL_SCANCODE_F12)
      SCREENSHOT_REQUESTED_ = true;
    if (EVENT.type == SDL_MOUSEWHEEL) WHEEL_ += EVENT.wheel.y;
  }
}

void SDL_HOST::SAVE_SCREENSHOT(const uint32_t* PAGE, int32_t WIDTH, int32_t HEIGHT) {
  char NAME[64];
  const std::time_t NOW = std::time(nullptr);
  std::tm LOCAL{};
  localtime_r(&NOW, &LOCAL);
  std::strftime(NAME, sizeof NAME, "screenshot-%Y%m%d-%H%M%S.png", &LOCAL);
  if (SAVE_PNG(NAME, PAGE, WIDTH, HEIGHT, WIDTH * 4) == 0)
    std::fprintf(stderr, "mazewalk: saved %s\n", NAME);
  else
    std::fprintf(stderr, "mazewalk: cannot write %s\n", NAME);
}

void SDL_HOST::PRESENT(const uint32_t* PAGE, int32_t WIDTH, int32_t HEIGHT) {
  PUMP();
  if (SCREENSHOT_REQUESTED_) {
    SCREENSHOT_REQUESTED_ = false;
    SAVE_SCREENSHOT(PAGE, WIDTH, HEIGHT);
  }
  SDL_Surface* SURFACE = SDL_GetWindowSurface(WINDOW_);
  if (!SURFACE) return;
  SDL_Surface* SOURCE = SDL_CreateRGBSurfaceWithFormatFrom(
      const_cast<uint32_t*>(PAGE), WIDTH, HEIGHT, 32, WIDTH * 4, SDL_PIXELFORMAT_XRGB8888);
  if (!SOURCE) return;
  if (SCALE_ == 1)
    SDL_BlitSurface(SOURCE, nullptr, SURFACE, nullptr);
  else
    SDL_BlitScaled(SOURCE, nullptr, SURFACE, nullptr);
  SDL_FreeSurface(SOURCE);
  SDL_UpdateWindowSurface(WINDOW_);
}

int32_t SDL_HOST::WAIT_RETRACE() {
  // A window surface has no retrace signal: wait one refresh period.
  SDL_DisplayMode MODE;
  int32_t PERIOD_MS = 16;
  const int DISPLAY = WINDOW_ ? SDL_GetWindowDisplayIndex(WINDOW_) : 0;
  if (SDL_GetCurrentDisplayMode(DISPLAY < 0 ? 0 : DISPLAY, &MODE) == 0 && MODE.refresh_rate > 0)
    PERIOD_MS = 1000 / MODE.refresh_rate;
  SDL_Delay(Uint32(PERIOD_MS));
  return 0;
}

int32_t SDL_HOST::KEY_HELD(int32_t SCANCODE) {
  SDL_PumpEvents();
  if (SCANCODE == SC_ESCAPE && CLOSE_REQUESTED_) return -1;  // the close button is Escape
  const SDL_Scancode CODE = SDL_SCANCODE_OF(SCANCODE);
  if (CODE == SDL_SCANCODE_UNKNOWN) return 0;
  const Uint8* STATE = SDL_GetKeyboardState(nullptr);
  return STATE[CODE] ? -1 : 0;
}

void SDL_HOST::GET_MOUSE(int32_t& X, int32_t& Y, int32_t& WHEEL, int32_t& BUTTONS) {
  PUMP();
  int MX = 0, MY = 0;
  const Uint32 STATE = SDL_GetMouseState(&MX, &MY);
  if (SDL_GetMouseFocus() != WINDOW_) {
    X = Y = -1;
  } else {
    X = MX / SCALE_;
    Y = MY / SCALE_;
  }
  WHEEL = WHEEL_;
  BUTTONS = int32_t(STATE);
}

void SDL_HOST::SET_MOUSE(int32_t X, int32_t Y, int32_t VISIBLE, int32_t CONFINE) {
  if (!WINDOW_) return;
  if (X != MOUSE_UNCHANGED || Y != MOUSE_UNCHANGED) {
    int MX = 0, MY = 0;
    SDL_GetMouseState(&MX, &MY);
    const int32_t NX = X != MOUSE_UNCHANGED ? std::clamp(X, 0, WIDTH_ - 1) : MX / SCALE_;
    const int32_t NY = Y != MOUSE_UNCHANGED ? std::clamp(Y, 0, HEIGHT_ - 1) : MY / SCALE_;
    SDL_WarpMouseInWindow(WINDOW_, NX * SCALE_ + SCALE_ / 2, NY * SCALE_ + SCALE_ / 2);
  }
  if (VISIBLE == 1) SDL_ShowCursor(SDL_ENABLE);
  if (VISIBLE == 0) SDL_ShowCursor(SDL_DISABLE);
  if (CONFINE == 1) SDL_SetWindowGrab(WINDOW_, SDL_TRUE);
  if (CONFINE == 0) SDL_SetWindowGrab(WINDOW_, SDL_FALSE);
}

double SDL_HOST::TIMER() {
  return double(SDL_GetPerformanceCounter()) / double(SDL_GetPerformanceFrequency());
}

void SDL_HOST::SLEEP(int32_t MS) {
  SDL_Delay(Uint32(MS));
}

uint64_t SDL_HOST::SEED_FROM_TIMER() {
  return SEED_ ? SEED_ : SDL_GetPerformanceCounter();
}
