#include "app/scene.h"

#include <cmath>

#include "platform/clock.h"
#include "render/model_transform.h"
#include "render/render_globals.h"

using namespace NMATHF;

namespace {
// A colour channel: a random number times 256 to the nearest integer, 0 to 256.
uint32_t random_channel() {
  return uint32_t(std::nearbyint(rnd() * 256.0));
}
}  // namespace

void prepare_models(Scene& scene) {
  const MazeMaterials& maze = scene.maze;
  const std::vector<int32_t>& material_of = maze.materials.of_triangle;
  for (int32_t i = 0; i < MODEL_COUNT; ++i) {
    MODEL_STRUCT& model = scene.MODELS[i];
    for (uint32_t t = 0; t < model.MAX_TRIANGLES; ++t) {
      TRIANGLE_STRUCT& tri = model.TRIANGLES[t];
      const int32_t material = i == 0 && t < material_of.size() ? material_of[t] : -1;
      IMAGE* own = material >= 0 && size_t(material) < maze.texture_of.size() ? maze.texture_of[size_t(material)]
                                                                              : nullptr;
      IMAGE* texture = own ? own : scene.TEXTURES[i];
      tri.TEXTURE = texture;
      const VEC2F tscalar(float(texture->WIDTH), float(texture->HEIGHT));
      for (int32_t k = 1; k <= 3; ++k) tri.TCOORD(k) = tri.TCOORD(k) * tscalar;
      tri.COL.R = random_channel();
      tri.COL.G = random_channel();
      tri.COL.B = random_channel();
      if (is_flat_material(maze, material)) {
        tri.COL = maze.materials.list[size_t(material)].colour;
        tri.USE_TEX = FLAT_MATERIAL;
      }
    }
  }
}

void place_entities(Scene& scene) {
  for (int32_t i = 1; i < ENTITY_COUNT; ++i) {
    ENTITY_STRUCT& e = scene.ENTITY[i];
    // Drawn in the order z, y, x.
    e.POSITION.Z = float(rnd() * 60.0 - 30.0);
    e.POSITION.Y = float(rnd() * 40.0);
    e.POSITION.X = float(rnd() * 60.0 - 30.0);
    e.MODEL = &scene.MODELS[int32_t(std::floor(rnd() * 2.0)) + 1];
  }
  scene.ENTITY[0].POSITION = VEC3F(0, 0, 0);
  scene.ENTITY[0].MODEL = &scene.MODELS[0];
}

void build_view(const Player& player, Scene& scene) {
  const VMAT& cam = player.CAM;
  scene.LMATRIX = MATRIX(0.0f);
  scene.LMATRIX.LOADIDENTITY();
  scene.LMATRIX.LOOKAT(cam.P, cam.P + cam.F, cam.U);
  scene.TLIGHT = VEC3F(scene.LIGHT * scene.LMATRIX);
}

void submit_entities(Renderer& renderer, Scene& scene, double frame_time) {
  scene.TEMPMATRIX = scene.LMATRIX;
  float color_mult = 0.0f;
  const float depth_offset = 0.0f;
  const VEC2F no_shift(0.0f, 0.0f);
  for (int32_t i = 0; i < ENTITY_COUNT; ++i) {
    ENTITY_STRUCT& e = scene.ENTITY[i];
    scene.TMATRIX = MATRIX(0.0f);
    scene.TMATRIX.LOADIDENTITY();
    scene.TMATRIX.TRANSLATE(e.POSITION);
    scene.TMATRIX.ROTATE(e.ROTATION);
    scene.TEMPMATRIX *= scene.TMATRIX;
    if (e.MODEL == &scene.MODELS[0])
      transform_in_chunks(renderer, e.MODEL, scene.maze_chunks, scene.TEMPMATRIX, scene.FCNT,
                          scene.TLIGHT, depth_offset, TEXTURED, nullptr, no_shift);
    else
      MODEL_TRANSFORM(renderer, e.MODEL, scene.TEMPMATRIX, scene.FCNT, scene.TLIGHT, color_mult,
                      depth_offset, TEXTURED, nullptr, no_shift);
    scene.TEMPMATRIX = scene.LMATRIX;
    // The spin: angles fall by 1.25 I, 2.6 I and 5.7 I degrees a second, never wrapped.
    e.ROTATION += VEC3F(float(i * frame_time * 1.25), float(i * frame_time * 2.6),
                        float(i * frame_time * 5.7));
  }
}
