#include "render/render_queue.h"

#include "render/render_globals.h"
#include "render/rasterizers.h"

Bounded<SORT_STRUCT, 0, RBUFFER_SIZE - 1> RBUFFER;

namespace {
constexpr uint16_t SOLID = 0xFFFF;

void draw_filled(const SORT_STRUCT& e) {
  const NMATHF::VEC3F* v = e.VEC.data();
  if (e.USE_TEX != 0) {
    const NMATHF::VEC2F* t = e.UV.data();
    TFPCSPTRI_ORIG(BACKBUFFER, v[0].X, v[0].Y, v[0].Z, t[0].X, t[0].Y, v[1].X, v[1].Y, v[1].Z,
                   t[1].X, t[1].Y, v[2].X, v[2].Y, v[2].Z, t[2].X, t[2].Y, e.SHADE, e.TEXTURE);
  } else {
    FTRI(BACKBUFFER, v[0].X, v[0].Y, v[0].Z, v[1].X, v[1].Y, v[1].Z, v[2].X, v[2].Y, v[2].Z,
         e.COL);
  }
}

// The outline: corner 0 to 1, on from the pen to 2, and back to 0.
void draw_outline(const SORT_STRUCT& e) {
  const NMATHF::VEC3F* v = e.VEC.data();
  draw_line(BACKBUFFER, v[0].X, v[0].Y, v[1].X, v[1].Y, e.COL, SOLID);
  draw_line_to(BACKBUFFER, v[2].X, v[2].Y, e.COL, SOLID);
  draw_line_to(BACKBUFFER, v[0].X, v[0].Y, e.COL, SOLID);
}
}  // namespace

void BUFFER_RENDER(int32_t& fcnt) {
  const int32_t count = fcnt;
  // The whole range is checked once, so the loop can use the entries directly.
  if (count > RBUFFER_SIZE) RUNTIME_FAIL(ERR_OUT_OF_BOUNDS, "BUFFER_RENDER");
  const bool outlines = WIRE_FRAME != 0;
  // Without a back buffer there is nothing to draw into (a null target would
  // mean the visible page to the rasterizers).
  if (BACKBUFFER) {
    const SORT_STRUCT* entries = RBUFFER.data();
    for (int32_t i = 0; i < count; ++i) {
      if (outlines)
        draw_outline(entries[i]);
      else
        draw_filled(entries[i]);
    }
  }
  fcnt = 0;
}
