#include <cstdlib>
#include <cstring>

#include "platform/platform.h"

IMAGE* IMAGE_CREATE(int64_t WIDTH, int64_t HEIGHT) {
  return IMAGE_CREATE(WIDTH, HEIGHT, TRANSPARENT_COLOR);
}

IMAGE* IMAGE_CREATE(int64_t WIDTH, int64_t HEIGHT, uint32_t FILL) {
  // Sizes beyond 2^15 per side are refused so that no byte count can overflow.
  if (WIDTH <= 0 || HEIGHT <= 0 || WIDTH > 32768 || HEIGHT > 32768) return nullptr;
  const uint64_t PITCH = (uint64_t(WIDTH) * 4 + 15) / 16 * 16;
  const uint64_t BYTES = sizeof(IMAGE) + PITCH * uint64_t(HEIGHT);
  void* BLOCK = std::aligned_alloc(16, (BYTES + 15) / 16 * 16);
  if (!BLOCK) return nullptr;
  IMAGE* IMG = static_cast<IMAGE*>(BLOCK);
  std::memset(IMG, 0, sizeof(IMAGE));
  IMG->TYPE = IMAGE_TYPE;
  IMG->BPP = 4;
  IMG->WIDTH = uint32_t(WIDTH);
  IMG->HEIGHT = uint32_t(HEIGHT);
  IMG->PITCH = uint32_t(PITCH);
  for (uint32_t Y = 0; Y < IMG->HEIGHT; ++Y) {
    uint32_t* ROW = IMG->ROW(Y);
    for (uint32_t X = 0; X < PITCH / 4; ++X) ROW[X] = FILL;
  }
  return IMG;
}

void IMAGE_DESTROY(IMAGE* IMG) {
  FORGET_PEN(IMG);
  std::free(IMG);
}
