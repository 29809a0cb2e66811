// Solid walls for the walking player: the maze's triangles prepared once, and
// the eye moved through them as a sphere that stops at walls and slides along
// them. Faces are one-sided: they stop what comes from their front (the side
// their normal points to), so an eye that somehow stands inside a wall can
// always walk out.
#pragma once
#include <cstdint>
#include <vector>

#include "app/probe_grid.h"
#include "math/nmathf.h"
#include "model/model.h"

constexpr float EYE_RADIUS = 1.0f;     // the eye is a sphere this large
// A horizontal move goes in pieces no longer than this, half the sphere's
// radius: no piece can carry the centre through a face, however thin.
constexpr float MAX_SLIDE_STEP = 0.5f;

// One maze triangle with what the queries need of it.
struct CollisionTriangle {
  NMATHF::VEC3F v[3];      // the corners as stored
  NMATHF::VEC3F lo, hi;    // its bounding box
  NMATHF::VEC3F normal;    // unit normal by the right-hand rule, zero without area
  float d = 0.0f;          // plane distance term: normal . p + d = 0 on the plane
};

struct CollisionMesh {
  // One per maze triangle, in stored order. A triangle without area has a zero
  // normal: it stops nothing and pushes nothing.
  std::vector<CollisionTriangle> triangles;
  // The smallest y of the maze's triangles with area (0 for a maze without any).
  float lowest_floor = 0.0f;
  // The largest y of the maze's triangles with area (0 for a maze without any).
  float top = 0.0f;
  // The maze's triangles by where they lie seen from above, so that a query
  // looks only at the triangles near it (the ground probe's grid).
  ProbeGrid grid;
};

// MAZE's triangles prepared, and the grid over them built, once. MAZE is as
// LOAD_OBJ left it: each triangle's NORMAL is its corners' POLY_NORMAL. Throws
// std::bad_alloc when memory runs out.
CollisionMesh make_collision_mesh(const MODEL_STRUCT& maze);

// Is EYE inside a solid block? The nearest face straight above it faces up, so
// the eye sees that face from behind (a wall block's top, seen from within).
bool inside_solid(const CollisionMesh& mesh, const NMATHF::VEC3F& eye);

// Moves the eye sphere (centre EYE, radius EYE_RADIUS) by the horizontal MOVE
// (its Y is ignored) and returns where it ends. A face that the sphere would
// overlap from the front pushes it back horizontally, so it slides along
// walls. The legs are a vertical segment from KNEE (a height) up to the eye:
// a piece of the move that would put a surface across them, or carry the eye
// through a face, is tried along x alone and along z alone, and dropped when
// neither goes. The eye only ever moves horizontally here.
NMATHF::VEC3F slide_eye(const CollisionMesh& mesh, const NMATHF::VEC3F& eye,
                        const NMATHF::VEC3F& move, float knee);
