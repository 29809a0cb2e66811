#include <algorithm>
#include <cstring>

#include "filters_avx2.h"
#include "filters_wasm.h"
#include "post_filter_rows.h"
#include "render/draw_workers.h"
#include "render/post_filters.h"
#include "render/render_globals.h"

bool plan_antialias(const IMAGE* inbuff, IMAGE* outbuff, FilterPlan& plan) {
  if (!inbuff || !outbuff || inbuff->BPP != 4) return false;
  const uint32_t xx = inbuff->WIDTH / 2, yy = inbuff->HEIGHT / 2;
  plan.out = resolve_target(outbuff);
  if (!plan.out.pixels) return false;
  plan.width = std::min(xx, plan.out.width);
  plan.height = std::min(yy, plan.out.height);
  plan.in = reinterpret_cast<const uint8_t*>(inbuff->pixels());
  plan.in_pitch = inbuff->PITCH;
  plan.simd = filter_simd_path();
  return true;
}

void antialias_rows(const FilterPlan& p, uint32_t first, uint32_t end) {
  for (uint32_t y = first; y < end; ++y) {
    const uint8_t* top_row = p.in + size_t(2 * y) * p.in_pitch;
    const uint8_t* low_row = top_row + p.in_pitch;
    uint32_t* dst = reinterpret_cast<uint32_t*>(p.out.pixels + size_t(y) * p.out.pitch);
    if (p.simd == SimdPath::AVX2) {
      average_row_avx2(top_row, low_row, dst, p.width);
      continue;
    }
    if (p.simd == SimdPath::WASM128) {
      average_row_wasm128(top_row, low_row, dst, p.width);
      continue;
    }
    for (uint32_t x = 0; x < p.width; ++x)
      dst[x] = average_block(top_row + size_t(x) * 8, low_row + size_t(x) * 8);
  }
}

int32_t ANTIALIAS4X(const IMAGE* inbuff, IMAGE* outbuff) {
  FilterPlan plan;
  if (!plan_antialias(inbuff, outbuff, plan)) return 0;
  const int32_t bands = filter_bands(plan.height);
  for_each_row_band(int32_t(plan.height), bands, [&](int32_t first, int32_t end) {
    antialias_rows(plan, uint32_t(first), uint32_t(end));
  });
  return 0;
}

FilterTarget resolve_target(IMAGE* img) {
  if (img && img != SCREEN_TARGET)
    return {reinterpret_cast<uint8_t*>(img->pixels()), img->WIDTH, img->HEIGHT, img->PITCH};
  const ScreenInfo info = screen_info();
  return {reinterpret_cast<uint8_t*>(screen_ptr()), uint32_t(info.width), uint32_t(info.height),
          uint32_t(info.pitch)};
}

int32_t filter_bands(uint32_t rows) {
  return int32_t(std::max<uint32_t>(1, std::min<uint32_t>(rows, uint32_t(frame_bands()))));
}

SimdPath filter_simd_path() {
  return runs_avx2(simd_path) || runs_wasm128(simd_path) ? simd_path : SimdPath::PORTABLE;
}
