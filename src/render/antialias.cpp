#include <algorithm>
#include <cstring>

#include "render/post_filters.h"

namespace {
constexpr uint64_t PIXELFE = 0xFEFEFEFEFEFEFEFEull;

// Halves all eight bytes of a word at once, dropping each byte's low bit.
inline uint64_t HALVE_BYTES(uint64_t W) {
  return (W & PIXELFE) >> 1;
}

// One output pixel from a 2 x 2 block held as two 64-bit words (left pixel in the
// low half). No byte sum exceeds 254 before a halving, so bytes never carry.
inline uint32_t AVERAGE_BLOCK(uint64_t UPPER, uint64_t LOWER) {
  const uint64_t COLUMNS = HALVE_BYTES(HALVE_BYTES(UPPER) + HALVE_BYTES(LOWER));
  return uint32_t(COLUMNS) + uint32_t(COLUMNS >> 32);
}
}  // namespace

int32_t ANTIALIAS4X(const IMAGE* INBUFF, IMAGE* OUTBUFF) {
  if (!INBUFF || !OUTBUFF || INBUFF->BPP != 4) return 0;
  const uint32_t XX = INBUFF->WIDTH / 2, YY = INBUFF->HEIGHT / 2;

  const FILTER_TARGET OUT = RESOLVE_TARGET(OUTBUFF);
  if (!OUT.PIXELS) return 0;
  const uint32_t W = std::min(XX, OUT.WIDTH), H = std::min(YY, OUT.HEIGHT);
  const uint8_t* IN = reinterpret_cast<const uint8_t*>(INBUFF->PIXELS());
  const size_t PIT = INBUFF->PITCH;

  for (uint32_t Y = 0; Y < H; ++Y) {
    const uint8_t* TOP_ROW = IN + size_t(2 * Y) * PIT;
    const uint8_t* LOW_ROW = TOP_ROW + PIT;
    uint32_t* DST = reinterpret_cast<uint32_t*>(OUT.PIXELS + size_t(Y) * OUT.PITCH);
    for (uint32_t X = 0; X < W; ++X) {
      uint64_t UPPER, LOWER;
      std::memcpy(&UPPER, TOP_ROW + size_t(X) * 8, 8);
      std::memcpy(&LOWER, LOW_ROW + size_t(X) * 8, 8);
      DST[X] = AVERAGE_BLOCK(UPPER, LOWER);
    }
  }
  return 0;
}

FILTER_TARGET RESOLVE_TARGET(IMAGE* IMG) {
  if (IMG && IMG != SCREEN_TARGET)
    return {reinterpret_cast<uint8_t*>(IMG->PIXELS()), IMG->WIDTH, IMG->HEIGHT, IMG->PITCH};
  const SCREEN_INFO_STRUCT INFO = SCREEN_INFO();
  return {reinterpret_cast<uint8_t*>(SCREEN_PTR()), uint32_t(INFO.WIDTH), uint32_t(INFO.HEIGHT),
          uint32_t(INFO.PITCH)};
}
