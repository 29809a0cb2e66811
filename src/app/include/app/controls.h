// The keys of a frame: Escape, mouse look, the four render switches, fly mode,
// solid walls, respawn, movement.
#pragma once
#include <cstdint>

#include "app/player.h"

struct Controls {
  int32_t EXIT_GAME = 0;   // -1 once Escape was seen
  int32_t OAA = 0, OIS = 0;  // ANTI_ALIAS and ISCALE before this frame's keys
  int32_t used_wheel = 0;    // the part of the host's wheel count already turned into speed
  // Seconds a fly speed key has been held since its last notch; below 0 while up.
  double faster_held = -1.0, slower_held = -1.0;
};

constexpr int32_t TOGGLE_PAUSE_MS = 250;  // the only debouncing a held key gets
constexpr double SPEED_REPEAT_SECONDS = 0.25;  // a held + or - steps again this often

// Reads the keys in their fixed order: Escape, M, 1, 2, 3, 4, F, C, R or Home,
// then movement.
void read_keys(Controls& controls, Player& player, double frame_time);
// The fly speed: a notch per wheel step since the last call (WHEEL is the
// host's running count) and per press of + or -, repeated while held.
void read_fly_speed(Controls& controls, Player& player, int32_t wheel, double frame_time);
// True when this frame's keys changed a quality switch (the buffers are remade).
bool quality_changed(const Controls& controls);
