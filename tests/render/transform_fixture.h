// Small models built in memory and the render settings of a 640 x 480 frame,
// for the model transform's tests.
#pragma once
#include <gtest/gtest.h>

#include <array>
#include <cstdlib>
#include <vector>

#include "render/model_transform.h"
#include "render/render_buffers.h"
#include "render/render_globals.h"
#include "render/render_queue.h"

using NMATHF::MATRIX;
using NMATHF::VEC2F;
using NMATHF::VEC3F;
using NMATHF::VEC4F;

using Face = std::array<uint32_t, 3>;

// A model allocated the way LOAD_OBJ allocates one: every array zero-filled,
// RVERTICES, PVERTICES and RTRIANGLES twice as large. Each triangle faces +Z
// with colour (200, 100, 50) and the texture coordinates (1, 2), (3, 4), (5, 6).
class MemoryModel {
 public:
  MemoryModel(const std::vector<VEC3F>& verts, const std::vector<Face>& faces) {
    m = static_cast<MODEL_STRUCT*>(std::calloc(1, sizeof(MODEL_STRUCT)));
    m->MAX_VERTICES = static_cast<uint32_t>(verts.size());
    m->MAX_TRIANGLES = static_cast<uint32_t>(faces.size());
    const size_t nv = verts.size(), nt = faces.size();
    if (nv > 0) {
      m->VERTICES = static_cast<VEC3F*>(std::calloc(nv, sizeof(VEC3F)));
      m->RVERTICES = static_cast<VEC4F*>(std::calloc(2 * nv, sizeof(VEC4F)));
      m->TVERTICES = static_cast<VEC4F*>(std::calloc(nv, sizeof(VEC4F)));
      m->PVERTICES = static_cast<VEC3F*>(std::calloc(2 * nv, sizeof(VEC3F)));
    }
    if (nt > 0) {
      m->TRIANGLES = static_cast<TRIANGLE_STRUCT*>(std::calloc(nt, sizeof(TRIANGLE_STRUCT)));
      m->RTRIANGLES = static_cast<TRIANGLE_STRUCT*>(std::calloc(2 * nt, sizeof(TRIANGLE_STRUCT)));
    }
    for (size_t i = 0; i < nv; ++i) m->VERTICES[i] = verts[i];
    for (size_t i = 0; i < nt; ++i) {
      TRIANGLE_STRUCT& t = m->TRIANGLES[i];
      for (int k = 1; k <= 3; ++k) {
        t.POINT_ID(k) = faces[i][k - 1];
        t.TCOORD(k) = VEC2F(2.0f * k - 1.0f, 2.0f * k);
      }
      t.COL = {200, 100, 50};
      t.NORMAL = VEC3F(0, 0, 1);
    }
  }
  MemoryModel(MemoryModel&& from) noexcept : m(from.m) { from.m = nullptr; }
  ~MemoryModel() {
    if (m == nullptr) return;
    std::free(m->VERTICES);
    std::free(m->RVERTICES);
    std::free(m->TVERTICES);
    std::free(m->PVERTICES);
    std::free(m->TRIANGLES);
    std::free(m->RTRIANGLES);
    std::free(m);
  }
  MemoryModel(const MemoryModel&) = delete;
  MemoryModel& operator=(const MemoryModel&) = delete;

  MODEL_STRUCT* operator->() { return m; }
  MODEL_STRUCT* m;
};

// A small counter-clockwise triangle (seen from the eye) centred on (X, Y) at
// view distance D: three vertices and one face, appended.
inline void add_triangle(std::vector<VEC3F>& v, std::vector<Face>& f, float x, float y, float d,
                         float r = 0.3f) {
  const uint32_t b = static_cast<uint32_t>(v.size());
  v.push_back(VEC3F(x - r, y - r, -d));
  v.push_back(VEC3F(x + r, y - r, -d));
  v.push_back(VEC3F(x, y + r, -d));
  f.push_back({b, b + 1, b + 2});
}

inline MATRIX identity() {
  MATRIX i(0.0f);
  i.LOADIDENTITY();
  return i;
}

// The frame's settings as the program sets them (640 x 480 buffer, 60 degrees,
// ZNEAR 2, ZFAR 500), an empty queue, no drops, the view at the model's origin.
class TransformTest : public ::testing::Test {
 protected:
  void SetUp() override {
    reset_render_state();
    ANTI_ALIAS = ISCALE = -1;
    INIT_BUFFERS();
    fcnt = 0;
    default_renderer().dropped_triangles() = 0;
  }

  void run(MemoryModel& model, const MATRIX& m = identity(), VEC3F light = VEC3F(0, 0, 0),
           int32_t use_tex = -1, const IMAGE* texture = nullptr, VEC2F tcoord = VEC2F(0.0f, 0.0f),
           float depth_offset = 0.0f) {
    float color_mult = 0.0f;
    MODEL_TRANSFORM(model.m, m, fcnt, light, color_mult, depth_offset, use_tex, texture, tcoord);
  }

  int32_t fcnt = 0;
};
