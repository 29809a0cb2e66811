#include "cli/bench_mode.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "app/frame_stats.h"
#include "app/main_routine.h"
#include "base/fail.h"
#include "base/memory_use.h"
#include "platform/current_platform.h"
#include "platform/headless_host.h"
#include "platform/input.h"
#include "render/draw_workers.h"
#include "render/render_globals.h"

namespace {
const std::vector<RenderMode> MODES = {
    {"default", -1, -1, -1, 0}, {"anti-alias only", 0, -1, -1, 0}, {"half-res only", -1, 0, -1, 0},
    {"both off", 0, 0, -1, 0},  {"wire frame", -1, -1, -1, -1},    {"flat", -1, -1, 0, 0},
};

struct BenchResult {
  const char* name;
  int32_t threads;
  int64_t frames;
  double median_ms, p95_ms;
  StageTimes stage_ms;  // medians
  double mean_submitted, mean_culled_by_chunk, mean_occluded, mean_triangles;
  int64_t dropped;
  double peak_rss_mib;
};

// A headless host that shows every page to a watcher.
class WatchingHost : public HeadlessHost {
 public:
  WatchingHost(HeadlessSettings settings, const PageWatcher& watch)
      : HeadlessHost(std::move(settings)), watch_(watch) {}
  void present(const uint32_t* page, int32_t width, int32_t height) override {
    HeadlessHost::present(page, width, height);
    if (watch_) watch_(page, width, height);
  }

 private:
  const PageWatcher& watch_;
};

double percentile(std::vector<double> v, double p) {
  if (v.empty()) return 0.0;
  std::sort(v.begin(), v.end());
  const size_t i = std::min(v.size() - 1, size_t(p * double(v.size() - 1) + 0.5));
  return v[i];
}

double median_of(const std::vector<StageTimes>& stages, double StageTimes::*field) {
  std::vector<double> v;
  v.reserve(stages.size());
  for (const StageTimes& s : stages) v.push_back(s.*field);
  return percentile(std::move(v), 0.5);
}

BenchResult run_mode(const RenderMode& mode, const HeadlessSettings& base, int32_t threads,
                     AppOptions app) {
  app.draw_threads = threads;
  // The real time at which each frame is shown. Sleeps and retrace waits cost
  // nothing here, so the gaps are the frames' work.
  std::vector<double> frame_ms;
  std::chrono::steady_clock::time_point last;
  bool have_last = false;
  const PageWatcher watch = [&](const uint32_t*, int32_t, int32_t) {
    const auto now = std::chrono::steady_clock::now();
    if (have_last)
      frame_ms.push_back(std::chrono::duration<double, std::milli>(now - last).count());
    last = now;
    have_last = true;
  };
  const FrameStats stats = play_headless(base, &mode, watch, true, app);
  BenchResult r{};
  r.name = mode.name;
  r.threads = threads;
  r.frames = stats.frames;
  r.median_ms = percentile(frame_ms, 0.5);
  r.p95_ms = percentile(frame_ms, 0.95);
  r.stage_ms.transform = median_of(stats.stages, &StageTimes::transform);
  r.stage_ms.probe = median_of(stats.stages, &StageTimes::probe);
  r.stage_ms.drawing = median_of(stats.stages, &StageTimes::drawing);
  const auto per_frame = [&stats](int64_t sum) {
    return stats.frames ? double(sum) / double(stats.frames) : 0.0;
  };
  r.mean_submitted = per_frame(stats.triangles_submitted);
  r.mean_culled_by_chunk = per_frame(stats.triangles_culled_by_chunk);
  r.mean_occluded = per_frame(stats.triangles_occluded);
  r.mean_triangles = per_frame(stats.triangles_queued);
  r.dropped = stats.dropped_triangles;
  r.peak_rss_mib = peak_memory_mib();
  return r;
}

// Writes the table as JSON to OUT and closes it. False when a write or the
// close fails.
bool write_json(std::FILE* out, const std::vector<BenchResult>& results) {
  bool ok = std::fprintf(out, "{\n  \"simd_path\": \"%s\",\n  \"modes\": [\n",
                         simd_path_name(simd_path)) >= 0;
  for (size_t i = 0; i < results.size(); ++i) {
    const BenchResult& r = results[i];
    ok &= std::fprintf(
              out,
              "    {\"mode\": \"%s\", \"threads\": %d, \"frames\": %lld, \"median_ms\": %.4f, "
              "\"p95_ms\": %.4f, \"transform_ms\": %.4f, \"probe_ms\": %.4f, "
              "\"drawing_ms\": %.4f, \"mean_submitted\": %.1f, "
              "\"mean_culled_by_chunk\": %.1f, \"mean_occluded\": %.1f, \"mean_triangles\": %.1f, "
              "\"dropped_triangles\": %lld, \"peak_rss_mib\": %.1f}%s\n",
              r.name, r.threads, (long long)r.frames, r.median_ms, r.p95_ms, r.stage_ms.transform,
              r.stage_ms.probe, r.stage_ms.drawing, r.mean_submitted, r.mean_culled_by_chunk,
              r.mean_occluded, r.mean_triangles, (long long)r.dropped, r.peak_rss_mib,
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

// The table so far has reached standard output.
bool table_written() {
  return std::fflush(stdout) == 0 && !std::ferror(stdout);
}
}  // namespace

const std::vector<RenderMode>& render_modes() {
  return MODES;
}

FrameStats play_headless(const HeadlessSettings& base, const RenderMode* mode,
                         const PageWatcher& watch, bool time_stages, const AppOptions& app) {
  HeadlessSettings settings = base;
  settings.echo_text = false;
  settings.shots.clear();
  if (mode) {
    // The mode holds throughout: the script's switch keys are left out.
    std::erase_if(settings.events, [](const InputEvent& e) {
      return e.kind != InputKind::MOUSE && e.a >= SC_1 && e.a <= SC_4;
    });
  }
  WatchingHost host(settings, watch);
  const Platform platform(host);
  const int32_t iscale = ISCALE, anti_alias = ANTI_ALIAS, textured = TEXTURED, wire = WIRE_FRAME;
  if (mode) {
    ISCALE = mode->iscale;
    ANTI_ALIAS = mode->anti_alias;
    TEXTURED = mode->textured;
    WIRE_FRAME = mode->wire_frame;
  }
  FrameStats stats;
  stats.time_stages = time_stages;
  main_routine(app, &stats);
  // The next run starts from the switches as they were.
  ISCALE = iscale, ANTI_ALIAS = anti_alias, TEXTURED = textured, WIRE_FRAME = wire;
  return stats;
}

int32_t run_bench(const ProgramOptions& options) {
  // The JSON file is opened first: a path that cannot be written stops the
  // benchmark before it runs, as it would after.
  std::FILE* json = nullptr;
  if (!options.json_file.empty()) {
    json = std::fopen(options.json_file.c_str(), "w");
    if (!json) return cannot_write(options.json_file);
  }
  const HeadlessSettings& base = options.headless_settings_;
  // One thread, and all of them.
  const int32_t all = options.app.draw_threads;
  std::vector<int32_t> thread_counts = {1};
  if (all > 1) thread_counts.push_back(all);
  std::vector<BenchResult> results;
  std::printf("simd path: %s%s\n", simd_path_name(simd_path),
              simd_path == best_simd_path() ? "" : " (this processor also runs a faster one)");
  std::printf("%-16s %7s %7s %9s %8s %9s %7s %7s %9s %9s %9s %9s %7s %8s\n", "mode",
              "threads", "frames", "median ms", "p95 ms", "transform", "probe", "drawing",
              "submitted", "by chunk", "occluded", "triangles", "dropped", "peak MiB");
  // A table that cannot be shown stops the benchmark, before it runs or after a row.
  bool shown = table_written();
  for (const RenderMode& mode : MODES) {
    const std::vector<std::string>& only = options.bench_modes;
    if (!only.empty() && std::find(only.begin(), only.end(), mode.name) == only.end()) continue;
    for (const int32_t threads : thread_counts) {
      if (!shown) break;
      results.push_back(run_mode(mode, base, threads, options.app));
      const BenchResult& r = results.back();
      std::printf(
          "%-16s %7d %7lld %9.3f %8.3f %9.3f %7.3f %7.3f %9.0f %9.0f %9.0f %9.1f %7lld "
          "%8.1f\n",
          r.name, r.threads, (long long)r.frames, r.median_ms, r.p95_ms, r.stage_ms.transform,
          r.stage_ms.probe, r.stage_ms.drawing, r.mean_submitted, r.mean_culled_by_chunk,
          r.mean_occluded, r.mean_triangles, (long long)r.dropped, r.peak_rss_mib);
      shown = table_written();
    }
  }
  if (!shown) {
    if (json) std::fclose(json);
    return cannot_write("the standard output");
  }
  if (json && !write_json(json, results)) return cannot_write(options.json_file);
  return 0;
}
