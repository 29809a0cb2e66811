#include <algorithm>
#include <cstring>

#include "main/post_filters.h"

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

  uint8_t* OUT;
  uint32_t OUT_W, OUT_H, OUT_PITCH;
  if (OUTBUFF == SCREEN_TARGET) {
    const SCREEN_INFO_STRUCT INFO = SCREEN_INFO();
    OUT = reinterpret_cast<uint8_t*>(SCREEN_PTR());
    if (!OUT) return 0;
    OUT_W = uint32_t(INFO.WIDTH);
    OUT_H = uint32_t(INFO.HEIGHT);
    OUT_PITCH = uint32_t(INFO.PITCH);
  } else {
    OUT = reinterpret_cast<uint8_t*>(OUTBUFF->PIXELS());
    OUT_W = OUTBUFF->WIDTH;
    OUT_H = OUTBUFF->HEIGHT;
    OUT_PITCH = OUTBUFF->PITCH;
  }
  const uint32_t W = std::min(XX, OUT_W), H = std::min(YY, OUT_H);
  const uint8_t* IN = reinterpret_cast<const uint8_t*>(INBUFF->PIXELS());
  const size_t PIT = INBUFF->PITCH;

  for (uint32_t Y = 0; Y < H; ++Y) {
    const uint8_t* TOP_ROW = IN + size_t(2 * Y) * PIT;
    const uint8_t* LOW_ROW = TOP_ROW + PIT;
    uint32_t* DST = reinterpret_cast<uint32_t*>(OUT + size_t(Y) * OUT_PITCH);
    for (uint32_t X = 0; X < W; ++X) {
      uint64_t UPPER, LOWER;
      std::memcpy(&UPPER, TOP_ROW + size_t(X) * 8, 8);
      std::memcpy(&LOWER, LOW_ROW + size_t(X) * 8, 8);
      DST[X] = AVERAGE_BLOCK(UPPER, LOWER);
    }
  }
  return 0;
}
