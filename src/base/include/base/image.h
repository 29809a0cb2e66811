// Image buffers in the fixed layout every layer writes into directly.
#pragma once
#include <cstddef>
#include <cstdint>

// An image buffer: a 32-byte header, then the pixel rows. Pixel (x, y) is the
// 32-bit word at byte 32 + y * PITCH + x * 4; blue in bits 0-7, green 8-15,
// red 16-23, alpha 24-31. The header starts on a 16-byte boundary.
struct IMAGE {
  uint32_t TYPE;          // always 7
  int32_t BPP;            // bytes per pixel: 4
  uint32_t WIDTH;
  uint32_t HEIGHT;
  uint32_t PITCH;         // WIDTH * BPP rounded up to a multiple of 16
  uint8_t _RESERVED[12];  // zero

  uint32_t* pixels() { return reinterpret_cast<uint32_t*>(this + 1); }
  const uint32_t* pixels() const { return reinterpret_cast<const uint32_t*>(this + 1); }
  uint32_t* row(uint32_t y) {
    return reinterpret_cast<uint32_t*>(reinterpret_cast<uint8_t*>(this + 1) + size_t(y) * PITCH);
  }
};
static_assert(sizeof(IMAGE) == 32, "the image header is 32 bytes");

constexpr uint32_t IMAGE_TYPE = 7;
constexpr uint32_t TRANSPARENT_COLOR = 0xFFFF00FFu;

// New image of WIDTH x HEIGHT 32-bit pixels filled with TRANSPARENT_COLOR (or
// FILL). Null when the size is not positive or the memory cannot be had.
IMAGE* image_create(int64_t width, int64_t height);
IMAGE* image_create(int64_t width, int64_t height, uint32_t fill);
// Releases an image made by image_create (null is allowed).
void image_destroy(IMAGE* img);

// A 32-bit image whose rows can hold its width: the one test every reader and
// writer of pixels makes before touching them (null is not usable).
bool image_is_usable(const IMAGE* img);
