#include <algorithm>
#include <cstring>

#include "main/post_filters.h"

void SCALE2(IMAGE* DST, const IMAGE* SRC) {
  if (!SRC || SRC->BPP != 4) return;
  uint8_t* OUT;
  uint32_t DWID, DHEI, DPIT;
  if (!DST) {
    const SCREEN_INFO_STRUCT INFO = SCREEN_INFO();
    OUT = reinterpret_cast<uint8_t*>(SCREEN_PTR());
    if (!OUT) return;
    DWID = uint32_t(INFO.WIDTH);
    DHEI = uint32_t(INFO.HEIGHT);
    DPIT = uint32_t(INFO.PITCH);
  } else {
    OUT = reinterpret_cast<uint8_t*>(DST->PIXELS());
    DWID = DST->WIDTH;
    DHEI = DST->HEIGHT;
    DPIT = DST->PITCH;
  }
  // Only whole 2 x 2 blocks that fit the target are written.
  const uint32_t SWID = std::min(SRC->WIDTH, DWID / 2), SHEI = std::min(SRC->HEIGHT, DHEI / 2);
  const uint8_t* IN = reinterpret_cast<const uint8_t*>(SRC->PIXELS());

  for (uint32_t Y = 0; Y < SHEI; ++Y) {
    const uint32_t* SROW = reinterpret_cast<const uint32_t*>(IN + size_t(Y) * SRC->PITCH);
    uint8_t* UPPER = OUT + size_t(2 * Y) * DPIT;
    uint8_t* LOWER = UPPER + DPIT;
    for (uint32_t X = 0; X < SWID; ++X) {
      // The pixel repeated into one word: two target pixels per store.
      const uint64_t PAIR = uint64_t(SROW[X]) * 0x0000000100000001ull;
      std::memcpy(UPPER + size_t(X) * 8, &PAIR, 8);
      std::memcpy(LOWER + size_t(X) * 8, &PAIR, 8);
    }
  }
}
