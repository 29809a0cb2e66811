// A small fixed array that keeps the bounds it was declared with (1 to 3, say):
// an index outside them stops the program with error 6.
#pragma once
#include <cstdint>
#include "platform/fail.h"

template <class T, int32_t LO, int32_t HI>
struct Bounded {
  static_assert(HI >= LO);
  static constexpr int32_t LOWER = LO, UPPER = HI, COUNT = HI - LO + 1;
  T v[COUNT];

  T& operator()(int64_t i) {
    if (i < LO || i > HI) RUNTIME_FAIL(ERR_OUT_OF_BOUNDS, "BOUNDED");
    return v[i - LO];
  }
  const T& operator()(int64_t i) const {
    if (i < LO || i > HI) RUNTIME_FAIL(ERR_OUT_OF_BOUNDS, "BOUNDED");
    return v[i - LO];
  }
  // Unchecked access for loops that have checked their range once already.
  T* data() { return v; }
  const T* data() const { return v; }
};
