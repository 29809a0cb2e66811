// The third pass of the model transform: triangles cut at the near plane,
// between the view-volume test and the projection.
#pragma once
#include "model/model.h"
#include "transform_scratch.h"

// Every triangle marked TO_CUT (SCRATCH.drawn: kept by the view-volume test,
// with a corner whose clip-space w is below NEAR_W or not a number) among
// triangles FIRST to LAST - 1 is cut against the plane w = NEAR_W in clip
// space. Its one or two pieces are appended to SCRATCH.pieces (the corners in
// clip space, new ones with w = NEAR_W exactly, NTCOORD interpolated, and the
// index of the original, whose normal, colour and clip-space centroid light
// them). The crossing triangle is no longer drawn whole. The model's arrays
// are only read, so every crossing triangle of any model is cut.
void clip_near_plane(const MODEL_STRUCT& model, float near_w, uint32_t first, uint32_t last,
                     TransformScratch& scratch);

// The cut of one triangle T (index SOURCE) whose clip-space corners are
// CORNER[0..2]: its one or two pieces appended to PIECES (none when no corner
// lies at or beyond NEAR_W).
void cut_at_near_plane(const NMATHF::VEC4F* const corner[3], const TRIANGLE_STRUCT& t,
                       uint32_t source, float near_w, std::vector<NearPiece>& pieces);
