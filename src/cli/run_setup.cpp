#include "cli/run_setup.h"

#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "cli/bench_mode.h"
#include "base/fail.h"
#include "base/file_notes.h"

namespace {
// Enters the folder that holds res/: --res, or the first candidate that has
// one. Without one the run goes on, and a missing file names where it looked.
bool enter_data_root(const std::string& res_dir, std::string& message) {
  std::string root = res_dir;
  if (root.empty()) {
    const std::vector<std::string> candidates = data_root_candidates();
    root = find_data_root(candidates);
    if (root.empty()) {
      std::string looked;
      for (const std::string& folder : candidates)
        looked += (looked.empty() ? "" : ", ") + absolute_path(folder);
      set_missing_file_hint("no res/ folder in " + looked +
                            "; --res DIR names the folder that holds res/");
    }
  } else {
    set_missing_file_hint("--res DIR names the folder that holds res/");
  }
  if (!root.empty() && root != "." && chdir(root.c_str()) != 0) {
    message = "cannot enter " + root;
    return false;
  }
  return true;
}
}  // namespace

std::string absolute_path(const std::string& path) {
  std::error_code ec;
  const auto p = std::filesystem::absolute(path, ec);
  return ec ? path : p.string();
}

bool read_script(const std::string& path, std::vector<InputEvent>& events, std::string& message) {
  std::error_code ec;
  if (std::filesystem::is_directory(path, ec)) {
    message = "the input script " + path + " is a folder";
    return false;
  }
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    message = "cannot read input script " + path;
    return false;
  }
  std::stringstream text;
  text << in.rdbuf();
  std::string error;
  if (!parse_input_script(text.str(), events, error)) {
    message = path + ": " + error;
    return false;
  }
  return true;
}

bool check_run_ends(const HeadlessSettings& settings, std::string& message) {
  const int32_t last = settings.last_frame();
  if (last == 0) {
    message = "this run would never end: give --frames N, or an input script that presses ESC";
    return false;
  }
  for (const ShotRequest& shot : settings.shots)
    if (shot.frame > last) {
      message = "--shot " + std::to_string(shot.frame) + " is after the last frame, " +
                std::to_string(last);
      return false;
    }
  return true;
}

bool prepare_run(ProgramOptions& o, std::string& message) {
  HeadlessSettings& hs = o.headless_settings_;
  if (o.seed) hs.seed = *o.seed;
  // Paths on the command line are relative to where the program was started.
  if (!o.input_file.empty() && !read_script(o.input_file, hs.events, message)) return false;
  for (ShotRequest& shot : hs.shots) shot.filename = absolute_path(shot.filename);
  if (!o.json_file.empty()) o.json_file = absolute_path(o.json_file);
  if (!o.app.maze_model.empty()) o.app.maze_model = absolute_path(o.app.maze_model);
  if (!o.app.maze_texture.empty()) o.app.maze_texture = absolute_path(o.app.maze_texture);
  // The data files, the tour among them, are read relative to the folder that holds res/.
  if (!enter_data_root(o.res_dir, message)) return false;
  if (o.demo && !read_script(DEMO_SCRIPT, hs.events, message)) return false;
  // The benchmark walks the tour unless given a script of its own.
  if (o.bench && !o.demo && o.input_file.empty() && std::filesystem::exists(DEMO_SCRIPT) &&
      !read_script(DEMO_SCRIPT, hs.events, message))
    return false;
  // Without a tour the benchmark walks nowhere for a fixed number of frames.
  if (o.bench && hs.events.empty() && hs.escape_frame == 0) hs.escape_frame = BENCH_FRAMES;
  return !(o.headless || o.bench) || check_run_ends(hs, message);
}

SdlSettings window_settings(const ProgramOptions& o, const std::string& shot_dir) {
  SdlSettings window;
  window.scale = o.scale;
  window.fullscreen = o.fullscreen;
  window.seed = o.seed;
  window.shot_dir = shot_dir;
  return window;
}

WebSettings page_settings(const ProgramOptions& o) {
  WebSettings page;
  page.seed = o.seed;
  page.replay = o.headless;
  page.script = o.headless_settings_;
  return page;
}

std::unique_ptr<Host> make_host(const ProgramOptions& o, const std::string& shot_dir) {
#ifdef __EMSCRIPTEN__
  (void)shot_dir;
  return std::make_unique<WebHost>(page_settings(o));
#else
  if (o.headless) return std::make_unique<HeadlessHost>(o.headless_settings_);
  return std::make_unique<SdlHost>(window_settings(o, shot_dir));
#endif
}

int32_t with_output_written(int32_t status) {
  const bool written = std::fflush(stdout) == 0 && !std::ferror(stdout);
  if (written || status != 0) return status;
  std::fprintf(stderr, "mazewalk: cannot write the standard output\n");
  return ERR_FILE_IO;
}
