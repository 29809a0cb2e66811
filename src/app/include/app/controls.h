// The keys of a frame: Escape, mouse look, the four render switches, fly mode,
// solid walls, respawn, movement.
#pragma once
#include <cstdint>

#include "app/player.h"

struct Controls {
  int32_t EXIT_GAME = 0;   // -1 once Escape was seen
  int32_t OAA = 0, OIS = 0;  // ANTI_ALIAS and ISCALE before this frame's keys
};

constexpr int32_t TOGGLE_PAUSE_MS = 250;  // the only debouncing a held key gets

// Reads the keys in their fixed order: Escape, M, 1, 2, 3, 4, F, C, R or Home,
// then movement.
void read_keys(Controls& controls, Player& player, double frame_time);
// True when this frame's keys changed a quality switch (the buffers are remade).
bool quality_changed(const Controls& controls);
