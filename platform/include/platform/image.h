// Image buffers in the fixed layout every layer writes into directly, BMP and
// PNG files, and lines drawn into images.
#pragma once
#include <cstddef>
#include <cstdint>

#include "platform/fail.h"

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

// Loads a BMP file into an existing 32-bit image. Only the part both share is
// written. 0, ERR_FILE_NOT_FOUND (cannot be opened) or ERR_FILE_IO (not a BMP
// this loader decodes: compressed other than RLE, or a size outside 1 to 4096
// a side). A failure leaves a failure note that names the file and the cause.
int32_t load_bmp(const char* filename, IMAGE* target);
// Loads a BMP file into a new image of the file's own size (1 to 4096 a side,
// any width). Null on failure, with ERROR and the failure note set as above
// (ERR_OUT_OF_MEMORY when the image cannot be made).
IMAGE* load_bmp_image(const char* filename, int32_t& error);

// Loads a texture file into a new image of its own size (1 to 4096 a side):
// a BMP (by its "BM" mark) as load_bmp_image does, a PNG, JPEG or TGA file
// decoded with its alpha (opaque where it has none). Null on failure, with
// ERROR and the failure note set as load_bmp_image sets them.
IMAGE* load_image_file(const char* filename, int32_t& error);

// Writes the pixels of a 32-bit page as an RGB PNG. 0 or ERR_FILE_IO.
int32_t save_png(const char* filename, const uint32_t* pixels, int32_t width, int32_t height,
                 int32_t pitch);

// ---------------------------------------------------------------- lines
// Draws a line in COL with a 16-bit style mask (0xFFFF solid). End points are
// rounded to pixels; whatever they hold, nothing outside the image is written.
// The image remembers the last end point (its pen position).
void draw_line(IMAGE* target, float x1, float y1, float x2, float y2, uint32_t col,
               uint16_t style = 0xFFFF);
// Draws from the pen position to (X2, Y2).
void draw_line_to(IMAGE* target, float x2, float y2, uint32_t col, uint16_t style = 0xFFFF);
// Drops the pen position of an image (image_destroy calls it), so that a new
// image at the same address starts with its pen at (0, 0).
void forget_pen(const IMAGE* img);
