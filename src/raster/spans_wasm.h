// Span kernels that fill four pixels at a time with WebAssembly's 128-bit
// vectors (spans_wasm.cpp). Call them only where
// simd_path_available(SimdPath::WASM128) holds.
//
// They keep the promise of the AVX2 kernels (spans_avx2.h) on four lanes: the
// per-pixel values (1/z, u/z, v/z) are still stepped one pixel at a time in
// the portable order, and everything after that rounds as its scalar form
// does: the strict depth test (NaN fails), the division, the rounding to the
// nearest texel (halves to even; NaN and values beyond the 32-bit range give
// the most negative integer, as the portable rounding does), the masks and
// the shift, the byte-saturating shade; pixels and depths change only where
// the test passed, and hidden pixels read no texel.
#pragma once
#include <cstdint>

#include "span_kernel.h"

// The calling convention of the AVX2 kernels: pixels SX towards EX - 1 of a
// row of ROW_END pixels, four at a time while the next four lie within the
// span or at least within the row; the first pixel not drawn is returned and
// the carried values are left there. Pixels and depths of the row beyond EX
// may be read and written back unchanged.
int32_t flat_span_wasm128(uint32_t* pixels, float* depth, int32_t sx, int32_t ex,
                          int32_t row_end, float& iz, float dizdx, uint32_t col);
int32_t textured_span_wasm128_brighten(const TexturedSpanArgs& s, uint32_t* pixels, float* depth,
                                       int32_t sx, int32_t ex, int32_t row_end, float* v);
int32_t textured_span_wasm128_darken(const TexturedSpanArgs& s, uint32_t* pixels, float* depth,
                                     int32_t sx, int32_t ex, int32_t row_end, float* v);

// Whether this program was built with the 128-bit vectors (the browser that
// runs it then has them: a module with them validates nowhere else).
bool wasm128_built();
