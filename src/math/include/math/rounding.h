// Float to integer, halves to even, without a library call. The SSE conversion
// rounds by the current rounding mode, which the program never moves away from
// round-to-nearest-even. Out-of-range values and NaN give the most negative
// integer (the hardware's "integer indefinite"); callers that need the exact
// value clamp first.
#pragma once
#include <cmath>
#include <cstdint>

#if defined(__x86_64__) || defined(_M_X64)
#include <immintrin.h>

inline int64_t round_to_i64(float v) {
  return _mm_cvtss_si64(_mm_set_ss(v));
}
inline int32_t round_to_i32(float v) {
  return _mm_cvtss_si32(_mm_set_ss(v));
}
#else
inline int64_t ROUND_TO_I64(float V) {
  return (V >= -9.2233720e18f && V < 9.2233720e18f) ? int64_t(std::nearbyint(V)) : INT64_MIN;
}
inline int32_t ROUND_TO_I32(float V) {
  return (V >= -2147483648.0f && V < 2147483648.0f) ? int32_t(std::nearbyint(V)) : INT32_MIN;
}
#endif
