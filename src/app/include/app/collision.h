// Solid walls for the walking player: the maze's triangles prepared once, and
// the eye moved through them as a sphere that stops at walls and slides along
// them. Faces are one-sided: they stop what comes from their front (the side
// their normal points to), so an eye that somehow stands inside a wall can
// always walk out.
#pragma once
#include <cstdint>
#include <vector>

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
  NMATHF::VEC3F normal;    // unit normal by the right-hand rule
  float d = 0.0f;          // plane distance term: normal . p + d = 0 on the plane
};

struct CollisionMesh {
  std::vector<CollisionTriangle> triangles;  // in stored order; no triangles without area
  float lowest_floor = 0.0f;  // the smallest y of the maze (0 for a maze without triangles)
  // A grid of square columns over the maze's floor plan, so that a query
  // looks only at the triangles near it: column (i, j) covers x from
  // grid_x + i * cell and z from grid_z + j * cell; cell_start[c] to
  // cell_start[c + 1] index cell_triangles, which holds the triangles whose
  // box reaches into column c = j * columns + i, in stored order.
  double grid_x = 0.0, grid_z = 0.0, cell = 1.0;
  int32_t columns = 0, rows = 0;
  std::vector<uint32_t> cell_start, cell_triangles;
};

// The grid's column size, made larger for a maze so wide that it would need
// more than MAX_GRID_COLUMNS columns a side.
constexpr double GRID_CELL = 4.0;
constexpr int32_t MAX_GRID_COLUMNS = 256;

CollisionMesh make_collision_mesh(const MODEL_STRUCT& maze);

// Does the segment A-B pass through a triangle from its front to its back?
bool enters_surface(const CollisionMesh& mesh, const NMATHF::VEC3F& a, const NMATHF::VEC3F& b);
// Does the segment A-B cross any triangle, either way?
bool crosses_surface(const CollisionMesh& mesh, const NMATHF::VEC3F& a, const NMATHF::VEC3F& b);

// Moves the eye sphere (centre EYE, radius EYE_RADIUS) by the horizontal MOVE
// (its Y is ignored) and returns where it ends. A face that the sphere would
// overlap from the front pushes it back horizontally, so it slides along
// walls. The legs are a vertical segment from KNEE (a height) up to the eye:
// a piece of the move that would put a surface across them, or carry the eye
// through a face, is tried along x alone and along z alone, and dropped when
// neither goes. The eye only ever moves horizontally here.
NMATHF::VEC3F slide_eye(const CollisionMesh& mesh, const NMATHF::VEC3F& eye,
                        const NMATHF::VEC3F& move, float knee);
