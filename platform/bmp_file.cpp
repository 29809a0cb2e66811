// BMP decoding is SDL's; the pixels are converted to our 32-bit layout and
// copied into an image made beforehand.
#include <SDL.h>
#include <sys/stat.h>

#include <algorithm>
#include <cstring>

#include "platform/platform.h"

int32_t LOAD_BMP(const char* FILENAME, IMAGE* TARGET) {
  if (!TARGET) return ERR_NULL_POINTER;
  struct stat INFO;
  if (!FILENAME || stat(FILENAME, &INFO) != 0 || !S_ISREG(INFO.st_mode)) return ERR_FILE_NOT_FOUND;
  SDL_RWops* FILE = SDL_RWFromFile(FILENAME, "rb");
  if (!FILE) return ERR_FILE_NOT_FOUND;
  SDL_Surface* LOADED = SDL_LoadBMP_RW(FILE, 1);
  if (!LOADED) return ERR_FILE_IO;
  SDL_Surface* PIXELS = SDL_ConvertSurfaceFormat(LOADED, SDL_PIXELFORMAT_ARGB8888, 0);
  SDL_FreeSurface(LOADED);
  if (!PIXELS) return ERR_FILE_IO;
  // A file of another size fills only the part both share.
  const int W = std::min<int64_t>(PIXELS->w, TARGET->WIDTH);
  const int H = std::min<int64_t>(PIXELS->h, TARGET->HEIGHT);
  SDL_LockSurface(PIXELS);
  for (int Y = 0; Y < H; ++Y)
    std::memcpy(TARGET->ROW(uint32_t(Y)),
                static_cast<const uint8_t*>(PIXELS->pixels) + size_t(Y) * size_t(PIXELS->pitch),
                size_t(W) * 4);
  SDL_UnlockSurface(PIXELS);
  SDL_FreeSurface(PIXELS);
  return 0;
}
