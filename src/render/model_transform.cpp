#include "render/model_transform.h"

#include <cstring>

#include "model_transform_stages.h"
#include "render/near_clip.h"
#include "render/render_globals.h"
#include "render/render_queue.h"

using NMATHF::VEC2F;
using NMATHF::VEC3F;
using NMATHF::VEC4F;

int64_t DROPPED_TRIANGLES = 0;

namespace {

// Passes 1 and 3: every vertex through the 16 floats of MAR, once.
void TO_VIEW_SPACE(MODEL_STRUCT& MODEL, const float* MAR) {
  for (uint32_t I = 0; I < MODEL.MAX_VERTICES; ++I) {
    const VEC3F V = MODEL.VERTICES[I];
    VEC4F& T = MODEL.TVERTICES[I];  // its w is left as it was
    T.X = ROW_SUM(MAR, 0, V.X, V.Y, V.Z);
    T.Y = ROW_SUM(MAR, 1, V.X, V.Y, V.Z);
    T.Z = ROW_SUM(MAR, 2, V.X, V.Y, V.Z);
  }
}

void TO_CLIP_SPACE(MODEL_STRUCT& MODEL, const float* MAR) {
  for (uint32_t I = 0; I < MODEL.MAX_VERTICES; ++I) {
    VEC4F& T = MODEL.TVERTICES[I];
    const float X = T.X, Y = T.Y, Z = T.Z;
    T.X = ROW_SUM(MAR, 0, X, Y, Z);
    T.Y = ROW_SUM(MAR, 1, X, Y, Z);
    T.Z = ROW_SUM(MAR, 2, X, Y, Z);
    T.W = ROW_SUM(MAR, 3, X, Y, Z);
    MODEL.RVERTICES[I] = T;
  }
}

// Less-than tests count a NaN as true, greater-than tests as false.
inline bool BELOW(float A, float B) { return !(A >= B); }

// Pass 4's test: do all three clip-space corners lie outside one plane of the
// view volume? The bound is each corner's w: wholly nearer than the near
// plane, then wholly left, right, below, above.
bool OUTSIDE_VIEW_VOLUME(const VEC4F& A, const VEC4F& B, const VEC4F& C, float NEAR_W) {
  if (BELOW(A.W, NEAR_W) && BELOW(B.W, NEAR_W) && BELOW(C.W, NEAR_W)) return true;
  if (BELOW(A.X, -A.W) && BELOW(B.X, -B.W) && BELOW(C.X, -C.W)) return true;
  if (A.X > A.W && B.X > B.W && C.X > C.W) return true;
  if (BELOW(A.Y, -A.W) && BELOW(B.Y, -B.W) && BELOW(C.Y, -C.W)) return true;
  return A.Y > A.W && B.Y > B.W && C.Y > C.W;
}

// Pass 4: set CULLED and take the RTRIANGLES copy (with the NTCOORD of the
// previous call). A triangle that names a vertex the model does not have is
// culled rather than read out of bounds.
void CULL_TO_VIEW_VOLUME(MODEL_STRUCT& MODEL, float NEAR_W) {
  const VEC4F* TV = MODEL.TVERTICES;
  for (uint32_t I = 0; I < MODEL.MAX_TRIANGLES; ++I) {
    TRIANGLE_STRUCT& T = MODEL.TRIANGLES[I];
    const uint32_t A = T.POINT_ID(1), B = T.POINT_ID(2), C = T.POINT_ID(3);
    const uint32_t N = MODEL.MAX_VERTICES;
    const bool NAMED_OK = A < N && B < N && C < N;
    T.CULLED = (!NAMED_OK || OUTSIDE_VIEW_VOLUME(TV[A], TV[B], TV[C], NEAR_W)) ? -1 : 0;
    MODEL.RTRIANGLES[I] = T;
  }
}

// Pass 6: the texture coordinates the next call will queue.
void REFRESH_NTCOORD(MODEL_STRUCT& MODEL) {
  for (uint32_t I = 0; I < MODEL.MAX_TRIANGLES; ++I) {
    TRIANGLE_STRUCT& T = MODEL.TRIANGLES[I];
    if (T.CULLED == -1) continue;
    for (int K = 1; K <= 3; ++K) T.NTCOORD(K) = T.TCOORD(K);
  }
}

// Pass 7: every vertex in use this frame, new corners of the cut included.
void PROJECT_VERTICES(MODEL_STRUCT& MODEL, const VIEWPORT_STRUCT& VP) {
  for (uint32_t I = 0; I < MODEL.MAX_RVERTS; ++I)
    MODEL.PVERTICES[I] = PROJECT_TO_SCREEN(VP, MODEL.RVERTICES[I]);
}

// The signed screen-area term: positive for corners that run counter-clockwise
// on the screen (Y downwards).
inline float SCREEN_AREA(const VEC3F& P1, const VEC3F& P2, const VEC3F& P3) {
  return (P2.X - P1.X) * (P1.Y - P3.Y) - (P2.Y - P1.Y) * (P1.X - P3.X);
}

// At least one depth at or before the far limit (NaN counts as before).
inline bool NOT_BEYOND_FAR(const VEC3F& P1, const VEC3F& P2, const VEC3F& P3, float FAR_Z) {
  return !(P1.Z > FAR_Z) || !(P2.Z > FAR_Z) || !(P3.Z > FAR_Z);
}

}  // namespace

void MODEL_TRANSFORM(MODEL_STRUCT* MODEL, const NMATHF::MATRIX& M, int32_t& FCNT,
                     const NMATHF::VEC3F& LIGHT_POSITION, float& COLOR_MULT,
                     const float& DEPTH_OFFSET, int32_t USE_TEX, const IMAGE* TEXTURE,
                     const NMATHF::VEC2F& TCOORD) {
  (void)COLOR_MULT;
  MODEL_STRUCT& MD = *MODEL;
  float MAR[16];

  // 1. Model to view space.
  std::memcpy(MAR, M.M, sizeof MAR);
  TO_VIEW_SPACE(MD, MAR);

  // 2. The light into the model's own space (w of the product dropped).
  std::memcpy(MAR, PROJECTION_MATRIX.M, sizeof MAR);
  const VEC4F L4 = LIGHT_POSITION * M.INVERSE();
  const VEC3F TLIGHT(L4.X, L4.Y, L4.Z);

  // 3. View to clip space.
  TO_CLIP_SPACE(MD, MAR);

  // 4. Whole triangles outside the view volume.
  const float NEAR_W = ZNEAR, FAR_Z = ZFAR;
  CULL_TO_VIEW_VOLUME(MD, NEAR_W);

  // 5. Counts, then the triangles that cross the near plane are cut there.
  MD.MAX_RTRIS = MD.MAX_TRIANGLES;
  MD.MAX_RVERTS = MD.MAX_VERTICES;
  CLIP_NEAR_PLANE(MD, NEAR_W);

  // 6. Texture coordinates for the next call.
  REFRESH_NTCOORD(MD);

  // 7. Projection to the screen.
  PROJECT_VERTICES(MD, MAKE_VIEWPORT(TSCRW, TSCRH, TOP, ZNEAR, ZFAR));

  // 8. Back faces, far limit, lighting and queueing.
  const VEC3F* PV = MD.PVERTICES;
  for (uint32_t I = 0; I < MD.MAX_RTRIS; ++I) {
    const TRIANGLE_STRUCT& T = MD.RTRIANGLES[I];
    if (T.CULLED == -1) continue;
    const VEC3F P1 = PV[T.POINT_ID(1)], P2 = PV[T.POINT_ID(2)], P3 = PV[T.POINT_ID(3)];
    if (!(SCREEN_AREA(P1, P2, P3) > 0.0f)) continue;
    if (!NOT_BEYOND_FAR(P1, P2, P3, FAR_Z)) continue;
    if (FCNT < 0 || FCNT >= RBUFFER_SIZE) {
      ++DROPPED_TRIANGLES;  // the queue is full: nothing is written past its end
      continue;
    }

    // Pieces of a cut triangle are lit (and keyed) as the whole triangle.
    const VEC3F P = I < MD.MAX_TRIANGLES ? CLIP_CENTROID(MD.RVERTICES, T) : T.MIDPOINT;
    const FLAT_LIGHT_STRUCT LIT = FLAT_LIGHT(T.NORMAL, P, TLIGHT, T.COL);

    SORT_STRUCT& E = RBUFFER(FCNT);
    E.MIDPOINT = P.Z - DEPTH_OFFSET;
    E.VEC(0) = P1;
    E.VEC(1) = P2;
    E.VEC(2) = P3;
    for (int K = 1; K <= 3; ++K) {
      const VEC2F& NT = T.NTCOORD(K);
      E.UV(K - 1) = VEC2F(NT.X + TCOORD.X, NT.Y + TCOORD.Y);
    }
    E.TEXTURE = TEXTURE != nullptr ? TEXTURE : T.TEXTURE;
    E.USE_TEX = USE_TEX;
    E.COL = LIT.COL;
    E.SHADE = LIT.SHADE;
    ++FCNT;
  }
}
