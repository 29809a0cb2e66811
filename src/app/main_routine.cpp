#include "app/main_routine.h"

#include <cstdlib>
#include <cstring>

#include "app/app_state.h"
#include "app/frame_stats.h"
#include "app/player.h"
#include "render/post_filters.h"
#include "render/render_buffers.h"
#include "render/render_globals.h"
#include "render/render_queue.h"
#include "app/scene.h"
#include "model/model.h"
#include "platform/platform.h"

FRAME_STATS* FRAME_STATS_SINK = nullptr;

namespace {
const char* const TEXTURE_FILES[MODEL_COUNT] = {"res/texture/sand.bmp", "res/texture/wall.bmp",
                                                "res/texture/ufouvmap.bmp"};
const char* const MODEL_FILES[MODEL_COUNT] = {"res/model/maze.obj", "res/model/cube.obj",
                                              "res/model/ufo.obj"};
constexpr int32_t TEXTURE_SIZE = 256;
constexpr int32_t TOGGLE_PAUSE_MS = 250;

void START_UP(APP_STATE& S) {
  RANDOMIZE_FROM_TIMER();
  S = APP_STATE{};
  CAMERA_SETUP(S);
  SCR_W = 640;
  SCR_H = 480;
  SCR_W2 = SCR_W / 2;
  SCR_H2 = SCR_H / 2;
  if (SET_GRAPHICS_MODE(SCR_W, SCR_H) != 0) FAIL(ERR_ILLEGAL_CALL, "MAIN_ROUTINE");
  INIT_BUFFERS();
  for (int32_t I = 0; I < MODEL_COUNT; ++I) {
    S.TEXTURES[I] = IMAGE_CREATE(TEXTURE_SIZE, TEXTURE_SIZE);
    const int32_t RESULT = LOAD_BMP(TEXTURE_FILES[I], S.TEXTURES[I]);
    if (RESULT != 0) FAIL(RESULT, "MAIN_ROUTINE");
  }
  S.MODELS = static_cast<MODEL_STRUCT*>(std::calloc(MODEL_COUNT, sizeof(MODEL_STRUCT)));
  for (int32_t I = 0; I < MODEL_COUNT; ++I) {
    MODEL_STRUCT* MODEL = &S.MODELS[I];
    LOAD_OBJ(MODEL_FILES[I], MODEL);
  }
  ZNEAR = 2.0f;
  ZFAR = 500.0f;
  FOV = 60.0f;
  ASPECT = ANTI_ALIAS ? float(double(2 * SCR_W) / double(2 * SCR_H)) : float(double(SCR_W) / double(SCR_H));
  PROJECTION_MATRIX = NMATHF::MATRIX(0.0f);
  PROJECTION_MATRIX.PERSPECTIVE(FOV, ASPECT, ZNEAR, ZFAR);
  PREPARE_MODELS(S);
  PLACE_ENTITIES(S);
  S.LAST_TIME = TIMER();
  SET_MOUSE(SCR_W2, SCR_H2, 0, -1);
}

// Flips a render switch and pauses: the only debouncing a held key gets.
void TOGGLE(int32_t& SWITCH) {
  SWITCH = ~SWITCH;
  SLEEP_MS(TOGGLE_PAUSE_MS);
}

void READ_KEYS(APP_STATE& S) {
  if (KEY_HELD(SC_ESCAPE)) S.EXIT_GAME = -1;
  if (KEY_HELD(SC_M)) {
    S.MOUSE_ON = ~S.MOUSE_ON;
    SET_MOUSE(MOUSE_UNCHANGED, MOUSE_UNCHANGED, S.MOUSE_ON ? 0 : 1, -1);
    SLEEP_MS(TOGGLE_PAUSE_MS);
  }
  if (KEY_HELD(SC_1)) TOGGLE(WIRE_FRAME);
  if (KEY_HELD(SC_2)) TOGGLE(TEXTURED);
  S.OAA = ANTI_ALIAS;
  S.OIS = ISCALE;
  if (KEY_HELD(SC_3)) TOGGLE(ISCALE);
  if (KEY_HELD(SC_4)) TOGGLE(ANTI_ALIAS);
  MOVEMENT_KEYS(S);
}

void BRING_TO_SCREEN() {
  if (ISCALE && ANTI_ALIAS) {
    ANTIALIAS4X(BACKBUFFER, BACKBUFFER2);
    SCALE2(nullptr, BACKBUFFER2);
  } else if (ISCALE) {
    SCALE2(nullptr, BACKBUFFER);
  } else if (ANTI_ALIAS) {
    ANTIALIAS4X(BACKBUFFER, SCREEN_TARGET);
  } else {
    const int32_t RESULT = PUT_IMAGE(BACKBUFFER);
    if (RESULT != 0) FAIL(RESULT, "MAIN_ROUTINE");
  }
}

void PRINT_STATUS(const APP_STATE& S) {
  LOCATE(1, 1);
  PRINT_LINE(STR(S.TRIS_RENDERED) + " triangles rendered.");
  PRINT_LINE(S.FPS_STRING);
  PRINT_LINE(S.CAM.P.TO_STRING());
  PRINT_LINE(S.ISTRING);
}

void FRAME(APP_STATE& S) {
  S.THIS_TIME = TIMER();
  S.FRAME_TIME = S.LAST_TIME - S.THIS_TIME;
  S.LAST_TIME = S.THIS_TIME;

  int32_t WHEEL, BUTTONS;
  GET_MOUSE(S.MX, S.MY, WHEEL, BUTTONS);
  if (S.MOUSE_ON) MOUSE_LOOK(S);
  READ_KEYS(S);
  if (ANTI_ALIAS != S.OAA || ISCALE != S.OIS) INIT_BUFFERS();
  GROUND_TEST(S);
  BUILD_VIEW(S);
  SUBMIT_ENTITIES(S);

  std::memset(ZBUFF, 0, size_t(BUFFSIZE) * sizeof(float));
  SCREEN_LOCK();
  std::memset(BACKBUFFER->PIXELS(), 0, size_t(BACKBUFFER->PITCH) * BACKBUFFER->HEIGHT);
  S.TRIS_RENDERED = S.FCNT;
  if (FRAME_STATS_SINK) {
    ++FRAME_STATS_SINK->FRAMES;
    FRAME_STATS_SINK->TRIANGLES_QUEUED += S.FCNT;
  }
  BUFFER_RENDER(S.FCNT);
  BRING_TO_SCREEN();
  PRINT_STATUS(S);
  WAIT_RETRACE();
  SCREEN_UNLOCK();

  ++S.FPS_COUNT;
  if (S.THIS_TIME > S.FPS_TIME) {
    S.FPS_TIME = S.THIS_TIME + 1.0;
    S.FPS_STRING = "FPS: " + STR(S.FPS_COUNT);
    S.FPS_COUNT = 0;
  }
  SLEEP_MS(3);
}

void SHUT_DOWN(APP_STATE& S) {
  for (int32_t I = 0; I < MODEL_COUNT; ++I) {
    MODEL_STRUCT* MODEL = &S.MODELS[I];
    UNLOAD_OBJ(MODEL);
  }
  std::free(S.MODELS);
  S.MODELS = nullptr;
  FREE_BUFFERS();
  for (IMAGE*& TEXTURE : S.TEXTURES) {
    IMAGE_DESTROY(TEXTURE);
    TEXTURE = nullptr;
  }
  PRINT_LINE("OK!!");
  SLEEP_MS(1000);
}
}  // namespace

int32_t MAIN_ROUTINE() {
  APP_STATE S;
  START_UP(S);
  do {
    FRAME(S);
  } while (!S.EXIT_GAME);
  SHUT_DOWN(S);
  return 0;
}
