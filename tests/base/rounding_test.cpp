// The program's one float-to-integer rounding, in its three NaN rules.
#include <gtest/gtest.h>

#include <limits>

#include "base/rounding.h"

namespace {
constexpr float NOT_A_NUMBER = std::numeric_limits<float>::quiet_NaN();
constexpr float INF = std::numeric_limits<float>::infinity();

TEST(Rounding, HalvesGoToEvenInEveryForm) {
  for (auto round : {+[](float v) { return int64_t(round_i32_nan_indefinite(v)); },
                     +[](float v) { return round_i64_nan_indefinite(v); },
                     +[](float v) { return int64_t(round_i32_nan_min_saturating(v)); },
                     +[](float v) { return int64_t(round_i32_nan_zero_saturating(v)); }}) {
    EXPECT_EQ(round(2.5f), 2);
    EXPECT_EQ(round(3.5f), 4);
    EXPECT_EQ(round(-38.5f), -38);
    EXPECT_EQ(round(-140.8f), -141);
    EXPECT_EQ(round(-0.5f), 0);
  }
}

TEST(Rounding, NaNAndRangeFollowTheName) {
  EXPECT_EQ(round_i32_nan_indefinite(NOT_A_NUMBER), INT32_MIN);
  EXPECT_EQ(round_i32_nan_indefinite(3e9f), INT32_MIN);
  EXPECT_EQ(round_i64_nan_indefinite(-INF), INT64_MIN);
  EXPECT_EQ(round_i64_nan_indefinite(3e9f), 3000000000);
  EXPECT_EQ(round_i32_nan_min_saturating(NOT_A_NUMBER), INT32_MIN);
  EXPECT_EQ(round_i32_nan_min_saturating(3e9f), INT32_MAX);
  EXPECT_EQ(round_i32_nan_min_saturating(-3e9f), INT32_MIN);
  EXPECT_EQ(round_i32_nan_zero_saturating(NOT_A_NUMBER), 0);
  EXPECT_EQ(round_i32_nan_zero_saturating(INF), INT32_MAX);
  EXPECT_EQ(round_i32_nan_zero_saturating(-INF), INT32_MIN);
}
}  // namespace
