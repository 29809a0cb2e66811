// Where a world of the user's own starts the player: walking from the maze's
// start over a place, flying outside an object with all of it in view.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <numbers>
#include <vector>

#include "app/player.h"
#include "app/world_framing.h"

using namespace NMATHF;

namespace {
const ViewShape VIEW{60.0f, 4.0f / 3.0f, 2.0f};

// Boxes of triangles (faces outwards), held as a model record that borrows them.
struct Boxes {
  std::vector<VEC3F> v;
  std::vector<TRIANGLE_STRUCT> t;
  MODEL_STRUCT m{};

  Boxes& box(VEC3F lo, VEC3F hi) {
    const uint32_t b = uint32_t(v.size());
    for (int i = 0; i < 8; ++i)
      v.emplace_back(i & 1 ? hi.X : lo.X, i & 2 ? hi.Y : lo.Y, i & 4 ? hi.Z : lo.Z);
    const int quads[6][4] = {{0, 4, 6, 2}, {1, 3, 7, 5}, {0, 1, 5, 4},
                             {2, 6, 7, 3}, {0, 2, 3, 1}, {4, 5, 7, 6}};
    for (const auto& q : quads)
      for (const std::array<int, 3> c : {std::array{q[0], q[1], q[2]}, std::array{q[0], q[2], q[3]}}) {
        TRIANGLE_STRUCT tri{};
        for (int k = 0; k < 3; ++k) tri.POINT_ID(k + 1) = b + uint32_t(c[size_t(k)]);
        t.push_back(tri);
      }
    return *this;
  }
  const MODEL_STRUCT& model() {
    m.VERTICES = v.data();
    m.TRIANGLES = t.data();
    m.MAX_VERTICES = uint32_t(v.size());
    m.MAX_TRIANGLES = uint32_t(t.size());
    return m;
  }
};

VEC3F corner(const WorldBox& b, int i) {
  return VEC3F(i & 1 ? b.hi.X : b.lo.X, i & 2 ? b.hi.Y : b.lo.Y, i & 4 ? b.hi.Z : b.lo.Z);
}

// Is every corner of B in front of the near plane and inside the field of view of CAM?
bool all_in_view(const WorldBox& b, const VMAT& cam) {
  const double tan_v = std::tan(double(VIEW.fov_degrees) * std::numbers::pi / 360.0), tan_h = tan_v * VIEW.aspect;
  for (int i = 0; i < 8; ++i) {
    const VEC3F q = corner(b, i) - cam.P;
    const double depth = q.DOT(cam.F);
    if (!(depth > VIEW.znear) || std::fabs(q.DOT(cam.R)) > depth * tan_h ||
        std::fabs(q.DOT(cam.U)) > depth * tan_v)
      return false;
  }
  return true;
}
}  // namespace

TEST(WorldFraming, PlacesAreWalkedFromTheMazeStartObjectsFramedFromOutside) {
  struct Row {
    const char* name;
    Boxes world;
    bool framed;
    int32_t notch_sign;  // of the start fly speed
  };
  std::vector<Row> rows;
  rows.push_back({"courtyard floor 40 wide", Boxes().box({-20, -1, -20}, {20, 0, 20}), false, 0});
  rows.push_back({"tiny statue", Boxes().box({-0.3f, 0, -0.3f}, {0.3f, 1.5f, 0.3f}), true, -1});
  rows.push_back({"far from the origin", Boxes().box({4980, 0, 4985}, {5020, 30, 5015}), true, 0});
  rows.push_back({"huge building", Boxes().box({-300, 0, -300}, {300, 5, 300}).box({-200, 5, -150}, {200, 1600, 150}),
                  true, 1});
  rows.push_back({"creature around the eye", Boxes().box({-100, 10, -40}, {100, 90, 40}), true, 1});
  rows.push_back({"floor patch too small", Boxes().box({-10, -1, -10}, {10, 0, 10}), true, 0});
  rows.push_back({"nothing below the start", Boxes().box({-100, 60, -100}, {100, 61, 100}), true, 1});

  for (Row& r : rows) {
    SCOPED_TRACE(r.name);
    const MODEL_STRUCT& m = r.world.model();
    const WorldBox b = world_bounds(m);
    const WorldStart s = frame_world(m, VIEW);
    EXPECT_EQ(s.framed, r.framed);
    EXPECT_EQ(s.fly, r.framed);
    EXPECT_GE(s.zfar, 500.0f);
    for (int i = 0; i < 8; ++i) EXPECT_GE(s.zfar, (corner(b, i) - s.camera.P).MAGNITUDE());
    if (!r.framed) {
      const VMAT start = maze_start_camera();
      EXPECT_EQ(std::memcmp(&s.camera, &start, sizeof start), 0);
      EXPECT_EQ(s.fly_speed_notch, 0);
      continue;
    }
    EXPECT_TRUE(all_in_view(b, s.camera)) << s.camera.P.to_string();
    EXPECT_NEAR(s.camera.R.Y, 0.0f, 1e-6f);  // level, as mouse look keeps it
    EXPECT_TRUE(r.notch_sign == 0 || (s.fly_speed_notch > 0 ? 1 : -1) == r.notch_sign) << s.fly_speed_notch;
    EXPECT_LE(std::abs(s.fly_speed_notch), MAX_FLY_SPEED_NOTCH);
  }
}

TEST(WorldFraming, TheBundledMazeKeepsItsStartAndFarPlane) {
  MODEL_STRUCT* maze = static_cast<MODEL_STRUCT*>(std::calloc(1, sizeof(MODEL_STRUCT)));
  LOAD_OBJ(std::string(MW_SOURCE_DIR) + "/res/model/maze.obj", maze);
  const WorldStart s = frame_world(*maze, VIEW);
  const VMAT start = maze_start_camera();
  EXPECT_EQ(std::memcmp(&s.camera, &start, sizeof start), 0);
  EXPECT_FALSE(s.fly);
  EXPECT_EQ(s.zfar, 500.0f);
  UNLOAD_OBJ(maze);
  std::free(maze);
}

TEST(WorldFraming, ASpawnWalksOverAFloorAndFliesElsewhere) {
  Boxes patch;
  patch.box({-10, -1, -10}, {10, 0, 10});
  const MODEL_STRUCT& m = patch.model();
  const VEC3F over(5, 300, 5), beside(40, 10, 0), under(0, -5, 0);
  const WorldStart walk = frame_world(m, VIEW, &over);
  EXPECT_FALSE(walk.fly);
  EXPECT_EQ(walk.camera.P.Y, 300.0f);
  EXPECT_LT(walk.camera.F.Y, 0.0f);  // looking down towards the centre
  EXPECT_TRUE(frame_world(m, VIEW, &beside).fly);
  EXPECT_TRUE(frame_world(m, VIEW, &under).fly);
  EXPECT_GE(walk.zfar, 500.0f);
}

TEST(WorldFraming, NonFiniteCornersAreLeftOutAndScalingRedrawsThePlanes) {
  Boxes b;
  b.box({-1, 0, -1}, {1, 2, 1});
  b.v[7] = VEC3F(INFINITY, NAN, 1e30f);
  const WorldBox box = world_bounds(b.model());
  EXPECT_FALSE(box.empty);
  EXPECT_EQ(box.hi.Y, 2.0f);
  EXPECT_EQ(box.hi.X, 1.0f);

  Boxes c;
  c.box({-1, 0, -1}, {1, 2, 1});
  MODEL_STRUCT& m = const_cast<MODEL_STRUCT&>(c.model());
  scale_world(m, 3.0f);
  EXPECT_EQ(world_bounds(m).hi.Y, 6.0f);
  // The top face: its plane y = 6, normal straight up.
  const TRIANGLE_STRUCT& top = m.TRIANGLES[6];
  EXPECT_EQ(top.NORMAL.Y, 1.0f);
  EXPECT_FLOAT_EQ(-top.PLANE.W / top.PLANE.Y, 6.0f);
}
