#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "app/player.h"
#include "render/render_globals.h"
#include "platform/headless_host.h"

using namespace NMATHF;

namespace {
// A maze of its own: a floor at y = 0 and a roof at y = 5 over x, z in -10..10,
// the floor first in stored order; both face up.
class Player : public testing::Test {
 protected:
  void SetUp() override {
    const auto PATH = std::filesystem::temp_directory_path() / "mazewalk-player-maze.obj";
    std::ofstream(PATH) << "# Vertices: 6\n# Faces: 2\n"
                           "v -10 0 10\nv 10 0 10\nv 0 0 -10\n"
                           "v -10 5 10\nv 10 5 10\nv 0 5 -10\n"
                           "vt 0 0\nvt 0 0\nvt 0 0\nf 1 2 3\n"
                           "vt 0 0\nvt 0 0\nvt 0 0\nf 4 5 6\n";
    S.MODELS = static_cast<MODEL_STRUCT*>(std::calloc(3, sizeof(MODEL_STRUCT)));
    MODEL_STRUCT* MAZE = &S.MODELS[0];
    LOAD_OBJ(PATH.string(), MAZE);
    SCR_W2 = 320, SCR_H2 = 240;
    ASSERT_EQ(SET_GRAPHICS_MODE(640, 480), 0);
  }
  void TearDown() override {
    MODEL_STRUCT* MAZE = &S.MODELS[0];
    UNLOAD_OBJ(MAZE);
    std::free(S.MODELS);
  }
  APP_STATE S;
};
}  // namespace

TEST_F(Player, StartsAboveTheOriginTurnedOneRadianAboutEachAxis) {
  CAMERA_SETUP(S);
  VMAT EXPECTED(VEC3F(1, 0, 0), VEC3F(0, 1, 0), VEC3F(0, 0, 1), VEC3F(0, 50, 0));
  EXPECTED.ROTATE(1, 1, 1);
  EXPECT_EQ(S.CAM.P.TO_STRING(), "x: 0, y: 50, z: 0");
  EXPECT_EQ(S.CAM.F.TO_STRING(), EXPECTED.F.TO_STRING());
  EXPECT_EQ(S.CAM.U.TO_STRING(), EXPECTED.U.TO_STRING());
}

TEST_F(Player, TheFirstTriangleInStoredOrderDecidesNotTheNearest) {
  S.CAM.P = VEC3F(1, 4.5f, 1);  // under the roof, above the floor
  GROUND_TEST(S);
  EXPECT_EQ(S.INTERSECTED, -1);
  EXPECT_EQ(S.ISTRING, "Intersection detected...");
  EXPECT_EQ(S.ON_GROUND, 0);  // 4.5 is not below 0 + 4: left where it is
  EXPECT_EQ(S.CAM.P.Y, 4.5f);

  S.CAM.P = VEC3F(1, 7, 1);  // above both: the floor, stored first, is taken
  GROUND_TEST(S);
  EXPECT_EQ(S.IPOINT.Y, 0.0f);
  EXPECT_EQ(S.CAM.P.Y, 7.0f);
}

TEST_F(Player, ACameraBelowEyeHeightIsLiftedOntoTheFloor) {
  S.CAM.P = VEC3F(1, 2, 1);
  S.GRAVY = -5;
  GROUND_TEST(S);
  EXPECT_EQ(S.CAM.P.Y, 4.0f);
  EXPECT_EQ(S.ON_GROUND, -1);
  EXPECT_EQ(S.GRAVY, 0.0f);
}

TEST_F(Player, NoHitBeyondTheProbeOrOutsideTheMaze) {
  S.CAM.P = VEC3F(1, 150, 1);
  S.ISTRING = "stale";
  GROUND_TEST(S);
  EXPECT_EQ(S.INTERSECTED, 0);
  EXPECT_EQ(S.ISTRING, "");
  EXPECT_EQ(S.CAM.P.Y, 150.0f);
  S.CAM.P = VEC3F(50, 2, 50);
  GROUND_TEST(S);
  EXPECT_EQ(S.INTERSECTED, 0);
  EXPECT_EQ(S.CAM.P.Y, 2.0f);
}

TEST_F(Player, MovementScalesByTheFrameTimeAndAFrameTimeOfZeroMovesNothing) {
  HEADLESS_SETTINGS SETTINGS;
  SETTINGS.EVENTS = {{1, INPUT_KIND::DOWN, SC_W, 0}, {1, INPUT_KIND::DOWN, SC_D, 0}};
  HEADLESS_HOST HOST(SETTINGS);
  HOST_SET(&HOST);
  CAMERA_SETUP(S);
  const VEC3F START = S.CAM.P;
  S.FRAME_TIME = 0.0;
  MOVEMENT_KEYS(S);
  EXPECT_EQ(S.CAM.P.TO_STRING(), START.TO_STRING());

  S.FRAME_TIME = -0.1;
  MOVEMENT_KEYS(S);
  VEC3F EXPECTED = START - (S.CAM.F * 15.0f) * -0.1;
  EXPECTED = EXPECTED - (S.CAM.R * 15.0f) * -0.1;
  EXPECT_EQ(S.CAM.P.TO_STRING(), EXPECTED.TO_STRING());
  HOST_SET(nullptr);
}

TEST_F(Player, JumpOnlyFromTheGround) {
  HEADLESS_SETTINGS SETTINGS;
  SETTINGS.EVENTS = {{1, INPUT_KIND::DOWN, SC_SPACE, 0}};
  HEADLESS_HOST HOST(SETTINGS);
  HOST_SET(&HOST);
  S.ON_GROUND = 0;
  MOVEMENT_KEYS(S);
  EXPECT_EQ(S.GRAVY, 0.0f);
  S.ON_GROUND = -1;
  MOVEMENT_KEYS(S);
  EXPECT_EQ(S.GRAVY, -5.0f);
  EXPECT_EQ(S.ON_GROUND, 0);
  HOST_SET(nullptr);
}

TEST_F(Player, MouseTwoHundredFiftyPixelsLeftTurnsOneRadianAboutYAndRecentres) {
  HEADLESS_SETTINGS SETTINGS;
  HEADLESS_HOST HOST(SETTINGS);
  HOST_SET(&HOST);
  ASSERT_EQ(SET_GRAPHICS_MODE(640, 480), 0);
  S.CAM = VMAT(VEC3F(1, 0, 0), VEC3F(0, 1, 0), VEC3F(0, 0, -1), VEC3F(0, 0, 0));
  VMAT EXPECTED = S.CAM;
  EXPECTED.ROTATE(0, 1, -0.0f);
  S.MX = 70, S.MY = 240;
  MOUSE_LOOK(S);
  EXPECT_EQ(S.CAM.F.TO_STRING(), EXPECTED.F.TO_STRING());
  EXPECT_EQ(S.CAM.R.TO_STRING(), EXPECTED.R.TO_STRING());
  int32_t X, Y, WHEEL, BUTTONS;
  GET_MOUSE(X, Y, WHEEL, BUTTONS);
  EXPECT_EQ(X, 320);
  EXPECT_EQ(Y, 240);
  HOST_SET(nullptr);
}

TEST_F(Player, ViewLooksAlongTheCameraAndCarriesTheLight) {
  S.CAM = VMAT(VEC3F(1, 0, 0), VEC3F(0, 1, 0), VEC3F(0, 0, -1), VEC3F(0, 4, 0));
  BUILD_VIEW(S);
  // A point straight ahead lies on view -Z; the light goes through the same matrix.
  const VEC4F AHEAD = VEC3F(0, 4, -10) * S.LMATRIX;
  EXPECT_NEAR(AHEAD.X, 0, 1e-6);
  EXPECT_NEAR(AHEAD.Y, 0, 1e-6);
  EXPECT_NEAR(AHEAD.Z, -10, 1e-5);
  EXPECT_EQ(S.TLIGHT.TO_STRING(), VEC3F(S.LIGHT * S.LMATRIX).TO_STRING());
}
