#include "platform/sdl_host.h"

#include <SDL.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <mutex>
#include <thread>

#include "captured_pointer.h"
#include "frame_pacer.h"
#include "key_latch.h"
#include "letterbox.h"
#include "base/fail.h"
#include "base/png.h"
#include "platform/input.h"
#include "platform/text.h"
#include "window_extras.h"

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
      SDL_SCANCODE_NUMLOCKCLEAR, SDL_SCANCODE_SCROLLLOCK,
      SDL_SCANCODE_HOME,  // 71: the Home key (keypad 7 shares the code)
      SDL_SCANCODE_KP_8,
      SDL_SCANCODE_KP_9, SDL_SCANCODE_KP_MINUS, SDL_SCANCODE_KP_4, SDL_SCANCODE_KP_5,
      SDL_SCANCODE_KP_6, SDL_SCANCODE_KP_PLUS, SDL_SCANCODE_KP_1, SDL_SCANCODE_KP_2,
      SDL_SCANCODE_KP_3, SDL_SCANCODE_KP_0, SDL_SCANCODE_KP_PERIOD};
  constexpr int32_t COUNT = int32_t(sizeof TABLE / sizeof TABLE[0]);
  if (pc == 87) return SDL_SCANCODE_F11;
  if (pc == 88) return SDL_SCANCODE_F12;
  return (pc > 0 && pc < COUNT) ? TABLE[pc] : SDL_SCANCODE_UNKNOWN;
}
}  // namespace

namespace {
constexpr double HINT_SECONDS = 5.0;
constexpr double NOTICE_SECONDS = 8.0;
constexpr const char* HEADLESS_WORDS = "--headless runs the program without a window";

// The display the environment names, in words for a failure note.
std::string display_words() {
  const char* x11 = std::getenv("DISPLAY");
  const char* wayland = std::getenv("WAYLAND_DISPLAY");
  std::string words;
  if (x11 && *x11) words += std::string("DISPLAY=") + x11;
  if (wayland && *wayland) words += (words.empty() ? "" : ", ") + std::string("WAYLAND_DISPLAY=") + wayland;
  return words.empty() ? "neither DISPLAY nor WAYLAND_DISPLAY is set" : words;
}

void note(const std::string& words) {
  set_failure_note(words.c_str());
}

// SDL_Init on a thread of its own, so that a display server that accepts the
// connection and then never answers costs TIMEOUT_S seconds, not the whole run.
// The thread that is still waiting is left behind: the caller stops the program.
enum class InitOutcome { STARTED, FAILED, TIMED_OUT };

InitOutcome init_video_within(double timeout_s, std::string& error) {
  struct Shared {
    std::mutex m;
    std::condition_variable cv;
    bool done = false;
    int result = -1;
    std::string error;
  };
  auto shared = std::make_shared<Shared>();
  std::thread([shared] {
    const int result = SDL_Init(SDL_INIT_VIDEO | SDL_INIT_TIMER);
    const std::string words = result != 0 ? SDL_GetError() : "";  // the error text is per thread
    std::lock_guard<std::mutex> lock(shared->m);
    shared->result = result;
    shared->error = words;
    shared->done = true;
    shared->cv.notify_all();
  }).detach();
  std::unique_lock<std::mutex> lock(shared->m);
  if (!shared->cv.wait_for(lock, std::chrono::duration<double>(timeout_s),
                           [&] { return shared->done; }))
    return InitOutcome::TIMED_OUT;
  error = shared->error;
  return shared->result == 0 ? InitOutcome::STARTED : InitOutcome::FAILED;
}
}  // namespace

struct SdlHost::State {
  SdlSettings settings;
  bool sdl_started = false;
  SDL_Window* window = nullptr;
  SDL_Renderer* renderer = nullptr;
  SDL_Texture* texture = nullptr;
  int32_t page_w = 0, page_h = 0;

  bool real_vsync = false;  // the renderer's present waits for the display itself
  FramePacer pacer;
  double last_present = 0.0;
  int32_t quick_presents = 0;  // in a row, under half a period apart

  bool close_requested = false;
  bool screenshot_requested = false;
  int32_t wheel = 0;
  bool fullscreen = false;

  // Focus lost: the pointer is free and the program holds still until a click.
  bool paused = false;
  // The cursor is hidden: the pointer is captured for mouse look.
  bool captured = false;
  bool relative = false;  // captured through SDL's relative mode (else by warping)
  CapturedPointer pointer;
  int32_t warp_x = -1, warp_y = -1;  // where warping last put the pointer (window points)

  bool help = false;
  std::vector<std::string> help_lines;
  std::string title;
  double hint_until = 0.0;  // 0 until the first frame is shown
  double notice_until = 0.0;  // likewise
  std::string notice;
  bool mouse_moved = false;

  KeyLatch<SDL_NUM_SCANCODES> latch;

  double now() const {
    return double(SDL_GetPerformanceCounter()) / double(SDL_GetPerformanceFrequency());
  }

  // Keys are latched as they are queued, whoever pumps the events.
  static int SDLCALL watch(void* self, SDL_Event* e) {
    State& s = *static_cast<State*>(self);
    if (e->type == SDL_KEYDOWN && !e->key.repeat) s.latch.press(size_t(e->key.keysym.scancode));
    if (e->type == SDL_WINDOWEVENT && e->window.event == SDL_WINDOWEVENT_FOCUS_LOST) s.latch.clear();
    return 0;
  }

  PictureRect window_rect() const {
    int w = 0, h = 0;
    SDL_GetWindowSize(window, &w, &h);
    return letterbox(w, h, page_w, page_h);
  }

  void update_period() {
    SDL_DisplayMode mode;
    const int display = SDL_GetWindowDisplayIndex(window);
    double rate = 60.0;
    if (SDL_GetCurrentDisplayMode(display < 0 ? 0 : display, &mode) == 0 && mode.refresh_rate > 0)
      rate = mode.refresh_rate;
    pacer.set_period(1.0 / rate);
  }

  void warp_to_centre() {
    const PictureRect r = window_rect();
    warp_x = r.x + r.w / 2;
    warp_y = r.y + r.h / 2;
    SDL_WarpMouseInWindow(window, warp_x, warp_y);
  }

  void capture() {
    if (paused) return;  // the click that resumes captures it again
    relative = SDL_SetRelativeMouseMode(SDL_TRUE) == 0;
    SDL_ShowCursor(SDL_DISABLE);
    if (!relative) {
      SDL_SetWindowGrab(window, SDL_TRUE);
      warp_to_centre();
    }
  }

  void release() {
    if (relative) SDL_SetRelativeMouseMode(SDL_FALSE);
    else SDL_SetWindowGrab(window, SDL_FALSE);
    relative = false;
    SDL_ShowCursor(SDL_ENABLE);
  }

  void pause() {
    if (paused) return;
    if (captured) release();
    paused = true;
  }

  void resume() {
    if (!paused) return;
    paused = false;
    // Travel made while away turns nothing: the reading starts again from where it was set.
    pointer.drop_motion();
    if (captured) capture();
  }

  void toggle_fullscreen() {
    fullscreen = !fullscreen;
    SDL_SetWindowFullscreen(window, fullscreen ? SDL_WINDOW_FULLSCREEN_DESKTOP : 0);
  }

  void handle(const SDL_Event& e) {
    switch (e.type) {
      case SDL_QUIT:
        close_requested = true;
        break;
      case SDL_WINDOWEVENT:
        switch (e.window.event) {
          case SDL_WINDOWEVENT_CLOSE: close_requested = true; break;
          case SDL_WINDOWEVENT_FOCUS_LOST:
          case SDL_WINDOWEVENT_MINIMIZED: pause(); break;
          case SDL_WINDOWEVENT_MOVED:
          case SDL_WINDOWEVENT_DISPLAY_CHANGED: update_period(); break;
          default: break;
        }
        break;
      case SDL_KEYDOWN: {
        if (e.key.repeat) break;
        const SDL_Scancode code = e.key.keysym.scancode;
        if (code == SDL_SCANCODE_F12) screenshot_requested = true;
        if (code == SDL_SCANCODE_F1) help = !help;
        if (code == SDL_SCANCODE_F11 ||
            ((code == SDL_SCANCODE_RETURN || code == SDL_SCANCODE_KP_ENTER) &&
             (e.key.keysym.mod & KMOD_ALT)))
          toggle_fullscreen();
        break;
      }
      case SDL_MOUSEMOTION:
        if (e.motion.xrel != 0 || e.motion.yrel != 0) mouse_moved = true;
        if (!captured || paused) break;
        // Warping shows up as a motion of its own: that is no travel of the user's.
        if (!relative && e.motion.x == warp_x && e.motion.y == warp_y) break;
        pointer.add_motion(e.motion.xrel, e.motion.yrel);
        break;
      case SDL_MOUSEBUTTONDOWN:
        if (paused) resume();
        break;
      case SDL_MOUSEWHEEL:
        wheel += e.wheel.y;
        break;
      default:
        break;
    }
  }

  void pump() {
    SDL_Event e;
    while (SDL_PollEvent(&e)) handle(e);
  }

  void save_screenshot(const uint32_t* page, int32_t width, int32_t height) {
    char name[64];
    const std::time_t t = std::time(nullptr);
    std::tm local{};
    localtime_r(&t, &local);
    std::strftime(name, sizeof name, "screenshot-%Y%m%d-%H%M%S.png", &local);
    const std::string path = settings.shot_dir.empty() ? name : settings.shot_dir + "/" + name;
    if (save_png(path.c_str(), page, width, height, width * 4) == 0)
      std::fprintf(stderr, "mazewalk: saved %s\n", path.c_str());
    else
      std::fprintf(stderr, "mazewalk: cannot write %s\n", path.c_str());
  }

  // The page into the texture, with what only the window shows drawn over the copy.
  void upload(const uint32_t* page, int32_t width, int32_t height) {
    if (width != page_w || height != page_h || !texture) return;
    void* pixels = nullptr;
    int pitch = 0;
    if (SDL_LockTexture(texture, nullptr, &pixels, &pitch) != 0) return;
    for (int32_t y = 0; y < height; ++y)
      std::memcpy(static_cast<uint8_t*>(pixels) + size_t(y) * size_t(pitch),
                  page + size_t(y) * size_t(width), size_t(width) * 4);
    WindowExtras extras;
    extras.hint = !mouse_moved && now() < hint_until;
    if (now() < notice_until) extras.notice = notice;
    extras.paused = paused;
    extras.help = help;
    extras.scale = text_scale();
    if (help) extras.help_lines = help_lines;
    draw_window_extras(PixelTarget{static_cast<uint32_t*>(pixels), width, height, pitch / 4}, extras);
    SDL_UnlockTexture(texture);
  }

  // The streaming texture the page is copied into, for a page of WIDTH x HEIGHT.
  bool make_texture(int32_t width, int32_t height) {
    if (texture) SDL_DestroyTexture(texture);
    texture = SDL_CreateTexture(renderer, SDL_PIXELFORMAT_XRGB8888, SDL_TEXTUREACCESS_STREAMING,
                                width, height);
    if (!texture) {
      note(std::string("the window's picture could not be made (") + SDL_GetError() + ")");
      page_w = page_h = 0;
      return false;
    }
    page_w = width;
    page_h = height;
    pointer.set(width / 2, height / 2);
    return true;
  }

  void show() {
    int w = 0, h = 0;
    if (SDL_GetRendererOutputSize(renderer, &w, &h) != 0) return;
    const PictureRect r = letterbox(w, h, page_w, page_h);
    const SDL_Rect target{r.x, r.y, r.w, r.h};
    SDL_SetRenderDrawColor(renderer, 0, 0, 0, 255);
    SDL_RenderClear(renderer);
    SDL_RenderCopy(renderer, texture, nullptr, &target);
    SDL_RenderPresent(renderer);
    check_vsync();
  }

  // A driver may accept a swap interval and still not wait (some virtual
  // machines, hidden windows): a run of presents far quicker than the display's
  // period hands the pacing to the deadline pacer.
  void check_vsync() {
    if (!real_vsync) return;
    const double t = now();
    quick_presents = t - last_present < pacer.period() * 0.5 ? quick_presents + 1 : 0;
    last_present = t;
    if (quick_presents >= 30) {
      real_vsync = false;
      SDL_RenderSetVSync(renderer, 0);
    }
  }
};

SdlHost::SdlHost(SdlSettings settings) : s_(std::make_unique<State>()) {
  s_->settings = std::move(settings);
  s_->settings.scale = std::clamp(s_->settings.scale, 1, 8);
  s_->title = s_->settings.title;
}

SdlHost::~SdlHost() {
  if (!s_->sdl_started) return;
  SDL_DelEventWatch(&State::watch, s_.get());
  if (s_->relative) SDL_SetRelativeMouseMode(SDL_FALSE);
  if (s_->texture) SDL_DestroyTexture(s_->texture);
  if (s_->renderer) SDL_DestroyRenderer(s_->renderer);
  if (s_->window) SDL_DestroyWindow(s_->window);
  SDL_Quit();
}

int32_t SdlHost::open(int32_t width, int32_t height) {
  State& s = *s_;
  // A window only on a real display: SDL's offscreen and dummy drivers show
  // nothing, so only the display systems the environment names are tried.
  // SDL_VIDEODRIVER in the environment still overrides this list.
  const char* x11 = std::getenv("DISPLAY");
  const char* wayland = std::getenv("WAYLAND_DISPLAY");
  const char* chosen = std::getenv("SDL_VIDEODRIVER");
  std::string drivers;
  if (x11 && *x11) drivers = "x11";
  if (wayland && *wayland) drivers += drivers.empty() ? "wayland" : ",wayland";
  if (drivers.empty() && !(chosen && *chosen)) {
    note("no display found (" + display_words() + "); " + HEADLESS_WORDS);
    return ERR_ILLEGAL_CALL;
  }
  SDL_SetHint(SDL_HINT_VIDEODRIVER, drivers.c_str());
  SDL_SetHint(SDL_HINT_MOUSE_FOCUS_CLICKTHROUGH, "1");
  SDL_SetHint(SDL_HINT_VIDEO_MINIMIZE_ON_FOCUS_LOSS, "0");
  std::string error;
  switch (init_video_within(s.settings.open_timeout_s, error)) {
    case InitOutcome::TIMED_OUT: {
      char seconds[32];
      std::snprintf(seconds, sizeof seconds, "%g", s.settings.open_timeout_s);
      note("no display found: the display (" + display_words() + ") did not answer within " +
           seconds + " s; " + HEADLESS_WORDS);
      return ERR_ILLEGAL_CALL;
    }
    case InitOutcome::FAILED:
      note("no display found (" + display_words() + "; " + error + "); " + HEADLESS_WORDS);
      return ERR_ILLEGAL_CALL;
    case InitOutcome::STARTED:
      break;
  }
  s.sdl_started = true;
  const char* driver = SDL_GetCurrentVideoDriver();
  if (!driver || std::strcmp(driver, "offscreen") == 0 || std::strcmp(driver, "dummy") == 0) {
    note(std::string("no display found: only SDL's \"") + (driver ? driver : "?") +
         "\" video driver answered, which shows nothing; " + HEADLESS_WORDS);
    return ERR_ILLEGAL_CALL;
  }
  SDL_AddEventWatch(&State::watch, &s);

  // Hidden until it can draw: making the renderer may replace the window
  // underneath. On a high-density display the drawable has more pixels than
  // the window has points; the page may follow those.
  const Uint32 flags = SDL_WINDOW_RESIZABLE | SDL_WINDOW_HIDDEN | SDL_WINDOW_ALLOW_HIGHDPI |
                       (s.settings.fullscreen ? SDL_WINDOW_FULLSCREEN_DESKTOP : 0);
  s.fullscreen = s.settings.fullscreen;
  // A page larger than the display starts in a window that fits it, with its shape.
  int32_t window_w = width * s.settings.scale, window_h = height * s.settings.scale;
  SDL_Rect usable{};
  if (SDL_GetDisplayUsableBounds(0, &usable) == 0 && usable.w > 0 && usable.h > 0 &&
      (window_w > usable.w || window_h > usable.h)) {
    const PictureRect fit = letterbox(usable.w, usable.h, window_w, window_h);
    window_w = std::max(fit.w, 1);
    window_h = std::max(fit.h, 1);
  }
  s.window = SDL_CreateWindow(s.title.c_str(), SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED,
                              window_w, window_h, flags);
  if (!s.window) {
    note(std::string("the window could not be opened on ") + driver + " (" + SDL_GetError() + ")");
    return ERR_ILLEGAL_CALL;
  }
  SDL_SetWindowMinimumSize(s.window, std::min(width, 160), std::min(height, 120));
  s.renderer = SDL_CreateRenderer(s.window, -1, SDL_RENDERER_PRESENTVSYNC);
  if (!s.renderer) s.renderer = SDL_CreateRenderer(s.window, -1, SDL_RENDERER_SOFTWARE);
  if (!s.renderer) {
    note(std::string("the window has nothing to draw with (") + SDL_GetError() + ")");
    return ERR_ILLEGAL_CALL;
  }
  // SDL claims vsync even where it only imitates it with a coarse delay; only a
  // swap interval the driver accepted is the display's own wait. Otherwise the
  // deadline pacer of wait_retrace() paces the frames.
  SDL_RendererInfo info{};
  SDL_GetRendererInfo(s.renderer, &info);
  const std::string name = info.name ? info.name : "";
  const bool gl = name == "opengl" || name.rfind("opengles", 0) == 0;
  s.real_vsync = (info.flags & SDL_RENDERER_PRESENTVSYNC) && gl && SDL_GL_GetSwapInterval() != 0;
  if (!s.real_vsync) SDL_RenderSetVSync(s.renderer, 0);

  SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "0");  // nearest neighbour, set before the texture
  if (!s.make_texture(width, height)) return ERR_ILLEGAL_CALL;
  SDL_ShowWindow(s.window);
  s.update_period();
  return 0;
}

void SdlHost::present(const uint32_t* page, int32_t width, int32_t height) {
  State& s = *s_;
  if (!s.window) return;
  s.pump();
  if (s.screenshot_requested) {
    s.screenshot_requested = false;
    s.save_screenshot(page, width, height);
  }
  if (s.hint_until == 0.0) s.hint_until = s.now() + HINT_SECONDS;
  if (s.notice_until == 0.0) s.notice_until = s.now() + NOTICE_SECONDS;
  s.upload(page, width, height);
  s.show();
}

void SdlHost::refresh(const uint32_t* page, int32_t width, int32_t height) {
  if (!s_->window) return;
  s_->pump();
  s_->upload(page, width, height);
  s_->show();
}

int32_t SdlHost::wait_retrace() {
  State& s = *s_;
  if (s.real_vsync || !s.window) return 0;  // the present itself waits for the display
  const double now = s.now();
  const double until = s.pacer.next_wait(now);
  if (until > now) std::this_thread::sleep_for(std::chrono::duration<double>(until - now));
  return 0;
}

int32_t SdlHost::key_held(int32_t scancode) {
  State& s = *s_;
  SDL_PumpEvents();
  if (scancode == SC_ESCAPE && s.close_requested) return -1;  // the close button is Escape
  const SDL_Scancode code = sdl_scancode_of(scancode);
  if (code == SDL_SCANCODE_UNKNOWN) return 0;
  const bool down = SDL_GetKeyboardState(nullptr)[code] != 0;
  return s.latch.read(size_t(code), down) ? -1 : 0;
}

void SdlHost::get_mouse(int32_t& x, int32_t& y, int32_t& wheel, int32_t& buttons) {
  State& s = *s_;
  x = y = -1;
  wheel = s.wheel;
  buttons = 0;
  if (!s.window) return;
  s.pump();
  int mx = 0, my = 0;
  buttons = int32_t(SDL_GetMouseState(&mx, &my));
  if (s.captured) {
    x = s.pointer.x();
    y = s.pointer.y();
    return;
  }
  if (SDL_GetMouseFocus() != s.window) return;
  int32_t px, py;
  if (window_to_page(s.window_rect(), s.page_w, s.page_h, mx, my, px, py)) {
    x = px;
    y = py;
  }
}

void SdlHost::set_mouse(int32_t x, int32_t y, int32_t visible, int32_t confine) {
  State& s = *s_;
  if (!s.window) return;
  if (visible == 0 && !s.captured) {
    // Mouse look starts from the centre, wherever the visible pointer was.
    s.captured = true;
    s.pointer.set(s.page_w / 2, s.page_h / 2);
    s.capture();
  } else if (visible == 1 && s.captured) {
    s.captured = false;
    if (!s.paused) s.release();
  }
  if (x != MOUSE_UNCHANGED || y != MOUSE_UNCHANGED) {
    if (s.captured) {
      s.pointer.move_within(x, y, s.page_w, s.page_h);
      if (!s.relative && !s.paused) s.warp_to_centre();
    } else {
      const int32_t right = s.page_w - 1, bottom = s.page_h - 1;
      int mx = 0, my = 0;
      SDL_GetMouseState(&mx, &my);
      const PictureRect r = s.window_rect();
      int32_t px = s.page_w / 2, py = s.page_h / 2;
      window_to_page(r, s.page_w, s.page_h, mx, my, px, py);
      if (x != MOUSE_UNCHANGED) px = std::clamp(x, 0, right);
      if (y != MOUSE_UNCHANGED) py = std::clamp(y, 0, bottom);
      int32_t wx, wy;
      page_to_window(r, s.page_w, s.page_h, px, py, wx, wy);
      SDL_WarpMouseInWindow(s.window, wx, wy);
    }
  }
  if (confine == 1) SDL_SetWindowGrab(s.window, SDL_TRUE);
  if (confine == 0) SDL_SetWindowGrab(s.window, SDL_FALSE);
}

double SdlHost::timer() {
  return s_->now();
}

void SdlHost::sleep(int32_t ms) {
  SDL_Delay(Uint32(ms));
}

uint64_t SdlHost::seed_from_timer() {
  return s_->settings.seed ? *s_->settings.seed : SDL_GetPerformanceCounter();
}

bool SdlHost::paused() {
  if (s_->window) s_->pump();
  return s_->paused;
}

void SdlHost::set_window_text(const std::string& status, const std::vector<std::string>& help_lines) {
  State& s = *s_;
  s.help_lines = help_lines;
  const std::string title = status.empty() ? s.settings.title : s.settings.title + " - " + status;
  if (title != s.title) {
    s.title = title;
    if (s.window) SDL_SetWindowTitle(s.window, title.c_str());
  }
}

bool SdlHost::window_pixels(int32_t& width, int32_t& height) {
  State& s = *s_;
  if (!s.renderer) return false;
  s.pump();  // resizes and full-screen changes reach the renderer through the events
  int w = 0, h = 0;
  if (SDL_GetRendererOutputSize(s.renderer, &w, &h) != 0 || w <= 0 || h <= 0) return false;
  width = w;
  height = h;
  return true;
}

int32_t SdlHost::resize_page(int32_t width, int32_t height) {
  State& s = *s_;
  if (!s.renderer) return ERR_ILLEGAL_CALL;
  // The captured pointer starts again from the new page's centre.
  return s.make_texture(width, height) ? 0 : ERR_ILLEGAL_CALL;
}

void SdlHost::set_window_notice(const std::string& notice) {
  s_->notice = notice;
}
