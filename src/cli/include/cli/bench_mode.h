// --bench: the tour once per render mode and thread count, timed frame by frame.
#pragma once
#include <cstdint>
#include <functional>
#include <vector>

#include "app/frame_stats.h"
#include "cli/options.h"
#include "platform/headless_host.h"

// Frames the benchmark plays per mode where there is no tour to walk.
constexpr int32_t BENCH_FRAMES = 600;

// Runs the benchmark, prints the table (and writes JSON when asked); returns the
// exit status.
int32_t run_bench(const ProgramOptions& options);

// A render mode: the four switches, held for the whole run.
struct RenderMode {
  const char* name;
  int32_t iscale, anti_alias, textured, wire_frame;
};
// Default, each quality switch alone, both off, wire frame, flat.
const std::vector<RenderMode>& render_modes();

// Called with every page the program shows: the pixels (rows WIDTH * 4 bytes
// apart) and the real time at which it was shown.
using PageWatcher = std::function<void(const uint32_t* page, int32_t width, int32_t height)>;

// Plays the script of SETTINGS on a headless host (no text echo, no shots).
// With MODE, the program runs in that mode throughout: the script's switch
// keys are left out. Without it, the script runs as written, switches and all.
// APP says what the command line changed (a maze of the user's own, say).
// Returns the frame loop's statistics (stage times when TIME_STAGES).
FrameStats play_headless(const HeadlessSettings& settings, const RenderMode* mode,
                         const PageWatcher& watch, bool time_stages, const AppOptions& app = {});
