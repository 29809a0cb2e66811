// The player: a free camera turned by the mouse, moved by W A S D and held above
// the maze's floor by a vertical probe.
#pragma once
#include <cstdint>
#include <string>

#include "math/nmathf.h"
#include "app/probe_grid.h"
#include "model/model.h"

constexpr float MOVE_SPEED = 15.0f;     // units per second
constexpr float EYE_HEIGHT = 4.0f;      // above the probe's hit point
constexpr float PROBE_LENGTH = 100.0f;  // the probe reaches this far down

struct Player {
  NMATHF::VMAT CAM;                      // the eye: right, up, forward, position
  float GRAVY = 0.0f;                    // vertical speed: -5 on a jump request, 0 on landing
  int32_t ON_GROUND = 0, INTERSECTED = 0;
  NMATHF::VEC3F IPOINT;                  // where the probe met the floor
  std::string ISTRING;                   // the status line of the probe
  int32_t MX = 0, MY = 0;                // the mouse reading of this frame
  int32_t MOUSE_ON = -1;                 // mouse look on (-1) or off (0)
};

// At (0, 50, 0), turned by one radian about each axis.
void camera_setup(Player& player);
// Turns the camera by the mouse's travel from the screen centre and re-centres it.
void mouse_look(Player& player);
// W, S, A, D and the jump request, in that order; FRAME_TIME is zero or negative.
void movement_keys(Player& player, double frame_time);
// Probes MAZE under the camera and lifts the camera to eye height: every
// triangle in stored order until the first hit.
void ground_test(Player& player, const MODEL_STRUCT& maze);
// The same through GRID (built for MAZE), which leaves out only triangles the
// probe cannot cross: the same hit, the same lift. After a miss, IPOINT (read
// by nothing) may hold another non-hit crossing point than the full scan's.
void ground_test(Player& player, const MODEL_STRUCT& maze, const ProbeGrid& grid);
