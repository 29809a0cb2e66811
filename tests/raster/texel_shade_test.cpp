// The word-wide saturating byte arithmetic against one byte at a time.
#include <gtest/gtest.h>

#include <cstdint>
#include <random>

#include "texel_shade.h"

namespace {
template <class BYTE_OP>
uint32_t BYTE_BY_BYTE(uint32_t A, uint32_t B, BYTE_OP OP) {
  uint32_t R = 0;
  for (int S = 0; S < 32; S += 8) R |= uint32_t(OP(int32_t(A >> S & 255), int32_t(B >> S & 255))) << S;
  return R;
}
uint32_t ADD_REF(uint32_t A, uint32_t B) {
  return BYTE_BY_BYTE(A, B, [](int32_t X, int32_t Y) { return X + Y > 255 ? 255 : X + Y; });
}
uint32_t SUB_REF(uint32_t A, uint32_t B) {
  return BYTE_BY_BYTE(A, B, [](int32_t X, int32_t Y) { return X - Y < 0 ? 0 : X - Y; });
}
}  // namespace

TEST(TEXEL_SHADE, EveryBytePairAndRandomWordsMatchByteArithmetic) {
  // All 65536 byte pairs, each in a different position and with neighbours
  // that carry or borrow, then random words.
  for (uint32_t A = 0; A < 256; ++A)
    for (uint32_t B = 0; B < 256; ++B) {
      const uint32_t WA = A | (B << 8) | (A << 16) | (255u << 24);
      const uint32_t WB = B | (A << 8) | (255u << 16) | (B << 24);
      ASSERT_EQ(ADD_BYTES_SATURATED(WA, WB), ADD_REF(WA, WB)) << A << " " << B;
      ASSERT_EQ(SUBTRACT_BYTES_SATURATED(WA, WB), SUB_REF(WA, WB)) << A << " " << B;
    }
  std::mt19937 RNG(5);
  for (int I = 0; I < 200000; ++I) {
    const uint32_t A = RNG(), B = RNG();
    ASSERT_EQ(ADD_BYTES_SATURATED(A, B), ADD_REF(A, B));
    ASSERT_EQ(SUBTRACT_BYTES_SATURATED(A, B), SUB_REF(A, B));
  }
}

TEST(TEXEL_SHADE, MagnitudeIsSpreadOverFourBytes) {
  EXPECT_EQ(SPREAD_TO_BYTES(0), 0u);
  EXPECT_EQ(SPREAD_TO_BYTES(40), 0x28282828u);
  EXPECT_EQ(SPREAD_TO_BYTES(255), 0xFFFFFFFFu);
  EXPECT_EQ(SPREAD_TO_BYTES(256), 0x01010100u);  // larger magnitudes overlap, kept to 32 bits
  EXPECT_EQ(SPREAD_TO_BYTES(0x80000000u), 0x80000000u);
}
