#include "render/render_queue.h"

#include "render/render_globals.h"
#include "raster/ftri.h"
#include "raster/tfpcsptri.h"

BOUNDED<SORT_STRUCT, 0, RBUFFER_SIZE - 1> RBUFFER;

namespace {
constexpr uint16_t SOLID = 0xFFFF;

void DRAW_FILLED(const SORT_STRUCT& E) {
  const NMATHF::VEC3F* V = E.VEC.DATA();
  if (E.USE_TEX != 0) {
    const NMATHF::VEC2F* T = E.UV.DATA();
    TFPCSPTRI_ORIG(BACKBUFFER, V[0].X, V[0].Y, V[0].Z, T[0].X, T[0].Y, V[1].X, V[1].Y, V[1].Z,
                   T[1].X, T[1].Y, V[2].X, V[2].Y, V[2].Z, T[2].X, T[2].Y, E.SHADE, E.TEXTURE);
  } else {
    FTRI(BACKBUFFER, V[0].X, V[0].Y, V[0].Z, V[1].X, V[1].Y, V[1].Z, V[2].X, V[2].Y, V[2].Z,
         E.COL);
  }
}

// The outline: corner 0 to 1, on from the pen to 2, and back to 0.
void DRAW_OUTLINE(const SORT_STRUCT& E) {
  const NMATHF::VEC3F* V = E.VEC.DATA();
  DRAW_LINE(BACKBUFFER, V[0].X, V[0].Y, V[1].X, V[1].Y, E.COL, SOLID);
  DRAW_LINE_TO(BACKBUFFER, V[2].X, V[2].Y, E.COL, SOLID);
  DRAW_LINE_TO(BACKBUFFER, V[0].X, V[0].Y, E.COL, SOLID);
}
}  // namespace

void BUFFER_RENDER(int32_t& FCNT) {
  const int32_t COUNT = FCNT;
  // The whole range is checked once, so the loop can use the entries directly.
  if (COUNT > RBUFFER_SIZE) FAIL(ERR_OUT_OF_BOUNDS, "BUFFER_RENDER");
  const bool OUTLINES = WIRE_FRAME != 0;
  // Without a back buffer there is nothing to draw into (a null target would
  // mean the visible page to the rasterizers).
  if (BACKBUFFER) {
    const SORT_STRUCT* ENTRIES = RBUFFER.DATA();
    for (int32_t I = 0; I < COUNT; ++I) {
      if (OUTLINES)
        DRAW_OUTLINE(ENTRIES[I]);
      else
        DRAW_FILLED(ENTRIES[I]);
    }
  }
  FCNT = 0;
}
