// What the stage leaves in the render queue and in the model record: the
// entry's fields, texture coordinates carried from call to call, the counts,
// and the queue's limit.
#include "transform/lighting.h"
#include "transform/pass4_projection.h"
#include "transform_fixture.h"

namespace {

bool same(const VEC3F& a, const VEC3F& b) { return a.X == b.X && a.Y == b.Y && a.Z == b.Z; }
bool same(const VEC2F& a, const VEC2F& b) { return a.X == b.X && a.Y == b.Y; }
// What an entry's corner holds: the screen X and Y, and the view distance w.
VEC3F corner(MemoryModel& model, uint32_t i) {
  return VEC3F(model->PVERTICES[i].X, model->PVERTICES[i].Y, model->RVERTICES[i].W);
}

// N visible triangles side by side at distance 10.
MemoryModel row_of_triangles(int n, float y = 0.0f) {
  std::vector<VEC3F> v;
  std::vector<Face> f;
  for (int i = 0; i < n; ++i) add_triangle(v, f, -5.0f + 10.0f * (i + 0.5f) / n, y, 10, 0.2f);
  return MemoryModel(v, f);
}

TEST_F(TransformTest, EntryCarriesCornersDepthKeyTextureAndFlags) {
  std::vector<VEC3F> v;
  std::vector<Face> f;
  add_triangle(v, f, 1, 2, 20);
  MemoryModel model(v, f);
  static IMAGE own{}, other{};
  model->TRIANGLES[0].TEXTURE = &own;

  run(model, identity(), VEC3F(0, 0, 0), -1, nullptr, VEC2F(0.0f, 0.0f), 1.5f);
  ASSERT_EQ(fcnt, 1);
  const SORT_STRUCT& e = RBUFFER(0);
  for (int k = 0; k < 3; ++k) EXPECT_TRUE(same(e.VEC(k), corner(model, k))) << k;
  EXPECT_EQ(e.VEC(0).Z, 20.0f);  // the view distance, not the projected depth
  const float centroid_z =
      ((model->RVERTICES[0].Z + model->RVERTICES[1].Z) + model->RVERTICES[2].Z) * ONED3;
  EXPECT_EQ(e.MIDPOINT, centroid_z - 1.5f);
  EXPECT_EQ(e.TEXTURE, &own);
  EXPECT_EQ(e.USE_TEX, -1);

  run(model, identity(), VEC3F(0, 0, 0), 0, &other);
  ASSERT_EQ(fcnt, 2);
  EXPECT_EQ(RBUFFER(1).TEXTURE, &other);
  EXPECT_EQ(RBUFFER(1).USE_TEX, 0);
  EXPECT_EQ(RBUFFER(1).MIDPOINT, centroid_z);

  // A triangle of a material without a texture is queued flat with textures on.
  model->TRIANGLES[0].USE_TEX = FLAT_MATERIAL;
  run(model, identity(), VEC3F(0, 0, 0), -1, nullptr);
  ASSERT_EQ(fcnt, 3);
  EXPECT_EQ(RBUFFER(2).USE_TEX, 0);
  EXPECT_EQ(RBUFFER(2).TEXTURE, &own);
}

// The entry's coordinates come from the copy taken before the refresh: zero
// on the first call that lets a triangle through, its own from then on.
TEST_F(TransformTest, TextureCoordinatesLagOneCallBehindTheViewVolumeTest) {
  std::vector<VEC3F> v;
  std::vector<Face> f;
  add_triangle(v, f, 0, 0, 10);   // in view on both calls
  add_triangle(v, f, 30, 0, 10);  // out of view until the model moves left
  MemoryModel model(v, f);
  const VEC2F shift(0.5f, 0.25f);

  run(model, identity(), VEC3F(0, 0, 0), -1, nullptr, shift);
  ASSERT_EQ(fcnt, 1);
  for (int k = 0; k < 3; ++k) EXPECT_TRUE(same(RBUFFER(0).UV(k), shift)) << k;
  EXPECT_TRUE(same(model->TRIANGLES[0].NTCOORD(1), VEC2F(1.0f, 2.0f)));
  EXPECT_TRUE(same(model->TRIANGLES[1].NTCOORD(1), VEC2F(0.0f, 0.0f)));

  MATRIX left = identity();
  left.TRANSLATE(-28.0f, 0.0f, 0.0f);
  fcnt = 0;
  run(model, identity(), VEC3F(0, 0, 0), -1, nullptr, shift);
  run(model, left, VEC3F(0, 0, 0), -1, nullptr, shift);
  ASSERT_EQ(fcnt, 2);
  for (int k = 0; k < 3; ++k) {
    const VEC2F own = model->TRIANGLES[0].TCOORD(k + 1);
    EXPECT_TRUE(same(RBUFFER(0).UV(k), VEC2F(own.X + shift.X, own.Y + shift.Y))) << k;
    EXPECT_TRUE(same(RBUFFER(1).UV(k), shift)) << k;  // first call in view
  }
  EXPECT_TRUE(same(model->TRIANGLES[1].NTCOORD(3), VEC2F(5.0f, 6.0f)));
}

TEST_F(TransformTest, CountsAreResetToTheModelsSizesEveryCall) {
  MemoryModel model = row_of_triangles(3);
  model->MAX_RVERTS = 1;
  model->MAX_RTRIS = 12345;
  run(model);
  EXPECT_EQ(model->MAX_RVERTS, model->MAX_VERTICES);
  EXPECT_EQ(model->MAX_RTRIS, model->MAX_TRIANGLES);
  EXPECT_EQ(fcnt, 3);
}

TEST_F(TransformTest, ModelWithoutTrianglesQueuesNothing) {
  MemoryModel empty({}, {});
  fcnt = 7;
  run(empty);
  EXPECT_EQ(fcnt, 7);
  EXPECT_EQ(empty->MAX_RVERTS, 0u);
  EXPECT_EQ(empty->MAX_RTRIS, 0u);

  MemoryModel points_only({VEC3F(0, 0, -10), VEC3F(1, 0, -10)}, {});
  run(points_only);
  EXPECT_EQ(fcnt, 7);
  EXPECT_EQ(points_only->MAX_RVERTS, 2u);
}

// A frame that queues more than the queue holds makes it grow: nothing is
// dropped, the entries already queued stay, and a queue that has grown is
// not remade by the next frame of the same size. A negative count (no caller
// should pass one) writes nothing and counts the triangles as dropped.
TEST_F(TransformTest, FullQueueGrowsAndKeepsItsEntries) {
  MemoryModel model = row_of_triangles(5);
  const int32_t start = RBUFFER.size() - 3;
  RBUFFER(start - 1).COL = 0x12345678u;
  fcnt = start;
  run(model);
  EXPECT_EQ(fcnt, start + 5);
  EXPECT_GE(RBUFFER.size(), start + 5);
  EXPECT_EQ(default_renderer().dropped_triangles(), 0);
  EXPECT_EQ(RBUFFER(start - 1).COL, 0x12345678u);
  EXPECT_TRUE(same(RBUFFER(start + 4).VEC(0), corner(model, 12)));

  const SORT_STRUCT* grown = RBUFFER.data();
  fcnt = start;
  run(model);
  EXPECT_EQ(RBUFFER.data(), grown);

  fcnt = -1;
  run(model);
  EXPECT_EQ(fcnt, -1);
  EXPECT_EQ(default_renderer().dropped_triangles(), 5);

  // The queue stops growing at its limit, without allocating.
  SortBuffer queue;
  EXPECT_EQ(queue.slot(RBUFFER_MAX), nullptr);
  EXPECT_EQ(queue.slot(-1), nullptr);
  EXPECT_EQ(queue.size(), RBUFFER_SIZE);
  EXPECT_NE(queue.slot(RBUFFER_SIZE), nullptr);
  EXPECT_EQ(queue.size(), 2 * RBUFFER_SIZE);

  // A renderer of its own counts its own drops.
  Renderer own;
  float color_mult = 0.0f;
  MODEL_TRANSFORM(own, model.m, identity(), fcnt = -1, VEC3F(0, 0, 0), color_mult, 0.0f, -1,
                  nullptr, VEC2F(0.0f, 0.0f));
  EXPECT_EQ(own.dropped_triangles(), 5);
  EXPECT_EQ(default_renderer().dropped_triangles(), 5);
}

}  // namespace
