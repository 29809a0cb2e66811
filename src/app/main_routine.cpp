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

FrameStats* frame_stats_sink = nullptr;

namespace {
const char* const TEXTURE_FILES[MODEL_COUNT] = {"res/texture/sand.bmp", "res/texture/wall.bmp",
                                                "res/texture/ufouvmap.bmp"};
const char* const MODEL_FILES[MODEL_COUNT] = {"res/model/maze.obj", "res/model/cube.obj",
                                              "res/model/ufo.obj"};
constexpr int32_t TEXTURE_SIZE = 256;
constexpr int32_t TOGGLE_PAUSE_MS = 250;

void start_up(AppState& s) {
  randomize_from_timer();
  s = AppState{};
  camera_setup(s);
  SCR_W = 640;
  SCR_H = 480;
  SCR_W2 = SCR_W / 2;
  SCR_H2 = SCR_H / 2;
  if (set_graphics_mode(SCR_W, SCR_H) != 0) RUNTIME_FAIL(ERR_ILLEGAL_CALL, "MAIN_ROUTINE");
  INIT_BUFFERS();
  for (int32_t i = 0; i < MODEL_COUNT; ++i) {
    s.TEXTURES[i] = image_create(TEXTURE_SIZE, TEXTURE_SIZE);
    const int32_t result = load_bmp(TEXTURE_FILES[i], s.TEXTURES[i]);
    if (result != 0) RUNTIME_FAIL(result, "MAIN_ROUTINE");
  }
  s.MODELS = static_cast<MODEL_STRUCT*>(std::calloc(MODEL_COUNT, sizeof(MODEL_STRUCT)));
  for (int32_t i = 0; i < MODEL_COUNT; ++i) {
    MODEL_STRUCT* model = &s.MODELS[i];
    LOAD_OBJ(MODEL_FILES[i], model);
  }
  ZNEAR = 2.0f;
  ZFAR = 500.0f;
  FOV = 60.0f;
  ASPECT = ANTI_ALIAS ? float(double(2 * SCR_W) / double(2 * SCR_H)) : float(double(SCR_W) / double(SCR_H));
  PROJECTION_MATRIX = NMATHF::MATRIX(0.0f);
  PROJECTION_MATRIX.PERSPECTIVE(FOV, ASPECT, ZNEAR, ZFAR);
  prepare_models(s);
  place_entities(s);
  s.LAST_TIME = timer();
  set_mouse(SCR_W2, SCR_H2, 0, -1);
}

// Flips a render switch and pauses: the only debouncing a held key gets.
void toggle(int32_t& flag) {
  flag = ~flag;
  sleep_ms(TOGGLE_PAUSE_MS);
}

void read_keys(AppState& s) {
  if (key_held(SC_ESCAPE)) s.EXIT_GAME = -1;
  if (key_held(SC_M)) {
    s.MOUSE_ON = ~s.MOUSE_ON;
    set_mouse(MOUSE_UNCHANGED, MOUSE_UNCHANGED, s.MOUSE_ON ? 0 : 1, -1);
    sleep_ms(TOGGLE_PAUSE_MS);
  }
  if (key_held(SC_1)) toggle(WIRE_FRAME);
  if (key_held(SC_2)) toggle(TEXTURED);
  s.OAA = ANTI_ALIAS;
  s.OIS = ISCALE;
  if (key_held(SC_3)) toggle(ISCALE);
  if (key_held(SC_4)) toggle(ANTI_ALIAS);
  movement_keys(s);
}

void bring_to_screen() {
  if (ISCALE && ANTI_ALIAS) {
    ANTIALIAS4X(BACKBUFFER, BACKBUFFER2);
    SCALE2(nullptr, BACKBUFFER2);
  } else if (ISCALE) {
    SCALE2(nullptr, BACKBUFFER);
  } else if (ANTI_ALIAS) {
    ANTIALIAS4X(BACKBUFFER, SCREEN_TARGET);
  } else {
    const int32_t result = put_image(BACKBUFFER);
    if (result != 0) RUNTIME_FAIL(result, "MAIN_ROUTINE");
  }
}

void print_status(const AppState& s) {
  locate(1, 1);
  print_line(str(s.TRIS_RENDERED) + " triangles rendered.");
  print_line(s.FPS_STRING);
  print_line(s.CAM.P.to_string());
  print_line(s.ISTRING);
}

void frame(AppState& s) {
  s.THIS_TIME = timer();
  s.FRAME_TIME = s.LAST_TIME - s.THIS_TIME;
  s.LAST_TIME = s.THIS_TIME;

  int32_t wheel, buttons;
  get_mouse(s.MX, s.MY, wheel, buttons);
  if (s.MOUSE_ON) mouse_look(s);
  read_keys(s);
  if (ANTI_ALIAS != s.OAA || ISCALE != s.OIS) INIT_BUFFERS();
  ground_test(s);
  build_view(s);
  submit_entities(s);

  std::memset(ZBUFF, 0, size_t(BUFFSIZE) * sizeof(float));
  screen_lock();
  std::memset(BACKBUFFER->pixels(), 0, size_t(BACKBUFFER->PITCH) * BACKBUFFER->HEIGHT);
  s.TRIS_RENDERED = s.FCNT;
  if (frame_stats_sink) {
    ++frame_stats_sink->frames;
    frame_stats_sink->triangles_queued += s.FCNT;
  }
  BUFFER_RENDER(s.FCNT);
  bring_to_screen();
  print_status(s);
  wait_retrace();
  screen_unlock();

  ++s.FPS_COUNT;
  if (s.THIS_TIME > s.FPS_TIME) {
    s.FPS_TIME = s.THIS_TIME + 1.0;
    s.FPS_STRING = "FPS: " + str(s.FPS_COUNT);
    s.FPS_COUNT = 0;
  }
  sleep_ms(3);
}

void shut_down(AppState& s) {
  for (int32_t i = 0; i < MODEL_COUNT; ++i) {
    MODEL_STRUCT* model = &s.MODELS[i];
    UNLOAD_OBJ(model);
  }
  std::free(s.MODELS);
  s.MODELS = nullptr;
  free_buffers();
  for (IMAGE*& texture : s.TEXTURES) {
    image_destroy(texture);
    texture = nullptr;
  }
  print_line("OK!!");
  sleep_ms(1000);
}
}  // namespace

int32_t main_routine() {
  AppState s;
  start_up(s);
  do {
    frame(s);
  } while (!s.EXIT_GAME);
  shut_down(s);
  return 0;
}
