// The headless host: an in-memory page, a virtual clock that advances a fixed
// step per frame, input from a script, PNG shots of chosen frames. Sleeps and
// retrace waits cost no real time. A frame ends at each unlock of the screen.
#pragma once
#include <string>
#include <vector>

#include "platform/frame_text.h"
#include "platform/host.h"

enum class InputKind { MOUSE, DOWN, UP };
struct InputEvent {
  int32_t frame;  // counted from 1
  InputKind kind;
  int32_t a, b;   // x and y for MOUSE, the scan code for DOWN and UP
};

// Reads an input script: one event a line, '#' starts a comment:
//   <frame> mouse <x> <y> | <frame> down <key> | <frame> up <key>
// Keys: ESC 1 2 3 4 W A S D M SPACE, or a scan code number. False and a message
// naming the line when the text is not a script.
bool parse_input_script(const std::string& text, std::vector<InputEvent>& events,
                        std::string& error);

struct ShotRequest {
  int32_t frame;
  std::string filename;
};

struct HeadlessSettings {
  uint64_t seed = 1;
  double dt_ms = 16.667;
  int32_t escape_frame = 0;  // 0: never
  std::vector<InputEvent> events;
  std::vector<ShotRequest> shots;
  bool echo_text = true;     // print the last frame's text lines at FINISH

  // The frame in which Escape is first pressed (by escape_frame or by the
  // script), or 0 when nothing ever presses it and the run would not end.
  int32_t last_frame() const;
};

// A script's mouse positions are read as travel from this point, the centre
// of a 640 x 480 page: on a page of another size the same script turns the
// same way.
constexpr int32_t SCRIPT_CENTRE_X = 320, SCRIPT_CENTRE_Y = 240;

class HeadlessHost : public Host {
 public:
  explicit HeadlessHost(HeadlessSettings settings);
  int32_t open(int32_t width, int32_t height) override;
  int32_t resize_page(int32_t width, int32_t height) override { return open(width, height); }
  void present(const uint32_t* page, int32_t width, int32_t height) override;
  int32_t wait_retrace() override { return 0; }
  int32_t key_held(int32_t scancode) override;
  void get_mouse(int32_t& x, int32_t& y, int32_t& wheel, int32_t& buttons) override;
  void set_mouse(int32_t x, int32_t y, int32_t visible, int32_t confine) override;
  double timer() override;
  void sleep(int32_t ms) override;
  uint64_t seed_from_timer() override { return settings_.seed; }
  void text_line(const char* text) override;

  // Writes the last frame's text lines and those printed after it to stdout.
  void finish();

  int32_t frame() const { return frames_done_ + 1; }  // the frame now running
  int32_t frames_done() const { return frames_done_; }
  double slept_ms() const { return slept_ms_; }
  bool cursor_visible() const { return cursor_visible_; }
  // Failed shots (file could not be written): their number.
  int32_t shot_failures() const { return shot_failures_; }

 private:
  void apply_events();

  HeadlessSettings settings_;
  int32_t width_ = 0, height_ = 0;
  int32_t frames_done_ = 0;
  size_t next_event_ = 0;
  int32_t applied_frame_ = 0;
  bool held_[256] = {};
  int32_t mouse_x_ = 0, mouse_y_ = 0;
  bool cursor_visible_ = true;
  double slept_ms_ = 0;
  int32_t shot_failures_ = 0;
  FrameText text_;
};
