// The render queue: the model transform appends one entry per visible triangle
// (write RBUFFER(FCNT), then raise FCNT), and BUFFER_RENDER draws the entries
// into BACKBUFFER in queue order and empties the queue. Nothing is sorted; the
// depth buffer decides what is seen.
#pragma once
#include <cstdint>

#include "math/vec.h"
#include "base/checked_array.h"
#include "base/image.h"
#include "render/renderer.h"

// One queued triangle. A new entry is all zero.
struct SORT_STRUCT {
  float MIDPOINT = 0.0f;                  // depth key; drawing does not read it
  Bounded<NMATHF::VEC3F, 0, 2> VEC = {};  // corners: X, Y in back-buffer pixels, Z the view
                                          // distance (clip-space w)
  const IMAGE* TEXTURE = nullptr;         // texture of the textured path
  int32_t USE_TEX = 0;                    // non-zero: textured; 0: flat in COL
  Bounded<NMATHF::VEC2F, 0, 2> UV = {};   // corners' texture coordinates, in texels
  uint32_t COL = 0;                       // lit flat colour, also the wire-frame colour
  int32_t SHADE = 0;                      // brightness offset of the textured path
};

constexpr int32_t RBUFFER_SIZE = 16384;

// The queue, indices 0 to RBUFFER_SIZE - 1; entries at and beyond the count
// hold whatever earlier frames left there.
extern Bounded<SORT_STRUCT, 0, RBUFFER_SIZE - 1> RBUFFER;

// Draws entries 0 to FCNT - 1 into BACKBUFFER: filled (flat or textured, depth
// tested) or, while WIRE_FRAME is on, as outlines that leave ZBUFF alone. FCNT
// is 0 afterwards. A count above RBUFFER_SIZE stops the program with error 6.
// Drawn on RENDERER's threads with its draw plan; without one, on the
// default renderer's.
void BUFFER_RENDER(Renderer& renderer, int32_t& fcnt);
void BUFFER_RENDER(int32_t& fcnt);
