// The drawing threads. A frame's drawing, clears and post-filters are split
// into bands of rows; the calling thread and the workers take the bands one
// by one until none is left, and the call returns when every band is done. To
// the caller it is one call on one thread: nothing of it runs before the call
// or after its return.
#pragma once
#include <cstdint>

// Drawing runs on THREADS threads: the caller and THREADS - 1 workers (1 to
// MAX_DRAW_THREADS; other values are held to that range). With 1, no worker
// exists and everything runs on the caller. Changing the number joins the old
// workers first. Call it only between frames, from the thread that draws.
constexpr int32_t MAX_DRAW_THREADS = 64;
void set_draw_threads(int32_t threads);
int32_t draw_threads();

// The number of threads the hardware runs at once (at least 1).
int32_t hardware_threads();

// Stops and joins the workers (drawing goes on on the calling thread alone).
void stop_draw_workers();

// Runs JOB(CONTEXT, band) for every band from 0 to BANDS - 1, each exactly
// once, spread over the drawing threads; returns when all have returned.
// Band B goes to thread B mod draw_threads() unless that thread falls behind,
// so jobs that cut the same rows into the same bands keep each band's rows
// with one thread (and in its cache) from job to job.
// JOB must not call run_bands itself, and must not stop the program: a
// failure is found on the calling thread before the bands start.
using BandJob = void (*)(void* context, int32_t band);
void run_bands(int32_t bands, BandJob job, void* context);

// The same with any callable taking the band number.
template <class F>
void for_each_band(int32_t bands, F&& f) {
  run_bands(
      bands, [](void* context, int32_t band) { (*static_cast<F*>(context))(band); },
      static_cast<void*>(&f));
}

// How many bands a frame's jobs cut their rows into: 1 on one thread, else a
// few per thread, so that a thread done early can take another's band. The
// clears, the drawing and the filters all use it, so each thread keeps its
// rows through the frame.
int32_t frame_bands();

// The rows FIRST to END - 1 of band BAND when ROWS rows are cut into BANDS
// bands of nearly equal height, top to bottom.
struct BandRows {
  int32_t first, end;
};
BandRows band_rows(int32_t rows, int32_t bands, int32_t band);

// ROWS rows cut into BANDS bands (band_rows), F(first, end) run once for each
// band's rows FIRST to END - 1, spread over the drawing threads as
// for_each_band spreads them.
template <class F>
void for_each_row_band(int32_t rows, int32_t bands, F&& f) {
  for_each_band(bands, [&](int32_t band) {
    const BandRows r = band_rows(rows, bands, band);
    f(r.first, r.end);
  });
}
