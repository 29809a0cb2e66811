// The headless host: an in-memory page, a virtual clock that advances a fixed
// step per frame, input from a script, PNG shots of chosen frames. Sleeps and
// retrace waits cost no real time. A frame ends at each unlock of the screen.
#pragma once
#include <string>
#include <vector>

#include "platform/host.h"

enum class INPUT_KIND { MOUSE, DOWN, UP };
struct INPUT_EVENT {
  int32_t FRAME;  // counted from 1
  INPUT_KIND KIND;
  int32_t A, B;   // x and y for MOUSE, the scan code for DOWN and UP
};

// Reads an input script: one event a line, '#' starts a comment:
//   <frame> mouse <x> <y> | <frame> down <key> | <frame> up <key>
// Keys: ESC 1 2 3 4 W A S D M SPACE, or a scan code number. False and a message
// naming the line when the text is not a script.
bool PARSE_INPUT_SCRIPT(const std::string& TEXT, std::vector<INPUT_EVENT>& EVENTS,
                        std::string& ERROR);

struct SHOT_REQUEST {
  int32_t FRAME;
  std::string FILENAME;
};

struct HEADLESS_SETTINGS {
  uint64_t SEED = 1;
  double DT_MS = 16.667;
  int32_t ESCAPE_FRAME = 0;  // 0: never
  std::vector<INPUT_EVENT> EVENTS;
  std::vector<SHOT_REQUEST> SHOTS;
  bool ECHO_TEXT = true;     // print the last frame's text lines at FINISH
};

class HEADLESS_HOST : public HOST {
 public:
  explicit HEADLESS_HOST(HEADLESS_SETTINGS SETTINGS);
  int32_t OPEN(int32_t WIDTH, int32_t HEIGHT) override;
  void PRESENT(const uint32_t* PAGE, int32_t WIDTH, int32_t HEIGHT) override;
  int32_t WAIT_RETRACE() override { return 0; }
  int32_t KEY_HELD(int32_t SCANCODE) override;
  void GET_MOUSE(int32_t& X, int32_t& Y, int32_t& WHEEL, int32_t& BUTTONS) override;
  void SET_MOUSE(int32_t X, int32_t Y, int32_t VISIBLE, int32_t CONFINE) override;
  double TIMER() override;
  void SLEEP(int32_t MS) override;
  uint64_t SEED_FROM_TIMER() override { return SETTINGS_.SEED; }
  void TEXT_LINE(const char* TEXT) override;

  // Writes the last frame's text lines and those printed after it to stdout.
  void FINISH();

  int32_t FRAME() const { return FRAMES_DONE_ + 1; }  // the frame now running
  int32_t FRAMES_DONE() const { return FRAMES_DONE_; }
  double SLEPT_MS() const { return SLEPT_MS_; }
  bool CURSOR_VISIBLE() const { return CURSOR_VISIBLE_; }
  // Failed shots (file could not be written): their number.
  int32_t SHOT_FAILURES() const { return SHOT_FAILURES_; }

 private:
  void APPLY_EVENTS();

  HEADLESS_SETTINGS SETTINGS_;
  int32_t WIDTH_ = 0, HEIGHT_ = 0;
  int32_t FRAMES_DONE_ = 0;
  size_t NEXT_EVENT_ = 0;
  int32_t APPLIED_FRAME_ = 0;
  bool HELD_[256] = {};
  int32_t MOUSE_X_ = 0, MOUSE_Y_ = 0;
  bool CURSOR_VISIBLE_ = true;
  double SLEPT_MS_ = 0;
  int32_t SHOT_FAILURES_ = 0;
  std::vector<std::string> LAST_FRAME_TEXT_, TEXT_SINCE_;
};
