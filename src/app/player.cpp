#include "app/player.h"

#include <algorithm>
#include <cmath>

#include "base/checked_array.h"
#include "platform/input.h"
#include "render/render_globals.h"

using namespace NMATHF;

VMAT maze_start_camera() {
  VMAT cam(VEC3F(1, 0, 0), VEC3F(0, 1, 0), VEC3F(0, 0, 1), VEC3F(0, 50, 0));
  cam.ROTATE(1, 1, 1);
  return cam;
}

void camera_setup(Player& player) {
  player.CAM = player.start;
}

float fly_speed(const Player& player) {
  if (player.fly_speed_notch == 0) return MOVE_SPEED;
  return float(double(MOVE_SPEED) * std::pow(FLY_SPEED_STEP, double(player.fly_speed_notch)));
}

void change_fly_speed(Player& player, int32_t notches) {
  const int64_t n = int64_t(player.fly_speed_notch) + notches;
  player.fly_speed_notch = int32_t(std::clamp<int64_t>(n, -MAX_FLY_SPEED_NOTCH, MAX_FLY_SPEED_NOTCH));
}

void respawn(Player& player) {
  camera_setup(player);
  player.GRAVY = 0.0f;
  player.ON_GROUND = 0;
  player.walk = VEC3F(0, 0, 0);
}

namespace {
// The walking frame's time: FRAME_TIME (zero or negative), limited to a stall's worth.
double walking_frame_time(double frame_time) {
  return std::max(frame_time, -MAX_WALK_FRAME_TIME);
}

// The level direction the view faces. Looking straight up or down the forward
// vector has no level part; the up vector then points backwards or forwards.
VEC3F level_forward(const VMAT& cam) {
  float x = cam.F.X, z = cam.F.Z;
  if (std::hypot(x, z) < 1e-4f) {
    const float towards = cam.F.Y > 0.0f ? -1.0f : 1.0f;
    x = cam.U.X * towards;
    z = cam.U.Z * towards;
  }
  const float length = std::hypot(x, z);
  if (!(length > 0.0f)) return VEC3F(0, 0, 0);
  return VEC3F(x / length, 0.0f, z / length);
}

// Gravity over T seconds, in pieces with the ground test after each; ends at
// the first landing. Each piece follows the exact parabola, so a jump rises
// and lands alike at any frame rate.
void fall(Player& player, const MODEL_STRUCT& maze, const ProbeGrid& grid, double t) {
  const double v0 = double(player.GRAVY) * JUMP_SCALE;
  const double v1 = (double(player.GRAVY) + GRAVITY * t) * JUMP_SCALE;
  const double travel = std::max(std::fabs(v0), std::fabs(v1)) * t;  // speed is monotonic
  const int pieces = int(std::clamp(std::ceil(travel / MAX_FALL_STEP), 1.0, 1000.0));
  const double dt = t / pieces;
  VEC3F& p = player.CAM.P;
  for (int i = 0; i < pieces; ++i) {
    const double g = player.GRAVY;
    p.Y = float(double(p.Y) - (g * dt + 0.5 * GRAVITY * dt * dt) * JUMP_SCALE);
    player.GRAVY = float(g + GRAVITY * dt);
    ground_test(player, maze, grid);
    if (player.ON_GROUND) break;  // landed, GRAVY 0
  }
}
}  // namespace

void mouse_look(Player& player) {
  VMAT& cam = player.CAM;
  const float x = float(double(SCR_H2 - player.MY) / 250.0);
  const float y = float(double(SCR_W2 - player.MX) / 250.0);
  // Rolls R back towards the horizontal; no roll while R is level.
  const float z = -cam.R.Y;
  cam.ROTATE(x, y, z);
  set_mouse(SCR_W2, SCR_H2, -1, -1);
}

void movement_keys(Player& player, double frame_time) {
  VMAT& cam = player.CAM;
  // frame_time is zero or negative, hence the signs.
  if (player.fly) {
    const float speed = fly_speed(player);
    if (key_held(SC_W)) cam.P = cam.P - (cam.F * speed) * frame_time;
    if (key_held(SC_S)) cam.P = cam.P + (cam.F * speed) * frame_time;
    if (key_held(SC_A)) cam.P = cam.P + (cam.R * speed) * frame_time;
    if (key_held(SC_D)) cam.P = cam.P - (cam.R * speed) * frame_time;
  } else {
    const double t = walking_frame_time(frame_time);
    const VEC3F forward = level_forward(cam);
    const VEC3F right(-forward.Z, 0.0f, forward.X);  // F x U with U straight up, as R
    VEC3F& walk = player.walk;
    if (key_held(SC_W)) walk = walk - (forward * MOVE_SPEED) * t;
    if (key_held(SC_S)) walk = walk + (forward * MOVE_SPEED) * t;
    if (key_held(SC_A)) walk = walk + (right * MOVE_SPEED) * t;
    if (key_held(SC_D)) walk = walk - (right * MOVE_SPEED) * t;
  }
  if (key_held(SC_SPACE) && player.ON_GROUND) {
    player.GRAVY = JUMP_SPEED;
    player.ON_GROUND = 0;
  }
}

namespace {
// Stands the eye EYE_HEIGHT above where the probe hit, no longer falling.
void land(Player& player) {
  player.CAM.P.Y = player.IPOINT.Y + EYE_HEIGHT;
  player.GRAVY = 0.0f;
  player.ON_GROUND = -1;
}

// The ground test over the triangles that EACH visits in stored order (EACH
// calls its argument with a triangle's number until that returns true).
// Flying, the first triangle in stored order that the probe crosses decides,
// not the nearest; walking, the highest crossing (the first of equals).
template <class Each>
void probe_and_lift(Player& player, const MODEL_STRUCT& maze, Each each) {
  VMAT& cam = player.CAM;
  player.INTERSECTED = 0;
  player.ON_GROUND = 0;
  player.ISTRING.clear();
  player.IPOINT = VEC3F(0, 0, 0);
  Bounded<VEC3F, 1, 2> tline;
  tline(1) = cam.P;
  tline(2) = cam.P - VEC3F(0, PROBE_LENGTH, 0);
  Bounded<VEC3F, 1, 3> tri;
  const auto load = [&](uint32_t id) {
    const TRIANGLE_STRUCT& t = maze.TRIANGLES[id];
    for (int32_t k = 1; k <= 3; ++k) tri(k) = maze.VERTICES[t.POINT_ID(k)];
  };
  if (player.fly) {
    each([&](uint32_t id) {
      load(id);
      player.INTERSECTED = LINE_TRIANGLE_INTERSECTION(tri.data(), tline.data(), player.IPOINT);
      return player.INTERSECTED != 0;
    });
  } else {
    VEC3F at;
    each([&](uint32_t id) {
      load(id);
      if (LINE_TRIANGLE_INTERSECTION(tri.data(), tline.data(), at) &&
          (!player.INTERSECTED || at.Y > player.IPOINT.Y)) {
        player.INTERSECTED = -1;
        player.IPOINT = at;
      }
      return false;
    });
  }
  if (player.INTERSECTED) player.ISTRING = "Intersection detected...";
  if (player.INTERSECTED && cam.P.Y < player.IPOINT.Y + EYE_HEIGHT) land(player);
}
}  // namespace

void ground_test(Player& player, const MODEL_STRUCT& maze) {
  probe_and_lift(player, maze, [&maze](auto&& visit) {
    for (uint32_t id = 0; id < maze.MAX_TRIANGLES; ++id)
      if (visit(id)) return;
  });
}

void ground_test(Player& player, const MODEL_STRUCT& maze, const ProbeGrid& grid) {
  const VEC3F& p = player.CAM.P;
  ProbeGrid::Candidates near;
  if (grid.candidates(p.X, p.Y, p.Z, near))
    probe_and_lift(player, maze, [&near](auto&& visit) { near.in_stored_order(visit); });
  else
    ground_test(player, maze);
}

void move_player(Player& player, const MODEL_STRUCT& maze, const CollisionMesh& mesh,
                 const ProbeGrid& grid, double frame_time) {
  if (player.fly) {
    ground_test(player, maze, grid);
    return;
  }
  VEC3F& p = player.CAM.P;
  const bool grounded = player.ON_GROUND != 0;  // a jump request this frame cleared it
  const VEC3F before = p;
  if (player.solid_walls) {
    const float feet = p.Y - EYE_HEIGHT;
    p = slide_eye(mesh, p, player.walk, feet + (grounded ? MAX_CLIMB : AIR_CLEARANCE));
  } else {
    p = VEC3F(p.X + player.walk.X, p.Y, p.Z + player.walk.Z);
  }
  player.walk = VEC3F(0, 0, 0);
  const float walked = std::hypot(p.X - before.X, p.Z - before.Z);

  // Walked into a wall block (walls passable) with no floor under it: the
  // walker keeps its height, standing, until it walks out on the other side.
  if (inside_solid(mesh, p)) {
    ground_test(player, maze, grid);
    if (!player.INTERSECTED) {
      player.GRAVY = 0.0f;
      player.ON_GROUND = -1;
      return;
    }
  }

  fall(player, maze, grid, -walking_frame_time(frame_time));

  // Walking down a slope: the floor under the eye fell away by less than the
  // slope allows, so the feet stay on it.
  if (grounded && !player.ON_GROUND && player.INTERSECTED) {
    const float gap = p.Y - (player.IPOINT.Y + EYE_HEIGHT);
    if (gap > 0.0f && gap <= MAX_FOLLOWED_SLOPE * walked) land(player);
  }

  if (p.Y < mesh.lowest_floor - RESPAWN_DEPTH) respawn(player);
}
