// Walking in the real maze: gravity, jumps, the climbable step and ramp, solid
// walls, respawn, and fly mode as the free camera.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <random>
#include <optional>
#include <set>

#include "app/collision.h"
#include "app/controls.h"
#include "app/player.h"
#include "platform/current_platform.h"
#include "platform/headless_host.h"
#include "platform/input.h"
#include "platform/screen.h"
#include "render/render_buffers.h"
#include "render/render_globals.h"

using namespace NMATHF;

namespace {
// The room (x and z from -17 to 17, floor at 0) holds the platform (x and z 7
// to 17, top 3.5), the step north of it (z 5 to 7, top 1.75) and the ramp west
// of it (x -7 to 7, rising from 0 to 3.5 eastwards). A wall stands at x 17 to
// 19 along the platform's east side.
const VEC3F NORTH(0, 0, -1), SOUTH(0, 0, 1), EAST(1, 0, 0);

// A headless host whose held keys the test sets directly.
class KeysHost : public HeadlessHost {
 public:
  KeysHost() : HeadlessHost(HeadlessSettings{}) {}
  int32_t key_held(int32_t scancode) override { return held.count(scancode) ? -1 : 0; }
  std::set<int32_t> held;
};

class WalkingTest : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    maze = static_cast<MODEL_STRUCT*>(std::calloc(1, sizeof(MODEL_STRUCT)));
    LOAD_OBJ(std::string(MW_SOURCE_DIR) + "/res/model/maze.obj", maze);
    mesh = new CollisionMesh(make_collision_mesh(*maze));
    grid = new ProbeGrid();
    grid->build(*maze);
  }
  static void TearDownTestSuite() {
    delete mesh;
    delete grid;
    UNLOAD_OBJ(maze);
    std::free(maze);
  }
  void SetUp() override {
    reset_render_state();
    platform.emplace(host);
    ASSERT_EQ(set_graphics_mode(640, 480), 0);
    camera_setup(s);
  }
  void TearDown() override { platform.reset(); }

  // One frame of DT seconds with KEYS held: the keys, then the frame's motion.
  void frame(double dt, std::set<int32_t> keys = {}) {
    host.held = std::move(keys);
    read_keys(controls, s, -dt);
    move_player(s, *maze, *mesh, *grid, -dt);
  }
  // Puts the eye at (X, Y, Z) looking along the level direction FACING, and
  // lets it settle on whatever floor is below.
  void stand(float x, float y, float z, VEC3F facing) {
    s.CAM = VMAT(VEC3F(-facing.Z, 0, facing.X), VEC3F(0, 1, 0), facing, VEC3F(x, y, z));
    s.GRAVY = 0.0f;
    s.ON_GROUND = 0;
    for (int i = 0; i < 200 && !s.ON_GROUND; ++i) frame(1.0 / 60);
    ASSERT_TRUE(s.ON_GROUND) << s.CAM.P.to_string();
  }

  static MODEL_STRUCT* maze;
  static CollisionMesh* mesh;
  static ProbeGrid* grid;
  KeysHost host;
  std::optional<Platform> platform;  // HOST answers the service calls
  Controls controls;
  Player s;
};
MODEL_STRUCT* WalkingTest::maze = nullptr;
CollisionMesh* WalkingTest::mesh = nullptr;
ProbeGrid* WalkingTest::grid = nullptr;

bool same_camera(const VMAT& a, const VMAT& b) { return std::memcmp(&a, &b, sizeof a) == 0; }
}  // namespace

TEST_F(WalkingTest, WalkingOffThePlatformLandsOnTheFloorWithinASecond) {
  stand(12, 10, 9, NORTH);
  EXPECT_EQ(s.CAM.P.Y, 7.5f);
  double left_at = -1, t = 0;
  while (t < 3 && !(left_at >= 0 && s.ON_GROUND)) {
    frame(1.0 / 60, {SC_W});
    t += 1.0 / 60;
    if (left_at < 0 && s.CAM.P.Z < 7) left_at = t;  // over the step now, then the floor
  }
  ASSERT_GE(left_at, 0);
  EXPECT_LE(t - left_at, 1.0);
  EXPECT_EQ(s.CAM.P.Y, 4.0f);  // on the floor, past the step
  EXPECT_LT(s.CAM.P.Z, 5.0f);
}

TEST_F(WalkingTest, LookingUpWithWHeldWalksLevel) {
  for (const float pitch : {1.0f, 1.5707964f}) {  // 57 degrees up, and straight up
    stand(0, 4, 0, NORTH);
    s.CAM.ROTATE(pitch, 0, 0);
    ASSERT_GT(s.CAM.F.Y, 0.8f);
    const VMAT view = s.CAM;
    for (int i = 0; i < 30; ++i) {
      frame(1.0 / 60, {SC_W});
      ASSERT_EQ(s.CAM.P.Y, 4.0f) << i;
      ASSERT_TRUE(s.ON_GROUND);
    }
    // Half a second at 15 units a second, north; the view as it was.
    EXPECT_NEAR(s.CAM.P.Z, -7.5f, 1e-3f);
    EXPECT_NEAR(s.CAM.P.X, 0.0f, 1e-3f);
    EXPECT_EQ(s.CAM.F.to_string(), view.F.to_string());
  }
}

TEST_F(WalkingTest, AJumpFromTheFloorRisesAboutThreeUnitsAndLandsAtAnyFrameRate) {
  for (const double ms : {1.0, 16.667, 50.0, 120.0, 200.0}) {
    stand(0, 4, 0, NORTH);
    host.held = {SC_SPACE};
    read_keys(controls, s, -ms / 1000);
    EXPECT_EQ(s.GRAVY, -5.0f);
    move_player(s, *maze, *mesh, *grid, -ms / 1000);
    float top = s.CAM.P.Y;
    double t = ms / 1000;
    while (!s.ON_GROUND && t < 2) {
      frame(ms / 1000);
      top = std::max(top, s.CAM.P.Y);
      t += ms / 1000;
    }
    EXPECT_GE(top - 4.0f, 2.5f) << ms;
    EXPECT_LE(top - 4.0f, 3.5f) << ms;
    EXPECT_LE(t, 0.8 + ms / 1000 + 1e-9) << ms;  // 0.8 s in the air, to a frame
    EXPECT_EQ(s.CAM.P.Y, 4.0f) << ms;
    EXPECT_EQ(s.GRAVY, 0.0f) << ms;
  }
}

TEST_F(WalkingTest, WithSolidWallsTheStepCanBeHoppedOntoButThePlatformCannot) {
  s.solid_walls = -1;
  // From the floor towards the step and the platform behind it: the jump
  // clears the step's edge, the platform's side stops it, it lands on the step.
  stand(12, 4, 2.5f, SOUTH);
  frame(1.0 / 60, {SC_SPACE, SC_W});
  float top = s.CAM.P.Y;
  for (int i = 0; i < 120 && !s.ON_GROUND; ++i) {
    frame(1.0 / 60, {SC_W});
    top = std::max(top, s.CAM.P.Y);
  }
  EXPECT_GT(top, 6.5f);
  EXPECT_EQ(s.CAM.P.Y, 5.75f);
  EXPECT_GT(s.CAM.P.Z, 5.0f);
  EXPECT_LT(s.CAM.P.Z, 7.0f);

  // The ramp's high end (3.4 above the floor here) is no hop either.
  stand(6.5f, 4, 3, SOUTH);
  frame(1.0 / 60, {SC_SPACE, SC_W});
  for (int i = 0; i < 120 && !s.ON_GROUND; ++i) frame(1.0 / 60, {SC_W});
  EXPECT_EQ(s.CAM.P.Y, 4.0f);
  EXPECT_LT(s.CAM.P.Z, 7.0f);
}

TEST_F(WalkingTest, WithSolidWallsTheStepAndTheRampClimbAndAHigherRiseBlocks) {
  s.solid_walls = -1;
  for (const double ms : {16.667, 200.0}) {
    // The step, then from the step the platform: a stair.
    stand(12, 4, 1, SOUTH);
    for (double t = 0; t < 1; t += ms / 1000) frame(ms / 1000, {SC_W});
    EXPECT_EQ(s.CAM.P.Y, 7.5f) << ms;
    EXPECT_GT(s.CAM.P.Z, 7.0f) << ms;
    // Up the ramp from its foot.
    stand(-12, 4, 12, EAST);
    for (double t = 0; t < 1.6; t += ms / 1000) frame(ms / 1000, {SC_W});
    EXPECT_EQ(s.CAM.P.Y, 7.5f) << ms;
    EXPECT_GT(s.CAM.P.X, 7.0f) << ms;
    // The ramp's side near its top is higher than the step: it blocks.
    stand(6.5f, 4, 3, SOUTH);
    for (double t = 0; t < 1; t += ms / 1000) frame(ms / 1000, {SC_W});
    EXPECT_EQ(s.CAM.P.Y, 4.0f) << ms;
    EXPECT_LT(s.CAM.P.Z, 7.0f - 0.7f) << ms;
  }
}

TEST_F(WalkingTest, SolidWallsStopTheEyeAndItSlidesAlongThem) {
  s.solid_walls = -1;
  // Half way between east and north, into the wall on the platform's east side.
  const VEC3F north_east(0.70710678f, 0, -0.70710678f);
  stand(14, 4, 15, north_east);
  for (int i = 0; i < 24; ++i) frame(1.0 / 60, {SC_W});
  EXPECT_NEAR(s.CAM.P.X, 17.0f - EYE_RADIUS, 0.01f);  // against the wall
  EXPECT_NEAR(s.CAM.P.Z, 15.0f - 6.0f * 0.70710678f, 0.05f);  // the northward part kept
  EXPECT_EQ(s.CAM.P.Y, 7.5f);

  // Without solid walls the same walk passes the wall and drops to the floor beyond.
  s.solid_walls = 0;
  stand(14, 4, 12, EAST);
  for (int i = 0; i < 60; ++i) frame(1.0 / 60, {SC_W});
  EXPECT_GT(s.CAM.P.X, 19.0f + EYE_RADIUS);
  EXPECT_EQ(s.CAM.P.Y, 4.0f);
}

TEST_F(WalkingTest, FallingFarBelowTheMazeOrAskingRespawnsAtTheStart) {
  Player start;
  camera_setup(start);
  // Off the maze's east edge (walls passable): nothing underfoot.
  stand(60, 4, 0, EAST);
  double t = 0;
  bool respawned = false;
  float lowest = s.CAM.P.Y;
  for (; t < 5 && !respawned; t += 1.0 / 60) {
    frame(1.0 / 60, {SC_W});
    respawned = same_camera(s.CAM, start.CAM);
    if (!respawned) lowest = std::min(lowest, s.CAM.P.Y);
  }
  EXPECT_TRUE(respawned);
  EXPECT_LT(lowest, -95.0f);  // the lowest floor is at 0
  EXPECT_LT(t, 3.5);
  EXPECT_EQ(s.GRAVY, 0.0f);

  for (const int32_t key : {SC_R, SC_HOME}) {
    stand(12, 4, 12, NORTH);
    frame(0.0, {key});
    EXPECT_TRUE(same_camera(s.CAM, start.CAM)) << key;
  }
}

// Walls passable: inside the wall block east of the platform the probe finds
// no floor, and the walker keeps its height there instead of dropping out of
// the world; it walks on through and lands beyond.
TEST_F(WalkingTest, InsideAWallBlockTheWalkerKeepsItsHeight) {
  ASSERT_TRUE(inside_solid(*mesh, VEC3F(18, 6, 12)));
  EXPECT_FALSE(inside_solid(*mesh, VEC3F(15, 6, 12)));  // over the platform, open above
  s.CAM = VMAT(VEC3F(0, 0, 1), VEC3F(0, 1, 0), EAST, VEC3F(18, 6, 12));
  for (int i = 0; i < 120; ++i) frame(1.0 / 60);
  EXPECT_EQ(s.CAM.P.Y, 6.0f);
  EXPECT_EQ(s.CAM.P.X, 18.0f);  // no respawn
  EXPECT_EQ(s.ON_GROUND, -1);
  EXPECT_EQ(s.INTERSECTED, 0);
  for (int i = 0; i < 60; ++i) frame(1.0 / 60, {SC_W});
  EXPECT_GT(s.CAM.P.X, 19.0f);
  EXPECT_EQ(s.CAM.P.Y, 4.0f);  // on the floor beyond
}

// The free camera as it always was: W and S along the view, A and D along the
// right vector, the jump request, the ground test; nothing else moves it.
TEST_F(WalkingTest, FlyModeIsTheFreeCameraFrameForFrame) {
  std::mt19937 rng(12);
  Player ref;
  camera_setup(ref);
  auto free_camera = [&](double ft, const std::set<int32_t>& keys) {
    VMAT& c = ref.CAM;
    if (keys.count(SC_W)) c.P = c.P - (c.F * 15.0f) * ft;
    if (keys.count(SC_S)) c.P = c.P + (c.F * 15.0f) * ft;
    if (keys.count(SC_A)) c.P = c.P + (c.R * 15.0f) * ft;
    if (keys.count(SC_D)) c.P = c.P - (c.R * 15.0f) * ft;
    if (keys.count(SC_SPACE) && ref.ON_GROUND) ref.GRAVY = -5.0f, ref.ON_GROUND = 0;
    ground_test(ref, *maze);
  };
  // Walk a while first; F then hands the camera back to the free camera.
  for (int i = 0; i < 120; ++i) frame(1.0 / 60, {SC_W});
  frame(0.0, {SC_F});
  ASSERT_EQ(s.fly, -1);
  ref = s;
  for (int i = 0; i < 3000; ++i) {
    std::set<int32_t> keys;
    for (const int32_t k : {SC_W, SC_S, SC_A, SC_D, SC_SPACE})
      if (rng() % 3 == 0) keys.insert(k);
    const double dt = (rng() % 10 == 0) ? 0.0 : double(rng() % 200 + 1) / 1000;
    s.MX = ref.MX = 320 + int32_t(rng() % 41) - 20;
    s.MY = ref.MY = 240 + int32_t(rng() % 41) - 20;
    mouse_look(s);
    frame(dt, keys);
    mouse_look(ref);
    free_camera(-dt, keys);
    ASSERT_TRUE(same_camera(s.CAM, ref.CAM)) << i << ": " << s.CAM.P.to_string() << " vs "
                                             << ref.CAM.P.to_string();
    ASSERT_EQ(s.GRAVY, ref.GRAVY) << i;
    ASSERT_EQ(s.ON_GROUND, ref.ON_GROUND) << i;
  }
}

// The wheel and + and - step the fly speed by x1.25 a notch, within 18 notches
// either way; a held key steps again every quarter second; walking keeps 15.
TEST_F(WalkingTest, TheWheelAndPlusAndMinusStepTheFlySpeed) {
  EXPECT_EQ(fly_speed(s), 15.0f);
  read_fly_speed(controls, s, 2, -0.01);  // two wheel steps
  EXPECT_EQ(s.fly_speed_notch, 2);
  read_fly_speed(controls, s, 2, -0.01);  // the running count has not moved
  EXPECT_EQ(s.fly_speed_notch, 2);
  EXPECT_FLOAT_EQ(fly_speed(s), 15.0f * 1.5625f);
  const struct {
    std::set<int32_t> keys;
    int frames;  // of 1/60 s, the key held throughout
    int32_t notches;
  } rows[] = {
      {{SC_EQUALS}, 1, 1},      // a press
      {{SC_KP_PLUS}, 60, 4},    // held a second: the press and three repeats
      {{SC_MINUS}, 31, -2},     // held just past a quarter second
      {{SC_KP_MINUS, SC_EQUALS}, 30, 0},
  };
  for (const auto& r : rows) {
    const int32_t before = s.fly_speed_notch;
    for (int i = 0; i < r.frames; ++i) {
      host.held = r.keys;
      read_fly_speed(controls, s, 2, -1.0 / 60);
    }
    host.held.clear();
    read_fly_speed(controls, s, 2, -1.0 / 60);
    EXPECT_EQ(s.fly_speed_notch - before, r.notches) << r.frames;
  }
  read_fly_speed(controls, s, 1000, -0.01);
  EXPECT_EQ(s.fly_speed_notch, MAX_FLY_SPEED_NOTCH);
  read_fly_speed(controls, s, -1000, -0.01);
  EXPECT_EQ(s.fly_speed_notch, -MAX_FLY_SPEED_NOTCH);
  EXPECT_GT(fly_speed(s), 15.0f / 64);

  // Flying a second at the slowest notch.
  s.fly = -1;
  stand(12, 4, 12, NORTH);
  const VEC3F before = s.CAM.P;
  for (int i = 0; i < 60; ++i) frame(1.0 / 60, {SC_W});
  EXPECT_NEAR((s.CAM.P - before).MAGNITUDE(), fly_speed(s), 1e-3f);
}

namespace {
// The maze's triangles with their boxes, for checks made without the player's
// own collision code.
struct Checker {
  struct Tri {
    VEC3F v[3], lo, hi;
  };
  std::vector<Tri> tris;
  explicit Checker(const MODEL_STRUCT& m) {
    for (uint32_t i = 0; i < m.MAX_TRIANGLES; ++i) {
      Tri t;
      for (int k = 0; k < 3; ++k) t.v[k] = m.VERTICES[m.TRIANGLES[i].POINT_ID(k + 1)];
      t.lo = t.hi = t.v[0];
      for (int k = 1; k < 3; ++k) {
        t.lo = VEC3F(std::min(t.lo.X, t.v[k].X), std::min(t.lo.Y, t.v[k].Y), std::min(t.lo.Z, t.v[k].Z));
        t.hi = VEC3F(std::max(t.hi.X, t.v[k].X), std::max(t.hi.Y, t.v[k].Y), std::max(t.hi.Z, t.v[k].Z));
      }
      tris.push_back(t);
    }
  }
  // Does the segment A-B pass through a triangle?
  bool crosses(VEC3F a, VEC3F b) const {
    const VEC3F line[2] = {a, b};
    for (const Tri& t : tris) {
      if (std::max(a.X, b.X) < t.lo.X || std::min(a.X, b.X) > t.hi.X ||
          std::max(a.Y, b.Y) < t.lo.Y || std::min(a.Y, b.Y) > t.hi.Y ||
          std::max(a.Z, b.Z) < t.lo.Z || std::min(a.Z, b.Z) > t.hi.Z)
        continue;
      VEC3F at;
      if (LINE_TRIANGLE_INTERSECTION(t.v, line, at)) return true;
    }
    return false;
  }
};
}  // namespace

TEST_F(WalkingTest, SolidWallsHoldTheEyeThroughTenThousandRandomFrames) {
  const Checker maze_check(*maze);
  s.solid_walls = -1;
  stand(0, 4, 0, NORTH);
  std::mt19937 rng(2024);
  std::set<int32_t> keys = {SC_W};
  std::set<std::pair<int, int>> visited;
  int near_walls = 0;
  for (int i = 0; i < 10000; ++i) {
    if (rng() % 20 == 0) {  // a new set of keys now and then; mostly forwards
      keys.clear();
      if (rng() % 4 != 0) keys.insert(SC_W);
      if (rng() % 5 == 0) keys.insert(rng() % 2 ? SC_A : SC_D);
      if (rng() % 10 == 0) keys.insert(SC_S);
    }
    std::set<int32_t> held = keys;
    if (rng() % 25 == 0) held.insert(SC_SPACE);
    const double dt = double(rng() % 200 + 1) / 1000;
    s.MX = 320 + int32_t(rng() % 61) - 30;
    s.MY = 240;
    mouse_look(s);
    const VEC3F before = s.CAM.P;
    frame(dt, held);
    const VEC3F& p = s.CAM.P;
    // Not inside a wall (nothing overhead: the maze has no roofs) and not across one.
    ASSERT_FALSE(maze_check.crosses(p, p + VEC3F(0, 1000, 0))) << i << " " << p.to_string();
    ASSERT_FALSE(maze_check.crosses(before, p))
        << i << " " << before.to_string() << " to " << p.to_string();
    visited.insert({int(std::floor(p.X / 12)), int(std::floor(p.Z / 12))});
    if (maze_check.crosses(p, p + s.CAM.F * (EYE_RADIUS + 0.2f))) ++near_walls;
  }
  // The walk went places and met walls often.
  EXPECT_GE(visited.size(), 8u);
  EXPECT_GE(near_walls, 100);
}
