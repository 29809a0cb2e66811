// Keys and the mouse, answered by the host in use.
#include "platform/current_platform.h"
#include "platform/input.h"

int32_t key_held(int32_t scancode) {
  return current_platform().host().key_held(scancode) ? -1 : 0;
}

void get_mouse(int32_t& x, int32_t& y, int32_t& wheel, int32_t& buttons) {
  current_platform().host().get_mouse(x, y, wheel, buttons);
}

void set_mouse(int32_t x, int32_t y, int32_t visible, int32_t confine) {
  current_platform().host().set_mouse(x, y, visible, confine);
}

bool input_paused() {
  return current_platform().host().paused();
}
