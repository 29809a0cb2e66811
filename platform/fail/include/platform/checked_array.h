// A small fixed array that keeps the bounds it was declared with (1 to 3, say):
// an index outside them stops the program with error 6.
#pragma once
#include <cstdint>
#include "platform/fail.h"

template <class T, int32_t LO, int32_t HI>
struct BOUNDED {
  static_assert(HI >= LO);
  static constexpr int32_t LOWER = LO, UPPER = HI, COUNT = HI - LO + 1;
  T V[COUNT];

  T& operator()(int64_t I) {
    if (I < LO || I > HI) FAIL(ERR_OUT_OF_BOUNDS, "BOUNDED");
    return V[I - LO];
  }
  const T& operator()(int64_t I) const {
    if (I < LO || I > HI) FAIL(ERR_OUT_OF_BOUNDS, "BOUNDED");
    return V[I - LO];
  }
  // Unchecked access for loops that have checked their range once already.
  T* DATA() { return V; }
  const T* DATA() const { return V; }
};
