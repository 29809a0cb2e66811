// Bit-exact expectations on the math types (EXPECT_EQ: -0 equals 0).
#pragma once

#include <gtest/gtest.h>

#include <cstring>

#include "math/vec.h"

#define EXPECT_VEC3(V, EX, EY, EZ) \
  do {                              \
    const NMATHF::VEC3F R_ = (V);   \
    EXPECT_EQ(R_.X, EX);            \
    EXPECT_EQ(R_.Y, EY);            \
    EXPECT_EQ(R_.Z, EZ);            \
  } while (0)

#define EXPECT_VEC4(V, EX, EY, EZ, EW) \
  do {                                  \
    const NMATHF::VEC4F R_ = (V);       \
    EXPECT_EQ(R_.X, EX);                \
    EXPECT_EQ(R_.Y, EY);                \
    EXPECT_EQ(R_.Z, EZ);                \
    EXPECT_EQ(R_.W, EW);                \
  } while (0)

inline bool same_bits(float a, float b) { return std::memcmp(&a, &b, sizeof a) == 0; }
