#include "app/controls.h"

#include "platform/clock.h"
#include "platform/input.h"
#include "render/render_globals.h"

namespace {
// Flips a switch and pauses.
void toggle(int32_t& flag) {
  flag = ~flag;
  sleep_ms(TOGGLE_PAUSE_MS);
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

bool quality_changed(const Controls& controls) {
  return ANTI_ALIAS != controls.OAA || ISCALE != controls.OIS;
}
