// The third pass of the model transform: triangles cut at the near plane,
// between the view-volume test and the projection.
#pragma once
#include "model/model.h"
#include "transform_scratch.h"

// Every triangle marked TO_CUT (SCRATCH.drawn: kept by the view-volume test,
// with a corner whose clip-space w is below NEAR_W or not a number) is cut
// against the plane w = NEAR_W in clip space. Its one or two pieces go to
// SCRATCH.pieces (new corners, NTCOORD interpolated, the index of the
// original, whose normal, colour and clip-space centroid light them); the new
// corners are appended to RVERTICES with w = NEAR_W exactly. The crossing
// triangle is no longer drawn whole. MAX_RVERTS and MAX_RTRIS (the model's
// triangles and the pieces) grow accordingly, never beyond the spare room
// (twice MAX_VERTICES and twice MAX_TRIANGLES entries): a piece that finds no
// room is left out. Expects MAX_RVERTS = MAX_VERTICES and MAX_RTRIS =
// MAX_TRIANGLES on entry.
void clip_near_plane(MODEL_STRUCT& model, float near_w, TransformScratch& scratch);
