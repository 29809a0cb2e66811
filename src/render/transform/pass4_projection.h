// The fourth pass of the model transform: clip space to the screen.
#pragma once
#include <cstdint>

#include "model/model.h"

// The viewport numbers of one call, converted once.
struct Viewport {
  float sw, sh, topf;  // TSCRW, TSCRH, TOP as singles
  double zhalf, zmid;  // (ZFAR - ZNEAR) / 2 and (ZNEAR + ZFAR) / 2
};

inline Viewport make_viewport(int32_t tscrw, int32_t tscrh, int32_t top, float znear,
                              float zfar) {
  // The difference and the sum are single; their halves are double.
  return {static_cast<float>(tscrw), static_cast<float>(tscrh), static_cast<float>(top),
          static_cast<double>(zfar - znear) / 2.0, static_cast<double>(znear + zfar) / 2.0};
}

// A clip-space vertex to back-buffer X, Y (Y downwards) and depth Z from ZNEAR
// to ZFAR. Single precision except the depth's product and sum.
inline NMATHF::VEC3F project_to_screen(const Viewport& vp, const NMATHF::VEC4F& pvec) {
  const float w = 1.0f / pvec.W;
  const float nx = w * pvec.X, ny = w * pvec.Y, nz = w * pvec.Z;
  NMATHF::VEC3F s;
  s.X = (vp.sw * nx + nx) + vp.sw;
  s.Y = (vp.topf - vp.sh * ny) - (vp.sh + ny);
  s.Z = static_cast<float>(vp.zhalf * static_cast<double>(nz) + vp.zmid);
  return s;
}

// Every vertex in use this call, new corners of the near cut included:
// RVERTICES to PVERTICES.
void project_vertices(MODEL_STRUCT& model, const Viewport& vp);
