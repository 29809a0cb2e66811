#include "app/scene.h"

#include <cmath>

#include "render/model_transform.h"
#include "render/render_globals.h"

using namespace NMATHF;

namespace {
// A colour channel: a random number times 256 to the nearest integer, 0 to 256.
uint32_t random_channel() {
  return uint32_t(std::nearbyint(rnd() * 256.0));
}
}  // namespace

void prepare_models(AppState& s) {
  for (int32_t i = 0; i < MODEL_COUNT; ++i) {
    MODEL_STRUCT& model = s.MODELS[i];
    IMAGE* texture = s.TEXTURES[i];
    const VEC2F tscalar(float(texture->WIDTH), float(texture->HEIGHT));
    for (uint32_t t = 0; t < model.MAX_TRIANGLES; ++t) {
      TRIANGLE_STRUCT& tri = model.TRIANGLES[t];
      tri.TEXTURE = texture;
      for (int32_t k = 1; k <= 3; ++k) tri.TCOORD(k) = tri.TCOORD(k) * tscalar;
      tri.COL.R = random_channel();
      tri.COL.G = random_channel();
      tri.COL.B = random_channel();
    }
  }
}

void place_entities(AppState& s) {
  for (int32_t i = 1; i < ENTITY_COUNT; ++i) {
    ENTITY_STRUCT& e = s.ENTITY[i];
    // Drawn in the order z, y, x.
    e.POSITION.Z = float(rnd() * 60.0 - 30.0);
    e.POSITION.Y = float(rnd() * 40.0);
    e.POSITION.X = float(rnd() * 60.0 - 30.0);
    e.MODEL = &s.MODELS[int32_t(std::floor(rnd() * 2.0)) + 1];
  }
  s.ENTITY[0].POSITION = VEC3F(0, 0, 0);
  s.ENTITY[0].MODEL = &s.MODELS[0];
}

void submit_entities(AppState& s) {
  s.TEMPMATRIX = s.LMATRIX;
  float color_mult = 0.0f;
  const float depth_offset = 0.0f;
  const VEC2F no_shift(0.0f, 0.0f);
  for (int32_t i = 0; i < ENTITY_COUNT; ++i) {
    ENTITY_STRUCT& e = s.ENTITY[i];
    s.TMATRIX = MATRIX(0.0f);
    s.TMATRIX.LOADIDENTITY();
    s.TMATRIX.TRANSLATE(e.POSITION);
    s.TMATRIX.ROTATE(e.ROTATION);
    s.TEMPMATRIX *= s.TMATRIX;
    MODEL_TRANSFORM(e.MODEL, s.TEMPMATRIX, s.FCNT, s.TLIGHT, color_mult, depth_offset, TEXTURED,
                    nullptr, no_shift);
    s.TEMPMATRIX = s.LMATRIX;
    // The spin: angles fall by 1.25 I, 2.6 I and 5.7 I degrees a second, never wrapped.
    e.ROTATION += VEC3F(float(i * s.FRAME_TIME * 1.25), float(i * s.FRAME_TIME * 2.6),
                        float(i * s.FRAME_TIME * 5.7));
  }
}
