#include <cstdlib>
#include <cstring>

#include "base/image.h"

IMAGE* image_create(int64_t width, int64_t height) {
  return image_create(width, height, TRANSPARENT_COLOR);
}

IMAGE* image_create(int64_t width, int64_t height, uint32_t fill) {
  // Sizes beyond 2^15 per side are refused so that no byte count can overflow.
  if (width <= 0 || height <= 0 || width > 32768 || height > 32768) return nullptr;
  const uint64_t pitch = (uint64_t(width) * 4 + 15) / 16 * 16;
  const uint64_t bytes = sizeof(IMAGE) + pitch * uint64_t(height);
  void* block = std::aligned_alloc(16, (bytes + 15) / 16 * 16);
  if (!block) return nullptr;
  IMAGE* img = static_cast<IMAGE*>(block);
  std::memset(img, 0, sizeof(IMAGE));
  img->TYPE = IMAGE_TYPE;
  img->BPP = 4;
  img->WIDTH = uint32_t(width);
  img->HEIGHT = uint32_t(height);
  img->PITCH = uint32_t(pitch);
  for (uint32_t y = 0; y < img->HEIGHT; ++y) {
    uint32_t* row = img->row(y);
    for (uint32_t x = 0; x < pitch / 4; ++x) row[x] = fill;
  }
  return img;
}

void image_destroy(IMAGE* img) {
  std::free(img);
}

bool image_is_usable(const IMAGE* img) {
  return img && img->BPP == 4 && img->WIDTH > 0 && img->HEIGHT > 0 && img->WIDTH <= INT32_MAX &&
         img->HEIGHT <= INT32_MAX && img->PITCH % 4 == 0 &&
         uint64_t(img->PITCH) >= uint64_t(img->WIDTH) * 4;
}
