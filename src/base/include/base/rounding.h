// Float to integer, to nearest with halves to even: the one rounding of the
// program. Each name says what NaN and values beyond the range become.
//
// The SSE conversion rounds by the current rounding mode, which the program
// never moves away from round-to-nearest-even, and needs no library call; the
// portable form gives the same results.
#pragma once
#include <cmath>
#include <cstdint>

#if defined(__x86_64__) || defined(_M_X64)
#include <immintrin.h>
#endif

// NaN and values beyond the range give the most negative integer (the
// processor's "integer indefinite"); callers that need more clamp first.
inline int32_t round_i32_nan_indefinite(float v) {
#if defined(__x86_64__) || defined(_M_X64)
  return _mm_cvtss_si32(_mm_set_ss(v));
#else
  return (v >= -2147483648.0f && v < 2147483648.0f) ? int32_t(std::nearbyint(v)) : INT32_MIN;
#endif
}

inline int64_t round_i64_nan_indefinite(float v) {
#if defined(__x86_64__) || defined(_M_X64)
  return _mm_cvtss_si64(_mm_set_ss(v));
#else
  return (v >= -9.2233720e18f && v < 9.2233720e18f) ? int64_t(std::nearbyint(v)) : INT64_MIN;
#endif
}

// NaN gives the most negative integer (as the processor's conversion does);
// values beyond the range saturate.
inline int32_t round_i32_nan_min_saturating(float v) {
  const float r = std::nearbyint(v);
  if (r >= 2147483648.0f) return INT32_MAX;
  if (!(r >= -2147483648.0f)) return INT32_MIN;
  return static_cast<int32_t>(r);
}

// NaN gives 0; values beyond the range saturate.
inline int32_t round_i32_nan_zero_saturating(float v) {
  if (v != v) return 0;
  return round_i32_nan_min_saturating(v);
}

// A double the caller has already held within the 64-bit range (not NaN).
inline int64_t round_i64_in_range(double v) {
  return static_cast<int64_t>(std::nearbyint(v));
}
