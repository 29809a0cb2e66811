#include <png.h>

#include <cstdio>
#include <vector>

#include "platform/platform.h"

int32_t SAVE_PNG(const char* FILENAME, const uint32_t* PIXELS, int32_t WIDTH, int32_t HEIGHT,
                 int32_t PITCH) {
  if (!FILENAME || !PIXELS || WIDTH <= 0 || HEIGHT <= 0 || PITCH < int64_t(WIDTH) * 4)
    return ERR_FILE_IO;
  std::FILE* OUT = std::fopen(FILENAME, "wb");
  if (!OUT) return ERR_FILE_IO;
  png_structp PNG = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop INFO = PNG ? png_create_info_struct(PNG) : nullptr;
  if (!INFO || setjmp(png_jmpbuf(PNG))) {
    png_destroy_write_struct(&PNG, INFO ? &INFO : nullptr);
    std::fclose(OUT);
    return ERR_FILE_IO;
  }
  png_init_io(PNG, OUT);
  png_set_IHDR(PNG, INFO, uint32_t(WIDTH), uint32_t(HEIGHT), 8, PNG_COLOR_TYPE_RGB,
               PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_write_info(PNG, INFO);
  std::vector<uint8_t> ROW(size_t(WIDTH) * 3);
  for (int32_t Y = 0; Y < HEIGHT; ++Y) {
    const uint32_t* IN = reinterpret_cast<const uint32_t*>(
        reinterpret_cast<const uint8_t*>(PIXELS) + size_t(Y) * size_t(PITCH));
    for (int32_t X = 0; X < WIDTH; ++X) {
      ROW[size_t(X) * 3 + 0] = uint8_t(IN[X] >> 16);
      ROW[size_t(X) * 3 + 1] = uint8_t(IN[X] >> 8);
      ROW[size_t(X) * 3 + 2] = uint8_t(IN[X]);
    }
    png_write_row(PNG, ROW.data());
  }
  png_write_end(PNG, nullptr);
  png_destroy_write_struct(&PNG, &INFO);
  return std::fclose(OUT) == 0 ? 0 : ERR_FILE_IO;
}
