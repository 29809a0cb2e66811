#include "platform/web_host.h"

#include <emscripten.h>

#include <algorithm>
#include <cstring>

#include "captured_pointer.h"
#include "platform/frame_text.h"
#include "key_latch.h"
#include "base/fail.h"
#include "platform/input.h"
#include "web_page.h"
#include "window_extras.h"

// The page's side, in web_host.js.
extern "C" {
int mw_page_open(int width, int height, int replay);
void mw_page_resize(int width, int height);
void mw_page_canvas_size(double* css_w, double* css_h, double* ratio);
void mw_page_add_key(const char* code, int scancode);
int mw_page_next_key();
void mw_page_take_motion(int* x, int* y);
void mw_page_pointer(int* x, int* y, int* wheel, int* buttons);
void mw_page_want_lock(int want);
int mw_page_locked();
int mw_page_paused();
int mw_page_present(const uint32_t* pixels, int width, int height, int frame);
int mw_page_held(int frame);
void mw_page_text(const char* text);
void mw_page_title(const char* title);
void mw_page_close();
int mw_page_seed();
}

// The browser's turn: the loop goes on at the next animation frame (the
// display's refresh), or, in a fast replay, as soon as the browser has run
// what is waiting.
EM_ASYNC_JS(void, mw_page_wait_frame, (), {
  await new Promise(function(resume) {
    var web = Module.web;
    if (web && web.fast) {
      var channel = new MessageChannel();
      channel.port1.onmessage = function() { resume(); };
      channel.port2.postMessage(0);
    } else {
      requestAnimationFrame(function() { resume(); });
    }
  });
});

namespace {
constexpr const char* CLICK_HINT = "Click the picture to look around, F1 for help";
constexpr double NOTICE_SECONDS = 8.0;
constexpr int32_t SC_F1 = 59;
}  // namespace

struct WebHost::State {
  WebSettings settings;
  HeadlessHost script;       // a replay's clock and input
  bool script_mouse = false; // the replay's script moves the mouse
  bool opened = false;
  int32_t page_w = 0, page_h = 0;
  int32_t frames = 0;

  bool held[256] = {};
  KeyLatch<256> latch;
  bool captured = false;  // the program looks around with the pointer
  CapturedPointer pointer;
  bool was_paused = false;

  bool help = false;
  std::vector<std::string> help_lines;
  std::string notice;
  double notice_until = 0.0;  // 0 until the first frame is shown
  FrameText text;
  std::vector<uint32_t> copy, canvas;

  explicit State(WebSettings s) : settings(without_shots(std::move(s))), script(settings.script) {
    for (const InputEvent& e : settings.script.events)
      if (e.kind == InputKind::MOUSE) script_mouse = true;
  }

  // A page writes no files: shots asked for on its command line are not taken.
  static WebSettings without_shots(WebSettings s) {
    s.script.shots.clear();
    return s;
  }

  bool replay() const { return settings.replay; }
  bool live_mouse() const { return !(replay() && script_mouse); }

  // Takes what the page has queued: keys, the pointer's travel, pause and resume.
  void pump() {
    if (!opened) return;
    for (int k; (k = mw_page_next_key()) != -1;) {
      if (k == -2) {
        std::fill(std::begin(held), std::end(held), false);
        latch.clear();
        continue;
      }
      const int32_t code = (k >> 1) & 255;
      const bool down = k & 1;
      held[code] = down;
      if (down) latch.press(size_t(code));
      if (down && code == SC_F1) help = !help;
    }
    const bool paused = is_paused();
    int dx = 0, dy = 0;
    mw_page_take_motion(&dx, &dy);
    if (captured && !paused) pointer.add_motion(dx, dy);
    // Travel made while away turns nothing: the reading starts again from where it was set.
    if (was_paused && !paused) pointer.drop_motion();
    was_paused = paused;
  }

  bool is_paused() const { return opened && !replay() && mw_page_paused(); }

  // Shows PAGE on the canvas with what only the page shows drawn over a copy.
  // True when the page holds this frame.
  bool show(const uint32_t* page, int32_t width, int32_t height, int32_t frame) {
    if (!opened || width != page_w || height != page_h) return false;
    const size_t count = size_t(width) * size_t(height);
    WindowExtras extras;
    extras.help = help;
    if (help) extras.help_lines = help_lines;
    extras.paused = is_paused();
    extras.hint = !replay() && captured && !extras.paused && !mw_page_locked();
    extras.hint_text = CLICK_HINT;
    // A replay draws the page alone, frame for frame as the headless program does.
    if (!replay()) {
      const double now = emscripten_get_now() / 1000.0;
      if (notice_until == 0.0) notice_until = now + NOTICE_SECONDS;
      if (now < notice_until) extras.notice = notice;
    }
    const uint32_t* source = page;
    if (extras.help || extras.paused || extras.hint || !extras.notice.empty()) {
      copy.assign(page, page + count);
      draw_window_extras(PixelTarget{copy.data(), width, height, width}, extras);
      source = copy.data();
    }
    canvas.resize(count);
    page_to_canvas(source, canvas.data(), count);
    return mw_page_present(canvas.data(), width, height, frame) != 0;
  }

  void show_text(const std::vector<std::string>& lines) {
    std::string joined;
    for (const std::string& l : lines) joined += l + "\n";
    mw_page_text(joined.c_str());
  }
};

WebHost::WebHost(WebSettings settings) : s_(std::make_unique<State>(std::move(settings))) {}

WebHost::~WebHost() {
  if (s_->opened) mw_page_close();
}

int32_t WebHost::open(int32_t width, int32_t height) {
  State& s = *s_;
  if (!mw_page_open(width, height, s.replay() ? 1 : 0)) {
    set_failure_note("the page has no canvas to draw on (an element <canvas id=\"canvas\"> with a 2D context)");
    return ERR_ILLEGAL_CALL;
  }
  for (size_t i = 0; i < WEB_KEY_COUNT; ++i) mw_page_add_key(WEB_KEYS[i].code, WEB_KEYS[i].scancode);
  s.script.open(width, height);
  s.opened = true;
  s.page_w = width;
  s.page_h = height;
  s.pointer.set(width / 2, height / 2);
  return 0;
}

// The canvas as laid out on the page, in device pixels: what --size window draws at.
bool WebHost::window_pixels(int32_t& width, int32_t& height) {
  if (!s_->opened) return false;
  double css_w = 0.0, css_h = 0.0, ratio = 0.0;
  mw_page_canvas_size(&css_w, &css_h, &ratio);
  return canvas_device_pixels(css_w, css_h, ratio, width, height);
}

int32_t WebHost::resize_page(int32_t width, int32_t height) {
  State& s = *s_;
  if (!s.opened) return ERR_ILLEGAL_CALL;
  mw_page_resize(width, height);
  if (s.replay()) s.script.resize_page(width, height);
  s.page_w = width;
  s.page_h = height;
  // The captured pointer starts again from the new page's centre.
  s.pointer.set(width / 2, height / 2);
  return 0;
}

void WebHost::present(const uint32_t* page, int32_t width, int32_t height) {
  State& s = *s_;
  if (s.replay()) s.script.present(page, width, height);
  s.pump();
  s.text.end_frame();
  const int32_t frame = ++s.frames;
  const bool hold = s.show(page, width, height, frame);
  s.show_text(s.text.last());
  // A held frame stays on the canvas, and the loop with it, until the page lets go.
  if (hold)
    while (mw_page_held(frame)) mw_page_wait_frame();
}

void WebHost::refresh(const uint32_t* page, int32_t width, int32_t height) {
  State& s = *s_;
  s.pump();
  s.show(page, width, height, 0);
  s.show_text(s.text.last_and_since());
}

int32_t WebHost::wait_retrace() {
  if (s_->opened) mw_page_wait_frame();
  return 0;
}

int32_t WebHost::key_held(int32_t scancode) {
  State& s = *s_;
  s.pump();
  // The script's keys and the user's both count; the script is asked in every
  // frame, as the headless host is, so that it keeps its own count.
  const bool scripted = s.replay() && s.script.key_held(scancode);
  if (scancode <= 0 || scancode >= 256) return scripted ? -1 : 0;
  const bool live = s.latch.read(size_t(scancode), s.held[scancode]);
  return (scripted || live) ? -1 : 0;
}

void WebHost::get_mouse(int32_t& x, int32_t& y, int32_t& wheel, int32_t& buttons) {
  State& s = *s_;
  if (!s.live_mouse()) {
    s.script.get_mouse(x, y, wheel, buttons);
    return;
  }
  x = y = -1;
  wheel = buttons = 0;
  if (!s.opened) return;
  s.pump();
  mw_page_pointer(&x, &y, &wheel, &buttons);
  if (s.captured) {
    x = s.pointer.x();
    y = s.pointer.y();
  }
}

void WebHost::set_mouse(int32_t x, int32_t y, int32_t visible, int32_t confine) {
  State& s = *s_;
  if (!s.live_mouse()) {
    s.script.set_mouse(x, y, visible, confine);
    return;
  }
  // A page cannot move the user's pointer, nor keep it in without pointer lock:
  // only the captured reading moves, and CONFINE is left to the lock.
  if (visible == 0 && !s.captured) {
    s.captured = true;
    s.pointer.set(s.page_w / 2, s.page_h / 2);
    if (s.opened) mw_page_want_lock(1);
  } else if (visible == 1 && s.captured) {
    s.captured = false;
    if (s.opened) mw_page_want_lock(0);
  }
  if (s.captured && (x != MOUSE_UNCHANGED || y != MOUSE_UNCHANGED))
    s.pointer.move_within(x, y, s.page_w, s.page_h);
}

double WebHost::timer() {
  return s_->replay() ? s_->script.timer() : emscripten_get_now() / 1000.0;
}

void WebHost::sleep(int32_t ms) {
  // The page goes on meanwhile: the loop yields for the time asked.
  if (s_->replay()) s_->script.sleep(ms);
  else if (ms > 0) emscripten_sleep(unsigned(ms));
}

uint64_t WebHost::seed_from_timer() {
  const State& s = *s_;
  if (s.settings.seed) return *s.settings.seed;
  if (s.replay()) return s.settings.script.seed;
  return uint64_t(uint32_t(mw_page_seed())) * 0x9E3779B97F4A7C15ull + 1;
}

void WebHost::text_line(const char* text) {
  s_->text.add(text);
}

bool WebHost::paused() {
  s_->pump();
  return s_->is_paused();
}

void WebHost::set_window_notice(const std::string& notice) {
  s_->notice = notice;
}

void WebHost::set_window_text(const std::string& status, const std::vector<std::string>& help_lines) {
  s_->help_lines = page_help(help_lines);
  const std::string title = status.empty() ? "mazewalk" : "mazewalk - " + status;
  mw_page_title(title.c_str());
}

void end_in_page(int32_t status) {
  emscripten_force_exit(status);
  __builtin_unreachable();
}
