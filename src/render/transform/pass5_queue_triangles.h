// The fifth pass of the model transform: back faces and the far limit
// dropped, the rest lit and appended to the render queue.
#pragma once
#include <cstdint>

#include "base/image.h"
#include "model/model.h"
#include "pass4_projection.h"
#include "transform_scratch.h"

// What the caller of the model transform asks of every queued triangle.
struct QueueRequest {
  float far_z;                 // the far limit of the projected depth
  float depth_offset;          // taken from the depth key
  int32_t use_tex;             // the entry's USE_TEX
  const IMAGE* texture;        // replaces the triangles' own textures when not null
  NMATHF::VEC2F tcoord;        // added to every corner's texture coordinate
};

// Every triangle drawn whole (SCRATCH.drawn) among triangles FIRST to LAST - 1,
// in stored order, that is front-facing and not wholly beyond the far limit
// is lit from TLIGHT (the light in the model's own space) and appended to the
// render queue at FCNT, with each corner's screen X and Y and its clip-space w
// as depth. Texture coordinates are the triangles' NTCOORD as the previous
// call left them.
void queue_visible_triangles(const MODEL_STRUCT& model, const TransformScratch& scratch,
                             uint32_t first, uint32_t last, const NMATHF::VEC3F& tlight,
                             const QueueRequest& request, int32_t& fcnt, int64_t& dropped);

// The same for every near-cut piece in SCRATCH, in order, its corners
// projected through VP here (texture coordinates: interpolated from NTCOORD).
void queue_near_pieces(const MODEL_STRUCT& model, const TransformScratch& scratch,
                       const Viewport& vp, const NMATHF::VEC3F& tlight,
                       const QueueRequest& request, int32_t& fcnt, int64_t& dropped);
