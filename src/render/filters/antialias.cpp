#include <algorithm>
#include <cstring>

#include "filters_avx2.h"
#include "filters_wasm.h"
#include "post_filter_rows.h"
#include "render/draw_workers.h"
#include "render/post_filters.h"
#include "platform/screen.h"
#include "render/render_globals.h"

bool plan_antialias(const IMAGE* inbuff, IMAGE* outbuff, FilterPlan& plan) {
  if (!image_is_usable(inbuff) || !resolve_target(outbuff, plan.out)) return false;
  const uint32_t xx = inbuff->WIDTH / 2, yy = inbuff->HEIGHT / 2;
  plan.width = std::min(xx, uint32_t(plan.out.width));
  plan.height = std::min(yy, uint32_t(plan.out.height));
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

int32_t ANTIALIAS4X(Renderer& renderer, const IMAGE* inbuff, IMAGE* outbuff) {
  FilterPlan plan;
  if (!plan_antialias(inbuff, outbuff, plan)) return 0;
  DrawWorkers& workers = renderer.workers();
  const int32_t bands = filter_bands(workers, 2 * plan.width, 2 * plan.height, plan.height);
  workers.for_each_row_band(int32_t(plan.height), bands, [&](int32_t first, int32_t end) {
    antialias_rows(plan, uint32_t(first), uint32_t(end));
  });
  return 0;
}

int32_t ANTIALIAS4X(const IMAGE* inbuff, IMAGE* outbuff) {
  return ANTIALIAS4X(default_renderer(), inbuff, outbuff);
}

int32_t filter_bands(const DrawWorkers& workers, uint32_t source_width, uint32_t source_rows,
                     uint32_t rows) {
  const int32_t drawn = workers.frame_bands(int32_t(std::min<uint32_t>(source_width, INT32_MAX)),
                                            int32_t(std::min<uint32_t>(source_rows, INT32_MAX)));
  return int32_t(std::max<uint32_t>(1, std::min<uint32_t>(rows, uint32_t(drawn))));
}

SimdPath filter_simd_path() {
  return runs_avx2(simd_path) || runs_wasm128(simd_path) ? simd_path : SimdPath::PORTABLE;
}
