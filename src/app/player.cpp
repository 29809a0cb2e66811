#include "app/player.h"

#include "platform/checked_array.h"
#include "platform/input.h"
#include "render/render_globals.h"

using namespace NMATHF;

void camera_setup(Player& player) {
  player.CAM = VMAT(VEC3F(1, 0, 0), VEC3F(0, 1, 0), VEC3F(0, 0, 1), VEC3F(0, 50, 0));
  player.CAM.ROTATE(1, 1, 1);
}

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
  if (key_held(SC_W)) cam.P = cam.P - (cam.F * MOVE_SPEED) * frame_time;
  if (key_held(SC_S)) cam.P = cam.P + (cam.F * MOVE_SPEED) * frame_time;
  if (key_held(SC_A)) cam.P = cam.P + (cam.R * MOVE_SPEED) * frame_time;
  if (key_held(SC_D)) cam.P = cam.P - (cam.R * MOVE_SPEED) * frame_time;
  if (key_held(SC_SPACE) && player.ON_GROUND) {
    player.GRAVY = -5.0f;
    player.ON_GROUND = 0;
  }
}

namespace {
const uint32_t NO_TRIANGLE = 0;  // a list to point at when a cell lists none

// The ground test over the triangles the caller names, in stored order: all
// of them (LIST null), or the COUNT in LIST.
void probe_and_lift(Player& player, const MODEL_STRUCT& maze, const uint32_t* list,
                    uint32_t count) {
  VMAT& cam = player.CAM;
  player.INTERSECTED = 0;
  player.ON_GROUND = 0;
  player.ISTRING.clear();
  player.IPOINT = VEC3F(0, 0, 0);
  Bounded<VEC3F, 1, 2> tline;
  tline(1) = cam.P;
  tline(2) = cam.P - VEC3F(0, PROBE_LENGTH, 0);
  Bounded<VEC3F, 1, 3> tri;
  if (!list) count = maze.MAX_TRIANGLES;
  // The first triangle in stored order that the probe crosses decides, not the nearest.
  for (uint32_t n = 0; n < count; ++n) {
    const TRIANGLE_STRUCT& t = maze.TRIANGLES[list ? list[n] : n];
    for (int32_t k = 1; k <= 3; ++k) tri(k) = maze.VERTICES[t.POINT_ID(k)];
    player.INTERSECTED = LINE_TRIANGLE_INTERSECTION(tri.data(), tline.data(), player.IPOINT);
    if (player.INTERSECTED) {
      player.ISTRING = "Intersection detected...";
      break;
    }
  }
  if (player.INTERSECTED && cam.P.Y < player.IPOINT.Y + EYE_HEIGHT) {
    cam.P.Y = player.IPOINT.Y + EYE_HEIGHT;
    player.GRAVY = 0.0f;
    player.ON_GROUND = -1;
  }
}
}  // namespace

void ground_test(Player& player, const MODEL_STRUCT& maze) {
  probe_and_lift(player, maze, nullptr, 0);
}

void ground_test(Player& player, const MODEL_STRUCT& maze, const ProbeGrid& grid) {
  const VEC3F& p = player.CAM.P;
  const uint32_t *first, *last;
  if (grid.candidates(p.X, p.Y, p.Z, first, last))
    probe_and_lift(player, maze, first ? first : &NO_TRIANGLE, uint32_t(last - first));
  else
    probe_and_lift(player, maze, nullptr, 0);
}
