// The program's main routine: start-up, the frame loop and the shutdown.
#pragma once
#include <cstdint>

#include "app/frame_stats.h"
#include "app/player.h"

// Runs the whole program on the current host; returns the exit status (0).
// With STATS, every frame is counted there; MODES say how the player starts.
int32_t main_routine(FrameStats* stats = nullptr, const PlayerModes& modes = {});
