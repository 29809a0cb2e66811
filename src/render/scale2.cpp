#include <algorithm>
#include <cstring>

#include "render/post_filters.h"

void SCALE2(IMAGE* dst, const IMAGE* src) {
  if (!src || src->BPP != 4) return;
  const FilterTarget out = resolve_target(dst);
  if (!out.pixels) return;
  // Only whole 2 x 2 blocks that fit the target are written.
  const uint32_t swid = std::min(src->WIDTH, out.width / 2);
  const uint32_t shei = std::min(src->HEIGHT, out.height / 2);
  const uint8_t* in = reinterpret_cast<const uint8_t*>(src->pixels());

  for (uint32_t y = 0; y < shei; ++y) {
    const uint32_t* srow = reinterpret_cast<const uint32_t*>(in + size_t(y) * src->PITCH);
    uint8_t* upper = out.pixels + size_t(2 * y) * out.pitch;
    uint8_t* lower = upper + out.pitch;
    for (uint32_t x = 0; x < swid; ++x) {
      // The pixel repeated into one word: two target pixels per store.
      const uint64_t pair = uint64_t(srow[x]) * 0x0000000100000001ull;
      std::memcpy(upper + size_t(x) * 8, &pair, 8);
      std::memcpy(lower + size_t(x) * 8, &pair, 8);
    }
  }
}
