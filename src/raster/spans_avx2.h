// Span kernels that fill eight pixels at a time with AVX2 (spans_avx2.cpp).
// Call them only where simd_path_available(SimdPath::AVX2) holds.
//
// On the pixels it draws, each leaves exactly the pixels and depth values that
// the portable span leaves and reads exactly the texels it reads. The per-pixel values (1/z,
// u/z, v/z) are a chain of single-precision additions whose order fixes every
// bit, so they are still stepped one pixel at a time in the portable order.
// Everything after that runs on eight pixels at once with operations that
// round as their scalar forms do: the strict depth test (NaN fails), the
// division, the rounding to the nearest texel (halves to even; NaN and values
// beyond the 32-bit range give the most negative integer), the masks and the
// shift, the byte-saturating shade, and stores only where the test passed.
#pragma once
#include <cstdint>

#include "span_kernel.h"

// Both kernels draw pixels of a row of ROW_END pixels from SX towards EX - 1,
// eight at a time while the next eight lie within the span or at least within
// the row. They return X, the first pixel they did not draw (EX or beyond when
// they drew the whole span), and leave the carried values at pixel X where
// they were given; the caller draws pixels X to EX - 1 with the portable span,
// so the one-pixel rule is written once. They may read and write back
// unchanged pixels and depths of that row beyond EX, so no other thread may
// draw the row meanwhile.

// A flat span, IZ holding 1/z at pixel SX.
int32_t flat_span_avx2(uint32_t* pixels, float* depth, int32_t sx, int32_t ex, int32_t row_end,
                       float& iz, float dizdx, uint32_t col);

// V holds 1/z, u/z and v/z at pixel SX. Each texel is brightened (the first)
// or darkened (the second) by COL_SCALE2.
int32_t textured_span_avx2_brighten(const TexturedSpanArgs& s, uint32_t* pixels, float* depth,
                                    int32_t sx, int32_t ex, int32_t row_end, float* v);
int32_t textured_span_avx2_darken(const TexturedSpanArgs& s, uint32_t* pixels, float* depth,
                                  int32_t sx, int32_t ex, int32_t row_end, float* v);

// Two spans of one triangle on two rows at once, block by block while both
// have a block to draw: the two chains of additions are independent, so the
// processor steps them side by side. Each row is drawn and left exactly as
// the one-row kernel draws and leaves it; the caller finishes both.
void textured_span_pair_avx2_brighten(const TexturedSpanArgs& s, SpanRun& a, SpanRun& b,
                                      int32_t row_end);
void textured_span_pair_avx2_darken(const TexturedSpanArgs& s, SpanRun& a, SpanRun& b,
                                    int32_t row_end);

// Whether the processor and the operating system run AVX2 code.
bool cpu_runs_avx2();
