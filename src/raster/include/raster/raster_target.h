// Where and how a rasterizer writes: the pixel rows of the target image (or of
// the screen page) and the depth buffer, whose rows are the target's width; the
// band of rows a call may touch; the code that fills its spans.
#pragma once
#include <cstddef>
#include <cstdint>

#include "base/image.h"

// Stands for the screen page wherever a target image is asked for. The
// entry points that take null for the screen turn it into this at their door,
// so everything behind them names the screen one way.
inline IMAGE* const SCREEN_TARGET = reinterpret_cast<IMAGE*>(~uintptr_t(0));

// The rows a rasterizer or post-filter writes: pixel (x, y) is the 32-bit word
// at PIXELS + y * PITCH + x * 4.
struct PixelTarget {
  uint8_t* pixels;  // row 0, column 0
  size_t pitch;     // bytes from one pixel row to the next
  int32_t width, height;

  uint32_t* pixel_row(int32_t y) const {
    return reinterpret_cast<uint32_t*>(pixels + size_t(y) * pitch);
  }
};

// Fills T for DST: the screen page for SCREEN_TARGET, else the image. False
// when there is nothing to write to: null, no page, or pixels that fail
// image_is_usable (not 32-bit, empty, or rows that cannot hold the width).
bool resolve_target(IMAGE* dst, PixelTarget& t);

// A pixel target with its depth buffer, whose rows are the target's width.
struct RasterTarget : PixelTarget {
  float* depth;  // row 0, column 0 of the depth buffer; rows are width floats apart

  float* depth_row(int32_t y) const { return depth + size_t(y) * size_t(width); }
};

// Fills T for DST (null or SCREEN_TARGET: the screen page) and DEPTH. False
// when there is nothing to draw into: no depth buffer, or no target as
// resolve_target says.
bool resolve_raster_target(IMAGE* dst, float* depth, RasterTarget& t);

// The rows FIRST to END - 1 of the target (cut to the target). Drawing a
// triangle band by band, in any order and on any threads, leaves exactly what
// drawing it whole leaves: every row is computed as the whole walk computes it.
struct RowBand {
  int32_t first = 0;
  int32_t end = INT32_MAX;
};

// The code that fills the pixels of a span (and runs the post-filters): plain
// C++, or the processor's vector instructions. Every path leaves the same bits.
enum class SimdPath : uint8_t {
  PORTABLE,  // one pixel at a time
  AVX2,      // eight pixels at a time (x86-64 with AVX2)
  WASM128,   // four pixels at a time (WebAssembly's 128-bit vectors)
};

// The fastest path this processor runs; PORTABLE where there is no other.
SimdPath best_simd_path();
// True when this processor runs PATH.
bool simd_path_available(SimdPath path);
// True when PATH is AVX2 and this processor runs it: the eight-pixel code is
// used, else the portable code.
inline bool runs_avx2(SimdPath path) {
  return path == SimdPath::AVX2 && simd_path_available(SimdPath::AVX2);
}
// True when PATH is WASM128 and this program has it: the four-pixel code is
// used.
inline bool runs_wasm128(SimdPath path) {
  return path == SimdPath::WASM128 && simd_path_available(SimdPath::WASM128);
}
// "portable", "avx2" or "wasm128".
const char* simd_path_name(SimdPath path);

// What one drawing call may touch and how it fills its spans. A path this
// processor does not run falls back to the portable one.
struct DrawScope {
  RowBand band;
  SimdPath simd = SimdPath::PORTABLE;
};
