// The render queue: the model transform appends one entry per visible triangle
// (write RBUFFER(FCNT), then raise FCNT), and BUFFER_RENDER draws the entries
// into BACKBUFFER in queue order and empties the queue. Nothing is sorted; the
// depth buffer decides what is seen.
#pragma once
#include <cstdint>
#include <vector>

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

// The render queue: it starts with RBUFFER_SIZE entries, all new, and grows
// (by doubling, so a frame seldom allocates and a steady scene never does)
// whenever an append finds it full, up to RBUFFER_MAX entries. Entries at and
// beyond the count hold whatever earlier frames left there.
constexpr int32_t RBUFFER_SIZE = 16384;
constexpr int32_t RBUFFER_MAX = 1 << 24;

class SortBuffer {
 public:
  static constexpr int32_t LOWER = 0;
  SortBuffer() : entries_(RBUFFER_SIZE) {}

  // Entries 0 to size() - 1; any other index stops the program with error 6.
  SORT_STRUCT& operator()(int64_t i) {
    if (i < 0 || i >= size()) RUNTIME_FAIL(ERR_OUT_OF_BOUNDS, "RBUFFER");
    return entries_[size_t(i)];
  }
  const SORT_STRUCT& operator()(int64_t i) const {
    if (i < 0 || i >= size()) RUNTIME_FAIL(ERR_OUT_OF_BOUNDS, "RBUFFER");
    return entries_[size_t(i)];
  }
  SORT_STRUCT* data() { return entries_.data(); }
  const SORT_STRUCT* data() const { return entries_.data(); }
  int32_t size() const { return int32_t(entries_.size()); }

  // The entry an append at I writes, the queue grown to hold it when needed;
  // null for a negative I or one at RBUFFER_MAX or beyond.
  SORT_STRUCT* slot(int32_t i) {
    if (uint32_t(i) < entries_.size()) return &entries_[size_t(i)];
    return grow_for(i);
  }

 private:
  SORT_STRUCT* grow_for(int32_t i);
  std::vector<SORT_STRUCT> entries_;
};

extern SortBuffer RBUFFER;

// The entry an append at FCNT writes (RBUFFER.slot).
inline SORT_STRUCT* queue_slot(int32_t fcnt) { return RBUFFER.slot(fcnt); }

// Draws entries 0 to FCNT - 1 into BACKBUFFER: filled (flat or textured, depth
// tested) or, while WIRE_FRAME is on, as outlines that leave ZBUFF alone. FCNT
// is 0 afterwards. A count above the queue's size stops the program with error 6.
// Drawn on RENDERER's threads with its draw plan; without one, on the
// default renderer's.
void BUFFER_RENDER(Renderer& renderer, int32_t& fcnt);
void BUFFER_RENDER(int32_t& fcnt);

// The frame's clears and drawing in one, with the result of clear_depth_buffer,
// clear_back_buffer and BUFFER_RENDER in turn. Filled drawing zeroes each
// band's rows just before drawing them, on the thread that draws them, so
// they are still in its cache when the triangles reach them; outlines are
// drawn after whole clears.
void clear_and_render(Renderer& renderer, int32_t& fcnt);

// Runs on the drawing thread once rows FIRST to END - 1 of BACKBUFFER hold
// their finished pixels; FIRST is even, and so is END except at the bottom.
struct BandsDone {
  void (*run)(const void* context, int32_t first, int32_t end);
  const void* context;
};
// clear_and_render, with DONE run on each band of rows as it is finished.
// False when the drawing could not go band by band (outlines, buffers the
// bands do not cover, a textured entry without a texture): DONE was not run.
bool clear_and_render(Renderer& renderer, int32_t& fcnt, BandsDone done);
