#include "raster/ftri.h"

#include "raster_target.h"
#include "tri_setup.h"
#include "tri_walk.h"

namespace {
// One span: the depth test and at most two stores per pixel.
struct FLAT_SPAN {
  uint32_t COL;
  float DIZDX;

  void operator()(uint32_t* PIXELS, float* DEPTH, int32_t SX, int32_t EX, const float* V) const {
    float IZ = V[0];
    for (int32_t X = SX; X < EX; ++X) {
      if (IZ > DEPTH[X]) {  // strict; NaN never passes
        PIXELS[X] = COL;
        DEPTH[X] = IZ;
      }
      IZ += DIZDX;
    }
  }
};
}  // namespace

void FTRI(IMAGE* DST, float SX1, float SY1, float SZ1, float SX2, float SY2, float SZ2, float SX3,
          float SY3, float SZ3, uint32_t COL) {
  RASTER_TARGET TARGET;
  if (!RESOLVE_RASTER_TARGET(DST, TARGET)) return;
  TRI_SETUP<1> T;
  if (!SETUP_TRIANGLE<1>({TO_SAMPLING_GRID(SX1), TO_SAMPLING_GRID(SY1), {1.0f / SZ1}},
                         {TO_SAMPLING_GRID(SX2), TO_SAMPLING_GRID(SY2), {1.0f / SZ2}},
                         {TO_SAMPLING_GRID(SX3), TO_SAMPLING_GRID(SY3), {1.0f / SZ3}}, T))
    return;
  WALK_TRIANGLE(T, TARGET, FLAT_SPAN{COL, T.DDX[0]});
}
