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

// True unless the triangle with screen corners P (X, Y and the projected
// depth) is a back face, has no area, or lies wholly beyond FAR_Z.
bool faces_eye_within_far(const NMATHF::VEC3F* p, float far_z);

// The queue entry of a triangle that passed: corners P with view distances W
// (clip-space w) as depth and texture coordinates NTCOORD plus the request's
// shift, lit with the normal and colour of T at CENTROID (its clip-space
// corners' centroid; for a near-cut piece, the whole triangle's).
struct SORT_STRUCT;
void fill_entry(SORT_STRUCT& e, const NMATHF::VEC3F* p, const float* w,
                const NMATHF::VEC2F* ntcoord, const NMATHF::VEC3F& centroid,
                const TRIANGLE_STRUCT& t, const NMATHF::VEC3F& tlight,
                const QueueRequest& request);

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
