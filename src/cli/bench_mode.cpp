#include "cli/bench_mode.h"

#include <sys/resource.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "app/frame_stats.h"
#include "app/main_routine.h"
#include "render/model_transform.h"
#include "render/render_globals.h"
#include "platform/headless_host.h"

namespace {
struct BENCH_MODE {
  const char* NAME;
  int32_t ISCALE, ANTI_ALIAS, TEXTURED, WIRE_FRAME;
};

const BENCH_MODE MODES[] = {
    {"default", -1, -1, -1, 0},     {"anti-alias only", 0, -1, -1, 0},
    {"half-res only", -1, 0, -1, 0}, {"both off", 0, 0, -1, 0},
    {"wire frame", -1, -1, -1, -1}, {"flat", -1, -1, 0, 0},
};

struct BENCH_RESULT {
  const char* NAME;
  int64_t FRAMES;
  double MEDIAN_MS, P95_MS, MEAN_TRIANGLES;
  int64_t DROPPED;
  double PEAK_RSS_MIB;
};

// A headless host that notes the real time at which each frame is shown.
// Sleeps and retrace waits cost nothing here, so the gaps are the frames' work.
class TIMING_HOST : public HEADLESS_HOST {
 public:
  using HEADLESS_HOST::HEADLESS_HOST;
  void PRESENT(const uint32_t* PAGE, int32_t WIDTH, int32_t HEIGHT) override {
    HEADLESS_HOST::PRESENT(PAGE, WIDTH, HEIGHT);
    const auto NOW = std::chrono::steady_clock::now();
    if (HAVE_LAST_)
      FRAME_MS.push_back(std::chrono::duration<double, std::milli>(NOW - LAST_).count());
    LAST_ = NOW;
    HAVE_LAST_ = true;
  }
  std::vector<double> FRAME_MS;

 private:
  std::chrono::steady_clock::time_point LAST_;
  bool HAVE_LAST_ = false;
};

double PERCENTILE(std::vector<double> V, double P) {
  if (V.empty()) return 0.0;
  std::sort(V.begin(), V.end());
  const size_t I = std::min(V.size() - 1, size_t(P * double(V.size() - 1) + 0.5));
  return V[I];
}

double PEAK_RSS_MIB() {
  struct rusage USAGE;
  getrusage(RUSAGE_SELF, &USAGE);
  return double(USAGE.ru_maxrss) / 1024.0;
}

BENCH_RESULT RUN_MODE(const BENCH_MODE& MODE, const HEADLESS_SETTINGS& BASE) {
  HEADLESS_SETTINGS SETTINGS = BASE;
  SETTINGS.ECHO_TEXT = false;
  SETTINGS.SHOTS.clear();
  // Each mode keeps its switches: the tour's switch keys are left out.
  std::erase_if(SETTINGS.EVENTS, [](const INPUT_EVENT& E) {
    return E.KIND != INPUT_KIND::MOUSE && E.A >= SC_1 && E.A <= SC_4;
  });
  TIMING_HOST HOST_(SETTINGS);
  HOST* PREVIOUS = HOST_GET();
  HOST_SET(&HOST_);
  ISCALE = MODE.ISCALE;
  ANTI_ALIAS = MODE.ANTI_ALIAS;
  TEXTURED = MODE.TEXTURED;
  WIRE_FRAME = MODE.WIRE_FRAME;
  FRAME_STATS STATS;
  FRAME_STATS_SINK = &STATS;
  DROPPED_TRIANGLES = 0;
  MAIN_ROUTINE();
  FRAME_STATS_SINK = nullptr;
  HOST_SET(PREVIOUS);
  return BENCH_RESULT{MODE.NAME,
                      STATS.FRAMES,
                      PERCENTILE(HOST_.FRAME_MS, 0.5),
                      PERCENTILE(HOST_.FRAME_MS, 0.95),
                      STATS.FRAMES ? double(STATS.TRIANGLES_QUEUED) / double(STATS.FRAMES) : 0.0,
                      DROPPED_TRIANGLES,
                      PEAK_RSS_MIB()};
}

void WRITE_JSON(const std::string& PATH, const std::vector<BENCH_RESULT>& RESULTS) {
  std::FILE* OUT = std::fopen(PATH.c_str(), "w");
  if (!OUT) {
    std::fprintf(stderr, "mazewalk: cannot write %s\n", PATH.c_str());
    return;
  }
  std::fprintf(OUT, "{\n  \"modes\": [\n");
  for (size_t I = 0; I < RESULTS.size(); ++I) {
    const BENCH_RESULT& R = RESULTS[I];
    std::fprintf(OUT,
                 "    {\"mode\": \"%s\", \"frames\": %lld, \"median_ms\": %.4f, \"p95_ms\": %.4f, "
                 "\"mean_triangles\": %.1f, \"dropped_triangles\": %lld, \"peak_rss_mib\": %.1f}%s\n",
                 R.NAME, (long long)R.FRAMES, R.MEDIAN_MS, R.P95_MS, R.MEAN_TRIANGLES,
                 (long long)R.DROPPED, R.PEAK_RSS_MIB, I + 1 < RESULTS.size() ? "," : "");
  }
  std::fprintf(OUT, "  ]\n}\n");
  std::fclose(OUT);
}
}  // namespace

int32_t RUN_BENCH(const PROGRAM_OPTIONS& OPTIONS) {
  HEADLESS_SETTINGS BASE = OPTIONS.HEADLESS_SETTINGS_;
  // Without a tour the benchmark walks nowhere for a fixed number of frames.
  if (BASE.EVENTS.empty() && BASE.ESCAPE_FRAME == 0) BASE.ESCAPE_FRAME = 600;
  std::vector<BENCH_RESULT> RESULTS;
  std::printf("%-16s %7s %10s %10s %12s %8s %10s\n", "mode", "frames", "median ms", "p95 ms",
              "triangles", "dropped", "peak MiB");
  for (const BENCH_MODE& MODE : MODES) {
    RESULTS.push_back(RUN_MODE(MODE, BASE));
    const BENCH_RESULT& R = RESULTS.back();
    std::printf("%-16s %7lld %10.3f %10.3f %12.1f %8lld %10.1f\n", R.NAME, (long long)R.FRAMES,
                R.MEDIAN_MS, R.P95_MS, R.MEAN_TRIANGLES, (long long)R.DROPPED, R.PEAK_RSS_MIB);
    std::fflush(stdout);
  }
  if (!OPTIONS.JSON_FILE.empty()) WRITE_JSON(OPTIONS.JSON_FILE, RESULTS);
  return 0;
}
