// The drawing threads. A frame's drawing, clears and post-filters are split
// into bands of rows; the calling thread and the workers take the bands one
// by one until none is left, and the call returns when every band is done. To
// the caller it is one call on one thread: nothing of it runs before the call
// or after its return.
#pragma once
#include <cstdint>
#include <memory>

// Drawing runs on THREADS threads: the caller and THREADS - 1 workers (1 to
// MAX_DRAW_THREADS; other values are held to that range).
constexpr int32_t MAX_DRAW_THREADS = 64;

// The number of threads the hardware runs at once (at least 1).
int32_t hardware_threads();

using BandJob = void (*)(void* context, int32_t band);

// The worker threads themselves, kept inside draw_workers.cpp.
class WorkerPool;

// A renderer's drawing threads: the calling thread and its workers.
class DrawWorkers {
 public:
  explicit DrawWorkers(int32_t threads = 1);
  ~DrawWorkers();
  DrawWorkers(const DrawWorkers&) = delete;
  DrawWorkers& operator=(const DrawWorkers&) = delete;

  // With 1 thread no worker exists and everything runs on the caller.
  // Changing the number joins the old workers first. Call it only between
  // frames, from the thread that draws.
  void set_threads(int32_t threads);
  int32_t threads() const { return thread_count_; }
  // Stops and joins the workers (drawing goes on on the calling thread alone).
  void stop();

  // Runs JOB(CONTEXT, band) for every band from 0 to BANDS - 1, each exactly
  // once, spread over the drawing threads; returns when all have returned.
  // Band B goes to thread B mod threads() unless that thread falls behind,
  // so jobs that cut the same rows into the same bands keep each band's rows
  // with one thread (and in its cache) from job to job.
  // JOB must not call run_bands itself, and must not stop the program: a
  // failure is found on the calling thread before the bands start.
  void run_bands(int32_t bands, BandJob job, void* context);

  // The same with any callable taking the band number.
  template <class F>
  void for_each_band(int32_t bands, F&& f) {
    run_bands(
        bands, [](void* context, int32_t band) { (*static_cast<F*>(context))(band); },
        static_cast<void*>(&f));
  }

  // ROWS rows cut into BANDS bands (band_rows), F(first, end) run once for
  // each band's rows FIRST to END - 1, spread as for_each_band spreads them.
  template <class F>
  void for_each_row_band(int32_t rows, int32_t bands, F&& f);

  // How many bands the jobs of a frame drawn at WIDTH x ROWS pixels cut their
  // rows into: a few per thread, so that a thread done early can take
  // another's band, and enough that one band's colour and depth rows fit in
  // a core's cache while its triangles are drawn. The clears, the drawing and
  // the filters all use it, so each thread keeps its rows through the frame.
  int32_t frame_bands(int32_t width, int32_t rows) const;

  // How many parts work that is not cut by rows (the chunks of the model
  // transform) is cut into: 1 on one thread, else a few per thread, so that a
  // thread done early can take another's part.
  int32_t work_shares() const;

 private:
  int32_t thread_count_ = 1;
  std::unique_ptr<WorkerPool> pool_;  // null on one thread
};

// The rows FIRST to END - 1 of band BAND when ROWS rows are cut into BANDS
// bands of nearly equal height, top to bottom.
struct BandRows {
  int32_t first, end;
};
BandRows band_rows(int32_t rows, int32_t bands, int32_t band);
// The same cut with every band but the last starting and ending on an even
// row, so that a filter of 2 x 2 blocks can follow each band on its own.
BandRows even_band_rows(int32_t rows, int32_t bands, int32_t band);

template <class F>
void DrawWorkers::for_each_row_band(int32_t rows, int32_t bands, F&& f) {
  for_each_band(bands, [&](int32_t band) {
    const BandRows r = band_rows(rows, bands, band);
    f(r.first, r.end);
  });
}
