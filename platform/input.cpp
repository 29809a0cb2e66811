// Keys and the mouse, answered by the host in use.
#include "platform/host.h"
#include "platform/input.h"

int32_t key_held(int32_t scancode) {
  return host_get()->key_held(scancode) ? -1 : 0;
}

void get_mouse(int32_t& x, int32_t& y, int32_t& wheel, int32_t& buttons) {
  host_get()->get_mouse(x, y, wheel, buttons);
}

void set_mouse(int32_t x, int32_t y, int32_t visible, int32_t confine) {
  host_get()->set_mouse(x, y, visible, confine);
}

bool input_paused() {
  return host_get()->paused();
}
