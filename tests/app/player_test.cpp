#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "app/player.h"
#include "app/scene.h"
#include "platform/current_platform.h"
#include "platform/headless_host.h"
#include "platform/input.h"
#include "platform/screen.h"
#include "render/render_buffers.h"
#include "render/render_globals.h"
#include "temp_folder.h"

using namespace NMATHF;

namespace {
// A maze of its own: a floor at y = 0 and a roof at y = 5 over x, z in -10..10,
// the floor first in stored order; both face up.
class PlayerTest : public testing::Test {
 protected:
  void SetUp() override {
    // One file per test process: ctest runs the tests of this fixture side by side.
    path = test_files::temp_path("player-maze.obj");
    std::ofstream(path) << "# Vertices: 6\n# Faces: 2\n"
                           "v -10 0 10\nv 10 0 10\nv 0 0 -10\n"
                           "v -10 5 10\nv 10 5 10\nv 0 5 -10\n"
                           "vt 0 0\nvt 0 0\nvt 0 0\nf 1 2 3\n"
                           "vt 0 0\nvt 0 0\nvt 0 0\nf 4 5 6\n";
    maze = static_cast<MODEL_STRUCT*>(std::calloc(1, sizeof(MODEL_STRUCT)));
    LOAD_OBJ(path.string(), maze);
    reset_render_state();
    ASSERT_EQ(set_graphics_mode(640, 480), 0);
  }
  void TearDown() override {
    UNLOAD_OBJ(maze);
    std::free(maze);
    std::filesystem::remove(path);
  }
  std::filesystem::path path;
  Player s;
  MODEL_STRUCT* maze = nullptr;
};
}  // namespace

TEST_F(PlayerTest, StartsAboveTheOriginTurnedOneRadianAboutEachAxis) {
  camera_setup(s);
  VMAT expected(VEC3F(1, 0, 0), VEC3F(0, 1, 0), VEC3F(0, 0, 1), VEC3F(0, 50, 0));
  expected.ROTATE(1, 1, 1);
  EXPECT_EQ(s.CAM.P.to_string(), "x: 0, y: 50, z: 0");
  EXPECT_EQ(s.CAM.F.to_string(), expected.F.to_string());
  EXPECT_EQ(s.CAM.U.to_string(), expected.U.to_string());
}

TEST_F(PlayerTest, TheFirstTriangleInStoredOrderDecidesNotTheNearest) {
  s.fly = -1;
  s.CAM.P = VEC3F(1, 4.5f, 1);  // under the roof, above the floor
  ground_test(s, *maze);
  EXPECT_EQ(s.INTERSECTED, -1);
  EXPECT_EQ(s.ISTRING, "Intersection detected...");
  EXPECT_EQ(s.ON_GROUND, 0);  // 4.5 is not below 0 + 4: left where it is
  EXPECT_EQ(s.CAM.P.Y, 4.5f);

  s.CAM.P = VEC3F(1, 7, 1);  // above both: the floor, stored first, is taken
  ground_test(s, *maze);
  EXPECT_EQ(s.IPOINT.Y, 0.0f);
  EXPECT_EQ(s.CAM.P.Y, 7.0f);
}

// Walking, the upper storey carries the walker whichever floor the file
// stores first; flying, the first stored decides.
TEST_F(PlayerTest, WalkingStandsOnTheUpperFloorInEitherStoredOrder) {
  for (const bool upper_first : {false, true}) {
    const char* floor = "v -10 0 10\nv 10 0 10\nv 0 0 -10\n";
    const char* upper = "v -10 5 10\nv 10 5 10\nv 0 5 -10\n";
    std::ofstream(path) << "# Vertices: 6\n# Faces: 2\n" << (upper_first ? upper : floor)
                        << (upper_first ? floor : upper)
                        << "vt 0 0\nvt 0 0\nvt 0 0\nf 1 2 3\nvt 0 0\nvt 0 0\nvt 0 0\nf 4 5 6\n";
    UNLOAD_OBJ(maze);
    LOAD_OBJ(path.string(), maze);
    for (const int32_t fly : {0, -1}) {
      s.fly = fly;
      s.CAM.P = VEC3F(1, 7, 1);
      ground_test(s, *maze);
      const bool upper_taken = !fly || upper_first;
      EXPECT_EQ(s.IPOINT.Y, upper_taken ? 5.0f : 0.0f) << upper_first << fly;
      EXPECT_EQ(s.CAM.P.Y, upper_taken ? 9.0f : 7.0f) << upper_first << fly;
      EXPECT_EQ(s.ON_GROUND, upper_taken ? -1 : 0);
    }
  }
}

TEST_F(PlayerTest, ACameraBelowEyeHeightIsLiftedOntoTheFloor) {
  s.CAM.P = VEC3F(1, 2, 1);
  s.GRAVY = -5;
  ground_test(s, *maze);
  EXPECT_EQ(s.CAM.P.Y, 4.0f);
  EXPECT_EQ(s.ON_GROUND, -1);
  EXPECT_EQ(s.GRAVY, 0.0f);
}

TEST_F(PlayerTest, NoHitBeyondTheProbeOrOutsideTheMaze) {
  s.CAM.P = VEC3F(1, 150, 1);
  s.ISTRING = "stale";
  ground_test(s, *maze);
  EXPECT_EQ(s.INTERSECTED, 0);
  EXPECT_EQ(s.ISTRING, "");
  EXPECT_EQ(s.CAM.P.Y, 150.0f);
  s.CAM.P = VEC3F(50, 2, 50);
  ground_test(s, *maze);
  EXPECT_EQ(s.INTERSECTED, 0);
  EXPECT_EQ(s.CAM.P.Y, 2.0f);
}

TEST_F(PlayerTest, FlyingMovementScalesByTheFrameTimeAndAFrameTimeOfZeroMovesNothing) {
  HeadlessSettings settings;
  settings.events = {{1, InputKind::DOWN, SC_W, 0}, {1, InputKind::DOWN, SC_D, 0}};
  HeadlessHost host(settings);
  const Platform platform(host);
  camera_setup(s);
  s.fly = -1;
  const VEC3F start = s.CAM.P;
  movement_keys(s, 0.0);
  EXPECT_EQ(s.CAM.P.to_string(), start.to_string());

  movement_keys(s, -0.1);
  VEC3F expected = start - (s.CAM.F * 15.0f) * -0.1;
  expected = expected - (s.CAM.R * 15.0f) * -0.1;
  EXPECT_EQ(s.CAM.P.to_string(), expected.to_string());
}

TEST_F(PlayerTest, JumpOnlyFromTheGround) {
  HeadlessSettings settings;
  settings.events = {{1, InputKind::DOWN, SC_SPACE, 0}};
  HeadlessHost host(settings);
  const Platform platform(host);
  s.ON_GROUND = 0;
  movement_keys(s, -0.016);
  EXPECT_EQ(s.GRAVY, 0.0f);
  s.ON_GROUND = -1;
  movement_keys(s, -0.016);
  EXPECT_EQ(s.GRAVY, -5.0f);
  EXPECT_EQ(s.ON_GROUND, 0);
}

TEST_F(PlayerTest, MouseTwoHundredFiftyPixelsLeftTurnsOneRadianAboutYAndRecentres) {
  HeadlessSettings settings;
  HeadlessHost host(settings);
  const Platform platform(host);
  ASSERT_EQ(set_graphics_mode(640, 480), 0);
  s.CAM = VMAT(VEC3F(1, 0, 0), VEC3F(0, 1, 0), VEC3F(0, 0, -1), VEC3F(0, 0, 0));
  VMAT expected = s.CAM;
  expected.ROTATE(0, 1, -0.0f);
  s.MX = 70, s.MY = 240;
  mouse_look(s);
  EXPECT_EQ(s.CAM.F.to_string(), expected.F.to_string());
  EXPECT_EQ(s.CAM.R.to_string(), expected.R.to_string());
  int32_t x, y, wheel, buttons;
  get_mouse(x, y, wheel, buttons);
  EXPECT_EQ(x, 320);
  EXPECT_EQ(y, 240);
}

TEST_F(PlayerTest, ViewLooksAlongTheCameraAndCarriesTheLight) {
  s.CAM = VMAT(VEC3F(1, 0, 0), VEC3F(0, 1, 0), VEC3F(0, 0, -1), VEC3F(0, 4, 0));
  Scene scene;
  build_view(s, scene);
  // A point straight ahead lies on view -Z; the light goes through the same matrix.
  const VEC4F ahead = VEC3F(0, 4, -10) * scene.LMATRIX;
  EXPECT_NEAR(ahead.X, 0, 1e-6);
  EXPECT_NEAR(ahead.Y, 0, 1e-6);
  EXPECT_NEAR(ahead.Z, -10, 1e-5);
  EXPECT_EQ(scene.TLIGHT.to_string(), VEC3F(scene.LIGHT * scene.LMATRIX).to_string());
}
