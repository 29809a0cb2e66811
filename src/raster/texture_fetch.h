// Texel addressing for the textured rasterizer. A texture whose width, height
// and pitch are powers of two is wrapped by masks and its rows reached by a
// shift; any other size is wrapped by modulo and its rows reached by a
// multiplication, so every texture repeats in both directions and no texel
// outside it is ever read.
#pragma once
#include <cmath>
#include <cstdint>

#include "base/image.h"
#include "base/rounding.h"
#include "raster/triangles.h"

// Masks and shift: texel (u, v) -> word at (v AND SH) << SHIFT bytes + (u AND SW) words.
struct Pow2Texture {
  const uint8_t* base;
  uint32_t sw, sh;  // width - 1, height - 1
  uint32_t shift;   // log2 of the pitch in bytes

  uint32_t fetch(float u, float v) const {
    const uint32_t pu = uint32_t(round_i32_nan_indefinite(u)) & sw;
    const uint32_t pv = uint32_t(round_i32_nan_indefinite(v)) & sh;
    return reinterpret_cast<const uint32_t*>(base + (size_t(pv) << shift))[pu];
  }
};

// Any size: the rounded coordinate is taken modulo the size, negatives wrapped.
struct AnySizeTexture {
  const uint8_t* base;
  int64_t width, height, pitch;

  static int64_t wrap(int64_t i, int64_t size) {
    const int64_t r = i % size;
    return r < 0 ? r + size : r;
  }
  uint32_t fetch(float u, float v) const {
    const int64_t pu = wrap(round_i32_nan_indefinite(u), width);
    const int64_t pv = wrap(round_i32_nan_indefinite(v), height);
    return reinterpret_cast<const uint32_t*>(base + pv * pitch)[pu];
  }
};

inline bool is_power_of_two(uint32_t n) {
  return n != 0 && (n & (n - 1)) == 0;
}

inline bool texture_is_pow2(const IMAGE& tex) {
  return is_power_of_two(tex.WIDTH) && is_power_of_two(tex.HEIGHT) && is_power_of_two(tex.PITCH);
}

inline Pow2Texture make_pow2_texture(const TextureSource& tex) {
  return Pow2Texture{tex.base, tex.width - 1, tex.height - 1, tex.shift};
}

inline AnySizeTexture make_any_size_texture(const TextureSource& tex) {
  return AnySizeTexture{tex.base, int64_t(tex.width), int64_t(tex.height), int64_t(tex.pitch)};
}
