#include "raster_target.h"

#include "render/render_globals.h"

namespace {
// Rows of 32-bit pixels need a pitch that is a whole number of pixels and at
// least one row wide; anything else would put pixels outside the buffer.
bool ROWS_FIT(uint64_t WIDTH, uint64_t HEIGHT, uint64_t PITCH) {
  return WIDTH > 0 && HEIGHT > 0 && WIDTH <= INT32_MAX && HEIGHT <= INT32_MAX &&
         PITCH % 4 == 0 && PITCH >= WIDTH * 4;
}
}  // namespace

bool RESOLVE_RASTER_TARGET(IMAGE* DST, RASTER_TARGET& T) {
  if (!ZBUFF) return false;
  uint64_t WIDTH, HEIGHT, PITCH;
  if (DST) {
    WIDTH = DST->WIDTH;
    HEIGHT = DST->HEIGHT;
    PITCH = DST->PITCH;
    T.PIXELS = reinterpret_cast<uint8_t*>(DST->PIXELS());
  } else {
    const SCREEN_INFO_STRUCT INFO = SCREEN_INFO();
    if (INFO.WIDTH <= 0 || INFO.HEIGHT <= 0 || INFO.PITCH <= 0) return false;
    WIDTH = uint64_t(INFO.WIDTH);
    HEIGHT = uint64_t(INFO.HEIGHT);
    PITCH = uint64_t(INFO.PITCH);
    T.PIXELS = reinterpret_cast<uint8_t*>(SCREEN_PTR());
    if (!T.PIXELS) return false;
  }
  if (!ROWS_FIT(WIDTH, HEIGHT, PITCH)) return false;
  T.PITCH = size_t(PITCH);
  T.WIDTH = int32_t(WIDTH);
  T.HEIGHT = int32_t(HEIGHT);
  T.DEPTH = ZBUFF;
  return true;
}
