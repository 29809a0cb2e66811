// Cutting triangles at the near plane, between the view-volume test and the
// projection of MODEL_TRANSFORM.
#pragma once
#include "model/model.h"

// Every triangle among the first MAX_TRIANGLES of RTRIANGLES that is not
// culled and has a corner with clip-space w below NEAR_W (or not a number) is
// cut against the plane w = NEAR_W in clip space. Its one or two pieces are
// appended to RTRIANGLES (copies of it with new corners, NTCOORD interpolated,
// and MIDPOINT holding the original's clip-space centroid, which lights them);
// the new corners are appended to RVERTICES with w = NEAR_W exactly. The
// crossing triangle's copy gets CULLED = -1. MAX_RVERTS and MAX_RTRIS grow
// accordingly, never beyond the spare room (twice MAX_VERTICES and twice
// MAX_TRIANGLES entries): a piece that finds no room is left out.
// Expects MAX_RVERTS = MAX_VERTICES and MAX_RTRIS = MAX_TRIANGLES on entry.
void clip_near_plane(MODEL_STRUCT& model, float near_w);
