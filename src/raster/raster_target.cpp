#include "raster/raster_target.h"

#include "base/image.h"
#include "platform/screen.h"
#include "raster/triangles.h"
#include "spans_avx2.h"
#include "spans_wasm.h"
#include "tri_setup.h"

bool resolve_target(IMAGE* dst, PixelTarget& t) {
  IMAGE page_header{};
  IMAGE* image = dst;
  if (dst == SCREEN_TARGET) {
    // The page described as an image header, so that one test judges both.
    const ScreenInfo info = screen_info();
    t.pixels = reinterpret_cast<uint8_t*>(screen_ptr());
    if (!t.pixels || info.width <= 0 || info.height <= 0 || info.pitch <= 0) return false;
    page_header.TYPE = IMAGE_TYPE;
    page_header.BPP = info.bpp;
    page_header.WIDTH = uint32_t(info.width);
    page_header.HEIGHT = uint32_t(info.height);
    page_header.PITCH = uint32_t(info.pitch);
    image = &page_header;
  } else if (dst) {
    t.pixels = reinterpret_cast<uint8_t*>(dst->pixels());
  }
  if (!image_is_usable(image)) return false;
  t.pitch = image->PITCH;
  t.width = int32_t(image->WIDTH);
  t.height = int32_t(image->HEIGHT);
  return true;
}

bool resolve_raster_target(IMAGE* dst, float* depth, RasterTarget& t) {
  if (!depth || !resolve_target(dst ? dst : SCREEN_TARGET, t)) return false;
  t.depth = depth;
  return true;
}

bool simd_path_available(SimdPath path) {
  static const bool avx2 = cpu_runs_avx2();
  switch (path) {
    case SimdPath::PORTABLE: return true;
    case SimdPath::AVX2: return avx2;
    case SimdPath::WASM128: return wasm128_built();
  }
  return false;
}

SimdPath best_simd_path() {
  for (const SimdPath path : {SimdPath::AVX2, SimdPath::WASM128})
    if (simd_path_available(path)) return path;
  return SimdPath::PORTABLE;
}

const char* simd_path_name(SimdPath path) {
  switch (path) {
    case SimdPath::AVX2: return "avx2";
    case SimdPath::WASM128: return "wasm128";
    case SimdPath::PORTABLE: break;
  }
  return "portable";
}

bool triangle_rows(float sy1, float sy2, float sy3, RowBand& rows) {
  const float y1 = to_sampling_grid(sy1), y2 = to_sampling_grid(sy2), y3 = to_sampling_grid(sy3);
  if (!rows_meet_band(y1, y2, y3, RowBand{INT32_MIN, INT32_MAX})) return false;
  // Rows outside the 32-bit range are never drawn: hold them there.
  constexpr double LIMIT = 2147483647.0;
  rows.first = int32_t(std::clamp(std::floor(double(std::min({y1, y2, y3}))), -LIMIT, LIMIT));
  rows.end = int32_t(std::clamp(std::floor(double(std::max({y1, y2, y3}))), -LIMIT, LIMIT));
  return true;
}
