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
#include "platform/headless_host.h"
#include "platform/sdl_host.h"
#include "render/draw_workers.h"
#include "render/render_globals.h"

namespace {
constexpr int EXIT_USAGE = 64;

bool read_script(const std::string& path, std::vector<InputEvent>& events) {
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
}  // namespace

int main(int argc, char** argv) {
  ProgramOptions o;
  std::string message;
  if (!parse_options(argc, argv, o, message)) {
    if (message.empty()) {
      std::fputs(usage_text(), stdout);
      return 0;
    }
    std::fprintf(stderr, "mazewalk: %s\n%s", message.c_str(), usage_text());
    return EXIT_USAGE;
  }
  // Paths on the command line are relative to where the program was started.
  const std::string start_dir = absolute(".");
  HeadlessSettings& hs = o.headless_settings_;
  if (!o.input_file.empty() && !read_script(o.input_file, hs.events)) return EXIT_USAGE;
  for (ShotRequest& shot : hs.shots) shot.filename = absolute(shot.filename);
  if (!o.json_file.empty()) o.json_file = absolute(o.json_file);
  // The data files are read relative to the resource folder.
  if (!o.res_dir.empty() && chdir(o.res_dir.c_str()) != 0) {
    std::fprintf(stderr, "mazewalk: cannot enter %s\n", o.res_dir.c_str());
    return EXIT_USAGE;
  }
  if (o.demo && !read_script(DEMO_SCRIPT, hs.events)) return EXIT_USAGE;
  // The benchmark walks the tour unless given a script of its own.
  if (o.bench && !o.demo && o.input_file.empty() && std::filesystem::exists(DEMO_SCRIPT) &&
      !read_script(DEMO_SCRIPT, hs.events))
    return EXIT_USAGE;

  // How the frames are drawn: on how many threads, with which vector code.
  simd_path = o.simd ? best_simd_path() : SimdPath::PORTABLE;
  set_draw_threads(o.threads > 0 ? o.threads : hardware_threads());
  if (o.bench) {
    const int32_t status = run_bench(o);
    stop_draw_workers();
    return status;
  }

  std::unique_ptr<Host> h;
  HeadlessHost* headless = nullptr;
  if (o.headless) {
    auto own = std::make_unique<HeadlessHost>(hs);
    headless = own.get();
    h = std::move(own);
  } else {
    h = std::make_unique<SdlHost>(o.scale, o.seed_given ? hs.seed : 0, start_dir);
  }
  host_set(h.get());
  const int32_t status = main_routine();
  stop_draw_workers();
  if (headless) {
    headless->finish();
    if (headless->shot_failures() > 0) return ERR_FILE_IO;
  }
  return status;
}
