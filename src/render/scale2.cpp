#include <algorithm>
#include <cstring>

#include "render/post_filters.h"

void SCALE2(IMAGE* DST, const IMAGE* SRC) {
  if (!SRC || SRC->BPP != 4) return;
  const FILTER_TARGET OUT = RESOLVE_TARGET(DST);
  if (!OUT.PIXELS) return;
  // Only whole 2 x 2 blocks that fit the target are written.
  const uint32_t SWID = std::min(SRC->WIDTH, OUT.WIDTH / 2);
  const uint32_t SHEI = std::min(SRC->HEIGHT, OUT.HEIGHT / 2);
  const uint8_t* IN = reinterpret_cast<const uint8_t*>(SRC->PIXELS());

  for (uint32_t Y = 0; Y < SHEI; ++Y) {
    const uint32_t* SROW = reinterpret_cast<const uint32_t*>(IN + size_t(Y) * SRC->PITCH);
    uint8_t* UPPER = OUT.PIXELS + size_t(2 * Y) * OUT.PITCH;
    uint8_t* LOWER = UPPER + OUT.PITCH;
    for (uint32_t X = 0; X < SWID; ++X) {
      // The pixel repeated into one word: two target pixels per store.
      const uint64_t PAIR = uint64_t(SROW[X]) * 0x0000000100000001ull;
      std::memcpy(UPPER + size_t(X) * 8, &PAIR, 8);
      std::memcpy(LOWER + size_t(X) * 8, &PAIR, 8);
    }
  }
}
