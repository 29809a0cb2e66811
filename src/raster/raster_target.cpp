#include "raster_target.h"

#include "render/render_globals.h"

namespace {
// Rows of 32-bit pixels need a pitch that is a whole number of pixels and at
// least one row wide; anything else would put pixels outside the buffer.
bool rows_fit(uint64_t width, uint64_t height, uint64_t pitch) {
  return width > 0 && height > 0 && width <= INT32_MAX && height <= INT32_MAX &&
         pitch % 4 == 0 && pitch >= width * 4;
}
}  // namespace

bool resolve_raster_target(IMAGE* dst, RasterTarget& t) {
  if (!ZBUFF) return false;
  uint64_t width, height, pitch;
  if (dst) {
    width = dst->WIDTH;
    height = dst->HEIGHT;
    pitch = dst->PITCH;
    t.pixels = reinterpret_cast<uint8_t*>(dst->pixels());
  } else {
    const ScreenInfo info = screen_info();
    if (info.width <= 0 || info.height <= 0 || info.pitch <= 0) return false;
    width = uint64_t(info.width);
    height = uint64_t(info.height);
    pitch = uint64_t(info.pitch);
    t.pixels = reinterpret_cast<uint8_t*>(screen_ptr());
    if (!t.pixels) return false;
  }
  if (!rows_fit(width, height, pitch)) return false;
  t.pitch = size_t(pitch);
  t.width = int32_t(width);
  t.height = int32_t(height);
  t.depth = ZBUFF;
  return true;
}
