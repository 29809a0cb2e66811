#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "base/image.h"
#include "platform/screen.h"
#include "render/draw_workers.h"
#include "render/post_filters.h"
#include "render/render_globals.h"

namespace {
struct ImageDeleter {
  void operator()(IMAGE* i) const { image_destroy(i); }
};
using ImagePtr = std::unique_ptr<IMAGE, ImageDeleter>;

ImagePtr make(int w, int h, uint32_t fill) {
  return ImagePtr(image_create(w, h, fill));
}

// The filter's byte law written out the slow way, one byte at a time.
uint32_t reference_average(uint32_t tl, uint32_t tr, uint32_t bl, uint32_t br) {
  uint32_t out = 0;
  for (int shift = 0; shift < 32; shift += 8) {
    auto b = [&](uint32_t p) { return (p >> shift) & 0xFF; };
    const uint32_t v = ((b(tl) / 2 + b(bl) / 2) / 2) + ((b(tr) / 2 + b(br) / 2) / 2);
    out |= v << shift;
  }
  return out;
}

void fill_random(IMAGE* img, uint32_t seed) {
  for (uint32_t y = 0; y < img->HEIGHT; ++y)
    for (uint32_t x = 0; x < img->WIDTH; ++x) img->row(y)[x] = seed = seed * 1664525u + 1013904223u;
}

// Every filter test runs on every SIMD path this processor runs.
class FilterPaths : public testing::TestWithParam<SimdPath> {
 protected:
  void SetUp() override {
    if (!simd_path_available(GetParam())) GTEST_SKIP() << "no " << simd_path_name(GetParam());
    simd_path = GetParam();
  }
  void TearDown() override { simd_path = SimdPath::PORTABLE; }
};

std::string path_name(const testing::TestParamInfo<SimdPath>& info) {
  return simd_path_name(info.param);
}
}  // namespace

class Antialias : public FilterPaths {};
class Scale2 : public FilterPaths {};
class AverageAndDouble : public FilterPaths {};
INSTANTIATE_TEST_SUITE_P(Paths, Antialias, testing::Values(SimdPath::PORTABLE, SimdPath::AVX2),
                         path_name);
INSTANTIATE_TEST_SUITE_P(Paths, Scale2, testing::Values(SimdPath::PORTABLE, SimdPath::AVX2),
                         path_name);
INSTANTIATE_TEST_SUITE_P(Paths, AverageAndDouble,
                         testing::Values(SimdPath::PORTABLE, SimdPath::AVX2), path_name);

TEST_P(Antialias, ListedValues) {
  auto white = make(2, 2, 0xFFFFFFFFu);
  auto out = make(4, 4, 0x12345678u);  // wider target: rows go at its pitch
  ANTIALIAS4X(white.get(), out.get());
  EXPECT_EQ(out->pixels()[0], 0xFEFEFEFEu);
  EXPECT_EQ(out->pixels()[1], 0x12345678u);  // only floor(2/2) = 1 pixel written

  auto black = make(2, 2, 0);
  ANTIALIAS4X(black.get(), out.get());
  EXPECT_EQ(out->pixels()[0], 0u);

  auto mix = make(4, 2, 0);
  mix->row(0)[0] = 10 << 8;
  mix->row(0)[1] = 20 << 8;
  mix->row(1)[0] = 30 << 8;
  mix->row(1)[1] = 40 << 8;
  ANTIALIAS4X(mix.get(), out.get());
  EXPECT_EQ(out->pixels()[0], 25u << 8);
}

TEST_P(Antialias, MatchesBytewiseLawOnRandomPixels) {
  auto in = make(64, 32, 0);
  auto out = make(32, 16, 0);
  uint32_t seed = 12345;
  for (uint32_t y = 0; y < 32; ++y)
    for (uint32_t x = 0; x < 64; ++x) in->row(y)[x] = seed = seed * 1664525u + 1013904223u;
  ANTIALIAS4X(in.get(), out.get());
  for (uint32_t y = 0; y < 16; ++y)
    for (uint32_t x = 0; x < 32; ++x)
      ASSERT_EQ(out->row(y)[x], reference_average(in->row(2 * y)[2 * x], in->row(2 * y)[2 * x + 1],
                                                  in->row(2 * y + 1)[2 * x],
                                                  in->row(2 * y + 1)[2 * x + 1]))
          << x << "," << y;
}

TEST_P(Antialias, RefusesNullAndOtherDepths) {
  auto in = make(4, 4, 0xFFFFFFFFu);
  auto out = make(2, 2, 0x11111111u);
  EXPECT_EQ(ANTIALIAS4X(nullptr, out.get()), 0);
  EXPECT_EQ(ANTIALIAS4X(in.get(), nullptr), 0);
  in->BPP = 2;
  EXPECT_EQ(ANTIALIAS4X(in.get(), out.get()), 0);
  // Nor is a target that is not 32-bit, or whose rows cannot hold its width.
  in->BPP = 4;
  out->BPP = 2;
  EXPECT_EQ(ANTIALIAS4X(in.get(), out.get()), 0);
  SCALE2(out.get(), in.get());
  out->BPP = 4;
  out->PITCH = 4;
  EXPECT_EQ(ANTIALIAS4X(in.get(), out.get()), 0);
  SCALE2(out.get(), in.get());
  for (int i = 0; i < 4; ++i) EXPECT_EQ(out->pixels()[i], 0x11111111u);
}

TEST_P(Antialias, OddInputNeverReadsOrWritesPastTheEnd) {
  // 5 x 3 input: the output is 2 x 1; an exact-size target takes it all.
  auto in = make(5, 3, 0xFFFFFFFFu);
  auto out = make(2, 1, 0);
  ANTIALIAS4X(in.get(), out.get());
  EXPECT_EQ(out->pixels()[0], 0xFEFEFEFEu);
  EXPECT_EQ(out->pixels()[1], 0xFEFEFEFEu);
  // A target smaller than the output is cut, not overrun (ASan watches).
  auto small = make(1, 1, 0);
  auto big = make(40, 40, 0xFFFFFFFFu);
  ANTIALIAS4X(big.get(), small.get());
  EXPECT_EQ(small->pixels()[0], 0xFEFEFEFEu);
}

TEST_P(Scale2, EachPixelBecomesATwoByTwoBlock) {
  auto src = make(4, 3, 0);
  for (uint32_t y = 0; y < 3; ++y)
    for (uint32_t x = 0; x < 4; ++x) src->row(y)[x] = 0xFF000000u | (y << 8) | x;
  auto dst = make(8, 6, 0xDEADBEEFu);
  SCALE2(dst.get(), src.get());
  for (uint32_t y = 0; y < 6; ++y)
    for (uint32_t x = 0; x < 8; ++x) ASSERT_EQ(dst->row(y)[x], src->row(y / 2)[x / 2]);
}

TEST_P(Scale2, CutToASmallTarget) {
  auto src = make(8, 8, 0xFF00FF00u);
  auto dst = make(5, 3, 0);  // 2 x 1 whole blocks, then a last column and row of half blocks
  SCALE2(dst.get(), src.get());
  for (uint32_t y = 0; y < 3; ++y)
    for (uint32_t x = 0; x < 5; ++x) EXPECT_EQ(dst->row(y)[x], 0xFF00FF00u) << x << "," << y;
}

TEST_P(Scale2, FillsTheWholeScreenFromAQuarterSizeSource) {
  ASSERT_EQ(set_graphics_mode(640, 480), 0);
  auto src = make(320, 240, 0);
  for (uint32_t y = 0; y < 240; ++y)
    for (uint32_t x = 0; x < 320; ++x) src->row(y)[x] = (y << 12) | x;
  screen_lock();
  SCALE2(nullptr, src.get());
  const uint32_t* page = screen_ptr();
  for (uint32_t y = 0; y < 480; ++y)
    for (uint32_t x = 0; x < 640; ++x) ASSERT_EQ(page[y * 640 + x], ((y / 2) << 12) | (x / 2));
  screen_unlock();
}

// Sizes whose rows are not a whole number of eight-pixel blocks, on 1 to 3
// threads: the law holds everywhere.
TEST_P(Antialias, EveryRowAndColumnOnAnyNumberOfThreads) {
  for (const int32_t threads : {1, 2, 3}) {
    set_draw_threads(threads);
    for (const auto& [w, h] : {std::pair{37, 23}, std::pair{2, 2}, std::pair{34, 6}}) {
      auto in = make(w, h, 0);
      fill_random(in.get(), uint32_t(w * 100 + h));
      auto out = make(w / 2, h / 2, 0);
      ANTIALIAS4X(in.get(), out.get());
      for (uint32_t y = 0; y < uint32_t(h / 2); ++y)
        for (uint32_t x = 0; x < uint32_t(w / 2); ++x)
          ASSERT_EQ(out->row(y)[x],
                    reference_average(in->row(2 * y)[2 * x], in->row(2 * y)[2 * x + 1],
                                      in->row(2 * y + 1)[2 * x], in->row(2 * y + 1)[2 * x + 1]))
              << w << "x" << h << " at " << x << "," << y << " on " << threads;
    }
  }
  set_draw_threads(1);
}

TEST_P(Scale2, EveryRowAndColumnOnAnyNumberOfThreads) {
  for (const int32_t threads : {1, 3}) {
    set_draw_threads(threads);
    auto src = make(21, 13, 0);
    fill_random(src.get(), 7);
    auto dst = make(45, 27, 0xDEADBEEFu);  // one column and one row more than needed
    SCALE2(dst.get(), src.get());
    for (uint32_t y = 0; y < 27; ++y)
      for (uint32_t x = 0; x < 45; ++x)
        ASSERT_EQ(dst->row(y)[x], x < 42 && y < 26 ? src->row(y / 2)[x / 2] : 0xDEADBEEFu)
            << x << "," << y << " on " << threads;
  }
  set_draw_threads(1);
}

// The one pass leaves what the two filters one after the other leave, in the
// half-size buffer and on the target, whether the sizes line up or not.
TEST_P(AverageAndDouble, MatchesAveragingThenDoubling) {
  struct Sizes {
    int32_t in_w, in_h, half_w, half_h, dst_w, dst_h;
  };
  for (const Sizes z : {Sizes{640, 480, 320, 240, 640, 480}, Sizes{38, 22, 19, 11, 38, 22},
                        Sizes{40, 20, 30, 12, 40, 20}, Sizes{40, 20, 20, 10, 30, 14}}) {
    for (const int32_t threads : {1, 2}) {
      set_draw_threads(threads);
      auto in = make(z.in_w, z.in_h, 0);
      fill_random(in.get(), uint32_t(z.in_w + z.half_w));
      auto half_a = make(z.half_w, z.half_h, 0x01020304u);
      auto half_b = make(z.half_w, z.half_h, 0x01020304u);
      auto dst_a = make(z.dst_w, z.dst_h, 0x0A0B0C0Du);
      auto dst_b = make(z.dst_w, z.dst_h, 0x0A0B0C0Du);
      ANTIALIAS4X(in.get(), half_a.get());
      SCALE2(dst_a.get(), half_a.get());
      average_and_double(in.get(), half_b.get(), dst_b.get());
      for (uint32_t y = 0; y < uint32_t(z.half_h); ++y)
        for (uint32_t x = 0; x < uint32_t(z.half_w); ++x)
          ASSERT_EQ(half_a->row(y)[x], half_b->row(y)[x]) << z.in_w << ": " << x << "," << y;
      for (uint32_t y = 0; y < uint32_t(z.dst_h); ++y)
        for (uint32_t x = 0; x < uint32_t(z.dst_w); ++x)
          ASSERT_EQ(dst_a->row(y)[x], dst_b->row(y)[x]) << z.in_w << ": " << x << "," << y;
    }
  }
  set_draw_threads(1);
}
