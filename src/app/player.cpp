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

void ground_test(Player& player, const MODEL_STRUCT& maze) {
  VMAT& cam = player.CAM;
  player.INTERSECTED = 0;
  player.ON_GROUND = 0;
  player.ISTRING.clear();
  player.IPOINT = VEC3F(0, 0, 0);
  Bounded<VEC3F, 1, 2> tline;
  tline(1) = cam.P;
  tline(2) = cam.P - VEC3F(0, PROBE_LENGTH, 0);
  Bounded<VEC3F, 1, 3> tri;
  // The first triangle in stored order that the probe crosses decides, not the nearest.
  for (uint32_t i = 0; i < maze.MAX_TRIANGLES; ++i) {
    const TRIANGLE_STRUCT& t = maze.TRIANGLES[i];
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
