// Arrays that keep the bounds they were declared with (1 to 3, or 5 to 9, say):
// an index outside them stops the program with error 6 instead of reading or
// writing outside the storage. Two shapes share that rule:
//   Bounded<T, LO, HI>  bounds fixed in the type; a plain record, trivially
//                       copyable, so zero-filled memory holds valid ones;
//   DynArray<T>         bounds chosen when it is made, storage of its own.
// Loops that check their range once use data() and index without a test.
#pragma once
#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <vector>

#include "base/fail.h"

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
  T* data() { return v; }
  const T* data() const { return v; }
};

template <class T>
class DynArray {
 public:
  // Empty: lower bound 0, upper bound -1.
  DynArray() = default;
  // Elements first to last, value-initialized; last < first makes it empty.
  DynArray(int32_t first, int32_t last)
      : lower_(first), upper_(last < first ? int64_t(first) - 1 : last),
        items_(std::size_t(upper_ - lower_ + 1)) {}
  // The given elements, the first at index first.
  DynArray(int32_t first, std::initializer_list<T> values)
      : lower_(first), upper_(int64_t(first) + int64_t(values.size()) - 1), items_(values) {}

  int64_t lbound() const { return lower_; }
  int64_t ubound() const { return upper_; }
  bool holds(int64_t i) const { return i >= lower_ && i <= upper_; }

  T& operator()(int64_t i) {
    if (!holds(i)) RUNTIME_FAIL(ERR_OUT_OF_BOUNDS, "DYN_ARRAY");
    return items_[std::size_t(i - lower_)];
  }
  const T& operator()(int64_t i) const {
    if (!holds(i)) RUNTIME_FAIL(ERR_OUT_OF_BOUNDS, "DYN_ARRAY");
    return items_[std::size_t(i - lower_)];
  }

 private:
  int64_t lower_ = 0, upper_ = -1;
  std::vector<T> items_;
};
