#include <algorithm>
#include <cstring>

#include "post_filter_rows.h"
#include "render/draw_workers.h"
#include "render/post_filters.h"

bool plan_scale2(IMAGE* dst, const IMAGE* src, Scale2Plan& plan) {
  if (!src || src->BPP != 4) return false;
  plan.out = resolve_target(dst);
  if (!plan.out.pixels) return false;
  // Only whole 2 x 2 blocks that fit the target are written.
  plan.width = std::min(src->WIDTH, plan.out.width / 2);
  plan.height = std::min(src->HEIGHT, plan.out.height / 2);
  plan.in = reinterpret_cast<const uint8_t*>(src->pixels());
  plan.in_pitch = src->PITCH;
  return true;
}

void double_row(const Scale2Plan& p, const uint32_t* source_row, uint32_t y) {
  uint8_t* upper = p.out.pixels + size_t(2 * y) * p.out.pitch;
  uint8_t* lower = upper + p.out.pitch;
  for (uint32_t x = 0; x < p.width; ++x) {
    // The pixel repeated into one word: two target pixels per store.
    const uint64_t pair = uint64_t(source_row[x]) * 0x0000000100000001ull;
    std::memcpy(upper + size_t(x) * 8, &pair, 8);
    std::memcpy(lower + size_t(x) * 8, &pair, 8);
  }
}

void SCALE2(IMAGE* dst, const IMAGE* src) {
  Scale2Plan plan;
  if (!plan_scale2(dst, src, plan)) return;
  const int32_t bands = filter_bands(plan.height);
  for_each_band(bands, [&](int32_t band) {
    const BandRows rows = band_rows(int32_t(plan.height), bands, band);
    for (uint32_t y = uint32_t(rows.first); y < uint32_t(rows.end); ++y)
      double_row(plan, reinterpret_cast<const uint32_t*>(plan.in + size_t(y) * plan.in_pitch), y);
  });
}

void average_and_double(const IMAGE* in, IMAGE* half, IMAGE* dst) {
  AntialiasPlan average;
  Scale2Plan twice;
  const bool averages = plan_antialias(in, half, average);
  // One pass only where the doubling reads exactly the pixels the averaging
  // writes; otherwise the two filters one after the other.
  if (!averages || !plan_scale2(dst, half, twice) || twice.width != average.width ||
      twice.height != average.height) {
    ANTIALIAS4X(in, half);
    SCALE2(dst, half);
    return;
  }
  const int32_t bands = filter_bands(average.height);
  for_each_band(bands, [&](int32_t band) {
    const BandRows rows = band_rows(int32_t(average.height), bands, band);
    for (uint32_t y = uint32_t(rows.first); y < uint32_t(rows.end); ++y) {
      antialias_rows(average, y, y + 1);
      double_row(twice, reinterpret_cast<const uint32_t*>(twice.in + size_t(y) * twice.in_pitch),
                 y);
    }
  });
}
