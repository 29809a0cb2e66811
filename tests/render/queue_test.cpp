// What the stage leaves in the render queue and in the model record: the
// entry's fields, texture coordinates carried from call to call, the counts,
// and the queue's limit.
#include "model_transform_stages.h"
#include "transform_fixture.h"

namespace {

bool SAME(const VEC3F& A, const VEC3F& B) { return A.X == B.X && A.Y == B.Y && A.Z == B.Z; }
bool SAME(const VEC2F& A, const VEC2F& B) { return A.X == B.X && A.Y == B.Y; }

// N visible triangles side by side at distance 10.
MEMORY_MODEL ROW_OF_TRIANGLES(int N, float Y = 0.0f) {
  std::vector<VEC3F> V;
  std::vector<FACE> F;
  for (int I = 0; I < N; ++I) ADD_TRIANGLE(V, F, -5.0f + 10.0f * (I + 0.5f) / N, Y, 10, 0.2f);
  return MEMORY_MODEL(V, F);
}

TEST_F(TRANSFORM_TEST, EntryCarriesCornersDepthKeyTextureAndFlags) {
  std::vector<VEC3F> V;
  std::vector<FACE> F;
  ADD_TRIANGLE(V, F, 1, 2, 20);
  MEMORY_MODEL MODEL(V, F);
  static IMAGE OWN{}, OTHER{};
  MODEL->TRIANGLES[0].TEXTURE = &OWN;

  RUN(MODEL, IDENTITY(), VEC3F(0, 0, 0), -1, nullptr, VEC2F(0.0f, 0.0f), 1.5f);
  ASSERT_EQ(FCNT, 1);
  const SORT_STRUCT& E = RBUFFER(0);
  for (int K = 0; K < 3; ++K) EXPECT_TRUE(SAME(E.VEC(K), MODEL->PVERTICES[K])) << K;
  const float CENTROID_Z =
      ((MODEL->RVERTICES[0].Z + MODEL->RVERTICES[1].Z) + MODEL->RVERTICES[2].Z) * ONED3;
  EXPECT_EQ(E.MIDPOINT, CENTROID_Z - 1.5f);
  EXPECT_EQ(E.TEXTURE, &OWN);
  EXPECT_EQ(E.USE_TEX, -1);

  RUN(MODEL, IDENTITY(), VEC3F(0, 0, 0), 0, &OTHER);
  ASSERT_EQ(FCNT, 2);
  EXPECT_EQ(RBUFFER(1).TEXTURE, &OTHER);
  EXPECT_EQ(RBUFFER(1).USE_TEX, 0);
  EXPECT_EQ(RBUFFER(1).MIDPOINT, CENTROID_Z);
}

// The entry's coordinates come from the copy taken before the refresh: zero
// on the first call that lets a triangle through, its own from then on.
TEST_F(TRANSFORM_TEST, TextureCoordinatesLagOneCallBehindTheViewVolumeTest) {
  std::vector<VEC3F> V;
  std::vector<FACE> F;
  ADD_TRIANGLE(V, F, 0, 0, 10);   // in view on both calls
  ADD_TRIANGLE(V, F, 30, 0, 10);  // out of view until the model moves left
  MEMORY_MODEL MODEL(V, F);
  const VEC2F SHIFT(0.5f, 0.25f);

  RUN(MODEL, IDENTITY(), VEC3F(0, 0, 0), -1, nullptr, SHIFT);
  ASSERT_EQ(FCNT, 1);
  for (int K = 0; K < 3; ++K) EXPECT_TRUE(SAME(RBUFFER(0).UV(K), SHIFT)) << K;
  EXPECT_TRUE(SAME(MODEL->TRIANGLES[0].NTCOORD(1), VEC2F(1.0f, 2.0f)));
  EXPECT_TRUE(SAME(MODEL->TRIANGLES[1].NTCOORD(1), VEC2F(0.0f, 0.0f)));

  MATRIX LEFT = IDENTITY();
  LEFT.TRANSLATE(-28.0f, 0.0f, 0.0f);
  FCNT = 0;
  RUN(MODEL, IDENTITY(), VEC3F(0, 0, 0), -1, nullptr, SHIFT);
  RUN(MODEL, LEFT, VEC3F(0, 0, 0), -1, nullptr, SHIFT);
  ASSERT_EQ(FCNT, 2);
  for (int K = 0; K < 3; ++K) {
    const VEC2F OWN = MODEL->TRIANGLES[0].TCOORD(K + 1);
    EXPECT_TRUE(SAME(RBUFFER(0).UV(K), VEC2F(OWN.X + SHIFT.X, OWN.Y + SHIFT.Y))) << K;
    EXPECT_TRUE(SAME(RBUFFER(1).UV(K), SHIFT)) << K;  // first call in view
  }
  EXPECT_TRUE(SAME(MODEL->TRIANGLES[1].NTCOORD(3), VEC2F(5.0f, 6.0f)));
}

TEST_F(TRANSFORM_TEST, CountsAreResetToTheModelsSizesEveryCall) {
  MEMORY_MODEL MODEL = ROW_OF_TRIANGLES(3);
  MODEL->MAX_RVERTS = 1;
  MODEL->MAX_RTRIS = 12345;
  RUN(MODEL);
  EXPECT_EQ(MODEL->MAX_RVERTS, MODEL->MAX_VERTICES);
  EXPECT_EQ(MODEL->MAX_RTRIS, MODEL->MAX_TRIANGLES);
  EXPECT_EQ(FCNT, 3);
}

TEST_F(TRANSFORM_TEST, ModelWithoutTrianglesQueuesNothing) {
  MEMORY_MODEL EMPTY({}, {});
  FCNT = 7;
  RUN(EMPTY);
  EXPECT_EQ(FCNT, 7);
  EXPECT_EQ(EMPTY->MAX_RVERTS, 0u);
  EXPECT_EQ(EMPTY->MAX_RTRIS, 0u);

  MEMORY_MODEL POINTS_ONLY({VEC3F(0, 0, -10), VEC3F(1, 0, -10)}, {});
  RUN(POINTS_ONLY);
  EXPECT_EQ(FCNT, 7);
  EXPECT_EQ(POINTS_ONLY->MAX_RVERTS, 2u);
}

// A frame that would queue more than the queue holds keeps the first entries,
// drops the rest and counts them; FCNT stops at the queue's size.
TEST_F(TRANSFORM_TEST, FullQueueDropsAndCountsTheRest) {
  MEMORY_MODEL MODEL = ROW_OF_TRIANGLES(5);
  RBUFFER(RBUFFER_SIZE - 4).COL = 0x12345678u;  // before the room left: untouched
  FCNT = RBUFFER_SIZE - 3;
  RUN(MODEL);
  EXPECT_EQ(FCNT, RBUFFER_SIZE);
  EXPECT_EQ(DROPPED_TRIANGLES, 2);
  EXPECT_EQ(RBUFFER(RBUFFER_SIZE - 4).COL, 0x12345678u);
  EXPECT_TRUE(SAME(RBUFFER(RBUFFER_SIZE - 1).VEC(0), MODEL->PVERTICES[6]));

  RUN(MODEL);
  EXPECT_EQ(FCNT, RBUFFER_SIZE);
  EXPECT_EQ(DROPPED_TRIANGLES, 7);

  FCNT = -1;  // a count that no caller should pass: nothing is written either
  RUN(MODEL);
  EXPECT_EQ(FCNT, -1);
  EXPECT_EQ(DROPPED_TRIANGLES, 12);
}

}  // namespace
