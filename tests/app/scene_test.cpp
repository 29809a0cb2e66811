#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <vector>

#define STB_IMAGE_WRITE_IMPLEMENTATION
#include <stb/stb_image_write.h>

#include "app/scene.h"
#include "base/bmp.h"
#include "base/image.h"
#include "platform/clock.h"
#include "render/render_buffers.h"
#include "render/render_globals.h"
#include "scene_files.h"

using namespace NMATHF;

namespace {
// The three committed models and textures, loaded the way start-up does.
class SceneTest : public testing::Test {
 protected:
  void SetUp() override {
    const std::string root = MW_SOURCE_DIR;
    const char* models[3] = {"/res/model/maze.obj", "/res/model/cube.obj", "/res/model/ufo.obj"};
    const char* textures[3] = {"/res/texture/sand.bmp", "/res/texture/wall.bmp",
                               "/res/texture/ufouvmap.bmp"};
    s.MODELS = static_cast<MODEL_STRUCT*>(std::calloc(3, sizeof(MODEL_STRUCT)));
    for (int i = 0; i < 3; ++i) {
      MODEL_STRUCT* m = &s.MODELS[i];
      LOAD_OBJ(root + models[i], m);
      s.TEXTURES[i] = image_create(256, 256);
      ASSERT_EQ(load_bmp((root + textures[i]).c_str(), s.TEXTURES[i]), 0);
    }
  }
  void TearDown() override {
    for (int i = 0; i < 3; ++i) {
      MODEL_STRUCT* m = &s.MODELS[i];
      UNLOAD_OBJ(m);
      image_destroy(s.TEXTURES[i]);
    }
    std::free(s.MODELS);
  }
  Scene s;
};
}  // namespace

TEST_F(SceneTest, PreparationBindsTexturesScalesCoordinatesAndColoursEveryTriangle) {
  randomize(3);
  const VEC2F first_uv = s.MODELS[1].TRIANGLES[0].TCOORD(1);
  prepare_models(s);
  EXPECT_EQ(s.MODELS[1].TRIANGLES[0].TCOORD(1).X, first_uv.X * 256.0f);
  for (int i = 0; i < 3; ++i)
    for (uint32_t t = 0; t < s.MODELS[i].MAX_TRIANGLES; ++t) {
      const TRIANGLE_STRUCT& tri = s.MODELS[i].TRIANGLES[t];
      ASSERT_EQ(tri.TEXTURE, s.TEXTURES[i]);
      // The maze tiles its texture; the cube and UFO map theirs once.
      for (int k = 1; k <= 3 && i > 0; ++k) {
        ASSERT_GE(tri.TCOORD(k).X, 0.0f);
        ASSERT_LE(tri.TCOORD(k).X, 256.0f);
        ASSERT_GE(tri.TCOORD(k).Y, 0.0f);
        ASSERT_LE(tri.TCOORD(k).Y, 256.0f);
      }
      ASSERT_LE(tri.COL.R, 256u);
      ASSERT_LE(tri.COL.G, 256u);
      ASSERT_LE(tri.COL.B, 256u);
    }
  // The colours are the random stream, red, green, blue, triangle after triangle.
  randomize(3);
  EXPECT_EQ(s.MODELS[0].TRIANGLES[0].COL.R, uint32_t(std::nearbyint(rnd() * 256.0)));
  EXPECT_EQ(s.MODELS[0].TRIANGLES[0].COL.G, uint32_t(std::nearbyint(rnd() * 256.0)));
}

TEST_F(SceneTest, EntitiesDrawTheirPlacesInTheOrderZYXThenTheModel) {
  randomize(11);
  const double z = rnd(), y = rnd(), x = rnd(), k = rnd();
  randomize(11);
  place_entities(s);
  EXPECT_EQ(s.ENTITY[1].POSITION.X, float(x * 60.0 - 30.0));
  EXPECT_EQ(s.ENTITY[1].POSITION.Y, float(y * 40.0));
  EXPECT_EQ(s.ENTITY[1].POSITION.Z, float(z * 60.0 - 30.0));
  EXPECT_EQ(s.ENTITY[1].MODEL, &s.MODELS[int(std::floor(k * 2.0)) + 1]);
  EXPECT_EQ(s.ENTITY[0].MODEL, &s.MODELS[0]);
  EXPECT_EQ(s.ENTITY[0].POSITION.to_string(), "x: 0, y: 0, z: 0");
  for (int i = 1; i < ENTITY_COUNT; ++i) {
    const VEC3F& p = s.ENTITY[i].POSITION;
    EXPECT_TRUE(p.X >= -30 && p.X < 30 && p.Y >= 0 && p.Y < 40 && p.Z >= -30 && p.Z < 30);
    EXPECT_TRUE(s.ENTITY[i].MODEL == &s.MODELS[1] || s.ENTITY[i].MODEL == &s.MODELS[2]);
  }
}

TEST_F(SceneTest, SpinRatesGrowWithTheEntityNumberAndStopAtFrameTimeZero) {
  reset_render_state();
  INIT_BUFFERS();
  randomize(5);
  prepare_models(s);
  place_entities(s);
  s.LMATRIX = MATRIX(0.0f);
  s.LMATRIX.LOADIDENTITY();
  submit_entities(default_renderer(), s, 0.0);
  for (int i = 0; i < ENTITY_COUNT; ++i)
    ASSERT_EQ(s.ENTITY[i].ROTATION.to_string(), "x: 0, y: 0, z: 0");
  s.FCNT = 0;
  submit_entities(default_renderer(), s, -1.0);
  EXPECT_EQ(s.ENTITY[0].ROTATION.to_string(), "x: 0, y: 0, z: 0");  // the maze never turns
  EXPECT_EQ(s.ENTITY[1].ROTATION.X, -1.25f);
  EXPECT_EQ(s.ENTITY[1].ROTATION.Y, -2.6f);
  EXPECT_EQ(s.ENTITY[1].ROTATION.Z, -5.7f);
  EXPECT_EQ(s.ENTITY[10].ROTATION.X, -12.5f);
  EXPECT_EQ(s.ENTITY[10].ROTATION.Y, -26.0f);
  EXPECT_EQ(s.ENTITY[10].ROTATION.Z, float(10 * -1.0 * 5.7));
  EXPECT_GT(s.FCNT, 0);  // with the identity view some triangles face the eye
  s.FCNT = 0;
  free_buffers();
}

// A maze of the user's own with a library: a JPEG behind a Windows path in
// another case, a colour-only material, two materials on one missing file.
TEST_F(SceneTest, MaterialsBindTheirTexturesOrTheirColourDrawnFlat) {
  const auto folder = std::filesystem::temp_directory_path() / "mazewalk_scene_materials";
  std::filesystem::create_directories(folder / "Tex");
  const std::vector<unsigned char> rgb(6 * 4 * 3, 200);
  ASSERT_NE(stbi_write_jpg((folder / "Tex" / "Wood.JPG").c_str(), 6, 4, 3, rgb.data(), 90), 0);
  std::ofstream(folder / "room.mtl") << "newmtl wood\nKd 1 1 1\nmap_Kd .\\tex\\wood.jpg\n"
                                        "newmtl red\nKd 1 0 0.2\n"
                                        "newmtl gone\nmap_Kd gone.png\nnewmtl gone too\nmap_Kd gone.png\n";
  std::ofstream(folder / "room.obj") << "mtllib room.mtl\nv 0 0 0\nv 1 0 0\nv 0 0 -1\nvt 0.5 0.5\n"
                                        "usemtl wood\nf 1/1 2/1 3/1\nusemtl red\nf 1 2 3\nusemtl gone\nf 1 2 3\n"
                                        "usemtl gone too\nf 1 2 3\nusemtl none\nf 1 2 3\n";
  MODEL_STRUCT* maze = &s.MODELS[0];
  UNLOAD_OBJ(maze);
  LOAD_OBJ((folder / "room.obj").string(), maze, s.maze.materials);
  std::FILE* warnings = std::tmpfile();
  ASSERT_NE(warnings, nullptr);
  load_material_textures(s.maze, warnings);
  prepare_models(s);

  const TRIANGLE_STRUCT* t = s.MODELS[0].TRIANGLES;
  ASSERT_NE(t[0].TEXTURE, nullptr);
  EXPECT_EQ(t[0].TEXTURE->WIDTH, 6u);   // any size, texture coordinates scaled by it
  EXPECT_EQ(t[0].TCOORD(1).X, 3.0f);
  EXPECT_EQ(t[0].TCOORD(1).Y, 2.0f);
  EXPECT_EQ(t[0].USE_TEX, 0);
  EXPECT_EQ(t[1].USE_TEX, FLAT_MATERIAL);
  EXPECT_EQ(t[1].COL.R, 255u);
  EXPECT_EQ(t[1].COL.G, 0u);
  EXPECT_EQ(t[1].COL.B, 51u);
  EXPECT_EQ(t[2].TEXTURE->WIDTH, uint32_t(CHECKER_SIDE));
  EXPECT_EQ(t[3].TEXTURE, t[2].TEXTURE);
  EXPECT_EQ(t[4].TEXTURE, s.TEXTURES[0]);  // no material: the maze's own texture
  EXPECT_EQ(t[4].USE_TEX, 0);

  // One warning for the missing file, one for the name no library defines.
  std::rewind(warnings);
  std::string text(4096, '\0');
  text.resize(std::fread(text.data(), 1, text.size(), warnings));
  std::fclose(warnings);
  EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 2) << text;
  EXPECT_NE(text.find("gone.png: no such file; drawn with a checker instead\n"), std::string::npos) << text;
  EXPECT_NE(text.find("no library defines the material \"none\""), std::string::npos) << text;
  s.maze.release();
  std::filesystem::remove_all(folder);
}
