#include "render/render_queue.h"

#include <algorithm>

#include "base/line.h"
#include "queue/draw_plan.h"
#include "render/rasterizers.h"
#include "render/render_buffers.h"
#include "render/render_globals.h"
#include "render/renderer.h"

SortBuffer RBUFFER;

SORT_STRUCT* SortBuffer::grow_for(int32_t i) {
  if (i < 0 || i >= RBUFFER_MAX) return nullptr;
  size_t n = entries_.size();
  while (n <= size_t(i)) n *= 2;
  entries_.resize(std::min(n, size_t(RBUFFER_MAX)));
  return &entries_[size_t(i)];
}

namespace {
constexpr uint16_t SOLID = 0xFFFF;

// The outline: corner 0 to 1, on from the pen to 2, and back to 0.
void draw_outline(const SORT_STRUCT& e, LinePen& pen) {
  const NMATHF::VEC3F* v = e.VEC.data();
  draw_line(BACKBUFFER, pen, v[0].X, v[0].Y, v[1].X, v[1].Y, e.COL, SOLID);
  draw_line_to(BACKBUFFER, pen, v[2].X, v[2].Y, e.COL, SOLID);
  draw_line_to(BACKBUFFER, pen, v[0].X, v[0].Y, e.COL, SOLID);
}

// Entries 0 to COUNT - 1 filled, flat or textured, band by band on the
// drawing threads. Each band walks the entries in queue order, so every pixel
// sees the same depth tests in the same order as one walk over the queue.
// With CLEAR, every band's rows of the target are zeroed first by the thread
// that draws them (the caller has checked that the rows cover both buffers).
// DONE, when given, runs on each band's rows once they are drawn (not when
// an entry is to stop the program). Returns whether DONE ran.
bool draw_filled(Renderer& renderer, const SORT_STRUCT* queue, int32_t count, bool clear,
                 const BandsDone* done = nullptr) {
  int32_t drawable = count;
  DrawPlan& plan = renderer.draw_plan();
  DrawWorkers& workers = renderer.workers();
  if (resolve_raster_target(BACKBUFFER, ZBUFF, plan.target)) {
    plan.make(queue, drawable, workers.frame_bands(plan.target.width, plan.target.height));
    if (drawable < count) done = nullptr;
    workers.for_each_band(plan.bands, [&plan, queue, clear, done](int32_t band) {
      if (clear) plan.clear_band(band);
      plan.draw_band(queue, band);
      if (done) {
        const BandRows rows = even_band_rows(plan.target.height, plan.bands, band);
        done->run(done->context, rows.first, rows.end);
      }
    });
  } else {
    done = nullptr;  // nothing to draw into; a missing texture is still found
    drawable = 0;
    while (drawable < count && (queue[drawable].USE_TEX == 0 || queue[drawable].TEXTURE))
      ++drawable;
  }
  // A textured entry without a texture stops the program here, on this
  // thread, after the entries before it were drawn.
  if (drawable < count) {
    const SORT_STRUCT& e = queue[drawable];
    const NMATHF::VEC3F* v = e.VEC.data();
    const NMATHF::VEC2F* t = e.UV.data();
    TFPCSPTRI_ORIG(BACKBUFFER, v[0].X, v[0].Y, v[0].Z, t[0].X, t[0].Y, v[1].X, v[1].Y, v[1].Z,
                   t[1].X, t[1].Y, v[2].X, v[2].Y, v[2].Z, t[2].X, t[2].Y, e.SHADE, e.TEXTURE);
  }
  return done != nullptr;
}
}  // namespace

void BUFFER_RENDER(Renderer& renderer, int32_t& fcnt) {
  const int32_t count = fcnt;
  // The whole range is checked once, so the loop can use the entries directly.
  if (count > RBUFFER.size()) RUNTIME_FAIL(ERR_OUT_OF_BOUNDS, "BUFFER_RENDER");
  const bool outlines = WIRE_FRAME != 0;
  // Without a back buffer there is nothing to draw into (a null target would
  // mean the visible page to the rasterizers).
  if (BACKBUFFER && count > 0) {
    const SORT_STRUCT* entries = RBUFFER.data();
    if (outlines) {
      // Later outlines draw over earlier ones wherever they cross: one thread.
      LinePen pen;
      for (int32_t i = 0; i < count; ++i) draw_outline(entries[i], pen);
    } else {
      draw_filled(renderer, entries, count, false);
    }
  }
  fcnt = 0;
}

namespace {
// True when the bands of filled drawing cover exactly the BUFFW x BUFFH
// pixels of BACKBUFFER and the BUFFSIZE entries of ZBUFF.
bool bands_cover_both_buffers() {
  RasterTarget t;
  return WIRE_FRAME == 0 && BACKBUFFER && resolve_raster_target(BACKBUFFER, ZBUFF, t) &&
         t.width == BUFFW && t.height == BUFFH && int64_t(BUFFW) * BUFFH == BUFFSIZE;
}
}  // namespace

bool clear_and_render(Renderer& renderer, int32_t& fcnt, BandsDone done) {
  if (!bands_cover_both_buffers()) {
    clear_depth_buffer(renderer);
    clear_back_buffer(renderer);
    BUFFER_RENDER(renderer, fcnt);
    return false;
  }
  const int32_t count = fcnt;
  if (count > RBUFFER.size()) RUNTIME_FAIL(ERR_OUT_OF_BOUNDS, "BUFFER_RENDER");
  const bool ran = draw_filled(renderer, RBUFFER.data(), count, true, done.run ? &done : nullptr);
  fcnt = 0;
  return ran;
}

void clear_and_render(Renderer& renderer, int32_t& fcnt) {
  clear_and_render(renderer, fcnt, BandsDone{nullptr, nullptr});
}

void BUFFER_RENDER(int32_t& fcnt) {
  BUFFER_RENDER(default_renderer(), fcnt);
}
