#include "render/draw_workers.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>
#include <vector>

#if defined(__x86_64__)
#include <immintrin.h>
#endif

namespace {

inline void relax() {
#if defined(__x86_64__)
  _mm_pause();
#else
  std::this_thread::yield();
#endif
}

// The most bands one job hands out; a job of more runs on the caller alone.
constexpr int32_t MAX_BANDS = 1024;

// A worker that finds no band waits this long, spinning, before it sleeps:
// the clears, the drawing and the filters of a frame follow one another
// closely, and waking a sleeping thread costs more than the gaps between them.
constexpr auto SPIN = std::chrono::microseconds(50);

// Spins until DONE() holds or the spin time is over; true when DONE() held.
template <class Done>
bool spin_until(Done done) {
  const auto start = std::chrono::steady_clock::now();
  for (int32_t i = 0;; ++i) {
    if (done()) return true;
    relax();
    if (i % 64 == 63 && std::chrono::steady_clock::now() - start > SPIN) return false;
  }
}

}  // namespace

// The job in hand is named by one 64-bit ticket: its number in the high half,
// its number of bands in the low half. Each band has a claim word holding the
// number of the last job that claimed it; a thread claims band B of job J by
// moving the word from J - 1 to J. A thread that wakes late, still holding an
// older ticket, finds every word past its job and claims nothing, so nobody
// waits for it. The caller returns once every band of its job is done, and
// only then writes the next job.
//
// Thread P of T (the caller is 0) first takes its own bands, P, P + T, ...,
// and then any band still unclaimed. So while every thread keeps up, the same
// rows stay with the same thread from job to job (cleared, drawn and filtered
// by one core, in its own cache), and a thread that falls behind has its
// bands taken by the others.
class WorkerPool {
 public:
  explicit WorkerPool(int32_t workers) : claims_(MAX_BANDS) {
    for (std::atomic<uint32_t>& c : claims_) c.store(0, std::memory_order_relaxed);
    for (int32_t i = 0; i < workers; ++i) threads_.emplace_back([this, i] { work(i + 1); });
  }
  ~WorkerPool() {
    {
      std::lock_guard<std::mutex> lock(mutex_);
      stop_ = true;
    }
    wake_.notify_all();
    for (std::thread& t : threads_) t.join();
  }
  WorkerPool(const WorkerPool&) = delete;
  WorkerPool& operator=(const WorkerPool&) = delete;

  void run(int32_t bands, BandJob job, void* context) {
    const uint32_t number = ++jobs_;
    job_.store(job, std::memory_order_relaxed);
    context_.store(context, std::memory_order_relaxed);
    done_.store(0, std::memory_order_relaxed);
    // Every band of this job claimable: its word one behind the job. No word
    // is ahead of that (the last job is done), and no late thread can claim
    // with an older number.
    for (int32_t b = 0; b < bands; ++b)
      claims_[size_t(b)].store(number - 1, std::memory_order_relaxed);
    bool wake;
    {
      std::lock_guard<std::mutex> lock(mutex_);
      ticket_.store(uint64_t(number) << 32 | uint32_t(bands), std::memory_order_release);
      wake = sleeping_ > 0;
    }
    // Spinning workers see the ticket move; only sleeping ones need the call.
    if (wake) wake_.notify_all();
    take_bands(uint64_t(number) << 32 | uint32_t(bands), 0);
    // Wait for the bands still being drawn by workers.
    auto all_done = [&] { return done_.load(std::memory_order_acquire) == bands; };
    if (!spin_until(all_done)) {
      std::unique_lock<std::mutex> lock(mutex_);
      all_done_.wait(lock, all_done);
    }
  }

 private:
  // Runs the bands of the job of TICKET that thread SELF can still claim:
  // its own first, then the rest.
  void take_bands(uint64_t ticket, int32_t self) {
    const uint32_t number = uint32_t(ticket >> 32);
    const int32_t bands = int32_t(ticket & 0xFFFFFFFFu);
    const int32_t threads = int32_t(threads_.size()) + 1;
    auto try_band = [&](int32_t band) {
      uint32_t expected = number - 1;
      if (!claims_[size_t(band)].compare_exchange_strong(
              expected, number, std::memory_order_acq_rel, std::memory_order_relaxed))
        return;
      // The band is ours, so the job is not done and its fields stay as they are.
      job_.load(std::memory_order_relaxed)(context_.load(std::memory_order_relaxed), band);
      if (done_.fetch_add(1, std::memory_order_acq_rel) + 1 == bands) {
        std::lock_guard<std::mutex> lock(mutex_);
        all_done_.notify_one();
      }
    };
    for (int32_t band = self; band < bands; band += threads) try_band(band);
    for (int32_t band = 0; band < bands; ++band)
      if (band % threads != self) try_band(band);
  }

  void work(int32_t self) {
    uint64_t seen = 0;
    for (;;) {
      auto new_job = [&] { return ticket_.load(std::memory_order_acquire) >> 32 != seen >> 32; };
      if (!spin_until(new_job)) {
        std::unique_lock<std::mutex> lock(mutex_);
        ++sleeping_;
        wake_.wait(lock, [&] { return stop_ || new_job(); });
        --sleeping_;
        if (stop_) return;
      }
      seen = ticket_.load(std::memory_order_acquire);
      take_bands(seen, self);
    }
  }

  std::vector<std::thread> threads_;
  std::mutex mutex_;
  std::condition_variable wake_, all_done_;
  bool stop_ = false;     // guarded by mutex_
  int32_t sleeping_ = 0;  // workers waiting on wake_; guarded by mutex_
  uint32_t jobs_ = 0;     // the caller's count of jobs
  std::atomic<uint64_t> ticket_{0};
  std::vector<std::atomic<uint32_t>> claims_;  // per band, the last job that claimed it
  std::atomic<BandJob> job_{nullptr};
  std::atomic<void*> context_{nullptr};
  std::atomic<int32_t> done_{0};  // bands of the job finished
};

namespace {
// A browser build without shared memory has no threads to start: a worker
// there would abort the page.
int32_t thread_limit() {
#if defined(__EMSCRIPTEN__) && !defined(__EMSCRIPTEN_PTHREADS__)
  return 1;
#else
  return MAX_DRAW_THREADS;
#endif
}

}  // namespace

DrawWorkers::DrawWorkers(int32_t threads) {
  set_threads(threads);
}

DrawWorkers::~DrawWorkers() = default;

void DrawWorkers::set_threads(int32_t threads) {
  threads = std::clamp(threads, int32_t(1), std::max(int32_t(1), thread_limit()));
  if (threads == thread_count_ && (threads == 1) == (pool_ == nullptr)) return;
  stop();
  thread_count_ = threads;
  if (threads > 1) pool_ = std::make_unique<WorkerPool>(threads - 1);
}

int32_t hardware_threads() {
  return std::clamp(int32_t(std::thread::hardware_concurrency()), int32_t(1), thread_limit());
}

void DrawWorkers::stop() {
  pool_.reset();
  thread_count_ = 1;
}

void DrawWorkers::run_bands(int32_t bands, BandJob job, void* context) {
  if (bands <= 0) return;
  if (!pool_ || bands == 1 || bands > MAX_BANDS) {
    for (int32_t band = 0; band < bands; ++band) job(context, band);
    return;
  }
  pool_->run(bands, job, context);
}

namespace {
constexpr int32_t BANDS_PER_THREAD = 4;
}  // namespace

int32_t DrawWorkers::work_shares() const {
  return thread_count_ == 1 ? 1 : thread_count_ * BANDS_PER_THREAD;
}

int32_t DrawWorkers::frame_bands(int32_t width, int32_t rows) const {
  // A band's 32-bit pixels and 1/z values, at most; a second-level cache
  // holds them with room for the textures.
  constexpr int64_t BAND_BYTES = 256 * 1024;
  constexpr int64_t MOST_BANDS = 256;
  const int64_t bytes = int64_t(std::max(width, 0)) * std::max(rows, 0) * 8;
  const int64_t for_cache = std::min((bytes + BAND_BYTES - 1) / BAND_BYTES, MOST_BANDS);
  const int64_t threads = thread_count_;
  const int64_t least = threads == 1 ? 1 : threads * BANDS_PER_THREAD;
  // Whole rounds of bands, so each thread gets as many of its own.
  const int64_t rounds = std::max((for_cache + threads - 1) / threads, (least + threads - 1) / threads);
  return int32_t(std::max<int64_t>(1, std::min<int64_t>(rows, rounds * threads)));
}

BandRows even_band_rows(int32_t rows, int32_t bands, int32_t band) {
  const BandRows r = band_rows(rows, bands, band);
  const int32_t last = std::max(bands, int32_t(1)) - 1;
  return {band == 0 ? r.first : r.first & ~1, band >= last ? r.end : r.end & ~1};
}

BandRows band_rows(int32_t rows, int32_t bands, int32_t band) {
  const int64_t r = std::max(rows, int32_t(0)), n = std::max(bands, int32_t(1));
  return {int32_t(r * band / n), int32_t(r * (band + 1) / n)};
}
