#include <gtest/gtest.h>

#include <vector>

#include "render/post_filters.h"
#include "platform/platform.h"

namespace {
struct IMAGE_DELETER {
  void operator()(IMAGE* I) const { IMAGE_DESTROY(I); }
};
using IMAGE_PTR = std::unique_ptr<IMAGE, IMAGE_DELETER>;

IMAGE_PTR MAKE(int W, int H, uint32_t FILL) {
  return IMAGE_PTR(IMAGE_CREATE(W, H, FILL));
}

// The filter's byte law written out the slow way, one byte at a time.
uint32_t REFERENCE_AVERAGE(uint32_t TL, uint32_t TR, uint32_t BL, uint32_t BR) {
  uint32_t OUT = 0;
  for (int SHIFT = 0; SHIFT < 32; SHIFT += 8) {
    auto B = [&](uint32_t P) { return (P >> SHIFT) & 0xFF; };
    const uint32_t V = ((B(TL) / 2 + B(BL) / 2) / 2) + ((B(TR) / 2 + B(BR) / 2) / 2);
    OUT |= V << SHIFT;
  }
  return OUT;
}
}  // namespace

TEST(Antialias, ListedValues) {
  auto WHITE = MAKE(2, 2, 0xFFFFFFFFu);
  auto OUT = MAKE(4, 4, 0x12345678u);  // wider target: rows go at its pitch
  ANTIALIAS4X(WHITE.get(), OUT.get());
  EXPECT_EQ(OUT->PIXELS()[0], 0xFEFEFEFEu);
  EXPECT_EQ(OUT->PIXELS()[1], 0x12345678u);  // only floor(2/2) = 1 pixel written

  auto BLACK = MAKE(2, 2, 0);
  ANTIALIAS4X(BLACK.get(), OUT.get());
  EXPECT_EQ(OUT->PIXELS()[0], 0u);

  auto MIX = MAKE(4, 2, 0);
  MIX->ROW(0)[0] = 10 << 8;
  MIX->ROW(0)[1] = 20 << 8;
  MIX->ROW(1)[0] = 30 << 8;
  MIX->ROW(1)[1] = 40 << 8;
  ANTIALIAS4X(MIX.get(), OUT.get());
  EXPECT_EQ(OUT->PIXELS()[0], 25u << 8);
}

TEST(Antialias, MatchesBytewiseLawOnRandomPixels) {
  auto IN = MAKE(64, 32, 0);
  auto OUT = MAKE(32, 16, 0);
  uint32_t SEED = 12345;
  for (uint32_t Y = 0; Y < 32; ++Y)
    for (uint32_t X = 0; X < 64; ++X) IN->ROW(Y)[X] = SEED = SEED * 1664525u + 1013904223u;
  ANTIALIAS4X(IN.get(), OUT.get());
  for (uint32_t Y = 0; Y < 16; ++Y)
    for (uint32_t X = 0; X < 32; ++X)
      ASSERT_EQ(OUT->ROW(Y)[X], REFERENCE_AVERAGE(IN->ROW(2 * Y)[2 * X], IN->ROW(2 * Y)[2 * X + 1],
                                                  IN->ROW(2 * Y + 1)[2 * X],
                                                  IN->ROW(2 * Y + 1)[2 * X + 1]))
          << X << "," << Y;
}

TEST(Antialias, RefusesNullAndOtherDepths) {
  auto IN = MAKE(4, 4, 0xFFFFFFFFu);
  auto OUT = MAKE(2, 2, 0x11111111u);
  EXPECT_EQ(ANTIALIAS4X(nullptr, OUT.get()), 0);
  EXPECT_EQ(ANTIALIAS4X(IN.get(), nullptr), 0);
  IN->BPP = 2;
  EXPECT_EQ(ANTIALIAS4X(IN.get(), OUT.get()), 0);
  for (int I = 0; I < 4; ++I) EXPECT_EQ(OUT->PIXELS()[I], 0x11111111u);
}

TEST(Antialias, OddInputNeverReadsOrWritesPastTheEnd) {
  // 5 x 3 input: the output is 2 x 1; an exact-size target takes it all.
  auto IN = MAKE(5, 3, 0xFFFFFFFFu);
  auto OUT = MAKE(2, 1, 0);
  ANTIALIAS4X(IN.get(), OUT.get());
  EXPECT_EQ(OUT->PIXELS()[0], 0xFEFEFEFEu);
  EXPECT_EQ(OUT->PIXELS()[1], 0xFEFEFEFEu);
  // A target smaller than the output is cut, not overrun (ASan watches).
  auto SMALL = MAKE(1, 1, 0);
  auto BIG = MAKE(40, 40, 0xFFFFFFFFu);
  ANTIALIAS4X(BIG.get(), SMALL.get());
  EXPECT_EQ(SMALL->PIXELS()[0], 0xFEFEFEFEu);
}

TEST(Scale2, EachPixelBecomesATwoByTwoBlock) {
  auto SRC = MAKE(4, 3, 0);
  for (uint32_t Y = 0; Y < 3; ++Y)
    for (uint32_t X = 0; X < 4; ++X) SRC->ROW(Y)[X] = 0xFF000000u | (Y << 8) | X;
  auto DST = MAKE(8, 6, 0xDEADBEEFu);
  SCALE2(DST.get(), SRC.get());
  for (uint32_t Y = 0; Y < 6; ++Y)
    for (uint32_t X = 0; X < 8; ++X) ASSERT_EQ(DST->ROW(Y)[X], SRC->ROW(Y / 2)[X / 2]);
}

TEST(Scale2, CutToASmallTarget) {
  auto SRC = MAKE(8, 8, 0xFF00FF00u);
  auto DST = MAKE(5, 3, 0);  // holds 2 x 1 whole blocks
  SCALE2(DST.get(), SRC.get());
  for (uint32_t X = 0; X < 4; ++X) {
    EXPECT_EQ(DST->ROW(0)[X], 0xFF00FF00u);
    EXPECT_EQ(DST->ROW(1)[X], 0xFF00FF00u);
  }
  EXPECT_EQ(DST->ROW(0)[4], 0u);
  EXPECT_EQ(DST->ROW(2)[0], 0u);
}

TEST(Scale2, FillsTheWholeScreenFromAQuarterSizeSource) {
  ASSERT_EQ(SET_GRAPHICS_MODE(640, 480), 0);
  auto SRC = MAKE(320, 240, 0);
  for (uint32_t Y = 0; Y < 240; ++Y)
    for (uint32_t X = 0; X < 320; ++X) SRC->ROW(Y)[X] = (Y << 12) | X;
  SCREEN_LOCK();
  SCALE2(nullptr, SRC.get());
  const uint32_t* PAGE = SCREEN_PTR();
  for (uint32_t Y = 0; Y < 480; ++Y)
    for (uint32_t X = 0; X < 640; ++X) ASSERT_EQ(PAGE[Y * 640 + X], ((Y / 2) << 12) | (X / 2));
  SCREEN_UNLOCK();
}
