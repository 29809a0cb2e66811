// The post-filters' rows on WebAssembly's 128-bit vectors. Only this file of
// the layer is compiled with them.
#include "filters_wasm.h"

#include <cstring>

#include "post_filter_rows.h"

#if defined(__wasm_simd128__)
#include <wasm_simd128.h>

namespace {
// Halves every byte, dropping its low bit: the 64-bit (x AND 0xFE..FE) >> 1
// of the one-pixel code, here on two 64-bit lanes.
inline v128_t halve_bytes(v128_t v) {
  return wasm_u64x2_shr(wasm_v128_and(v, wasm_i8x16_splat(int8_t(0xFE))), 1);
}

// Two averaged pixels (in lanes 0 and 2) from four of the upper row and four
// of the lower: each 64-bit lane a column pair halved, summed, halved, then
// its two 32-bit halves added (no byte is over 127, so nothing carries).
inline v128_t average_two(const uint8_t* top, const uint8_t* low) {
  const v128_t columns =
      halve_bytes(wasm_i64x2_add(halve_bytes(wasm_v128_load(top)), halve_bytes(wasm_v128_load(low))));
  return wasm_i32x4_add(columns, wasm_u64x2_shr(columns, 32));
}

// Four averaged pixels from eight of the upper row and eight of the lower.
inline v128_t average_four(const uint8_t* top, const uint8_t* low) {
  return wasm_i32x4_shuffle(average_two(top, low), average_two(top + 16, low + 16), 0, 2, 4, 6);
}

// Four pixels, each twice, into eight of UPPER and of LOWER.
inline void store_doubled(v128_t p, uint32_t* upper, uint32_t* lower) {
  const v128_t first = wasm_i32x4_shuffle(p, p, 0, 0, 1, 1);
  const v128_t second = wasm_i32x4_shuffle(p, p, 2, 2, 3, 3);
  for (uint32_t* row : {upper, lower}) {
    wasm_v128_store(row, first);
    wasm_v128_store(row + 4, second);
  }
}

inline void store_pair(uint32_t p, uint32_t* upper, uint32_t* lower) {
  const uint64_t pair = uint64_t(p) * 0x0000000100000001ull;
  std::memcpy(upper, &pair, 8);
  std::memcpy(lower, &pair, 8);
}
}  // namespace

void average_row_wasm128(const uint8_t* top, const uint8_t* low, uint32_t* out, uint32_t width) {
  uint32_t x = 0;
  for (; x + 4 <= width; x += 4) wasm_v128_store(out + x, average_four(top + 8 * x, low + 8 * x));
  for (; x < width; ++x) out[x] = average_block(top + 8 * size_t(x), low + 8 * size_t(x));
}

void double_row_wasm128(const uint32_t* source, uint32_t* upper, uint32_t* lower,
                        uint32_t width) {
  uint32_t x = 0;
  for (; x + 4 <= width; x += 4)
    store_doubled(wasm_v128_load(source + x), upper + 2 * x, lower + 2 * x);
  for (; x < width; ++x) store_pair(source[x], upper + 2 * x, lower + 2 * x);
}

void average_double_row_wasm128(const uint8_t* top, const uint8_t* low, uint32_t* half,
                                uint32_t* upper, uint32_t* lower, uint32_t width) {
  uint32_t x = 0;
  for (; x + 4 <= width; x += 4) {
    const v128_t p = average_four(top + 8 * x, low + 8 * x);
    wasm_v128_store(half + x, p);
    store_doubled(p, upper + 2 * x, lower + 2 * x);
  }
  for (; x < width; ++x) {
    half[x] = average_block(top + 8 * size_t(x), low + 8 * size_t(x));
    store_pair(half[x], upper + 2 * x, lower + 2 * x);
  }
}

#else  // built without the 128-bit vectors: never called

void average_row_wasm128(const uint8_t*, const uint8_t*, uint32_t*, uint32_t) {
}
void double_row_wasm128(const uint32_t*, uint32_t*, uint32_t*, uint32_t) {
}
void average_double_row_wasm128(const uint8_t*, const uint8_t*, uint32_t*, uint32_t*, uint32_t*,
                                uint32_t) {
}

#endif
