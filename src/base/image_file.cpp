// Texture files of users' models: BMP through our own reader, the rest (PNG,
// JPEG, TGA) through stb_image. This file holds its implementation.
#include <cstdio>
#include <string>

#include "base/bmp.h"
#include "base/fail.h"
#include "base/file_notes.h"
#include "base/image_file.h"

#define STB_IMAGE_IMPLEMENTATION
#define STBI_ONLY_PNG
#define STBI_ONLY_JPEG
#define STBI_ONLY_TGA
#define STBI_FAILURE_USERMSG
#include <stb/stb_image.h>

namespace {
constexpr int MAX_SIDE = 4096;

int32_t refuse(int32_t error, const char* filename, const std::string& cause) {
  note_file_failure(filename, cause, false);
  return error;
}

bool starts_with_bm(std::FILE* f) {
  unsigned char magic[2] = {0, 0};
  const bool bm = std::fread(magic, 1, 2, f) == 2 && magic[0] == 'B' && magic[1] == 'M';
  std::rewind(f);
  return bm;
}
}  // namespace

IMAGE* load_image_file(const char* filename, int32_t& error) {
  std::FILE* f = open_plain_file(filename);
  if (!f) {
    error = ERR_FILE_NOT_FOUND;
    return nullptr;
  }
  if (starts_with_bm(f)) {
    std::fclose(f);
    return load_bmp_image(filename, error);
  }
  int width = 0, height = 0, channels = 0;
  if (!stbi_info_from_file(f, &width, &height, &channels)) {
    error = refuse(ERR_FILE_IO, filename, std::string("not a picture this program reads (") + stbi_failure_reason() + ")");
    std::fclose(f);
    return nullptr;
  }
  if (width < 1 || height < 1 || width > MAX_SIDE || height > MAX_SIDE) {
    error = refuse(ERR_FILE_IO, filename, std::to_string(width) + " x " + std::to_string(height) +
                                              " pixels; the sides must be 1 to 4096");
    std::fclose(f);
    return nullptr;
  }
  unsigned char* rgba = stbi_load_from_file(f, &width, &height, &channels, 4);
  std::fclose(f);
  if (!rgba) {
    error = refuse(ERR_FILE_IO, filename, std::string("cannot be decoded (") + stbi_failure_reason() + ")");
    return nullptr;
  }
  IMAGE* img = image_create(width, height);
  if (!img) {
    stbi_image_free(rgba);
    error = refuse(ERR_OUT_OF_MEMORY, filename, "no memory for its pixels");
    return nullptr;
  }
  const unsigned char* p = rgba;
  for (int y = 0; y < height; ++y) {
    uint32_t* row = img->row(uint32_t(y));
    for (int x = 0; x < width; ++x, p += 4)
      row[x] = uint32_t(p[2]) | uint32_t(p[1]) << 8 | uint32_t(p[0]) << 16 | uint32_t(p[3]) << 24;
  }
  stbi_image_free(rgba);
  error = 0;
  return img;
}
