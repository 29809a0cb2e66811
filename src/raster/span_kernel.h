// What the vector span kernels (spans_avx2.cpp, spans_wasm.cpp) share: the
// values of a textured span and the length below which the one-pixel loop wins.
#pragma once
#include <cstdint>

// Spans shorter than this are drawn faster one pixel at a time.
constexpr int32_t SHORT_SPAN = 6;

// A textured span from a texture whose width, height and pitch are powers of
// two and whose texels all lie within 2 GiB of BASE.
struct TexturedSpanArgs {
  const uint8_t* base;  // texel (0, 0)
  uint32_t sw, sh;      // width - 1, height - 1
  uint32_t shift;       // log2 of the pitch in bytes
  uint32_t col_scale2;  // the shade amount on every byte
  float dizdx, duizdx, dvizdx;
};

// One row's span as a kernel left it: pixels X to EX - 1 still to draw, V the
// carried 1/z, u/z and v/z at pixel X.
struct SpanRun {
  uint32_t* pixels;
  float* depth;
  int32_t x, ex;
  float v[3];
};
