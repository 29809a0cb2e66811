#include <png.h>

#include <cstdio>
#include <vector>

#include "base/fail.h"
#include "base/png.h"

namespace {
// Everything libpng may jump out of on an error (a full disk, say): only plain
// pointers and numbers live here, so the jump skips no destructor. ROW holds
// WIDTH * 3 bytes. Returns 0 or ERR_FILE_IO; OUT stays open.
int32_t write_png_rows(std::FILE* out, const uint32_t* pixels, int32_t width, int32_t height,
                       int32_t pitch, uint8_t* row) {
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png ? png_create_info_struct(png) : nullptr;
  if (!info || setjmp(png_jmpbuf(png))) {
    png_destroy_write_struct(&png, info ? &info : nullptr);
    return ERR_FILE_IO;
  }
  png_init_io(png, out);
  png_set_IHDR(png, info, uint32_t(width), uint32_t(height), 8, PNG_COLOR_TYPE_RGB,
               PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_write_info(png, info);
  for (int32_t y = 0; y < height; ++y) {
    const uint32_t* in = reinterpret_cast<const uint32_t*>(
        reinterpret_cast<const uint8_t*>(pixels) + size_t(y) * size_t(pitch));
    for (int32_t x = 0; x < width; ++x) {
      row[size_t(x) * 3 + 0] = uint8_t(in[x] >> 16);
      row[size_t(x) * 3 + 1] = uint8_t(in[x] >> 8);
      row[size_t(x) * 3 + 2] = uint8_t(in[x]);
    }
    png_write_row(png, row);
  }
  png_write_end(png, nullptr);
  png_destroy_write_struct(&png, &info);
  return 0;
}
}  // namespace

int32_t save_png(const char* filename, const uint32_t* pixels, int32_t width, int32_t height,
                 int32_t pitch) {
  if (!filename || !pixels || width <= 0 || height <= 0 || pitch < int64_t(width) * 4)
    return ERR_FILE_IO;
  std::vector<uint8_t> row(size_t(width) * 3);
  std::FILE* out = std::fopen(filename, "wb");
  if (!out) return ERR_FILE_IO;
  const int32_t written = write_png_rows(out, pixels, width, height, pitch, row.data());
  const bool closed = std::fclose(out) == 0;
  return written == 0 && closed ? 0 : ERR_FILE_IO;
}
