#include "cli/bench_mode.h"

#include <sys/resource.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "app/frame_stats.h"
#include "app/main_routine.h"
#include "render/render_globals.h"
#include "platform/headless_host.h"

namespace {
struct BenchMode {
  const char* name;
  int32_t iscale, anti_alias, textured, wire_frame;
};

const BenchMode MODES[] = {
    {"default", -1, -1, -1, 0},     {"anti-alias only", 0, -1, -1, 0},
    {"half-res only", -1, 0, -1, 0}, {"both off", 0, 0, -1, 0},
    {"wire frame", -1, -1, -1, -1}, {"flat", -1, -1, 0, 0},
};

struct BenchResult {
  const char* name;
  int64_t frames;
  double median_ms, p95_ms, mean_triangles;
  int64_t dropped;
  double peak_rss_mib;
};

// A headless host that notes the real time at which each frame is shown.
// Sleeps and retrace waits cost nothing here, so the gaps are the frames' work.
class TimingHost : public HeadlessHost {
 public:
  using HeadlessHost::HeadlessHost;
  void present(const uint32_t* page, int32_t width, int32_t height) override {
    HeadlessHost::present(page, width, height);
    const auto now = std::chrono::steady_clock::now();
    if (have_last_)
      frame_ms.push_back(std::chrono::duration<double, std::milli>(now - last_).count());
    last_ = now;
    have_last_ = true;
  }
  std::vector<double> frame_ms;

 private:
  std::chrono::steady_clock::time_point last_;
  bool have_last_ = false;
};

double percentile(std::vector<double> v, double p) {
  if (v.empty()) return 0.0;
  std::sort(v.begin(), v.end());
  const size_t i = std::min(v.size() - 1, size_t(p * double(v.size() - 1) + 0.5));
  return v[i];
}

double peak_rss_mib() {
  struct rusage usage;
  getrusage(RUSAGE_SELF, &usage);
  return double(usage.ru_maxrss) / 1024.0;
}

BenchResult run_mode(const BenchMode& mode, const HeadlessSettings& base,
                     const PlayerModes& player_modes) {
  HeadlessSettings settings = base;
  settings.echo_text = false;
  settings.shots.clear();
  // Each mode keeps its switches: the tour's switch keys are left out.
  std::erase_if(settings.events, [](const InputEvent& e) {
    return e.kind != InputKind::MOUSE && e.a >= SC_1 && e.a <= SC_4;
  });
  TimingHost host_(settings);
  Host* previous = host_get();
  host_set(&host_);
  ISCALE = mode.iscale;
  ANTI_ALIAS = mode.anti_alias;
  TEXTURED = mode.textured;
  WIRE_FRAME = mode.wire_frame;
  FrameStats stats;
  main_routine(&stats, player_modes);
  host_set(previous);
  return BenchResult{mode.name,
                      stats.frames,
                      percentile(host_.frame_ms, 0.5),
                      percentile(host_.frame_ms, 0.95),
                      stats.frames ? double(stats.triangles_queued) / double(stats.frames) : 0.0,
                      stats.dropped_triangles,
                      peak_rss_mib()};
}

void write_json(const std::string& path, const std::vector<BenchResult>& results) {
  std::FILE* out = std::fopen(path.c_str(), "w");
  if (!out) {
    std::fprintf(stderr, "mazewalk: cannot write %s\n", path.c_str());
    return;
  }
  std::fprintf(out, "{\n  \"modes\": [\n");
  for (size_t i = 0; i < results.size(); ++i) {
    const BenchResult& r = results[i];
    std::fprintf(out,
                 "    {\"mode\": \"%s\", \"frames\": %lld, \"median_ms\": %.4f, \"p95_ms\": %.4f, "
                 "\"mean_triangles\": %.1f, \"dropped_triangles\": %lld, \"peak_rss_mib\": %.1f}%s\n",
                 r.name, (long long)r.frames, r.median_ms, r.p95_ms, r.mean_triangles,
                 (long long)r.dropped, r.peak_rss_mib, i + 1 < results.size() ? "," : "");
  }
  std::fprintf(out, "  ]\n}\n");
  std::fclose(out);
}
}  // namespace

int32_t run_bench(const ProgramOptions& options) {
  HeadlessSettings base = options.headless_settings_;
  // Without a tour the benchmark walks nowhere for a fixed number of frames.
  if (base.events.empty() && base.escape_frame == 0) base.escape_frame = 600;
  std::vector<BenchResult> results;
  std::printf("%-16s %7s %10s %10s %12s %8s %10s\n", "mode", "frames", "median ms", "p95 ms",
              "triangles", "dropped", "peak MiB");
  for (const BenchMode& mode : MODES) {
    results.push_back(run_mode(mode, base, options.modes));
    const BenchResult& r = results.back();
    std::printf("%-16s %7lld %10.3f %10.3f %12.1f %8lld %10.1f\n", r.name, (long long)r.frames,
                r.median_ms, r.p95_ms, r.mean_triangles, (long long)r.dropped, r.peak_rss_mib);
    std::fflush(stdout);
  }
  if (!options.json_file.empty()) write_json(options.json_file, results);
  return 0;
}
