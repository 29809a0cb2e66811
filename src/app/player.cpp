#include "app/player.h"

#include "render/render_globals.h"

using namespace NMATHF;

void camera_setup(AppState& s) {
  s.CAM = VMAT(VEC3F(1, 0, 0), VEC3F(0, 1, 0), VEC3F(0, 0, 1), VEC3F(0, 50, 0));
  s.CAM.ROTATE(1, 1, 1);
}

void mouse_look(AppState& s) {
  const float x = float(double(SCR_H2 - s.MY) / 250.0);
  const float y = float(double(SCR_W2 - s.MX) / 250.0);
  // Rolls R back towards the horizontal; no roll while R is level.
  const float z = -s.CAM.R.Y;
  s.CAM.ROTATE(x, y, z);
  set_mouse(SCR_W2, SCR_H2, -1, -1);
}

void movement_keys(AppState& s) {
  // FRAME_TIME is zero or negative, hence the signs.
  if (key_held(SC_W)) s.CAM.P = s.CAM.P - (s.CAM.F * MOVE_SPEED) * s.FRAME_TIME;
  if (key_held(SC_S)) s.CAM.P = s.CAM.P + (s.CAM.F * MOVE_SPEED) * s.FRAME_TIME;
  if (key_held(SC_A)) s.CAM.P = s.CAM.P + (s.CAM.R * MOVE_SPEED) * s.FRAME_TIME;
  if (key_held(SC_D)) s.CAM.P = s.CAM.P - (s.CAM.R * MOVE_SPEED) * s.FRAME_TIME;
  if (key_held(SC_SPACE) && s.ON_GROUND) {
    s.GRAVY = -5.0f;
    s.ON_GROUND = 0;
  }
}

void ground_test(AppState& s) {
  s.INTERSECTED = 0;
  s.ON_GROUND = 0;
  s.ISTRING.clear();
  s.IPOINT = VEC3F(0, 0, 0);
  Bounded<VEC3F, 1, 2> tline;
  tline(1) = s.CAM.P;
  tline(2) = s.CAM.P - VEC3F(0, PROBE_LENGTH, 0);
  const MODEL_STRUCT& maze = s.MODELS[0];
  Bounded<VEC3F, 1, 3> tri;
  // The first triangle in stored order that the probe crosses decides, not the nearest.
  for (uint32_t i = 0; i < maze.MAX_TRIANGLES; ++i) {
    const TRIANGLE_STRUCT& t = maze.TRIANGLES[i];
    for (int32_t k = 1; k <= 3; ++k) tri(k) = maze.VERTICES[t.POINT_ID(k)];
    s.INTERSECTED = LINE_TRIANGLE_INTERSECTION(tri.data(), tline.data(), s.IPOINT);
    if (s.INTERSECTED) {
      s.ISTRING = "Intersection detected...";
      break;
    }
  }
  if (s.INTERSECTED && s.CAM.P.Y < s.IPOINT.Y + EYE_HEIGHT) {
    s.CAM.P.Y = s.IPOINT.Y + EYE_HEIGHT;
    s.GRAVY = 0.0f;
    s.ON_GROUND = -1;
  }
}

void build_view(AppState& s) {
  s.LMATRIX = MATRIX(0.0f);
  s.LMATRIX.LOADIDENTITY();
  s.LMATRIX.LOOKAT(s.CAM.P, s.CAM.P + s.CAM.F, s.CAM.U);
  s.TLIGHT = VEC3F(s.LIGHT * s.LMATRIX);
}
