// A dynamic array that keeps the bounds it was made with (0 to 3, or 5 to 9,
// say): an index outside them stops the program with error 6 instead of
// reading or writing outside the storage.
#pragma once

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <vector>

namespace NMATHF {

// Stops the program with error 6, "out of bounds array access". Kept out of
// line so that this header does not bring the FAIL macro (which would clash
// with GoogleTest's RUNTIME_FAIL()) into every file that uses the math library.
[[noreturn]] void dyn_array_out_of_bounds();

template <class T>
class DynArray {
 public:
  // Empty: lower bound 0, upper bound -1.
  DynArray() = default;
  // Elements LOWER to UPPER, value-initialized; UPPER < LOWER makes it empty.
  DynArray(int32_t lower_, int32_t upper_)
      : lower(lower_), upper(upper_ < lower_ ? int64_t(lower_) - 1 : upper_),
        items(std::size_t(upper - lower + 1)) {}
  // The given elements, the first at index LOWER_.
  DynArray(int32_t lower_, std::initializer_list<T> values)
      : lower(lower_), upper(int64_t(lower_) + int64_t(values.size()) - 1), items(values) {}

  int64_t lbound() const { return lower; }
  int64_t ubound() const { return upper; }
  bool holds(int64_t i) const { return i >= lower && i <= upper; }

  T& operator()(int64_t i) {
    if (!holds(i)) dyn_array_out_of_bounds();
    return items[std::size_t(i - lower)];
  }
  const T& operator()(int64_t i) const {
    if (!holds(i)) dyn_array_out_of_bounds();
    return items[std::size_t(i - lower)];
  }

 private:
  int64_t lower = 0, upper = -1;
  std::vector<T> items;
};

}  // namespace NMATHF
