#include "app/main_routine.h"

#include <chrono>
#include <cstdlib>

#include "app/controls.h"
#include "app/frame_clock.h"
#include "app/player.h"
#include "app/scene.h"
#include "model/model.h"
#include "platform/platform.h"
#include "render/model_transform.h"
#include "render/post_filters.h"
#include "render/render_buffers.h"
#include "render/render_globals.h"
#include "render/render_queue.h"

namespace {
const char* const TEXTURE_FILES[MODEL_COUNT] = {"res/texture/sand.bmp", "res/texture/wall.bmp",
                                                "res/texture/ufouvmap.bmp"};
const char* const MODEL_FILES[MODEL_COUNT] = {"res/model/maze.obj", "res/model/cube.obj",
                                              "res/model/ufo.obj"};
constexpr int32_t TEXTURE_SIZE = 256;

// Everything long-lived that the frame loop owns.
struct App {
  Player player;
  Scene scene;
  FrameClock clock;
  Controls controls;
};

void start_up(App& app) {
  randomize_from_timer();
  app = App{};
  camera_setup(app.player);
  reset_render_state();
  if (set_graphics_mode(SCR_W, SCR_H) != 0) RUNTIME_FAIL(ERR_ILLEGAL_CALL, "MAIN_ROUTINE");
  INIT_BUFFERS();
  Scene& scene = app.scene;
  for (int32_t i = 0; i < MODEL_COUNT; ++i) {
    scene.TEXTURES[i] = image_create(TEXTURE_SIZE, TEXTURE_SIZE);
    const int32_t result = load_bmp(TEXTURE_FILES[i], scene.TEXTURES[i]);
    if (result != 0) RUNTIME_FAIL(result, "MAIN_ROUTINE");
  }
  scene.MODELS = static_cast<MODEL_STRUCT*>(std::calloc(MODEL_COUNT, sizeof(MODEL_STRUCT)));
  for (int32_t i = 0; i < MODEL_COUNT; ++i) {
    MODEL_STRUCT* model = &scene.MODELS[i];
    LOAD_OBJ(MODEL_FILES[i], model);
  }
  scene.probe_grid.build(scene.MODELS[0]);
  ASPECT = ANTI_ALIAS ? float(double(2 * SCR_W) / double(2 * SCR_H))
                      : float(double(SCR_W) / double(SCR_H));
  PROJECTION_MATRIX = NMATHF::MATRIX(0.0f);
  PROJECTION_MATRIX.PERSPECTIVE(FOV, ASPECT, ZNEAR, ZFAR);
  prepare_models(scene);
  place_entities(scene);
  app.clock.LAST_TIME = timer();
  set_mouse(SCR_W2, SCR_H2, 0, -1);
}

void print_status(const App& app) {
  locate(1, 1);
  print_line(str(app.scene.TRIS_RENDERED) + " triangles rendered.");
  print_line(app.clock.FPS_STRING);
  print_line(app.player.CAM.P.to_string());
  print_line(app.player.ISTRING);
}

// Notes the time between calls of lap() into the stage it names, when asked to.
class StageClock {
 public:
  explicit StageClock(bool on) : on_(on) {
    if (on_) last_ = std::chrono::steady_clock::now();
  }
  void lap(double& stage) {
    if (!on_) return;
    const auto now = std::chrono::steady_clock::now();
    stage += std::chrono::duration<double, std::milli>(now - last_).count();
    last_ = now;
  }
  void skip() {
    if (on_) last_ = std::chrono::steady_clock::now();
  }

 private:
  bool on_;
  std::chrono::steady_clock::time_point last_;
};

void frame(App& app, FrameStats* stats) {
  Player& player = app.player;
  Scene& scene = app.scene;
  start_frame(app.clock);
  const double frame_time = app.clock.FRAME_TIME;
  StageTimes times;
  StageClock clock(stats && stats->time_stages);

  int32_t wheel, buttons;
  get_mouse(player.MX, player.MY, wheel, buttons);
  if (player.MOUSE_ON) mouse_look(player);
  read_keys(app.controls, player, frame_time);
  if (quality_changed(app.controls)) INIT_BUFFERS();
  clock.skip();
  ground_test(player, scene.MODELS[0], scene.probe_grid);
  clock.lap(times.probe);
  build_view(player, scene);
  submit_entities(scene, frame_time);
  clock.lap(times.transform);

  clear_depth_buffer();
  clock.lap(times.clears);
  screen_lock();
  clock.skip();
  clear_back_buffer();
  clock.lap(times.clears);
  scene.TRIS_RENDERED = scene.FCNT;
  if (stats) {
    ++stats->frames;
    stats->triangles_queued += scene.FCNT;
    stats->dropped_triangles += dropped_triangles;
  }
  dropped_triangles = 0;
  clock.skip();
  BUFFER_RENDER(scene.FCNT);
  clock.lap(times.raster);
  bring_to_screen();
  clock.lap(times.filters);
  if (stats && stats->time_stages) stats->stages.push_back(times);
  print_status(app);
  wait_retrace();
  screen_unlock();

  count_frame(app.clock);
  sleep_ms(3);
}

void shut_down(App& app) {
  Scene& scene = app.scene;
  for (int32_t i = 0; i < MODEL_COUNT; ++i) {
    MODEL_STRUCT* model = &scene.MODELS[i];
    UNLOAD_OBJ(model);
  }
  std::free(scene.MODELS);
  scene.MODELS = nullptr;
  free_buffers();
  for (IMAGE*& texture : scene.TEXTURES) {
    image_destroy(texture);
    texture = nullptr;
  }
  print_line("OK!!");
  sleep_ms(1000);
}
}  // namespace

int32_t main_routine(FrameStats* stats) {
  App app;
  start_up(app);
  do {
    frame(app, stats);
  } while (!app.controls.EXIT_GAME);
  shut_down(app);
  return 0;
}
