#include "app/player.h"

#include "render/render_globals.h"

using namespace NMATHF;

void CAMERA_SETUP(APP_STATE& S) {
  S.CAM = VMAT(VEC3F(1, 0, 0), VEC3F(0, 1, 0), VEC3F(0, 0, 1), VEC3F(0, 50, 0));
  S.CAM.ROTATE(1, 1, 1);
}

void MOUSE_LOOK(APP_STATE& S) {
  const float X = float(double(SCR_H2 - S.MY) / 250.0);
  const float Y = float(double(SCR_W2 - S.MX) / 250.0);
  // Rolls R back towards the horizontal; no roll while R is level.
  const float Z = -S.CAM.R.Y;
  S.CAM.ROTATE(X, Y, Z);
  SET_MOUSE(SCR_W2, SCR_H2, -1, -1);
}

void MOVEMENT_KEYS(APP_STATE& S) {
  // FRAME_TIME is zero or negative, hence the signs.
  if (KEY_HELD(SC_W)) S.CAM.P = S.CAM.P - (S.CAM.F * MOVE_SPEED) * S.FRAME_TIME;
  if (KEY_HELD(SC_S)) S.CAM.P = S.CAM.P + (S.CAM.F * MOVE_SPEED) * S.FRAME_TIME;
  if (KEY_HELD(SC_A)) S.CAM.P = S.CAM.P + (S.CAM.R * MOVE_SPEED) * S.FRAME_TIME;
  if (KEY_HELD(SC_D)) S.CAM.P = S.CAM.P - (S.CAM.R * MOVE_SPEED) * S.FRAME_TIME;
  if (KEY_HELD(SC_SPACE) && S.ON_GROUND) {
    S.GRAVY = -5.0f;
    S.ON_GROUND = 0;
  }
}

void GROUND_TEST(APP_STATE& S) {
  S.INTERSECTED = 0;
  S.ON_GROUND = 0;
  S.ISTRING.clear();
  S.IPOINT = VEC3F(0, 0, 0);
  BOUNDED<VEC3F, 1, 2> TLINE;
  TLINE(1) = S.CAM.P;
  TLINE(2) = S.CAM.P - VEC3F(0, PROBE_LENGTH, 0);
  const MODEL_STRUCT& MAZE = S.MODELS[0];
  BOUNDED<VEC3F, 1, 3> TRI;
  // The first triangle in stored order that the probe crosses decides, not the nearest.
  for (uint32_t I = 0; I < MAZE.MAX_TRIANGLES; ++I) {
    const TRIANGLE_STRUCT& T = MAZE.TRIANGLES[I];
    for (int32_t K = 1; K <= 3; ++K) TRI(K) = MAZE.VERTICES[T.POINT_ID(K)];
    S.INTERSECTED = LINE_TRIANGLE_INTERSECTION(TRI.DATA(), TLINE.DATA(), S.IPOINT);
    if (S.INTERSECTED) {
      S.ISTRING = "Intersection detected...";
      break;
    }
  }
  if (S.INTERSECTED && S.CAM.P.Y < S.IPOINT.Y + EYE_HEIGHT) {
    S.CAM.P.Y = S.IPOINT.Y + EYE_HEIGHT;
    S.GRAVY = 0.0f;
    S.ON_GROUND = -1;
  }
}

void BUILD_VIEW(APP_STATE& S) {
  S.LMATRIX = MATRIX(0.0f);
  S.LMATRIX.LOADIDENTITY();
  S.LMATRIX.LOOKAT(S.CAM.P, S.CAM.P + S.CAM.F, S.CAM.U);
  S.TLIGHT = VEC3F(S.LIGHT * S.LMATRIX);
}
