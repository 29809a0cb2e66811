#include <algorithm>

#include "base/fail.h"
#include "post_filter_rows.h"
#include "platform/screen.h"
#include "render/post_filters.h"
#include "render/render_globals.h"
#include "render/render_queue.h"

void bring_to_screen(Renderer& renderer) {
  if (ISCALE && ANTI_ALIAS) {
    average_and_double(renderer, BACKBUFFER, BACKBUFFER2, SCREEN_TARGET);
  } else if (ISCALE) {
    SCALE2(renderer, SCREEN_TARGET, BACKBUFFER);
  } else if (ANTI_ALIAS) {
    ANTIALIAS4X(renderer, BACKBUFFER, SCREEN_TARGET);
  } else {
    const int32_t result = put_image(BACKBUFFER);
    if (result != 0) RUNTIME_FAIL(result, "MAIN_ROUTINE");
  }
}

namespace {
// bring_to_screen's filter cut by the rows of BACKBUFFER it reads, so that
// each band of the drawing is filtered by the thread that drew it, while its
// rows are still in that thread's cache.
struct ScreenRows {
  enum class Kind { AVERAGE_AND_DOUBLE, DOUBLE, AVERAGE } kind;
  FilterPlan plan, twice;  // twice: the doubling of averaging and doubling
  const IMAGE* source;

  // False for a plain copy, or averaging and doubling in two passes.
  bool make() {
    source = BACKBUFFER;
    if (ISCALE && ANTI_ALIAS) {
      kind = Kind::AVERAGE_AND_DOUBLE;
      return plan_average_and_double(BACKBUFFER, BACKBUFFER2, SCREEN_TARGET, plan, twice);
    }
    if (ISCALE) {
      kind = Kind::DOUBLE;
      return plan_scale2(SCREEN_TARGET, BACKBUFFER, plan);
    }
    kind = Kind::AVERAGE;
    return ANTI_ALIAS && plan_antialias(BACKBUFFER, SCREEN_TARGET, plan);
  }

  // What drawn rows FIRST to END - 1 give (FIRST even; END too but at the bottom).
  void rows(int32_t first, int32_t end) const {
    if (kind == Kind::DOUBLE) {
      const uint32_t stop = std::min(uint32_t(end), plan.height);
      for (uint32_t y = uint32_t(first); y < stop; ++y)
        double_row(plan, reinterpret_cast<const uint32_t*>(plan.in + size_t(y) * plan.in_pitch),
                   y);
      return;
    }
    // Averaged row Y reads drawn rows 2Y and 2Y + 1.
    const uint32_t from = uint32_t(first) / 2, stop = std::min(uint32_t(end) / 2, plan.height);
    if (from >= stop) return;
    if (kind == Kind::AVERAGE_AND_DOUBLE)
      average_and_double_rows(plan, twice, from, stop);
    else
      antialias_rows(plan, from, stop);
  }

  // What no band gives: the doubling's odd edges.
  void finish() const {
    if (kind == Kind::DOUBLE) double_edges(plan, source);
  }
};
}  // namespace

void draw_to_screen(Renderer& renderer, int32_t& fcnt) {
  ScreenRows screen;
  const BandsDone done{[](const void* context, int32_t first, int32_t end) {
                         static_cast<const ScreenRows*>(context)->rows(first, end);
                       },
                       &screen};
  if (!screen.make()) {
    clear_and_render(renderer, fcnt);
    bring_to_screen(renderer);
  } else if (clear_and_render(renderer, fcnt, done)) {
    screen.finish();
  } else {
    bring_to_screen(renderer);
  }
}
