// BMP decoding is SDL's; the headers are checked first, then the pixels are
// converted to our 32-bit layout and copied into an image.
#include <SDL.h>
#include <sys/stat.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>

#include "platform/bmp_header.h"
#include "platform/platform.h"

namespace {

int32_t fail(int32_t error, const char* filename, const std::string& cause) {
  note_file_failure(filename ? filename : "", cause, false);
  return error;
}

// The file's pixels as a 32-bit surface, or an error number with a failure note.
int32_t decode(const char* filename, SDL_Surface*& pixels) {
  pixels = nullptr;
  struct stat info;
  if (!filename || stat(filename, &info) != 0 || !S_ISREG(info.st_mode))
    return note_open_failure(filename);
  SDL_RWops* file = SDL_RWFromFile(filename, "rb");
  if (!file) return note_open_failure(filename);

  uint8_t bytes[BMP_HEADER_BYTES];
  const size_t got = SDL_RWread(file, bytes, 1, sizeof bytes);
  BmpHeader header;
  const std::string cause = check_bmp_header(bytes, got, uint64_t(info.st_size), header);
  if (!cause.empty() || SDL_RWseek(file, 0, RW_SEEK_SET) != 0) {
    SDL_RWclose(file);
    return fail(ERR_FILE_IO, filename, cause.empty() ? "cannot be read" : cause);
  }
  SDL_Surface* loaded = SDL_LoadBMP_RW(file, 1);
  if (!loaded) return fail(ERR_FILE_IO, filename, std::string("cannot be decoded: ") + SDL_GetError());
  pixels = SDL_ConvertSurfaceFormat(loaded, SDL_PIXELFORMAT_ARGB8888, 0);
  SDL_FreeSurface(loaded);
  if (!pixels) return fail(ERR_FILE_IO, filename, "cannot be converted to 32-bit pixels");
  return 0;
}

// Copies the top-left W x H pixels of the surface into the image.
void copy_pixels(SDL_Surface* pixels, IMAGE* target, int w, int h) {
  SDL_LockSurface(pixels);
  for (int y = 0; y < h; ++y)
    std::memcpy(target->row(uint32_t(y)),
                static_cast<const uint8_t*>(pixels->pixels) + size_t(y) * size_t(pixels->pitch),
                size_t(w) * 4);
  SDL_UnlockSurface(pixels);
}

}  // namespace

int32_t load_bmp(const char* filename, IMAGE* target) {
  if (!target) return ERR_NULL_POINTER;
  SDL_Surface* pixels = nullptr;
  if (const int32_t error = decode(filename, pixels)) return error;
  // A file of another size fills only the part both share.
  const int w = std::min<int64_t>(pixels->w, target->WIDTH);
  const int h = std::min<int64_t>(pixels->h, target->HEIGHT);
  copy_pixels(pixels, target, w, h);
  SDL_FreeSurface(pixels);
  return 0;
}

IMAGE* load_bmp_image(const char* filename, int32_t& error) {
  SDL_Surface* pixels = nullptr;
  error = decode(filename, pixels);
  if (error) return nullptr;
  IMAGE* img = image_create(pixels->w, pixels->h);
  if (img) copy_pixels(pixels, img, pixels->w, pixels->h);
  else error = fail(ERR_OUT_OF_MEMORY, filename, "no memory for its pixels");
  SDL_FreeSurface(pixels);
  return img;
}
