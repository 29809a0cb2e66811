#include "app/main_routine.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <new>
#include <optional>
#include <string>

#include "app/collision.h"
#include "app/controls.h"
#include "app/frame_clock.h"
#include "app/key_table.h"
#include "app/player.h"
#include "app/scene.h"
#include "base/bmp.h"
#include "base/fail.h"
#include "base/side_by_side.h"
#include "base/image.h"
#include "base/file_notes.h"
#include "base/numbers.h"
#include "app/world_framing.h"
#include "model/model.h"
#include "platform/clock.h"
#include "platform/input.h"
#include "platform/screen.h"
#include "platform/text.h"
#include "render/model_transform.h"
#include "render/post_filters.h"
#include "render/render_buffers.h"
#include "render/render_globals.h"
#include "render/render_queue.h"
#include "render/renderer.h"

namespace {
const char* const TEXTURE_FILES[MODEL_COUNT] = {"res/texture/sand.bmp", "res/texture/wall.bmp",
                                                "res/texture/ufouvmap.bmp"};
const char* const MODEL_FILES[MODEL_COUNT] = {"res/model/maze.obj", "res/model/cube.obj",
                                              "res/model/ufo.obj"};

// Everything long-lived that the frame loop owns.
struct App {
  Player player;
  CollisionMesh maze_mesh;  // the maze's walls and grid for the walking player
  Scene scene;
  FrameClock clock;
  Controls controls;
  std::unique_ptr<Renderer> renderer;  // made at start-up, released at shutdown
  unsigned shown_switches = ~0u;  // the switch states the window shows (none yet)
  int32_t shown_w = 0, shown_h = 0;  // the drawing size the window's title shows
  bool follow_window = false;     // the page takes the window's pixel size
  bool framed_start = false;      // flying outside an object since the start
  std::string shown_notice;       // the notice the window was given
};

// A user's model can ask for more memory than the machine has, while it is
// read or while the maze is indexed: that stops with "out of memory" naming
// the file, never with a signal.
template <class Work>
void within_memory(const char* file, const char* routine, const char* what, Work&& work) {
  try {
    work();
  } catch (const std::bad_alloc&) {
    RUNTIME_FAIL_NOTE(ERR_OUT_OF_MEMORY, routine, (path_as_tried(file) + ": no memory " + what).c_str());
  }
}

// The window's title and help follow the switches; only a window shows them.
// The title also shows the size the picture is drawn at.
void show_switches(App& app) {
  const unsigned states = switch_states(app.player);
  if (states == app.shown_switches && SCR_W == app.shown_w && SCR_H == app.shown_h) return;
  app.shown_switches = states;
  app.shown_w = SCR_W;
  app.shown_h = SCR_H;
  set_window_text(switch_summary(app.player) + " - " + str(SCR_W) + "x" + str(SCR_H),
                  help_lines(app.player));
}

// A page of WIDTH x HEIGHT in the window already open, the buffers and the text
// made for it.
void resize_picture(App& app, int32_t width, int32_t height) {
  if (resize_screen(width, height) != 0) RUNTIME_FAIL(ERR_ILLEGAL_CALL, "MAIN_ROUTINE");
  set_screen_size(width, height);
  set_text_scale(text_scale_for_height(height));
  INIT_BUFFERS();
  // Mouse look measures from the centre of the page it reads.
  if (app.player.MOUSE_ON) set_mouse(SCR_W2, SCR_H2, -1, -1);
}

// With --size window the picture is drawn at the window's own pixel size:
// after a resize, a change to or from full screen, or a new display scale.
void follow_window(App& app) {
  if (!app.follow_window) return;
  int32_t width = 0, height = 0;
  if (!window_pixel_size(width, height)) return;
  fit_screen_size(width, height);
  if (width != SCR_W || height != SCR_H) resize_picture(app, width, height);
}

// How the player moves and which key changes it; only a window shows it.
void show_notice(App& app) {
  if (!app.player.fly) app.framed_start = false;
  const std::string notice = mode_notice(app.player, app.framed_start);
  if (notice == app.shown_notice) return;
  app.shown_notice = notice;
  set_window_notice(notice);
}

// A world of the user's own (a model, a scale or a spawn point given) chooses
// the start, the fly mode and speed and the far plane; none for the bundled
// maze as it comes, which starts as it always did.
std::optional<WorldStart> world_start_for(const MODEL_STRUCT& maze, const AppOptions& options) {
  const bool own_world =
      !options.maze_model.empty() || options.world_scale != 1.0f || options.spawn.has_value();
  if (!own_world) return std::nullopt;
  const ViewShape view{FOV, ASPECT, ZNEAR};
  return frame_world(maze, view, options.spawn ? &*options.spawn : nullptr);
}

void start_in_world(App& app, const std::optional<WorldStart>& start) {
  if (!start) return;
  Player& player = app.player;
  player.start = start->camera;
  camera_setup(player);
  if (start->fly) player.fly = -1;
  player.fly_speed_notch = start->fly_speed_notch;
  app.framed_start = start->framed;
  set_far_plane(start->zfar);
}

void start_up(App& app, const AppOptions& options) {
  randomize_from_timer();
  app = App{};
  camera_setup(app.player);
  app.player.fly = options.modes.fly;
  app.player.solid_walls = options.modes.solid_walls;
  app.renderer = std::make_unique<Renderer>(options.draw_threads);
  reset_render_state();
  set_screen_size(options.screen.width, options.screen.height);
  if (set_graphics_mode(SCR_W, SCR_H) != 0) RUNTIME_FAIL(ERR_ILLEGAL_CALL, "MAIN_ROUTINE");
  set_text_scale(text_scale_for_height(SCR_H));
  INIT_BUFFERS();
  app.follow_window = options.screen.follow_window;
  follow_window(app);
  Scene& scene = app.scene;
  // The maze's files may be the user's own; the cube's and the UFO's never are.
  const char* texture_files[MODEL_COUNT] = {TEXTURE_FILES[0], TEXTURE_FILES[1], TEXTURE_FILES[2]};
  const char* model_files[MODEL_COUNT] = {MODEL_FILES[0], MODEL_FILES[1], MODEL_FILES[2]};
  if (!options.maze_texture.empty()) texture_files[0] = options.maze_texture.c_str();
  if (!options.maze_model.empty()) model_files[0] = options.maze_model.c_str();
  // Each texture at its own size.
  for (int32_t i = 0; i < MODEL_COUNT; ++i) {
    int32_t result = 0;
    scene.TEXTURES[i] = load_bmp_image(texture_files[i], result);
    if (!scene.TEXTURES[i]) RUNTIME_FAIL(result, "MAIN_ROUTINE");
  }
  scene.MODELS = static_cast<MODEL_STRUCT*>(std::calloc(MODEL_COUNT, sizeof(MODEL_STRUCT)));
  // The maze is scaled, then indexed, and cut into chunks and looked over
  // for the start at the same time, while its edge connections are found,
  // which none of that needs.
  std::optional<WorldStart> world_start;
  const auto index_maze = [&](MODEL_STRUCT& maze) {
    // A file without faces loads, but would give an empty world: nothing to index.
    if (maze.MAX_TRIANGLES == 0) return;
    if (options.world_scale != 1.0f) scale_world(maze, options.world_scale);
    side_by_side(
        [&] {
          within_memory(model_files[0], "MAIN_ROUTINE", "to index the maze's triangles",
                        [&] { app.maze_mesh = make_collision_mesh(maze); });
        },
        [&] {
          within_memory(model_files[0], "MAIN_ROUTINE", "to cut the maze into chunks",
                        [&] { scene.maze_chunks = make_model_chunks(maze); });
          world_start = world_start_for(maze, options);
        });
  };
  for (int32_t i = 0; i < MODEL_COUNT; ++i) {
    MODEL_STRUCT* model = &scene.MODELS[i];
    // The maze's file may name materials; the cube's and the UFO's do not.
    within_memory(model_files[i], "LOAD_OBJ", "to read the model", [&] {
      if (i == 0)
        LOAD_OBJ(model_files[i], model, scene.maze.materials, index_maze);
      else
        LOAD_OBJ(model_files[i], model);
    });
    // A file without faces loads, but would give an empty world.
    if (model->MAX_TRIANGLES == 0)
      RUNTIME_FAIL_NOTE(ERR_FILE_IO, "LOAD_OBJ",
                        (path_as_tried(model_files[i]) + ": no triangles in the file").c_str());
  }
  load_material_textures(scene.maze, stderr);
  prepare_models(scene);
  place_entities(scene);
  start_in_world(app, world_start);
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

  // While the window has lost the user nothing moves or turns; the frames go on.
  const bool paused = input_paused();
  const double motion_time = paused ? 0.0 : frame_time;

  follow_window(app);
  int32_t wheel, buttons;
  get_mouse(player.MX, player.MY, wheel, buttons);
  if (player.MOUSE_ON && !paused) mouse_look(player);
  read_keys(app.controls, player, motion_time);
  read_fly_speed(app.controls, player, wheel, motion_time);
  if (quality_changed(app.controls)) INIT_BUFFERS();
  show_switches(app);
  show_notice(app);
  clock.skip();
  move_player(player, scene.MODELS[0], app.maze_mesh, app.maze_mesh.grid, motion_time);
  clock.lap(times.probe);
  build_view(player, scene);
  Renderer& renderer = *app.renderer;
  submit_entities(renderer, scene, motion_time);
  clock.lap(times.transform);

  screen_lock();
  scene.TRIS_RENDERED = scene.FCNT;
  if (stats) {
    ++stats->frames;
    stats->triangles_queued += scene.FCNT;
    stats->dropped_triangles += renderer.dropped_triangles();
    stats->triangles_submitted += renderer.transform_counts().submitted;
    stats->triangles_culled_by_chunk += renderer.transform_counts().culled_by_chunk;
    stats->triangles_occluded += renderer.transform_counts().occluded;
  }
  renderer.dropped_triangles() = 0;
  renderer.transform_counts() = {};
  clock.skip();
  draw_to_screen(renderer, scene.FCNT);
  clock.lap(times.drawing);
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
  app.renderer.reset();
  for (IMAGE*& texture : scene.TEXTURES) {
    image_destroy(texture);
    texture = nullptr;
  }
  scene.maze.release();
  print_line("OK!!");
  screen_refresh();  // the window shows the line during the last second
  sleep_ms(1000);
}
}  // namespace

int32_t main_routine(const AppOptions& options, FrameStats* stats) {
  App app;
  start_up(app, options);
  do {
    frame(app, stats);
  } while (!app.controls.EXIT_GAME);
  shut_down(app);
  return 0;
}
