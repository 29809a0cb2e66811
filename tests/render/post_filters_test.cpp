#include <gtest/gtest.h>

#include <vector>

#include "render/post_filters.h"
#include "platform/platform.h"

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
}  // namespace

TEST(Antialias, ListedValues) {
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

TEST(Antialias, MatchesBytewiseLawOnRandomPixels) {
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

TEST(Antialias, RefusesNullAndOtherDepths) {
  auto in = make(4, 4, 0xFFFFFFFFu);
  auto out = make(2, 2, 0x11111111u);
  EXPECT_EQ(ANTIALIAS4X(nullptr, out.get()), 0);
  EXPECT_EQ(ANTIALIAS4X(in.get(), nullptr), 0);
  in->BPP = 2;
  EXPECT_EQ(ANTIALIAS4X(in.get(), out.get()), 0);
  for (int i = 0; i < 4; ++i) EXPECT_EQ(out->pixels()[i], 0x11111111u);
}

TEST(Antialias, OddInputNeverReadsOrWritesPastTheEnd) {
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

TEST(Scale2, EachPixelBecomesATwoByTwoBlock) {
  auto src = make(4, 3, 0);
  for (uint32_t y = 0; y < 3; ++y)
    for (uint32_t x = 0; x < 4; ++x) src->row(y)[x] = 0xFF000000u | (y << 8) | x;
  auto dst = make(8, 6, 0xDEADBEEFu);
  SCALE2(dst.get(), src.get());
  for (uint32_t y = 0; y < 6; ++y)
    for (uint32_t x = 0; x < 8; ++x) ASSERT_EQ(dst->row(y)[x], src->row(y / 2)[x / 2]);
}

TEST(Scale2, CutToASmallTarget) {
  auto src = make(8, 8, 0xFF00FF00u);
  auto dst = make(5, 3, 0);  // holds 2 x 1 whole blocks
  SCALE2(dst.get(), src.get());
  for (uint32_t x = 0; x < 4; ++x) {
    EXPECT_EQ(dst->row(0)[x], 0xFF00FF00u);
    EXPECT_EQ(dst->row(1)[x], 0xFF00FF00u);
  }
  EXPECT_EQ(dst->row(0)[4], 0u);
  EXPECT_EQ(dst->row(2)[0], 0u);
}

TEST(Scale2, FillsTheWholeScreenFromAQuarterSizeSource) {
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
