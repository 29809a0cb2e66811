// Texel addressing for the textured rasterizer. A texture whose width, height
// and pitch are powers of two is wrapped by masks and its rows reached by a
// shift; any other size is wrapped by modulo and its rows reached by a
// multiplication, so every texture repeats in both directions and no texel
// outside it is ever read.
#pragma once
#include <cmath>
#include <cstdint>

#include "platform/platform.h"
#include "math/rounding.h"

// Masks and shift: texel (u, v) -> word at (v AND SH) << SHIFT bytes + (u AND SW) words.
struct POW2_TEXTURE {
  const uint8_t* BASE;
  uint32_t SW, SH;  // width - 1, height - 1
  uint32_t SHIFT;   // log2 of the pitch in bytes

  uint32_t FETCH(float U, float V) const {
    const uint32_t PU = uint32_t(ROUND_TO_I32(U)) & SW;
    const uint32_t PV = uint32_t(ROUND_TO_I32(V)) & SH;
    return reinterpret_cast<const uint32_t*>(BASE + (size_t(PV) << SHIFT))[PU];
  }
};

// Any size: the rounded coordinate is taken modulo the size, negatives wrapped.
struct ANY_SIZE_TEXTURE {
  const uint8_t* BASE;
  int64_t WIDTH, HEIGHT, PITCH;

  static int64_t WRAP(int64_t I, int64_t SIZE) {
    const int64_t R = I % SIZE;
    return R < 0 ? R + SIZE : R;
  }
  uint32_t FETCH(float U, float V) const {
    const int64_t PU = WRAP(ROUND_TO_I32(U), WIDTH);
    const int64_t PV = WRAP(ROUND_TO_I32(V), HEIGHT);
    return reinterpret_cast<const uint32_t*>(BASE + PV * PITCH)[PU];
  }
};

inline bool IS_POWER_OF_TWO(uint32_t N) {
  return N != 0 && (N & (N - 1)) == 0;
}

// A texture with texels in it whose rows can hold its width.
inline bool TEXTURE_IS_USABLE(const IMAGE& TEX) {
  return TEX.WIDTH > 0 && TEX.HEIGHT > 0 && TEX.WIDTH <= INT32_MAX && TEX.HEIGHT <= INT32_MAX &&
         TEX.PITCH % 4 == 0 && uint64_t(TEX.PITCH) >= uint64_t(TEX.WIDTH) * 4;
}

inline bool TEXTURE_IS_POW2(const IMAGE& TEX) {
  return IS_POWER_OF_TWO(TEX.WIDTH) && IS_POWER_OF_TWO(TEX.HEIGHT) && IS_POWER_OF_TWO(TEX.PITCH);
}

inline POW2_TEXTURE MAKE_POW2_TEXTURE(const IMAGE& TEX) {
  // The row shift is log2 of the pitch, taken as ln(pitch) / ln 2 and rounded.
  const double SHIFT = std::nearbyint(std::log(double(TEX.PITCH)) / std::log(2.0));
  return POW2_TEXTURE{reinterpret_cast<const uint8_t*>(TEX.PIXELS()), TEX.WIDTH - 1,
                      TEX.HEIGHT - 1, uint32_t(SHIFT)};
}

inline ANY_SIZE_TEXTURE MAKE_ANY_SIZE_TEXTURE(const IMAGE& TEX) {
  return ANY_SIZE_TEXTURE{reinterpret_cast<const uint8_t*>(TEX.PIXELS()), int64_t(TEX.WIDTH),
                          int64_t(TEX.HEIGHT), int64_t(TEX.PITCH)};
}
