#include "app/controls.h"

#include <algorithm>
#include <cmath>

#include "platform/clock.h"
#include "platform/input.h"
#include "render/render_globals.h"

namespace {
// Flips a switch and pauses.
void toggle(int32_t& flag) {
  flag = ~flag;
  sleep_ms(TOGGLE_PAUSE_MS);
}

// Notches from a speed key: one as it goes down, then one every
// SPEED_REPEAT_SECONDS of frame time while it stays down. No sleep: the
// frames go on while the speed changes.
int32_t key_notches(bool down, double& held, double seconds) {
  if (!down) {
    held = -1.0;
    return 0;
  }
  if (held < 0.0) {
    held = 0.0;
    return 1;
  }
  held = std::min(held + seconds, 64 * SPEED_REPEAT_SECONDS);
  const int32_t n = int32_t(held / SPEED_REPEAT_SECONDS);
  held -= n * SPEED_REPEAT_SECONDS;
  return n;
}
}  // namespace

void read_keys(Controls& controls, Player& player, double frame_time) {
  if (key_held(SC_ESCAPE)) controls.EXIT_GAME = -1;
  if (key_held(SC_M)) {
    player.MOUSE_ON = ~player.MOUSE_ON;
    set_mouse(MOUSE_UNCHANGED, MOUSE_UNCHANGED, player.MOUSE_ON ? 0 : 1, -1);
    sleep_ms(TOGGLE_PAUSE_MS);
  }
  if (key_held(SC_1)) toggle(WIRE_FRAME);
  if (key_held(SC_2)) toggle(TEXTURED);
  controls.OAA = ANTI_ALIAS;
  controls.OIS = ISCALE;
  if (key_held(SC_3)) toggle(ISCALE);
  if (key_held(SC_4)) toggle(ANTI_ALIAS);
  if (key_held(SC_F)) {
    toggle(player.fly);
    player.GRAVY = 0.0f;  // a jump requested while flying does not carry over
    player.walk = NMATHF::VEC3F(0, 0, 0);
  }
  if (key_held(SC_C)) toggle(player.solid_walls);
  if (key_held(SC_R) || key_held(SC_HOME)) respawn(player);
  movement_keys(player, frame_time);
}

void read_fly_speed(Controls& controls, Player& player, int32_t wheel, double frame_time) {
  const double seconds = std::isfinite(frame_time) ? std::max(-frame_time, 0.0) : 0.0;
  const bool faster = key_held(SC_EQUALS) || key_held(SC_KP_PLUS);
  const bool slower = key_held(SC_MINUS) || key_held(SC_KP_MINUS);
  // The difference of two running counts, taken without overflow.
  const int64_t steps = int64_t(wheel) - int64_t(controls.used_wheel);
  controls.used_wheel = wheel;
  const int64_t notches = steps + key_notches(faster, controls.faster_held, seconds) -
                          key_notches(slower, controls.slower_held, seconds);
  change_fly_speed(player, int32_t(std::clamp<int64_t>(notches, -2 * MAX_FLY_SPEED_NOTCH,
                                                       2 * MAX_FLY_SPEED_NOTCH)));
}

bool quality_changed(const Controls& controls) {
  return ANTI_ALIAS != controls.OAA || ISCALE != controls.OIS;
}
