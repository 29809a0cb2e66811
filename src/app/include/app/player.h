// The player: a camera turned by the mouse and moved by W A S D, held above the
// maze's floor by a vertical probe. Walking (the default) it moves level,
// falls, jumps and may be stopped by walls; in fly mode it is the free camera
// that W carries wherever it looks and nothing pulls down.
#pragma once
#include <cstdint>
#include <string>

#include "app/collision.h"
#include "math/nmathf.h"
#include "app/probe_grid.h"
#include "model/model.h"

constexpr float MOVE_SPEED = 15.0f;     // units per second
constexpr float EYE_HEIGHT = 4.0f;      // above the probe's hit point
constexpr float PROBE_LENGTH = 100.0f;  // the probe reaches this far down

// GRAVY, the vertical speed, counts JUMP_SCALE units per second, positive
// downwards: the jump request's -5 rises at 15 units a second. Gravity adds
// GRAVITY to it every second (37.5 units per second squared), so a jump rises
// 3 units and lands 0.8 s later: onto the 1.75 step, not the 3.5 platform.
constexpr float JUMP_SCALE = 3.0f;
constexpr float GRAVITY = 12.5f;
constexpr float JUMP_SPEED = -5.0f;     // GRAVY on a jump request
// A fall or rise goes in pieces no longer than this, with the ground test after
// each, so no fall passes through a floor (the eye stays EYE_HEIGHT above it).
constexpr float MAX_FALL_STEP = 2.0f;
// A walking frame moves the player by at most this much time: a stalled frame
// (a window dragged, a debugger) does not throw the walker through the maze.
constexpr double MAX_WALK_FRAME_TIME = 0.25;
// Walking down a slope keeps the feet on it: a floor that falls away by at most
// this much per unit walked (the ramp falls 0.25) is followed, not fallen onto.
constexpr float MAX_FOLLOWED_SLOPE = 0.3f;
// With solid walls the legs reach from the eye down to the feet and a rise of
// up to MAX_CLIMB passes under them while walking (the step's 1.75, not the
// platform's 3.5); in the air only AIR_CLEARANCE does, so a jump clears the
// step but not the platform's side.
constexpr float MAX_CLIMB = 2.0f;
constexpr float AIR_CLEARANCE = 0.25f;
constexpr float RESPAWN_DEPTH = 100.0f;  // below the lowest floor the player starts again
// Flying, the wheel and + and - change the speed by FLY_SPEED_STEP a notch, up
// to MAX_FLY_SPEED_NOTCH notches either way (within 1/64 to 64 times MOVE_SPEED).
constexpr double FLY_SPEED_STEP = 1.25;
constexpr int32_t MAX_FLY_SPEED_NOTCH = 18;

// The bundled maze's start: at (0, 50, 0), turned by one radian about each axis.
NMATHF::VMAT maze_start_camera();

struct Player {
  NMATHF::VMAT CAM;                      // the eye: right, up, forward, position
  float GRAVY = 0.0f;                    // vertical speed: -5 on a jump request, 0 on landing
  int32_t ON_GROUND = 0, INTERSECTED = 0;
  NMATHF::VEC3F IPOINT;                  // where the probe met the floor
  std::string ISTRING;                   // the status line of the probe
  int32_t MX = 0, MY = 0;                // the mouse reading of this frame
  int32_t MOUSE_ON = -1;                 // mouse look on (-1) or off (0)
  int32_t fly = 0;                       // -1: the free camera
  int32_t solid_walls = 0;               // -1: walls stop the walking eye
  NMATHF::VEC3F walk;                    // the walking keys' level move, used up each frame
  NMATHF::VMAT start = maze_start_camera();  // where the player starts and starts again
  int32_t fly_speed_notch = 0;           // the fly speed is MOVE_SPEED times FLY_SPEED_STEP to this
};

// How the player starts: flying, and with solid walls (both flags -1 or 0).
struct PlayerModes {
  int32_t fly = 0;
  int32_t solid_walls = 0;
};

// The camera at the player's start (the maze's unless the world asks for another).
void camera_setup(Player& player);
// Units per second along the view while flying.
float fly_speed(const Player& player);
// Moves the fly speed by NOTCHES, kept within MAX_FLY_SPEED_NOTCH either way.
void change_fly_speed(Player& player, int32_t notches);
// Back to the start: the camera as set up, not moving. The modes stay.
void respawn(Player& player);
// Turns the camera by the mouse's travel from the screen centre and re-centres it.
void mouse_look(Player& player);
// W, S, A, D and the jump request, in that order; FRAME_TIME is zero or negative.
// Flying, W and S move along the view and A and D along the right vector;
// walking, the moves are level (into WALK) and the view's tilt does not matter.
void movement_keys(Player& player, double frame_time);
// Probes MAZE under the camera and lifts the camera to eye height. Flying:
// every triangle in stored order until the first hit, which decides. Walking:
// every triangle, and the highest hit decides (the first in stored order of
// equal ones), so the walker stands on the upper of two floors whatever
// their order in the file.
void ground_test(Player& player, const MODEL_STRUCT& maze);
// The same through GRID (built for MAZE), which leaves out only triangles the
// probe cannot cross: the same hit, the same lift. After a miss, IPOINT (read
// by nothing) may hold another non-hit crossing point than the full scan's.
void ground_test(Player& player, const MODEL_STRUCT& maze, const ProbeGrid& grid);
// The frame's motion after the keys, in place of the plain ground test. Flying:
// the ground test. Walking: the level move (through MESH's walls when
// solid_walls is on), then gravity and the ground test, and a new start once
// the eye is RESPAWN_DEPTH below the lowest floor. An eye inside a wall block
// with no floor under it keeps its height there. Every ground test goes
// through GRID (the program passes MESH's own).
void move_player(Player& player, const MODEL_STRUCT& maze, const CollisionMesh& mesh,
                 const ProbeGrid& grid, double frame_time);
