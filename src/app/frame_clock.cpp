#include "app/frame_clock.h"

#include "base/numbers.h"
#include "platform/clock.h"

void start_frame(FrameClock& clock) {
  clock.THIS_TIME = timer();
  clock.FRAME_TIME = clock.LAST_TIME - clock.THIS_TIME;
  clock.LAST_TIME = clock.THIS_TIME;
}

void count_frame(FrameClock& clock) {
  ++clock.FPS_COUNT;
  if (clock.THIS_TIME > clock.FPS_TIME) {
    clock.FPS_TIME = clock.THIS_TIME + 1.0;
    clock.FPS_STRING = "FPS: " + str(clock.FPS_COUNT);
    clock.FPS_COUNT = 0;
  }
}
