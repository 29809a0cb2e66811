// The frame clock: each frame's time step and the frame-rate line.
#pragma once
#include <cstdint>
#include <string>

struct FrameClock {
  double THIS_TIME = 0.0, LAST_TIME = 0.0;
  double FRAME_TIME = 0.0;  // the previous reading minus this one: zero or negative
  double FPS_TIME = 0.0;    // when the frame-rate line is next renewed
  int32_t FPS_COUNT = 0;
  std::string FPS_STRING;
};

// Reads the timer: THIS_TIME, FRAME_TIME and LAST_TIME for the new frame.
void start_frame(FrameClock& clock);
// Counts the frame and renews FPS_STRING once a second.
void count_frame(FrameClock& clock);
