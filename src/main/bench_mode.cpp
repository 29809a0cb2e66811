#include "main/bench_mode.h"

#include <cstdio>

int32_t RUN_BENCH(const PROGRAM_OPTIONS&) {
  std::fprintf(stderr, "mazewalk: --bench is not available yet\n");
  return 1;
}
