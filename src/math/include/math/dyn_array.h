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
// with GoogleTest's FAIL()) into every file that uses the math library.
[[noreturn]] void DYN_ARRAY_OUT_OF_BOUNDS();

template <class T>
class DYN_ARRAY {
 public:
  // Empty: lower bound 0, upper bound -1.
  DYN_ARRAY() = default;
  // Elements LOWER to UPPER, value-initialized; UPPER < LOWER makes it empty.
  DYN_ARRAY(int32_t LOWER_, int32_t UPPER_)
      : LOWER(LOWER_), UPPER(UPPER_ < LOWER_ ? int64_t(LOWER_) - 1 : UPPER_),
        ITEMS(std::size_t(UPPER - LOWER + 1)) {}
  // The given elements, the first at index LOWER_.
  DYN_ARRAY(int32_t LOWER_, std::initializer_list<T> VALUES)
      : LOWER(LOWER_), UPPER(int64_t(LOWER_) + int64_t(VALUES.size()) - 1), ITEMS(VALUES) {}

  int64_t LBOUND() const { return LOWER; }
  int64_t UBOUND() const { return UPPER; }
  bool HOLDS(int64_t I) const { return I >= LOWER && I <= UPPER; }

  T& operator()(int64_t I) {
    if (!HOLDS(I)) DYN_ARRAY_OUT_OF_BOUNDS();
    return ITEMS[std::size_t(I - LOWER)];
  }
  const T& operator()(int64_t I) const {
    if (!HOLDS(I)) DYN_ARRAY_OUT_OF_BOUNDS();
    return ITEMS[std::size_t(I - LOWER)];
  }

 private:
  int64_t LOWER = 0, UPPER = -1;
  std::vector<T> ITEMS;
};

}  // namespace NMATHF
