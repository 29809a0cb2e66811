#include "app/collision.h"

#include <algorithm>
#include <cmath>

#include "base/side_by_side.h"
#include "dvec3.h"

using NMATHF::VEC3F;

namespace {
// Kept between a pushed-out sphere and the face that pushed it, so that the
// next test does not find it touching again.
constexpr double SKIN = 1e-3;
// Push-out passes per piece: a corner between two walls needs two.
constexpr int PUSH_PASSES = 4;
constexpr double MAX_PIECES = 4096;
// A face whose normal rises less than this is upright (a wall's side).
constexpr float UPRIGHT = 0.01f;


// The point of triangle ABC nearest to P, by the region P projects into.
DVec3 closest_on_triangle(const DVec3& p, const DVec3& a, const DVec3& b, const DVec3& c) {
  const DVec3 ab = b - a, ac = c - a, ap = p - a;
  const double d1 = dot(ab, ap), d2 = dot(ac, ap);
  if (d1 <= 0 && d2 <= 0) return a;
  const DVec3 bp = p - b;
  const double d3 = dot(ab, bp), d4 = dot(ac, bp);
  if (d3 >= 0 && d4 <= d3) return b;
  const double vc = d1 * d4 - d3 * d2;
  if (vc <= 0 && d1 >= 0 && d3 <= 0) return a + ab * (d1 / (d1 - d3));
  const DVec3 cp = p - c;
  const double d5 = dot(ab, cp), d6 = dot(ac, cp);
  if (d6 >= 0 && d5 <= d6) return c;
  const double vb = d5 * d2 - d1 * d6;
  if (vb <= 0 && d2 >= 0 && d6 <= 0) return a + ac * (d2 / (d2 - d6));
  const double va = d3 * d6 - d5 * d4;
  if (va <= 0 && (d4 - d3) >= 0 && (d5 - d6) >= 0)
    return b + (c - b) * ((d4 - d3) / ((d4 - d3) + (d5 - d6)));
  const double denom = 1.0 / (va + vb + vc);
  return a + ab * (vb * denom) + ac * (vc * denom);
}

bool boxes_meet(const CollisionTriangle& t, const DVec3& lo, const DVec3& hi) {
  return t.lo.X <= hi.x && t.hi.X >= lo.x && t.lo.Y <= hi.y && t.hi.Y >= lo.y &&
         t.lo.Z <= hi.z && t.hi.Z >= lo.z;
}

double plane_distance(const CollisionTriangle& t, const DVec3& p) {
  return double(t.normal.X) * p.x + double(t.normal.Y) * p.y + double(t.normal.Z) * p.z +
         double(t.d);
}

// Does segment A-B pass through T? Its ends lie on strictly opposite sides of
// T's plane (A in front when FRONT_ONLY) and the crossing lies inside T,
// edges included.
// T's crossing point M when it lies inside T.
bool segment_meets(const CollisionTriangle& t, const DVec3& a, const DVec3& b, bool front_only,
                   DVec3& m) {
  const double da = plane_distance(t, a), db = plane_distance(t, b);
  if (!(da * db < 0.0)) return false;
  if (front_only && !(da > 0.0)) return false;
  m = a + (b - a) * (da / (da - db));
  const DVec3 q = closest_on_triangle(m, to_dvec3(t.v[0]), to_dvec3(t.v[1]), to_dvec3(t.v[2]));
  const DVec3 off = m - q;
  return dot(off, off) <= 1e-12;
}

bool segment_meets(const CollisionTriangle& t, const DVec3& a, const DVec3& b, bool front_only) {
  DVec3 m;
  return segment_meets(t, a, b, front_only, m);
}

// The triangles whose boxes meet the box LO-HI, each once, in stored order.
void near_triangles(const CollisionMesh& mesh, const DVec3& lo, const DVec3& hi,
                    std::vector<uint32_t>& out) {
  out.clear();
  if (!std::isfinite(lo.x) || !std::isfinite(lo.z) || !std::isfinite(hi.x) || !std::isfinite(hi.z))
    return;
  // The grid visits every triangle whose box can meet this one (some more than
  // once); without a grid every triangle is looked at.
  const auto take = [&](uint32_t id) {
    if (boxes_meet(mesh.triangles[id], lo, hi)) out.push_back(id);
  };
  if (!mesh.grid.visit_box(lo.x, lo.z, hi.x, hi.z, take))
    for (uint32_t id = 0; id < mesh.triangles.size(); ++id) take(id);
  std::sort(out.begin(), out.end());
  out.erase(std::unique(out.begin(), out.end()), out.end());
}

bool segment_test(const CollisionMesh& mesh, const VEC3F& a, const VEC3F& b, bool front_only) {
  const DVec3 pa = to_dvec3(a), pb = to_dvec3(b);
  const DVec3 lo{std::min(pa.x, pb.x), std::min(pa.y, pb.y), std::min(pa.z, pb.z)};
  const DVec3 hi{std::max(pa.x, pb.x), std::max(pa.y, pb.y), std::max(pa.z, pb.z)};
  std::vector<uint32_t> near;
  near_triangles(mesh, lo, hi, near);
  for (const uint32_t id : near)
    if (segment_meets(mesh.triangles[id], pa, pb, front_only)) return true;
  return false;
}

// Does the segment A-B pass through a triangle from its front to its back?
bool enters_surface(const CollisionMesh& mesh, const VEC3F& a, const VEC3F& b) {
  return segment_test(mesh, a, b, true);
}

// Does the segment A-B cross any triangle, either way?
bool crosses_surface(const CollisionMesh& mesh, const VEC3F& a, const VEC3F& b) {
  return segment_test(mesh, a, b, false);
}

// Where the sphere at P must go to clear T, when it overlaps T from T's
// front: a horizontal direction (DX, DZ) and the distance REACH from the
// point ORIGIN along it. False when there is no overlap, or when the only way
// out is straight up or down (a floor under the eye is the ground test's).
// An upright face pushes straight out along its normal, which keeps the
// sphere's place along the face (it slides, even past a sloping top edge);
// other faces push away from the point of contact.
bool horizontal_escape(const CollisionTriangle& t, const DVec3& p, DVec3& origin, double& dx,
                       double& dz, double& reach) {
  const double r = EYE_RADIUS;
  const double dp = plane_distance(t, p);
  if (!(dp > 0.0) || dp >= r) return false;
  const DVec3 contact =
      closest_on_triangle(p, to_dvec3(t.v[0]), to_dvec3(t.v[1]), to_dvec3(t.v[2]));
  const DVec3 off = p - contact;
  if (dot(off, off) >= r * r) return false;
  if (std::fabs(t.normal.Y) < UPRIGHT) {
    // Along the normal the point of contact stays where it is: clear when the
    // distance from the plane makes up what the offset within it leaves.
    dx = t.normal.X, dz = t.normal.Z;
    const double len = std::hypot(dx, dz);
    dx /= len, dz /= len;
    const double along = dot(off, off) - dp * dp;  // squared offset within the plane
    origin = p - DVec3{dx, 0.0, dz} * dp;
    reach = std::sqrt(std::max(r * r - along, 0.0));
    return true;
  }
  double len = std::hypot(off.x, off.z);
  dx = off.x, dz = off.z;
  if (len < 1e-9) {  // right over or under the face: out along its normal
    dx = t.normal.X, dz = t.normal.Z;
    len = std::hypot(dx, dz);
    if (len < 1e-6) return false;
  }
  dx /= len, dz /= len;
  origin = contact;
  reach = std::sqrt(r * r - off.y * off.y);  // the horizontal distance that clears it
  return true;
}

// Pushes P out of every face it overlaps; false when it cannot be cleared.
bool push_out(const CollisionMesh& mesh, DVec3& p) {
  const double r = EYE_RADIUS;
  std::vector<uint32_t> near;
  for (int pass = 0; pass <= PUSH_PASSES; ++pass) {
    bool pushed = false;
    near_triangles(mesh, {p.x - r, p.y - r, p.z - r}, {p.x + r, p.y + r, p.z + r}, near);
    // Upright faces first: an edge that a wall's side shares with its top is
    // then cleared straight out from the side.
    for (const bool upright : {true, false})
      for (const uint32_t id : near) {
        const CollisionTriangle& t = mesh.triangles[id];
        if ((std::fabs(t.normal.Y) < UPRIGHT) != upright) continue;
        DVec3 origin;
        double dx, dz, reach;
        if (!horizontal_escape(t, p, origin, dx, dz, reach)) continue;
        if (pass == PUSH_PASSES) return false;  // still touching after the last pass
        p.x = origin.x + dx * (reach + SKIN);
        p.z = origin.z + dz * (reach + SKIN);
        pushed = true;
      }
    if (!pushed) return true;
  }
  return true;
}
}  // namespace

bool inside_solid(const CollisionMesh& mesh, const VEC3F& eye) {
  if (!(eye.Y < mesh.top)) return false;  // nothing above (or not a number)
  const DVec3 a = to_dvec3(eye), b{a.x, double(mesh.top) + 1.0, a.z};
  std::vector<uint32_t> near;
  near_triangles(mesh, a, b, near);
  double nearest = INFINITY;
  bool back = false;
  for (const uint32_t id : near) {
    const CollisionTriangle& t = mesh.triangles[id];
    DVec3 m;
    if (t.normal.Y != 0.0f && segment_meets(t, a, b, false, m) && m.y < nearest) {
      nearest = m.y;
      back = t.normal.Y > 0.0f;  // faces up, met from below
    }
  }
  return back;
}

namespace {
// MAZE's triangles as the collision tests read them, and the floor and top.
void copy_triangles(const MODEL_STRUCT& maze, CollisionMesh& mesh) {
  mesh.triangles.reserve(maze.MAX_TRIANGLES);
  bool any = false;
  for (uint32_t i = 0; i < maze.MAX_TRIANGLES; ++i) {
    const TRIANGLE_STRUCT& tri = maze.TRIANGLES[i];
    CollisionTriangle t;
    for (int k = 0; k < 3; ++k) t.v[k] = maze.VERTICES[tri.POINT_ID(k + 1)];
    t.normal = tri.NORMAL;  // the loader's POLY_NORMAL of these corners
    t.d = NMATHF::PLANE_DISTANCE(t.normal, t.v[0]);
    t.lo = t.hi = t.v[0];
    for (int k = 1; k < 3; ++k) {
      t.lo = VEC3F(std::min(t.lo.X, t.v[k].X), std::min(t.lo.Y, t.v[k].Y), std::min(t.lo.Z, t.v[k].Z));
      t.hi = VEC3F(std::max(t.hi.X, t.v[k].X), std::max(t.hi.Y, t.v[k].Y), std::max(t.hi.Z, t.v[k].Z));
    }
    if (t.normal.X != 0.0f || t.normal.Y != 0.0f || t.normal.Z != 0.0f) {
      mesh.lowest_floor = any ? std::min(mesh.lowest_floor, t.lo.Y) : t.lo.Y;
      mesh.top = any ? std::max(mesh.top, t.hi.Y) : t.hi.Y;
      any = true;
    }
    mesh.triangles.push_back(t);
  }
}
}  // namespace

CollisionMesh make_collision_mesh(const MODEL_STRUCT& maze) {
  CollisionMesh mesh;
  // The grid reads only the model: it is built while the triangles are copied.
  side_by_side([&] { copy_triangles(maze, mesh); }, [&] { mesh.grid.build(maze); });
  return mesh;
}

VEC3F slide_eye(const CollisionMesh& mesh, const VEC3F& eye, const VEC3F& move, float knee) {
  const double length = std::hypot(double(move.X), double(move.Z));
  // A move of more than a few thousand pieces is no walk (the caller limits a
  // frame's step): refused rather than cut coarser.
  if (!(length > 0.0) || length > MAX_SLIDE_STEP * MAX_PIECES) return eye;
  const int pieces = int(std::ceil(length / MAX_SLIDE_STEP));
  const double sx = move.X / double(pieces), sz = move.Z / double(pieces);
  VEC3F at = eye;
  for (int i = 0; i < pieces; ++i) {
    // The whole piece first; where it is refused, its x and z parts alone.
    const double tries[3][2] = {{sx, sz}, {sx, 0.0}, {0.0, sz}};
    for (const auto& step : tries) {
      if (step[0] == 0.0 && step[1] == 0.0) continue;
      DVec3 p{at.X + step[0], at.Y, at.Z + step[1]};
      if (!push_out(mesh, p)) continue;
      const VEC3F to(float(p.x), at.Y, float(p.z));
      if (enters_surface(mesh, at, to)) continue;
      if (knee < to.Y && crosses_surface(mesh, VEC3F(to.X, knee, to.Z), to)) continue;
      at = to;
      break;
    }
  }
  return at;
}
