// What one MODEL_TRANSFORM call keeps beside the model, from the view-volume
// test to the queueing: which triangles are drawn whole, and the pieces of
// those cut at the near plane. One byte per triangle and one small record per
// piece, instead of a copy of every triangle record each call.
#pragma once
#include <cstdint>
#include <vector>

#include "math/vec.h"

// A piece of a triangle cut at the near plane. Its corners live here, not in
// the model: any number of triangles may be cut in one call.
struct NearPiece {
  uint32_t source;           // the triangle it was cut from
  NMATHF::VEC4F clip[3];     // its corners in clip space (new ones with w = near)
  NMATHF::VEC2F ntcoord[3];  // their texture coordinates
};

// What becomes of a triangle this call.
enum TriangleFate : uint8_t {
  NOT_DRAWN = 0,  // culled, or cut (only its pieces are drawn)
  DRAWN = 1,      // drawn whole
  TO_CUT = 2,     // passed the view volume with a corner before the near plane
};

// A renderer keeps one (the transform runs on one thread); it holds the last
// call's values until the next call.
struct TransformScratch {
  std::vector<uint8_t> drawn;     // per triangle, a TriangleFate
  std::vector<NearPiece> pieces;  // in the order they are queued
};
