// Small models built in memory and the render settings of a 640 x 480 frame,
// for the model transform's tests.
#pragma once
#include <gtest/gtest.h>

#include <array>
#include <cstdlib>
#include <vector>

#include "render/model_transform.h"
#include "render/render_globals.h"
#include "render/render_queue.h"

using NMATHF::MATRIX;
using NMATHF::VEC2F;
using NMATHF::VEC3F;
using NMATHF::VEC4F;

using FACE = std::array<uint32_t, 3>;

// A model allocated the way LOAD_OBJ allocates one: every array zero-filled,
// RVERTICES, PVERTICES and RTRIANGLES twice as large. Each triangle faces +Z
// with colour (200, 100, 50) and the texture coordinates (1, 2), (3, 4), (5, 6).
class MEMORY_MODEL {
 public:
  MEMORY_MODEL(const std::vector<VEC3F>& VERTS, const std::vector<FACE>& FACES) {
    M = static_cast<MODEL_STRUCT*>(std::calloc(1, sizeof(MODEL_STRUCT)));
    M->MAX_VERTICES = static_cast<uint32_t>(VERTS.size());
    M->MAX_TRIANGLES = static_cast<uint32_t>(FACES.size());
    const size_t NV = VERTS.size(), NT = FACES.size();
    if (NV > 0) {
      M->VERTICES = static_cast<VEC3F*>(std::calloc(NV, sizeof(VEC3F)));
      M->RVERTICES = static_cast<VEC4F*>(std::calloc(2 * NV, sizeof(VEC4F)));
      M->TVERTICES = static_cast<VEC4F*>(std::calloc(NV, sizeof(VEC4F)));
      M->PVERTICES = static_cast<VEC3F*>(std::calloc(2 * NV, sizeof(VEC3F)));
    }
    if (NT > 0) {
      M->TRIANGLES = static_cast<TRIANGLE_STRUCT*>(std::calloc(NT, sizeof(TRIANGLE_STRUCT)));
      M->RTRIANGLES = static_cast<TRIANGLE_STRUCT*>(std::calloc(2 * NT, sizeof(TRIANGLE_STRUCT)));
    }
    for (size_t I = 0; I < NV; ++I) M->VERTICES[I] = VERTS[I];
    for (size_t I = 0; I < NT; ++I) {
      TRIANGLE_STRUCT& T = M->TRIANGLES[I];
      for (int K = 1; K <= 3; ++K) {
        T.POINT_ID(K) = FACES[I][K - 1];
        T.TCOORD(K) = VEC2F(2.0f * K - 1.0f, 2.0f * K);
      }
      T.COL = {200, 100, 50};
      T.NORMAL = VEC3F(0, 0, 1);
    }
  }
  MEMORY_MODEL(MEMORY_MODEL&& FROM) noexcept : M(FROM.M) { FROM.M = nullptr; }
  ~MEMORY_MODEL() {
    if (M == nullptr) return;
    std::free(M->VERTICES);
    std::free(M->RVERTICES);
    std::free(M->TVERTICES);
    std::free(M->PVERTICES);
    std::free(M->TRIANGLES);
    std::free(M->RTRIANGLES);
    std::free(M);
  }
  MEMORY_MODEL(const MEMORY_MODEL&) = delete;
  MEMORY_MODEL& operator=(const MEMORY_MODEL&) = delete;

  MODEL_STRUCT* operator->() { return M; }
  MODEL_STRUCT* M;
};

// A small counter-clockwise triangle (seen from the eye) centred on (X, Y) at
// view distance D: three vertices and one face, appended.
inline void ADD_TRIANGLE(std::vector<VEC3F>& V, std::vector<FACE>& F, float X, float Y, float D,
                         float R = 0.3f) {
  const uint32_t B = static_cast<uint32_t>(V.size());
  V.push_back(VEC3F(X - R, Y - R, -D));
  V.push_back(VEC3F(X + R, Y - R, -D));
  V.push_back(VEC3F(X, Y + R, -D));
  F.push_back({B, B + 1, B + 2});
}

inline MATRIX IDENTITY() {
  MATRIX I(0.0f);
  I.LOADIDENTITY();
  return I;
}

// The frame's settings as the program sets them (640 x 480 buffer, 60 degrees,
// ZNEAR 2, ZFAR 500), an empty queue, no drops, the view at the model's origin.
class TRANSFORM_TEST : public ::testing::Test {
 protected:
  void SetUp() override {
    TSCRW = 320;
    TSCRH = 240;
    TOP = 480;
    ZNEAR = 2.0f;
    ZFAR = 500.0f;
    PROJECTION_MATRIX = MATRIX(0.0f);
    PROJECTION_MATRIX.PERSPECTIVE(60.0f, 1.3333334f, 2.0f, 500.0f);
    FCNT = 0;
    DROPPED_TRIANGLES = 0;
  }

  void RUN(MEMORY_MODEL& MODEL, const MATRIX& M = IDENTITY(), VEC3F LIGHT = VEC3F(0, 0, 0),
           int32_t USE_TEX = -1, const IMAGE* TEXTURE = nullptr, VEC2F TCOORD = VEC2F(0.0f, 0.0f),
           float DEPTH_OFFSET = 0.0f) {
    float COLOR_MULT = 0.0f;
    MODEL_TRANSFORM(MODEL.M, M, FCNT, LIGHT, COLOR_MULT, DEPTH_OFFSET, USE_TEX, TEXTURE, TCOORD);
  }

  int32_t FCNT = 0;
};
