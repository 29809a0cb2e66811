#include <algorithm>
#include <cstring>

#include "render/post_filters.h"

namespace {
constexpr uint64_t PIXELFE = 0xFEFEFEFEFEFEFEFEull;

// Halves all eight bytes of a word at once, dropping each byte's low bit.
inline uint64_t halve_bytes(uint64_t w) {
  return (w & PIXELFE) >> 1;
}

// One output pixel from a 2 x 2 block held as two 64-bit words (left pixel in the
// low half). No byte sum exceeds 254 before a halving, so bytes never carry.
inline uint32_t average_block(uint64_t upper, uint64_t lower) {
  const uint64_t columns = halve_bytes(halve_bytes(upper) + halve_bytes(lower));
  return uint32_t(columns) + uint32_t(columns >> 32);
}
}  // namespace

int32_t ANTIALIAS4X(const IMAGE* inbuff, IMAGE* outbuff) {
  if (!inbuff || !outbuff || inbuff->BPP != 4) return 0;
  const uint32_t xx = inbuff->WIDTH / 2, yy = inbuff->HEIGHT / 2;

  const FilterTarget out = resolve_target(outbuff);
  if (!out.pixels) return 0;
  const uint32_t w = std::min(xx, out.width), h = std::min(yy, out.height);
  const uint8_t* in = reinterpret_cast<const uint8_t*>(inbuff->pixels());
  const size_t pit = inbuff->PITCH;

  for (uint32_t y = 0; y < h; ++y) {
    const uint8_t* top_row = in + size_t(2 * y) * pit;
    const uint8_t* low_row = top_row + pit;
    uint32_t* dst = reinterpret_cast<uint32_t*>(out.pixels + size_t(y) * out.pitch);
    for (uint32_t x = 0; x < w; ++x) {
      uint64_t upper, lower;
      std::memcpy(&upper, top_row + size_t(x) * 8, 8);
      std::memcpy(&lower, low_row + size_t(x) * 8, 8);
      dst[x] = average_block(upper, lower);
    }
  }
  return 0;
}

FilterTarget resolve_target(IMAGE* img) {
  if (img && img != SCREEN_TARGET)
    return {reinterpret_cast<uint8_t*>(img->pixels()), img->WIDTH, img->HEIGHT, img->PITCH};
  const ScreenInfo info = screen_info();
  return {reinterpret_cast<uint8_t*>(screen_ptr()), uint32_t(info.width), uint32_t(info.height),
          uint32_t(info.pitch)};
}
