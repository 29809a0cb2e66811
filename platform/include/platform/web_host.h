// The browser page (a WebAssembly build): the page drawn on the <canvas> of
// web/index.html, keys by physical key, mouse look through pointer lock, time
// from the page's clock. The frame loop keeps its shape: every retrace wait and
// sleep hands the browser its turn and the loop goes on where it stopped.
#pragma once
#include <memory>
#include <optional>

#include "platform/headless_host.h"

struct WebSettings {
  std::optional<uint64_t> seed;  // replaces the clock as the random seed when given (0 too)
  // A replay (the demo tour in the page): the clock advances REPLAY.dt_ms a
  // frame, sleeps cost no time, the script's keys join the user's and its
  // mouse, when it has one, replaces the user's; the page never pauses. The
  // frames are those of the headless host with the same settings.
  bool replay = false;
  HeadlessSettings script;
};

class WebHost : public Host {
 public:
  explicit WebHost(WebSettings settings);
  ~WebHost() override;
  int32_t open(int32_t width, int32_t height) override;
  void present(const uint32_t* page, int32_t width, int32_t height) override;
  int32_t wait_retrace() override;
  int32_t key_held(int32_t scancode) override;
  void get_mouse(int32_t& x, int32_t& y, int32_t& wheel, int32_t& buttons) override;
  void set_mouse(int32_t x, int32_t y, int32_t visible, int32_t confine) override;
  double timer() override;
  void sleep(int32_t ms) override;
  uint64_t seed_from_timer() override;
  void text_line(const char* text) override;
  bool paused() override;
  void set_window_text(const std::string& status, const std::vector<std::string>& help_lines) override;
  void set_window_notice(const std::string& notice) override;
  void refresh(const uint32_t* page, int32_t width, int32_t height) override;
  bool window_pixels(int32_t& width, int32_t& height) override;
  int32_t resize_page(int32_t width, int32_t height) override;

  struct State;  // the browser's side, kept out of this header

 private:
  std::unique_ptr<State> s_;
};

// Ends the program with STATUS and lets the page know (it shows the end, or
// the failure with its number). A program in a page that only returns from
// main after it has yielded to the browser would end unseen.
[[noreturn]] void end_in_page(int32_t status);
