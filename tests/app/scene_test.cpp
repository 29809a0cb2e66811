#include <gtest/gtest.h>

#include <cmath>

#include "render/render_buffers.h"
#include "render/render_globals.h"
#include "app/scene.h"
#include "scene_files.h"

using namespace NMATHF;

namespace {
// The three committed models and textures, loaded the way start-up does.
class Scene : public testing::Test {
 protected:
  void SetUp() override {
    const std::string ROOT = MW_SOURCE_DIR;
    const char* MODELS[3] = {"/res/model/maze.obj", "/res/model/cube.obj", "/res/model/ufo.obj"};
    const char* TEXTURES[3] = {"/res/texture/sand.bmp", "/res/texture/wall.bmp",
                               "/res/texture/ufouvmap.bmp"};
    S.MODELS = static_cast<MODEL_STRUCT*>(std::calloc(3, sizeof(MODEL_STRUCT)));
    for (int I = 0; I < 3; ++I) {
      MODEL_STRUCT* M = &S.MODELS[I];
      LOAD_OBJ(ROOT + MODELS[I], M);
      S.TEXTURES[I] = IMAGE_CREATE(256, 256);
      ASSERT_EQ(LOAD_BMP((ROOT + TEXTURES[I]).c_str(), S.TEXTURES[I]), 0);
    }
  }
  void TearDown() override {
    for (int I = 0; I < 3; ++I) {
      MODEL_STRUCT* M = &S.MODELS[I];
      UNLOAD_OBJ(M);
      IMAGE_DESTROY(S.TEXTURES[I]);
    }
    std::free(S.MODELS);
  }
  APP_STATE S;
};
}  // namespace

TEST_F(Scene, PreparationBindsTexturesScalesCoordinatesAndColoursEveryTriangle) {
  RANDOMIZE(3);
  const VEC2F FIRST_UV = S.MODELS[1].TRIANGLES[0].TCOORD(1);
  PREPARE_MODELS(S);
  EXPECT_EQ(S.MODELS[1].TRIANGLES[0].TCOORD(1).X, FIRST_UV.X * 256.0f);
  for (int I = 0; I < 3; ++I)
    for (uint32_t T = 0; T < S.MODELS[I].MAX_TRIANGLES; ++T) {
      const TRIANGLE_STRUCT& TRI = S.MODELS[I].TRIANGLES[T];
      ASSERT_EQ(TRI.TEXTURE, S.TEXTURES[I]);
      // The maze tiles its texture; the cube and UFO map theirs once.
      for (int K = 1; K <= 3 && I > 0; ++K) {
        ASSERT_GE(TRI.TCOORD(K).X, 0.0f);
        ASSERT_LE(TRI.TCOORD(K).X, 256.0f);
        ASSERT_GE(TRI.TCOORD(K).Y, 0.0f);
        ASSERT_LE(TRI.TCOORD(K).Y, 256.0f);
      }
      ASSERT_LE(TRI.COL.R, 256u);
      ASSERT_LE(TRI.COL.G, 256u);
      ASSERT_LE(TRI.COL.B, 256u);
    }
  // The colours are the random stream, red, green, blue, triangle after triangle.
  RANDOMIZE(3);
  EXPECT_EQ(S.MODELS[0].TRIANGLES[0].COL.R, uint32_t(std::nearbyint(RND() * 256.0)));
  EXPECT_EQ(S.MODELS[0].TRIANGLES[0].COL.G, uint32_t(std::nearbyint(RND() * 256.0)));
}

TEST_F(Scene, EntitiesDrawTheirPlacesInTheOrderZYXThenTheModel) {
  RANDOMIZE(11);
  const double Z = RND(), Y = RND(), X = RND(), K = RND();
  RANDOMIZE(11);
  PLACE_ENTITIES(S);
  EXPECT_EQ(S.ENTITY[1].POSITION.X, float(X * 60.0 - 30.0));
  EXPECT_EQ(S.ENTITY[1].POSITION.Y, float(Y * 40.0));
  EXPECT_EQ(S.ENTITY[1].POSITION.Z, float(Z * 60.0 - 30.0));
  EXPECT_EQ(S.ENTITY[1].MODEL, &S.MODELS[int(std::floor(K * 2.0)) + 1]);
  EXPECT_EQ(S.ENTITY[0].MODEL, &S.MODELS[0]);
  EXPECT_EQ(S.ENTITY[0].POSITION.TO_STRING(), "x: 0, y: 0, z: 0");
  for (int I = 1; I < ENTITY_COUNT; ++I) {
    const VEC3F& P = S.ENTITY[I].POSITION;
    EXPECT_TRUE(P.X >= -30 && P.X < 30 && P.Y >= 0 && P.Y < 40 && P.Z >= -30 && P.Z < 30);
    EXPECT_TRUE(S.ENTITY[I].MODEL == &S.MODELS[1] || S.ENTITY[I].MODEL == &S.MODELS[2]);
  }
}

TEST_F(Scene, SpinRatesGrowWithTheEntityNumberAndStopAtFrameTimeZero) {
  SCR_W = 640, SCR_H = 480, SCR_W2 = 320, SCR_H2 = 240;
  ZNEAR = 2, ZFAR = 500, FOV = 60;
  INIT_BUFFERS();
  RANDOMIZE(5);
  PREPARE_MODELS(S);
  PLACE_ENTITIES(S);
  S.LMATRIX = MATRIX(0.0f);
  S.LMATRIX.LOADIDENTITY();
  S.FRAME_TIME = 0.0;
  SUBMIT_ENTITIES(S);
  for (int I = 0; I < ENTITY_COUNT; ++I)
    ASSERT_EQ(S.ENTITY[I].ROTATION.TO_STRING(), "x: 0, y: 0, z: 0");
  S.FCNT = 0;
  S.FRAME_TIME = -1.0;
  SUBMIT_ENTITIES(S);
  EXPECT_EQ(S.ENTITY[0].ROTATION.TO_STRING(), "x: 0, y: 0, z: 0");  // the maze never turns
  EXPECT_EQ(S.ENTITY[1].ROTATION.X, -1.25f);
  EXPECT_EQ(S.ENTITY[1].ROTATION.Y, -2.6f);
  EXPECT_EQ(S.ENTITY[1].ROTATION.Z, -5.7f);
  EXPECT_EQ(S.ENTITY[10].ROTATION.X, -12.5f);
  EXPECT_EQ(S.ENTITY[10].ROTATION.Y, -26.0f);
  EXPECT_EQ(S.ENTITY[10].ROTATION.Z, float(10 * -1.0 * 5.7));
  EXPECT_GT(S.FCNT, 0);  // with the identity view some triangles face the eye
  S.FCNT = 0;
  FREE_BUFFERS();
}
