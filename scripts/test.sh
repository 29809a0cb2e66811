#!/usr/bin/env bash
# Installs what is missing, builds and runs every test:
#   the browser build (build-web/, tested from the Release build's tests, and zipped),
#   a Release build (unit, golden-frame, real-window and browser tests; the demo
#     tour compared frame by frame across thread counts and SIMD paths; the Debian
#     package made from it and checked),
#   an AddressSanitizer + UndefinedBehaviorSanitizer build (unit tests),
#   a ThreadSanitizer build (unit tests and the demo tour on three threads),
#   a clang libFuzzer build (short bounded fuzz runs).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh test
JOBS=$(nproc)
MAZEWALK_WERROR=ON scripts/web.sh package

cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release -DMAZEWALK_WERROR=ON -DMAZEWALK_TESTS=ON \
  -DMAZEWALK_BENCH=ON
cmake --build build -j "$JOBS"
ctest --test-dir build --output-on-failure -j "$JOBS" -LE fuzz
scripts/package.sh check

cmake -S . -B build-san -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DMAZEWALK_SANITIZE=ON -DMAZEWALK_WERROR=ON \
  -DMAZEWALK_BENCH=OFF
cmake --build build-san -j "$JOBS"
ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
  ctest --test-dir build-san --output-on-failure -j "$JOBS" -L unit

# The drawing threads under ThreadSanitizer: every unit test (but the one that
# starves the process of address space, which the sanitizer itself needs) and
# the whole demo tour on three threads, with the switches flipping as it goes.
cmake -S . -B build-tsan -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DMAZEWALK_TSAN=ON -DMAZEWALK_WERROR=ON \
  -DMAZEWALK_BENCH=OFF
cmake --build build-tsan -j "$JOBS"
TSAN_OPTIONS=halt_on_error=1 \
  ctest --test-dir build-tsan --output-on-failure -j "$JOBS" -L unit -E CountBeyondTheMemoryIsOutOfMemory
TSAN_OPTIONS=halt_on_error=1 build-tsan/mazewalk --headless --demo --threads 3 >/dev/null

cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ \
  -DCMAKE_C_COMPILER=clang -DMAZEWALK_FUZZ=ON -DMAZEWALK_WERROR=ON -DMAZEWALK_TESTS=OFF -DMAZEWALK_BENCH=OFF
cmake --build build-fuzz -j "$JOBS"
ctest --test-dir build-fuzz --output-on-failure -L fuzz
grep -h "stat::number_of_executed_units" build-fuzz/Testing/Temporary/LastTest.log 2>/dev/null || true
