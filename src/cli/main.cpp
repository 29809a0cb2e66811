// The executable: reads the command line, readies the run, picks the host and
// runs the main routine (or the benchmark).
#include <cstdio>
#include <memory>

#include "app/main_routine.h"
#include "cli/bench_mode.h"
#include "cli/options.h"
#include "base/fail.h"
#include "cli/run_setup.h"
#include "platform/current_platform.h"
#include "platform/headless_host.h"
#include "render/draw_workers.h"
#include "render/render_globals.h"

namespace {
constexpr int EXIT_USAGE = 64;
}  // namespace

int main(int argc, char** argv) {
  ProgramOptions o;
  std::string message;
  if (!parse_options(argc, argv, o, message)) {
    std::fprintf(stderr, "mazewalk: %s\n%s", message.c_str(), usage_text().c_str());
    return EXIT_USAGE;
  }
  if (o.help || o.version) {
    std::fputs((o.help ? usage_text() : version_text() + "\n").c_str(), stdout);
    return with_output_written(0);
  }
  // F12 screenshots go where the program was started.
  const std::string start_dir = absolute_path(".");
  if (!prepare_run(o, message)) {
    std::fprintf(stderr, "mazewalk: %s\n", message.c_str());
    return EXIT_USAGE;
  }

  // How the frames are drawn: on how many threads, with which vector code.
  simd_path = o.simd ? best_simd_path() : SimdPath::PORTABLE;
  o.app.draw_threads = o.threads > 0 ? o.threads : hardware_threads();
  if (o.bench) return with_output_written(run_bench(o));

  std::unique_ptr<Host> host = make_host(o, start_dir);
  int32_t status = 0;
  {
    const Platform platform(*host);
    status = main_routine(o.app);
  }
  if (auto* headless = dynamic_cast<HeadlessHost*>(host.get())) {
    headless->finish();
    if (headless->shot_failures() > 0) status = ERR_FILE_IO;
  }
#ifdef __EMSCRIPTEN__
  host.reset();
  end_in_page(status);
#endif
  return with_output_written(status);
}
