// --bench: the tour once per render mode, timed frame by frame.
#pragma once
#include <cstdint>

#include "cli/options.h"

// Runs the benchmark, prints the table (and writes JSON when asked); returns the
// exit status.
int32_t run_bench(const ProgramOptions& options);
