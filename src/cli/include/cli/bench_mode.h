// --bench: the tour once per render mode, timed frame by frame.
#pragma once
#include <cstdint>

#include "cli/options.h"

// Frames the benchmark plays per mode where there is no tour to walk.
constexpr int32_t BENCH_FRAMES = 600;

// Runs the benchmark, prints the table (and writes JSON when asked); returns the
// exit status.
int32_t run_bench(const ProgramOptions& options);
