#include "raster/tfpcsptri.h"

#include "raster_target.h"
#include "texel_shade.h"
#include "texture_fetch.h"
#include "tri_setup.h"
#include "tri_walk.h"

namespace {
// Values carried along the edges and spans: 1/z, u/z, v/z.
enum { IZ_, UIZ_, VIZ_, CARRIED };

// One span. Hidden pixels cost the comparison and three additions; the division
// and the texel read happen only where the depth test passes.
template <bool DARKEN, class TEXTURE_T>
struct TEXTURED_SPAN {
  TEXTURE_T TEX;
  uint32_t COL_SCALE2;
  float DIZDX, DUIZDX, DVIZDX;

  void operator()(uint32_t* PIXELS, float* DEPTH, int32_t SX, int32_t EX, const float* V) const {
    float IZ = V[IZ_], UIZ = V[UIZ_], VIZ = V[VIZ_];
    for (int32_t X = SX; X < EX; ++X) {
      if (IZ > DEPTH[X]) {  // strict; NaN never passes
        const float Z = 1.0f / IZ;
        const uint32_t TEXEL = TEX.FETCH(Z * UIZ, Z * VIZ);
        PIXELS[X] = DARKEN ? SUBTRACT_BYTES_SATURATED(TEXEL, COL_SCALE2)
                           : ADD_BYTES_SATURATED(TEXEL, COL_SCALE2);
        DEPTH[X] = IZ;
      }
      IZ += DIZDX;
      UIZ += DUIZDX;
      VIZ += DVIZDX;
    }
  }
};

template <bool DARKEN, class TEXTURE_T>
void WALK_TEXTURED(const TRI_SETUP<CARRIED>& T, const RASTER_TARGET& TARGET, TEXTURE_T TEX,
                   uint32_t COL_SCALE2) {
  WALK_TRIANGLE(T, TARGET,
                TEXTURED_SPAN<DARKEN, TEXTURE_T>{TEX, COL_SCALE2, T.DDX[IZ_], T.DDX[UIZ_],
                                                 T.DDX[VIZ_]});
}

template <class TEXTURE_T>
void WALK_SHADED(const TRI_SETUP<CARRIED>& T, const RASTER_TARGET& TARGET, TEXTURE_T TEX,
                 bool DARKEN, uint32_t COL_SCALE2) {
  if (DARKEN)
    WALK_TEXTURED<true>(T, TARGET, TEX, COL_SCALE2);
  else
    WALK_TEXTURED<false>(T, TARGET, TEX, COL_SCALE2);
}

RASTER_CORNER<CARRIED> TEXTURED_CORNER(float SX, float SY, float SZ, float TX, float TY) {
  const float IZ = 1.0f / SZ;
  return {TO_SAMPLING_GRID(SX), TO_SAMPLING_GRID(SY), {IZ, TX * IZ, TY * IZ}};
}
}  // namespace

void TFPCSPTRI_ORIG(IMAGE* DST, float SX1, float SY1, float SZ1, float TX1, float TY1, float SX2,
                    float SY2, float SZ2, float TX2, float TY2, float SX3, float SY3, float SZ3,
                    float TX3, float TY3, int32_t COL_SCALE, const IMAGE* TEXTURE) {
  if (!TEXTURE) FAIL(ERR_NULL_POINTER, "TFPCSPTRI_ORIG");
  if (!TEXTURE_IS_USABLE(*TEXTURE)) return;
  RASTER_TARGET TARGET;
  if (!RESOLVE_RASTER_TARGET(DST, TARGET)) return;

  TRI_SETUP<CARRIED> T;
  if (!SETUP_TRIANGLE<CARRIED>(TEXTURED_CORNER(SX1, SY1, SZ1, TX1, TY1),
                               TEXTURED_CORNER(SX2, SY2, SZ2, TX2, TY2),
                               TEXTURED_CORNER(SX3, SY3, SZ3, TX3, TY3), T))
    return;

  // The sign picks brightening or darkening; the magnitude goes on every byte.
  const bool DARKEN = COL_SCALE < 0;
  const uint32_t MAGNITUDE = DARKEN ? 0u - uint32_t(COL_SCALE) : uint32_t(COL_SCALE);
  const uint32_t COL_SCALE2 = SPREAD_TO_BYTES(MAGNITUDE);

  if (TEXTURE_IS_POW2(*TEXTURE))
    WALK_SHADED(T, TARGET, MAKE_POW2_TEXTURE(*TEXTURE), DARKEN, COL_SCALE2);
  else
    WALK_SHADED(T, TARGET, MAKE_ANY_SIZE_TEXTURE(*TEXTURE), DARKEN, COL_SCALE2);
}
