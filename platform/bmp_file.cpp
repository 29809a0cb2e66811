// BMP decoding is SDL's; the pixels are converted to our 32-bit layout and
// copied into an image made beforehand.
#include <SDL.h>
#include <sys/stat.h>

#include <algorithm>
#include <cstring>
#include <string>

#include "platform/platform.h"

int32_t load_bmp(const char* filename, IMAGE* target) {
  if (!target) return ERR_NULL_POINTER;
  struct stat info;
  if (!filename || stat(filename, &info) != 0 || !S_ISREG(info.st_mode))
    return note_open_failure(filename);
  SDL_RWops* file = SDL_RWFromFile(filename, "rb");
  if (!file) return note_open_failure(filename);
  SDL_Surface* loaded = SDL_LoadBMP_RW(file, 1);
  if (!loaded) {
    note_file_failure(filename, std::string("is not a BMP picture this program can read (") +
                                    SDL_GetError() + ")", false);
    return ERR_FILE_IO;
  }
  SDL_Surface* pixels = SDL_ConvertSurfaceFormat(loaded, SDL_PIXELFORMAT_ARGB8888, 0);
  SDL_FreeSurface(loaded);
  if (!pixels) {
    note_file_failure(filename, std::string("could not be converted (") + SDL_GetError() + ")",
                      false);
    return ERR_FILE_IO;
  }
  // A file of another size fills only the part both share.
  const int w = std::min<int64_t>(pixels->w, target->WIDTH);
  const int h = std::min<int64_t>(pixels->h, target->HEIGHT);
  SDL_LockSurface(pixels);
  for (int y = 0; y < h; ++y)
    std::memcpy(target->row(uint32_t(y)),
                static_cast<const uint8_t*>(pixels->pixels) + size_t(y) * size_t(pixels->pitch),
                size_t(w) * 4);
  SDL_UnlockSurface(pixels);
  SDL_FreeSurface(pixels);
  return 0;
}
