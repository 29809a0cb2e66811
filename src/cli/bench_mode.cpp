#include "cli/bench_mode.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "app/frame_stats.h"
#include "app/main_routine.h"
#include "render/render_globals.h"
#include "platform/fail.h"
#include "platform/headless_host.h"
#include "platform/memory_use.h"

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

BenchResult run_mode(const BenchMode& mode, const HeadlessSettings& base,
                     const AppOptions& app_options) {
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
  main_routine(app_options, &stats);
  host_set(previous);
  return BenchResult{mode.name,
                      stats.frames,
                      percentile(host_.frame_ms, 0.5),
                      percentile(host_.frame_ms, 0.95),
                      stats.frames ? double(stats.triangles_queued) / double(stats.frames) : 0.0,
                      stats.dropped_triangles,
                      peak_memory_mib()};
}

// Writes the table as JSON to OUT and closes it. False when a write or the
// close fails.
bool write_json(std::FILE* out, const std::vector<BenchResult>& results) {
  bool ok = std::fprintf(out, "{\n  \"modes\": [\n") >= 0;
  for (size_t i = 0; i < results.size(); ++i) {
    const BenchResult& r = results[i];
    ok &= std::fprintf(out,
                       "    {\"mode\": \"%s\", \"frames\": %lld, \"median_ms\": %.4f, "
                       "\"p95_ms\": %.4f, \"mean_triangles\": %.1f, \"dropped_triangles\": "
                       "%lld, \"peak_rss_mib\": %.1f}%s\n",
                       r.name, (long long)r.frames, r.median_ms, r.p95_ms, r.mean_triangles,
                       (long long)r.dropped, r.peak_rss_mib,
                       i + 1 < results.size() ? "," : "") >= 0;
  }
  ok &= std::fprintf(out, "  ]\n}\n") >= 0;
  ok &= std::fflush(out) == 0 && !std::ferror(out);
  ok &= std::fclose(out) == 0;
  return ok;
}

int32_t cannot_write(const std::string& path) {
  std::fprintf(stderr, "mazewalk: cannot write %s\n", path.c_str());
  return ERR_FILE_IO;
}
}  // namespace

int32_t run_bench(const ProgramOptions& options) {
  // The JSON file is opened first: a path that cannot be written stops the
  // benchmark before it runs, as it would after.
  std::FILE* json = nullptr;
  if (!options.json_file.empty()) {
    json = std::fopen(options.json_file.c_str(), "w");
    if (!json) return cannot_write(options.json_file);
  }
  HeadlessSettings base = options.headless_settings_;
  std::vector<BenchResult> results;
  std::printf("%-16s %7s %10s %10s %12s %8s %10s\n", "mode", "frames", "median ms", "p95 ms",
              "triangles", "dropped", "peak MiB");
  for (const BenchMode& mode : MODES) {
    results.push_back(run_mode(mode, base, options.app));
    const BenchResult& r = results.back();
    std::printf("%-16s %7lld %10.3f %10.3f %12.1f %8lld %10.1f\n", r.name, (long long)r.frames,
                r.median_ms, r.p95_ms, r.mean_triangles, (long long)r.dropped, r.peak_rss_mib);
    std::fflush(stdout);
  }
  if (json && !write_json(json, results)) return cannot_write(options.json_file);
  return 0;
}
