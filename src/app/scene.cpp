#include "app/scene.h"

#include <cmath>

#include "render/model_transform.h"
#include "render/render_globals.h"

using namespace NMATHF;

namespace {
// A colour channel: a random number times 256 to the nearest integer, 0 to 256.
uint32_t RANDOM_CHANNEL() {
  return uint32_t(std::nearbyint(RND() * 256.0));
}
}  // namespace

void PREPARE_MODELS(APP_STATE& S) {
  for (int32_t I = 0; I < MODEL_COUNT; ++I) {
    MODEL_STRUCT& MODEL = S.MODELS[I];
    IMAGE* TEXTURE = S.TEXTURES[I];
    const VEC2F TSCALAR(float(TEXTURE->WIDTH), float(TEXTURE->HEIGHT));
    for (uint32_t T = 0; T < MODEL.MAX_TRIANGLES; ++T) {
      TRIANGLE_STRUCT& TRI = MODEL.TRIANGLES[T];
      TRI.TEXTURE = TEXTURE;
      for (int32_t K = 1; K <= 3; ++K) TRI.TCOORD(K) = TRI.TCOORD(K) * TSCALAR;
      TRI.COL.R = RANDOM_CHANNEL();
      TRI.COL.G = RANDOM_CHANNEL();
      TRI.COL.B = RANDOM_CHANNEL();
    }
  }
}

void PLACE_ENTITIES(APP_STATE& S) {
  for (int32_t I = 1; I < ENTITY_COUNT; ++I) {
    ENTITY_STRUCT& E = S.ENTITY[I];
    // Drawn in the order z, y, x.
    E.POSITION.Z = float(RND() * 60.0 - 30.0);
    E.POSITION.Y = float(RND() * 40.0);
    E.POSITION.X = float(RND() * 60.0 - 30.0);
    E.MODEL = &S.MODELS[int32_t(std::floor(RND() * 2.0)) + 1];
  }
  S.ENTITY[0].POSITION = VEC3F(0, 0, 0);
  S.ENTITY[0].MODEL = &S.MODELS[0];
}

void SUBMIT_ENTITIES(APP_STATE& S) {
  S.TEMPMATRIX = S.LMATRIX;
  float COLOR_MULT = 0.0f;
  const float DEPTH_OFFSET = 0.0f;
  const VEC2F NO_SHIFT(0.0f, 0.0f);
  for (int32_t I = 0; I < ENTITY_COUNT; ++I) {
    ENTITY_STRUCT& E = S.ENTITY[I];
    S.TMATRIX = MATRIX(0.0f);
    S.TMATRIX.LOADIDENTITY();
    S.TMATRIX.TRANSLATE(E.POSITION);
    S.TMATRIX.ROTATE(E.ROTATION);
    S.TEMPMATRIX *= S.TMATRIX;
    MODEL_TRANSFORM(E.MODEL, S.TEMPMATRIX, S.FCNT, S.TLIGHT, COLOR_MULT, DEPTH_OFFSET, TEXTURED,
                    nullptr, NO_SHIFT);
    S.TEMPMATRIX = S.LMATRIX;
    // The spin: angles fall by 1.25 I, 2.6 I and 5.7 I degrees a second, never wrapped.
    E.ROTATION += VEC3F(float(I * S.FRAME_TIME * 1.25), float(I * S.FRAME_TIME * 2.6),
                        float(I * S.FRAME_TIME * 5.7));
  }
}
