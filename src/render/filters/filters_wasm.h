// Rows of the post-filters, four pixels at a time with WebAssembly's 128-bit
// vectors (filters_wasm.cpp). Call them only where
// simd_path_available(WASM128) holds. Each writes exactly the words that the
// one-pixel rows of post_filter_rows.h write: the same byte halvings and sums,
// on more bytes at once.
#pragma once
#include <cstdint>

// OUT[x] = average_block(TOP + 8x, LOW + 8x) for x from 0 to WIDTH - 1.
void average_row_wasm128(const uint8_t* top, const uint8_t* low, uint32_t* out, uint32_t width);

// Each of WIDTH pixels of SOURCE twice, side by side, into UPPER and LOWER.
void double_row_wasm128(const uint32_t* source, uint32_t* upper, uint32_t* lower,
                        uint32_t width);

// Both: the averaged pixels into HALF, and each of them twice into UPPER and LOWER.
void average_double_row_wasm128(const uint8_t* top, const uint8_t* low, uint32_t* half,
                                uint32_t* upper, uint32_t* lower, uint32_t width);
