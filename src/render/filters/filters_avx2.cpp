// Only these functions are compiled for AVX2 (by attribute, not by a flag for
// the whole file), so no shared inline helper comes out of this file as AVX2
// code.
#include "filters_avx2.h"

#include <cstring>
#include <initializer_list>

#include "post_filter_rows.h"

#if defined(__x86_64__) && defined(__GNUC__)
#include <immintrin.h>

#define MW_AVX2 __attribute__((target("avx2")))

namespace {
// Halves every byte, dropping its low bit: the 64-bit (x AND 0xFE..FE) >> 1
// of the one-pixel code, here on four 64-bit lanes.
MW_AVX2 inline __m256i halve_bytes(__m256i v) {
  return _mm256_srli_epi64(_mm256_and_si256(v, _mm256_set1_epi8(char(0xFE))), 1);
}

// Eight averaged pixels from sixteen of the upper row and sixteen of the lower.
MW_AVX2 inline __m256i average_eight(const uint8_t* top, const uint8_t* low) {
  __m256i pairs[2];
  for (int k = 0; k < 2; ++k) {
    const __m256i t = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(top + 32 * k));
    const __m256i l = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(low + 32 * k));
    // Each 64-bit lane: a column pair halved, summed, halved; then its two
    // 32-bit halves added (no byte is over 127, so nothing carries).
    const __m256i columns = halve_bytes(_mm256_add_epi64(halve_bytes(t), halve_bytes(l)));
    pairs[k] = _mm256_add_epi32(columns, _mm256_srli_epi64(columns, 32));
  }
  // The low word of every 64-bit lane, in order.
  const __m256 even =
      _mm256_shuffle_ps(_mm256_castsi256_ps(pairs[0]), _mm256_castsi256_ps(pairs[1]), 0x88);
  return _mm256_permute4x64_epi64(_mm256_castps_si256(even), 0xD8);
}

// Eight pixels, each twice, into sixteen of UPPER and of LOWER.
MW_AVX2 inline void store_doubled(__m256i p, uint32_t* upper, uint32_t* lower) {
  const __m256i lo = _mm256_unpacklo_epi32(p, p), hi = _mm256_unpackhi_epi32(p, p);
  const __m256i first = _mm256_permute2x128_si256(lo, hi, 0x20);
  const __m256i second = _mm256_permute2x128_si256(lo, hi, 0x31);
  for (uint32_t* row : {upper, lower}) {
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(row), first);
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(row + 8), second);
  }
}

inline void store_pair(uint32_t p, uint32_t* upper, uint32_t* lower) {
  const uint64_t pair = uint64_t(p) * 0x0000000100000001ull;
  std::memcpy(upper, &pair, 8);
  std::memcpy(lower, &pair, 8);
}
}  // namespace

MW_AVX2 void average_row_avx2(const uint8_t* top, const uint8_t* low, uint32_t* out,
                              uint32_t width) {
  uint32_t x = 0;
  for (; x + 8 <= width; x += 8)
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(out + x),
                        average_eight(top + 8 * x, low + 8 * x));
  for (; x < width; ++x) out[x] = average_block(top + 8 * size_t(x), low + 8 * size_t(x));
}

MW_AVX2 void double_row_avx2(const uint32_t* source, uint32_t* upper, uint32_t* lower,
                             uint32_t width) {
  uint32_t x = 0;
  for (; x + 8 <= width; x += 8)
    store_doubled(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(source + x)), upper + 2 * x,
                  lower + 2 * x);
  for (; x < width; ++x) store_pair(source[x], upper + 2 * x, lower + 2 * x);
}

MW_AVX2 void average_double_row_avx2(const uint8_t* top, const uint8_t* low, uint32_t* half,
                                     uint32_t* upper, uint32_t* lower, uint32_t width) {
  uint32_t x = 0;
  for (; x + 8 <= width; x += 8) {
    const __m256i p = average_eight(top + 8 * x, low + 8 * x);
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(half + x), p);
    store_doubled(p, upper + 2 * x, lower + 2 * x);
  }
  for (; x < width; ++x) {
    half[x] = average_block(top + 8 * size_t(x), low + 8 * size_t(x));
    store_pair(half[x], upper + 2 * x, lower + 2 * x);
  }
}

#else  // no AVX2 on this machine: never called

void average_row_avx2(const uint8_t*, const uint8_t*, uint32_t*, uint32_t) {
}
void double_row_avx2(const uint32_t*, uint32_t*, uint32_t*, uint32_t) {
}
void average_double_row_avx2(const uint8_t*, const uint8_t*, uint32_t*, uint32_t*, uint32_t*,
                             uint32_t) {
}

#endif
