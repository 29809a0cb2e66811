// The drawing threads: every band runs once, on any number of threads; the
// render queue, the clears and the filters leave the same bits on one thread
// or several, with either SIMD path; a failure still stops the program on
// the calling thread, after the entries before it were drawn.
#include <gtest/gtest.h>

#include <atomic>
#include <bit>
#include <cstring>
#include <random>
#include <stdexcept>
#include <vector>

#include "base/fail.h"
#include "render/draw_workers.h"
#include "render/render_buffers.h"
#include "render/render_globals.h"
#include "render/render_queue.h"
#include "render/renderer.h"

using NMATHF::VEC2F;
using NMATHF::VEC3F;

namespace {
// Puts the drawing back on one thread with the portable code after a test.
class Threads : public testing::Test {
 protected:
  void TearDown() override {
    set_draw_threads(1);
    simd_path = SimdPath::PORTABLE;
  }
};

TEST_F(Threads, EveryBandRunsExactlyOnceOnAnyNumberOfThreads) {
  for (const int32_t threads : {1, 2, 3, 5}) {
    set_draw_threads(threads);
    EXPECT_EQ(draw_threads(), threads);
    for (int32_t bands = 0; bands < 40; ++bands) {
      std::vector<std::atomic<int32_t>> runs(size_t(bands) + 1);
      for (int repeat = 0; repeat < 20; ++repeat)
        default_renderer().workers().for_each_band(
            bands, [&](int32_t band) { runs[size_t(band)].fetch_add(1); });
      for (int32_t b = 0; b < bands; ++b) ASSERT_EQ(runs[size_t(b)].load(), 20) << b;
      ASSERT_EQ(runs[size_t(bands)].load(), 0);
    }
  }
}

TEST_F(Threads, ThreadCountsAreHeldToTheirRange) {
  set_draw_threads(0);
  EXPECT_EQ(draw_threads(), 1);
  set_draw_threads(1000);
  EXPECT_EQ(draw_threads(), MAX_DRAW_THREADS);
  set_draw_threads(3);
  set_draw_threads(3);  // the same again: nothing changes
  EXPECT_EQ(draw_threads(), 3);
  stop_draw_workers();
  EXPECT_EQ(draw_threads(), 1);
  EXPECT_GE(hardware_threads(), 1);
}

// Each renderer owns its threads: two of them side by side keep their own
// counts, leave the default renderer's alone, and both run every band.
TEST_F(Threads, RenderersKeepTheirOwnThreads) {
  Renderer three(3), two(2);
  EXPECT_EQ(three.workers().threads(), 3);
  EXPECT_EQ(two.workers().threads(), 2);
  EXPECT_EQ(draw_threads(), 1);
  for (Renderer* r : {&three, &two}) {
    std::vector<std::atomic<int32_t>> runs(size_t(r->workers().frame_bands(640, 480)));
    r->workers().for_each_band(int32_t(runs.size()),
                               [&](int32_t band) { runs[size_t(band)].fetch_add(1); });
    for (const std::atomic<int32_t>& n : runs) ASSERT_EQ(n.load(), 1);
  }
}

// A frame's bands: whole rounds of a few per thread, each band's pixels and
// depths within a cache's reach, never more bands than rows.
TEST_F(Threads, FrameBandsFitTheCacheAndTheThreads) {
  for (const int32_t threads : {1, 2, 3}) {
    Renderer r(threads);
    for (const auto& [w, h] : {std::pair{97, 61}, std::pair{640, 480}, std::pair{1920, 1080},
                               std::pair{7680, 4320}, std::pair{4000, 3}}) {
      const int32_t bands = r.workers().frame_bands(w, h);
      ASSERT_GE(bands, 1);
      ASSERT_LE(bands, h);
      if (bands == h) continue;  // as many bands as rows
      ASSERT_EQ(bands % threads, 0) << w << "x" << h;
      ASSERT_GE(bands, threads > 1 ? 4 * threads : 1);
      const int64_t band_bytes = int64_t(w) * 8 * ((h + bands - 1) / bands);
      ASSERT_TRUE(bands >= 256 || band_bytes <= 256 * 1024 + int64_t(w) * 8) << w;
    }
    EXPECT_EQ(Renderer(1).workers().frame_bands(97, 61), 1);
  }
}

TEST_F(Threads, BandsCoverEveryRowOnceInNearlyEqualParts) {
  for (const int32_t rows : {0, 1, 7, 240, 961})
    for (const int32_t bands : {1, 2, 3, 8, 13}) {
      int32_t next = 0;
      for (int32_t b = 0; b < bands; ++b) {
        const BandRows r = band_rows(rows, bands, b);
        ASSERT_EQ(r.first, next);
        ASSERT_LE(r.end - r.first, rows / bands + 1);
        ASSERT_GE(r.end - r.first, rows / bands);
        next = r.end;
      }
      ASSERT_EQ(next, rows);
      // The drawing's cut: the same bands moved to even rows, so each band's
      // rows make whole 2 x 2 blocks but at the bottom of an odd height.
      next = 0;
      for (int32_t b = 0; b < bands; ++b) {
        const BandRows r = even_band_rows(rows, bands, b);
        ASSERT_EQ(r.first, next);
        ASSERT_LE(r.first, r.end);
        ASSERT_LE(r.end - r.first, rows / bands + 3);
        ASSERT_TRUE(b + 1 == bands || r.end % 2 == 0) << rows << " rows, band " << b;
        next = r.end;
      }
      ASSERT_EQ(next, rows);
    }
}

// The rows of every band reach the callable once, on any number of threads:
// each row is handed over exactly once and none outside 0 to ROWS - 1.
TEST_F(Threads, RowBandsHandEveryRowToExactlyOneCall) {
  for (const int32_t threads : {1, 3})
    for (const int32_t rows : {0, 1, 7, 61})
      for (const int32_t bands : {1, 3, 8, 13}) {
        set_draw_threads(threads);
        std::vector<std::atomic<int32_t>> seen(static_cast<size_t>(rows));
        std::atomic<int32_t> outside{0};
        DrawWorkers& workers = default_renderer().workers();
        workers.for_each_row_band(rows, bands, [&](int32_t first, int32_t end) {
          for (int32_t y = first; y < end; ++y) {
            if (y < 0 || y >= rows)
              outside.fetch_add(1);
            else
              seen[size_t(y)].fetch_add(1);
          }
        });
        ASSERT_EQ(outside.load(), 0) << rows << " rows, " << bands << " bands";
        for (int32_t y = 0; y < rows; ++y)
          ASSERT_EQ(seen[size_t(y)].load(), 1) << "row " << y << " of " << rows << ", " << bands;
      }
}

// A back buffer and depth buffer of an awkward size in the render globals,
// saved and restored around each test.
class ThreadedQueue : public Threads {
 protected:
  static constexpr int32_t W = 97, H = 61;
  void SetUp() override {
    saved_back = BACKBUFFER;
    saved_z = ZBUFF;
    saved_size = BUFFSIZE;
    saved_wire = WIRE_FRAME;
    saved_w = BUFFW, saved_h = BUFFH;
    BACKBUFFER = back;
    ZBUFF = depth.data();
    BUFFSIZE = W * H;
    BUFFW = W, BUFFH = H;
    WIRE_FRAME = 0;
    std::mt19937 rng(4);
    for (uint32_t v = 0; v < 32; ++v)
      for (uint32_t u = 0; u < 32; ++u) texture->row(v)[u] = rng();
  }
  void TearDown() override {
    BACKBUFFER = saved_back;
    ZBUFF = saved_z;
    BUFFSIZE = saved_size;
    WIRE_FRAME = saved_wire;
    BUFFW = saved_w, BUFFH = saved_h;
    image_destroy(back);
    image_destroy(texture);
    Threads::TearDown();
  }
  // COUNT random entries, flat and textured, some far outside the buffer.
  void fill_queue(int32_t count, uint32_t seed) {
    std::mt19937 rng(seed);
    auto uni = [&](float a, float b) { return std::uniform_real_distribution<float>(a, b)(rng); };
    for (int32_t i = 0; i < count; ++i) {
      SORT_STRUCT& e = RBUFFER(i);
      const float cx = uni(-20, W + 20), cy = uni(-20, H + 20), r = uni(1, i % 9 == 0 ? 300 : 25);
      for (int k = 0; k < 3; ++k) {
        e.VEC(k) = VEC3F(cx + uni(-r, r), cy + uni(-r, r), uni(2, 60));
        e.UV(k) = VEC2F(uni(-100, 100), uni(-100, 100));
      }
      e.USE_TEX = rng() % 3 ? -1 : 0;
      e.TEXTURE = texture;
      e.COL = rng() | 0xFF000000u;
      e.SHADE = int32_t(rng() % 193) - 128;
    }
  }
  // Clears, draws COUNT entries and brings nothing anywhere: the picture, its
  // rows' padding, and the depths it leaves. FUSED: the clears go with the
  // drawing, band by band.
  std::vector<uint32_t> draw(int32_t count, bool fused = false) {
    std::memset(back->pixels(), 0x5A, size_t(back->PITCH) * H);
    std::fill(depth.begin(), depth.end(), 1.0f);
    int32_t n = count;
    if (fused) {
      clear_and_render(default_renderer(), n);
    } else {
      clear_depth_buffer();
      clear_back_buffer();
      BUFFER_RENDER(n);
    }
    EXPECT_EQ(n, 0);
    std::vector<uint32_t> out;
    for (uint32_t y = 0; y < H; ++y)
      out.insert(out.end(), back->row(y), back->row(y) + back->PITCH / 4);
    for (const float z : depth) out.push_back(std::bit_cast<uint32_t>(z));
    return out;
  }

  IMAGE* back = image_create(W, H, 0);
  IMAGE* texture = image_create(32, 32);
  std::vector<float> depth = std::vector<float>(W * H, 0.0f);

 private:
  IMAGE* saved_back = nullptr;
  float* saved_z = nullptr;
  int32_t saved_size = 0, saved_wire = 0, saved_w = 0, saved_h = 0;
};

TEST_F(ThreadedQueue, EveryThreadCountAndPathDrawsTheSamePicture) {
  fill_queue(400, 17);
  set_draw_threads(1);
  simd_path = SimdPath::PORTABLE;
  const std::vector<uint32_t> reference = draw(400);
  for (const SimdPath path : {SimdPath::PORTABLE, SimdPath::AVX2}) {
    if (!simd_path_available(path)) continue;
    simd_path = path;
    for (const int32_t threads : {1, 2, 3, 4, 7}) {
      set_draw_threads(threads);
      for (int repeat = 0; repeat < 3; ++repeat)
        ASSERT_EQ(draw(400), reference) << threads << " threads, " << simd_path_name(path);
      ASSERT_EQ(draw(400, true), reference) << threads << " threads, clears in the bands";
    }
  }
}

[[noreturn]] void throw_failure(int32_t number) {
  throw std::runtime_error("failure " + std::to_string(number));
}

// A textured entry without a texture stops the program, on the calling
// thread, with the entries before it drawn and none after it.
TEST_F(ThreadedQueue, AMissingTextureStopsAfterTheEntriesBeforeIt) {
  fill_queue(60, 23);
  set_draw_threads(1);
  const std::vector<uint32_t> first_thirty = draw(30);
  for (const int32_t threads : {1, 3}) {
    set_draw_threads(threads);
    RBUFFER(30).USE_TEX = -1;
    const IMAGE* kept = RBUFFER(30).TEXTURE;
    RBUFFER(30).TEXTURE = nullptr;
    set_failure_handler(throw_failure);
    EXPECT_THROW(draw(60, threads == 3), std::runtime_error);
    set_failure_handler(nullptr);
    RBUFFER(30).TEXTURE = kept;
    std::vector<uint32_t> now;
    for (uint32_t y = 0; y < H; ++y)
      now.insert(now.end(), back->row(y), back->row(y) + back->PITCH / 4);
    for (const float z : depth) now.push_back(std::bit_cast<uint32_t>(z));
    EXPECT_EQ(now, first_thirty) << threads << " threads";
  }
}

// Small buffers are cleared on one thread, large ones in bands.
TEST_F(Threads, TheClearsClearEveryByteOnAnyNumberOfThreads) {
  IMAGE* const saved_back = BACKBUFFER;
  float* const saved_z = ZBUFF;
  const int32_t saved_size = BUFFSIZE;
  for (const auto& [w, h] : {std::pair{97, 61}, std::pair{1283, 967}}) {
    IMAGE* back = image_create(w, h, 0);
    std::vector<float> depth(size_t(w) * size_t(h));
    BACKBUFFER = back;
    ZBUFF = depth.data();
    BUFFSIZE = w * h;
    for (const int32_t threads : {1, 2, 3}) {
      set_draw_threads(threads);
      std::memset(back->pixels(), 0x5A, size_t(back->PITCH) * uint32_t(h));
      std::fill(depth.begin(), depth.end(), 1.0f);
      clear_depth_buffer();
      clear_back_buffer();
      const uint8_t* bytes = reinterpret_cast<const uint8_t*>(back->pixels());
      for (size_t i = 0; i < size_t(back->PITCH) * uint32_t(h); ++i)
        ASSERT_EQ(bytes[i], 0) << w << ": " << i << " on " << threads;
      for (const float z : depth) ASSERT_EQ(std::bit_cast<uint32_t>(z), 0u) << threads;
    }
    image_destroy(back);
  }
  BACKBUFFER = saved_back;
  ZBUFF = saved_z;
  BUFFSIZE = saved_size;
}
}  // namespace
