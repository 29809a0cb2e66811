// The word-wide saturating byte arithmetic against one byte at a time.
#include <gtest/gtest.h>

#include <cstdint>
#include <random>

#include "texel_shade.h"

namespace {
template <class ByteOp>
uint32_t byte_by_byte(uint32_t a, uint32_t b, ByteOp op) {
  uint32_t r = 0;
  for (int s = 0; s < 32; s += 8) r |= uint32_t(op(int32_t(a >> s & 255), int32_t(b >> s & 255))) << s;
  return r;
}
uint32_t add_ref(uint32_t a, uint32_t b) {
  return byte_by_byte(a, b, [](int32_t x, int32_t y) { return x + y > 255 ? 255 : x + y; });
}
uint32_t sub_ref(uint32_t a, uint32_t b) {
  return byte_by_byte(a, b, [](int32_t x, int32_t y) { return x - y < 0 ? 0 : x - y; });
}
}  // namespace

TEST(TexelShade, EveryBytePairAndRandomWordsMatchByteArithmetic) {
  // All 65536 byte pairs, each in a different position and with neighbours
  // that carry or borrow, then random words.
  for (uint32_t a = 0; a < 256; ++a)
    for (uint32_t b = 0; b < 256; ++b) {
      const uint32_t wa = a | (b << 8) | (a << 16) | (255u << 24);
      const uint32_t wb = b | (a << 8) | (255u << 16) | (b << 24);
      ASSERT_EQ(add_bytes_saturated(wa, wb), add_ref(wa, wb)) << a << " " << b;
      ASSERT_EQ(subtract_bytes_saturated(wa, wb), sub_ref(wa, wb)) << a << " " << b;
    }
  std::mt19937 rng(5);
  for (int i = 0; i < 200000; ++i) {
    const uint32_t a = rng(), b = rng();
    ASSERT_EQ(add_bytes_saturated(a, b), add_ref(a, b));
    ASSERT_EQ(subtract_bytes_saturated(a, b), sub_ref(a, b));
  }
}

TEST(TexelShade, MagnitudeIsSpreadOverFourBytes) {
  EXPECT_EQ(spread_to_bytes(0), 0u);
  EXPECT_EQ(spread_to_bytes(40), 0x28282828u);
  EXPECT_EQ(spread_to_bytes(255), 0xFFFFFFFFu);
  EXPECT_EQ(spread_to_bytes(256), 0x01010100u);  // larger magnitudes overlap, kept to 32 bits
  EXPECT_EQ(spread_to_bytes(0x80000000u), 0x80000000u);
}
