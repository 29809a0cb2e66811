// The program's main routine: start-up, the frame loop and the shutdown.
#pragma once
#include <cstdint>
#include <optional>
#include <string>

#include "app/frame_stats.h"
#include "app/player.h"
#include "app/screen_size.h"

// What the command line may change about the run; empty means the default.
struct AppOptions {
  std::string maze_model;    // a maze of the user's own instead of res/model/maze.obj
  std::string maze_texture;  // its texture instead of res/texture/sand.bmp
  PlayerModes modes;         // how the player starts: flying, solid walls
  int32_t draw_threads = 1;  // the threads the renderer draws on (1 to MAX_DRAW_THREADS)
  std::optional<NMATHF::VEC3F> spawn;  // start there instead of where the world says
  float world_scale = 1.0f;  // the maze's coordinates times this at load (above 0, finite)
  ScreenSize screen;         // the picture's size: 640 x 480 unless asked
};

// Runs the whole program on the current host; returns the exit status (0).
// With STATS, every frame is counted there.
int32_t main_routine(const AppOptions& options = {}, FrameStats* stats = nullptr);
