#include <algorithm>
#include <cstring>

#include "filters_avx2.h"
#include "filters_wasm.h"
#include "post_filter_rows.h"
#include "render/draw_workers.h"
#include "render/post_filters.h"

bool plan_scale2(IMAGE* dst, const IMAGE* src, FilterPlan& plan) {
  if (!image_is_usable(src) || !resolve_target(dst ? dst : SCREEN_TARGET, plan.out))
    return false;
  // Only whole 2 x 2 blocks that fit the target are written.
  plan.width = std::min(src->WIDTH, uint32_t(plan.out.width) / 2);
  plan.height = std::min(src->HEIGHT, uint32_t(plan.out.height) / 2);
  plan.in = reinterpret_cast<const uint8_t*>(src->pixels());
  plan.in_pitch = src->PITCH;
  plan.simd = filter_simd_path();
  return true;
}

void double_row(const FilterPlan& p, const uint32_t* source_row, uint32_t y) {
  uint8_t* upper = p.out.pixels + size_t(2 * y) * p.out.pitch;
  uint8_t* lower = upper + p.out.pitch;
  if (p.simd == SimdPath::AVX2) {
    double_row_avx2(source_row, reinterpret_cast<uint32_t*>(upper),
                    reinterpret_cast<uint32_t*>(lower), p.width);
    return;
  }
  if (p.simd == SimdPath::WASM128) {
    double_row_wasm128(source_row, reinterpret_cast<uint32_t*>(upper),
                       reinterpret_cast<uint32_t*>(lower), p.width);
    return;
  }
  for (uint32_t x = 0; x < p.width; ++x) {
    // The pixel repeated into one word: two target pixels per store.
    const uint64_t pair = uint64_t(source_row[x]) * 0x0000000100000001ull;
    std::memcpy(upper + size_t(x) * 8, &pair, 8);
    std::memcpy(lower + size_t(x) * 8, &pair, 8);
  }
}

// An odd target's last column and last row: the source's next column and row
// (where it has them) doubled only along the edge, so that no target pixel is
// left from an earlier frame.
void double_edges(const FilterPlan& p, const IMAGE* src) {
  const uint32_t w = p.width, h = p.height;
  const bool column = uint32_t(p.out.width) > 2 * w && src->WIDTH > w;
  const bool row = uint32_t(p.out.height) > 2 * h && src->HEIGHT > h;
  const auto source_row = [&](uint32_t y) {
    return reinterpret_cast<const uint32_t*>(p.in + size_t(y) * p.in_pitch);
  };
  if (column)
    for (uint32_t y = 0; y < h; ++y)
      p.out.pixel_row(int32_t(2 * y))[2 * w] = p.out.pixel_row(int32_t(2 * y + 1))[2 * w] =
          source_row(y)[w];
  if (!row) return;
  uint32_t* last = p.out.pixel_row(int32_t(2 * h));
  for (uint32_t x = 0; x < w; ++x) last[2 * x] = last[2 * x + 1] = source_row(h)[x];
  if (column) last[2 * w] = source_row(h)[w];
}

void SCALE2(Renderer& renderer, IMAGE* dst, const IMAGE* src) {
  FilterPlan plan;
  if (!plan_scale2(dst, src, plan)) return;
  DrawWorkers& workers = renderer.workers();
  const int32_t bands = filter_bands(workers, plan.width, plan.height, plan.height);
  workers.for_each_row_band(int32_t(plan.height), bands, [&](int32_t first, int32_t end) {
    for (uint32_t y = uint32_t(first); y < uint32_t(end); ++y)
      double_row(plan, reinterpret_cast<const uint32_t*>(plan.in + size_t(y) * plan.in_pitch), y);
  });
  double_edges(plan, src);
}

void SCALE2(IMAGE* dst, const IMAGE* src) {
  SCALE2(default_renderer(), dst, src);
}

bool plan_average_and_double(const IMAGE* in, IMAGE* half, IMAGE* dst, FilterPlan& average,
                             FilterPlan& twice) {
  // One pass only where the doubling reads exactly the pixels the averaging writes.
  return plan_antialias(in, half, average) && plan_scale2(dst, half, twice) &&
         twice.width == average.width && twice.height == average.height;
}

void average_and_double(Renderer& renderer, const IMAGE* in, IMAGE* half, IMAGE* dst) {
  FilterPlan average;
  FilterPlan twice;
  if (!plan_average_and_double(in, half, dst, average, twice)) {
    ANTIALIAS4X(renderer, in, half);
    SCALE2(renderer, dst, half);
    return;
  }
  DrawWorkers& workers = renderer.workers();
  const int32_t bands =
      filter_bands(workers, 2 * average.width, 2 * average.height, average.height);
  workers.for_each_row_band(int32_t(average.height), bands, [&](int32_t first, int32_t end) {
    average_and_double_rows(average, twice, uint32_t(first), uint32_t(end));
  });
}

void average_and_double_rows(const FilterPlan& average, const FilterPlan& twice, uint32_t first,
                           uint32_t end) {
  for (uint32_t y = first; y < end; ++y) {
    const uint8_t* top_row = average.in + size_t(2 * y) * average.in_pitch;
    const uint8_t* low_row = top_row + average.in_pitch;
    uint32_t* half_row =
        reinterpret_cast<uint32_t*>(average.out.pixels + size_t(y) * average.out.pitch);
    uint8_t* upper = twice.out.pixels + size_t(2 * y) * twice.out.pitch;
    uint8_t* lower = upper + twice.out.pitch;
    if (average.simd == SimdPath::AVX2) {
      average_double_row_avx2(top_row, low_row, half_row, reinterpret_cast<uint32_t*>(upper),
                              reinterpret_cast<uint32_t*>(lower), average.width);
      continue;
    }
    if (average.simd == SimdPath::WASM128) {
      average_double_row_wasm128(top_row, low_row, half_row,
                                 reinterpret_cast<uint32_t*>(upper),
                                 reinterpret_cast<uint32_t*>(lower), average.width);
      continue;
    }
    for (uint32_t x = 0; x < average.width; ++x) {
      const uint32_t p = average_block(top_row + size_t(x) * 8, low_row + size_t(x) * 8);
      half_row[x] = p;
      const uint64_t pair = uint64_t(p) * 0x0000000100000001ull;
      std::memcpy(upper + size_t(x) * 8, &pair, 8);
      std::memcpy(lower + size_t(x) * 8, &pair, 8);
    }
  }
}

void average_and_double(const IMAGE* in, IMAGE* half, IMAGE* dst) {
  average_and_double(default_renderer(), in, half, dst);
}
