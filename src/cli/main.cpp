// The executable: reads the command line, picks the host and runs the main routine.
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>

#include "cli/bench_mode.h"
#include "app/main_routine.h"
#include "cli/options.h"
#include "platform/fail.h"
#include "platform/files.h"
#include "platform/headless_host.h"
#ifdef __EMSCRIPTEN__
#include "platform/web_host.h"
#else
#include "platform/sdl_host.h"
#endif
#include "render/draw_workers.h"
#include "render/render_globals.h"

namespace {
constexpr int EXIT_USAGE = 64;

bool read_script(const std::string& path, std::vector<InputEvent>& events) {
  std::error_code ec;
  if (std::filesystem::is_directory(path, ec)) {
    std::fprintf(stderr, "mazewalk: the input script %s is a folder\n", path.c_str());
    return false;
  }
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    std::fprintf(stderr, "mazewalk: cannot read input script %s\n", path.c_str());
    return false;
  }
  std::stringstream text;
  text << in.rdbuf();
  std::string error;
  if (!parse_input_script(text.str(), events, error)) {
    std::fprintf(stderr, "mazewalk: %s: %s\n", path.c_str(), error.c_str());
    return false;
  }
  return true;
}

std::string absolute(const std::string& path) {
  std::error_code ec;
  const auto p = std::filesystem::absolute(path, ec);
  return ec ? path : p.string();
}

// A headless run ends in the frame that presses Escape; a run that never would
// is refused, and so is a shot of a frame after the end.
bool check_run_ends(const HeadlessSettings& hs) {
  const int32_t last = hs.last_frame();
  if (last == 0) {
    std::fprintf(stderr,
                 "mazewalk: this run would never end: give --frames N, or an input script "
                 "that presses ESC\n");
    return false;
  }
  for (const ShotRequest& shot : hs.shots)
    if (shot.frame > last) {
      std::fprintf(stderr, "mazewalk: --shot %d is after the last frame, %d\n", shot.frame, last);
      return false;
    }
  return true;
}
}  // namespace

int main(int argc, char** argv) {
  ProgramOptions o;
  std::string message;
  if (!parse_options(argc, argv, o, message)) {
    std::fprintf(stderr, "mazewalk: %s\n%s", message.c_str(), usage_text().c_str());
    return EXIT_USAGE;
  }
  if (o.help) {
    std::fputs(usage_text().c_str(), stdout);
    return 0;
  }
  if (o.version) {
    std::printf("%s\n", version_text().c_str());
    return 0;
  }
  // Paths on the command line are relative to where the program was started.
  const std::string start_dir = absolute(".");
  HeadlessSettings& hs = o.headless_settings_;
  if (!o.input_file.empty() && !read_script(o.input_file, hs.events)) return EXIT_USAGE;
  for (ShotRequest& shot : hs.shots) shot.filename = absolute(shot.filename);
  if (!o.json_file.empty()) o.json_file = absolute(o.json_file);
  if (!o.app.maze_model.empty()) o.app.maze_model = absolute(o.app.maze_model);
  if (!o.app.maze_texture.empty()) o.app.maze_texture = absolute(o.app.maze_texture);
  // The data files are read relative to the folder that holds res/.
  std::string data_root = o.res_dir;
  if (data_root.empty()) {
    const std::vector<std::string> candidates = data_root_candidates();
    data_root = find_data_root(candidates);
    if (data_root.empty()) {
      std::string looked;
      for (const std::string& folder : candidates)
        looked += (looked.empty() ? "" : ", ") + absolute(folder);
      set_missing_file_hint("no res/ folder in " + looked + "; --res DIR names the folder that holds res/");
    }
  } else {
    set_missing_file_hint("--res DIR names the folder that holds res/");
  }
  if (!data_root.empty() && data_root != "." && chdir(data_root.c_str()) != 0) {
    std::fprintf(stderr, "mazewalk: cannot enter %s\n", data_root.c_str());
    return EXIT_USAGE;
  }
  if (o.demo && !read_script(DEMO_SCRIPT, hs.events)) return EXIT_USAGE;
  // The benchmark walks the tour unless given a script of its own.
  if (o.bench && !o.demo && o.input_file.empty() && std::filesystem::exists(DEMO_SCRIPT) &&
      !read_script(DEMO_SCRIPT, hs.events))
    return EXIT_USAGE;

  // Without a tour the benchmark walks nowhere for a fixed number of frames.
  if (o.bench && hs.events.empty() && hs.escape_frame == 0) hs.escape_frame = BENCH_FRAMES;
  if ((o.headless || o.bench) && !check_run_ends(hs)) return EXIT_USAGE;

  // How the frames are drawn: on how many threads, with which vector code.
  simd_path = o.simd ? best_simd_path() : SimdPath::PORTABLE;
  o.app.draw_threads = o.threads > 0 ? o.threads : hardware_threads();
  if (o.bench) return run_bench(o);

  std::unique_ptr<Host> h;
  HeadlessHost* headless = nullptr;
#ifdef __EMSCRIPTEN__
  // In a browser every run is shown on the page; a headless command line
  // replays its script on the virtual clock there.
  WebSettings web;
  web.seed = o.seed_given ? hs.seed : 0;
  web.replay = o.headless;
  web.script = hs;
  h = std::make_unique<WebHost>(web);
#else
  if (o.headless) {
    auto own = std::make_unique<HeadlessHost>(hs);
    headless = own.get();
    h = std::move(own);
  } else {
    SdlSettings window;
    window.scale = o.scale;
    window.fullscreen = o.fullscreen;
    window.seed = o.seed_given ? hs.seed : 0;
    window.shot_dir = start_dir;
    h = std::make_unique<SdlHost>(window);
  }
#endif
  host_set(h.get());
  const int32_t status = main_routine(o.app);
  if (headless) {
    headless->finish();
    if (headless->shot_failures() > 0) return ERR_FILE_IO;
  }
#ifdef __EMSCRIPTEN__
  h.reset();
  end_in_page(status);
#endif
  return status;
}
