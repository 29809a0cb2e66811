// Triangles that cross the near plane are cut there; the rest are untouched.
#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>

#include "transform/lighting.h"
#include "transform/pass4_projection.h"
#include "transform_fixture.h"
#include "transform/transform_scratch.h"

namespace {

// The eye at the origin looking down -Z, 1.7 above a 20 x 20 floor that runs
// from 10 behind it to 10 in front (two triangles, both crossing the near
// plane), and one small triangle wholly in front at distance 20. Texture
// coordinates are each corner's (x, z). The floor's normal leans towards +Z
// so that its light value depends on the depth of the lighting point.
MemoryModel floor_under_the_eye() {
  std::vector<VEC3F> v = {VEC3F(-10, -1.7f, 10), VEC3F(10, -1.7f, 10), VEC3F(10, -1.7f, -10),
                          VEC3F(-10, -1.7f, -10)};
  std::vector<Face> f = {{0, 1, 2}, {0, 2, 3}};
  add_triangle(v, f, 0, 0, 20);
  MemoryModel model(v, f);
  for (int i = 0; i < 2; ++i) {
    TRIANGLE_STRUCT& t = model->TRIANGLES[i];
    t.NORMAL = VEC3F(0, 0.8f, 0.6f);
    for (int k = 1; k <= 3; ++k) {
      const VEC3F& p = v[t.POINT_ID(k)];
      t.TCOORD(k) = VEC2F(p.X, p.Z);
    }
  }
  return model;
}

const VEC3F LIGHT(0, 10, 10);

class NearClipTest : public TransformTest {
 protected:
  // Two calls, so the second one queues the texture coordinates.
  void run_twice(MemoryModel& model) {
    run(model, identity(), LIGHT);
    fcnt = 0;
    run(model, identity(), LIGHT);
  }
};

TEST_F(NearClipTest, CrossingTrianglesAreReplacedByTheirPieces) {
  MemoryModel model = floor_under_the_eye();
  run_twice(model);
  // One corner of the first triangle is in front (one piece), two of the
  // second (two pieces); the pieces live in the renderer, not the model.
  EXPECT_EQ(model->MAX_RVERTS, model->MAX_VERTICES);
  EXPECT_EQ(model->MAX_RTRIS, model->MAX_TRIANGLES);
  EXPECT_EQ(model->TRIANGLES[0].CULLED, 0);  // it passed the view-volume test
  EXPECT_EQ(model->TRIANGLES[1].CULLED, 0);
  const TransformScratch& scratch = default_renderer().transform_scratch();
  EXPECT_EQ(scratch.drawn[0], 0);  // only its pieces are drawn
  EXPECT_EQ(scratch.drawn[1], 0);
  ASSERT_EQ(scratch.pieces.size(), 3u);
  EXPECT_EQ(scratch.pieces[0].source, 0u);
  EXPECT_EQ(scratch.pieces[1].source, 1u);
  EXPECT_EQ(scratch.pieces[2].source, 1u);
  EXPECT_EQ(fcnt, 4);
}

TEST_F(NearClipTest, PiecesLieBeyondTheNearPlaneAndLandOnScreen) {
  MemoryModel model = floor_under_the_eye();
  run_twice(model);
  ASSERT_EQ(fcnt, 4);
  const Viewport vp = make_viewport(TSCRW, TSCRH, TOP, ZNEAR, ZFAR);
  for (const NearPiece& piece : default_renderer().transform_scratch().pieces) {
    for (int k = 0; k < 3; ++k) {
      EXPECT_GE(piece.clip[k].W, ZNEAR);
      const VEC3F s = project_to_screen(vp, piece.clip[k]);
      EXPECT_TRUE(std::isfinite(s.X) && std::isfinite(s.Y) && std::isfinite(s.Z));
      EXPECT_LT(std::fabs(s.X), 10000.0f);
      EXPECT_LT(std::fabs(s.Y), 10000.0f);
      EXPECT_GE(s.Z, ZNEAR - 0.001f);
      EXPECT_LE(s.Z, ZFAR);
    }
  }
  // The floor lies below the horizon: every piece's corners on the lower half.
  for (int e = 1; e < fcnt; ++e)
    for (int k = 0; k < 3; ++k) EXPECT_GT(RBUFFER(e).VEC(k).Y, 240.0f) << e << " " << k;
}

// A new corner's texture coordinate is interpolated along its edge: here
// (x, z) of the point where the edge meets the plane view z = -ZNEAR. The
// entries carry the pieces' coordinates.
TEST_F(NearClipTest, TextureCoordinatesAreInterpolatedAlongTheCutEdges) {
  MemoryModel model = floor_under_the_eye();
  run_twice(model);
  ASSERT_EQ(fcnt, 4);
  const float clip_x_per_x = PROJECTION_MATRIX.M[0];
  const std::vector<NearPiece>& pieces = default_renderer().transform_scratch().pieces;
  for (size_t i = 0; i < pieces.size(); ++i) {
    const SORT_STRUCT& e = RBUFFER(int32_t(i) + 1);
    for (int k = 0; k < 3; ++k) {
      const VEC4F& c = pieces[i].clip[k];
      const VEC2F uv = pieces[i].ntcoord[k];
      EXPECT_EQ(e.UV(k).X, uv.X);
      EXPECT_EQ(e.UV(k).Y, uv.Y);
      if (c.W != ZNEAR) {  // an original corner keeps its own
        EXPECT_TRUE(uv.Y == 10.0f || uv.Y == -10.0f) << uv.Y;
        EXPECT_TRUE(uv.X == 10.0f || uv.X == -10.0f) << uv.X;
      } else {
        EXPECT_NEAR(uv.X, c.X / clip_x_per_x, 1e-4);
        EXPECT_NEAR(uv.Y, -ZNEAR, 1e-4);
      }
    }
  }
}

// Both triangles cut the shared diagonal from its front corner: the same new
// vertex, bit for bit, so no crack opens between them.
TEST_F(NearClipTest, TrianglesSharingAnEdgeGetTheSameCutPoint) {
  MemoryModel model = floor_under_the_eye();
  run_twice(model);
  // Two new corners per triangle, one of them (on the diagonal) the same.
  std::vector<VEC4F> distinct;
  for (const NearPiece& piece : default_renderer().transform_scratch().pieces)
    for (const VEC4F& c : piece.clip) {
      if (c.W != ZNEAR) continue;
      bool seen = false;
      for (const VEC4F& d : distinct) seen |= std::memcmp(&c, &d, sizeof(VEC4F)) == 0;
      if (!seen) distinct.push_back(c);
    }
  EXPECT_EQ(distinct.size(), 3u);
}

// The pieces take the whole triangle's light value, as it would be without
// the cut, so the two pieces of one triangle look like one.
TEST_F(NearClipTest, PiecesAreLitAsTheWholeTriangle) {
  MemoryModel model = floor_under_the_eye();
  run_twice(model);
  ASSERT_EQ(fcnt, 4);
  for (int original = 0; original < 2; ++original) {
    const TRIANGLE_STRUCT& t = model->TRIANGLES[original];
    const FlatLight whole =
        flat_light(t.NORMAL, clip_centroid(model->RVERTICES, t), LIGHT, t.COL);
    // Entry 1 is the first triangle's piece, entries 2 and 3 the second's.
    for (int e = original == 0 ? 1 : 2; e <= (original == 0 ? 1 : 3); ++e) {
      EXPECT_EQ(RBUFFER(e).COL, whole.col) << e;
      EXPECT_EQ(RBUFFER(e).SHADE, whole.shade) << e;
    }
  }
}

// The triangle in front of the near plane is queued exactly as it is without
// any crossing neighbour.
TEST_F(NearClipTest, TrianglesNotCrossingAreUntouched) {
  MemoryModel model = floor_under_the_eye();
  run_twice(model);
  ASSERT_GE(fcnt, 1);
  const SORT_STRUCT with_floor = RBUFFER(0);

  std::vector<VEC3F> v;
  std::vector<Face> f;
  add_triangle(v, f, 0, 0, 20);
  MemoryModel alone(v, f);
  fcnt = 0;
  run_twice(alone);
  ASSERT_EQ(fcnt, 1);
  const SORT_STRUCT& e = RBUFFER(0);
  EXPECT_EQ(with_floor.MIDPOINT, e.MIDPOINT);
  for (int k = 0; k < 3; ++k) {
    EXPECT_EQ(std::memcmp(&with_floor.VEC(k), &e.VEC(k), sizeof(VEC3F)), 0) << k;
    EXPECT_EQ(std::memcmp(&with_floor.UV(k), &e.UV(k), sizeof(VEC2F)), 0) << k;
  }
  EXPECT_EQ(with_floor.TEXTURE, e.TEXTURE);
  EXPECT_EQ(with_floor.USE_TEX, e.USE_TEX);
  EXPECT_EQ(with_floor.COL, e.COL);
  EXPECT_EQ(with_floor.SHADE, e.SHADE);
}

// Six crossing triangles on three shared vertices, and a cube around the
// eye: every crossing triangle is cut, whatever room the model has.
TEST_F(NearClipTest, EveryCrossingTriangleIsCut) {
  MemoryModel model({VEC3F(-1, -1, -10), VEC3F(1, -1, -10), VEC3F(0, 1, 5)},
                    std::vector<Face>(6, Face{0, 1, 2}));
  run(model);
  EXPECT_EQ(model->MAX_RVERTS, 3u);
  EXPECT_EQ(model->MAX_RTRIS, 6u);
  const TransformScratch& scratch = default_renderer().transform_scratch();
  for (int i = 0; i < 6; ++i) EXPECT_EQ(scratch.drawn[size_t(i)], 0) << i;
  EXPECT_EQ(scratch.pieces.size(), 12u);
  EXPECT_EQ(fcnt, 12);
}

// A box around the eye (8 corners, 12 triangles, faces turned inwards), 8
// wide and 20 deep: its four long sides cross the near plane. Each is cut
// and drawn, so together with the far end they cover the whole screen.
TEST_F(NearClipTest, CubeAroundTheEyeIsDrawnWhole) {
  std::vector<VEC3F> v;
  for (int i = 0; i < 8; ++i)
    v.push_back(VEC3F(i & 1 ? 4.0f : -4.0f, i & 2 ? 4.0f : -4.0f, i & 4 ? 10.0f : -10.0f));
  // Each side's quad, as two triangles that face the inside.
  const uint32_t quads[6][4] = {{0, 2, 3, 1}, {4, 5, 7, 6}, {0, 1, 5, 4},
                                {2, 6, 7, 3}, {0, 4, 6, 2}, {1, 3, 7, 5}};
  std::vector<Face> f;
  for (const auto& q : quads) {
    f.push_back({q[0], q[2], q[1]});
    f.push_back({q[0], q[3], q[2]});
  }
  MemoryModel model(v, f);
  for (uint32_t i = 0; i < 12; ++i) model->TRIANGLES[i].USE_TEX = FLAT_MATERIAL;
  run_twice(model);
  // The far end whole, the eight triangles of the long sides in 12 pieces.
  EXPECT_EQ(default_renderer().transform_scratch().pieces.size(), 12u);
  EXPECT_EQ(fcnt, 14);
  // Every pixel of the frame is covered.
  clear_depth_buffer();
  clear_back_buffer();
  BUFFER_RENDER(fcnt);
  int32_t uncovered = 0;
  for (int32_t i = 0; i < BUFFSIZE; ++i) uncovered += ZBUFF[i] == 0.0f;
  EXPECT_EQ(uncovered, 0);
}

// Vertices at NaN, infinities, huge values and in the plane of the eye, in
// every combination: the stage stays inside its arrays and the queue.
TEST_F(NearClipTest, HostileCoordinatesStayInsideTheArrays) {
  const float inf = std::numeric_limits<float>::infinity();
  const float nan_f = std::numeric_limits<float>::quiet_NaN();
  const float values[] = {0.0f, 1.0f, -1.0f, 5.0f, -5.0f, 1e30f, -1e30f, inf, -inf, nan_f};
  std::vector<VEC3F> v;
  for (float x : values)
    for (float z : values) v.push_back(VEC3F(x, x * 0.5f, z));
  std::vector<Face> f;
  const uint32_t n = static_cast<uint32_t>(v.size());
  for (uint32_t a = 0; a < n; a += 3)
    for (uint32_t b = 1; b < n; b += 7)
      for (uint32_t c = 2; c < n; c += 11) f.push_back({a, b, c});
  MemoryModel model(v, f);
  for (int call = 0; call < 2; ++call) run(model, identity(), VEC3F(nan_f, inf, 1e30f));
  EXPECT_EQ(model->MAX_RVERTS, model->MAX_VERTICES);
  EXPECT_LE(fcnt, RBUFFER.size());
}

}  // namespace
