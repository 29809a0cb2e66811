// Whole-triangle culling against the view volume, back faces, edge-on
// triangles and the far limit.
#include <cmath>
#include <limits>

#include "transform_fixture.h"

namespace {

const float NAN_F = std::numeric_limits<float>::quiet_NaN();

// One triangle centred on (X, Y) at view distance D, run through the stage.
struct ONE_TRIANGLE_RESULT {
  int32_t CULLED, COPY_CULLED, QUEUED;
};

class CULLING_TEST : public TRANSFORM_TEST {
 protected:
  ONE_TRIANGLE_RESULT RUN_ONE(float X, float Y, float D, float R = 0.3f) {
    std::vector<VEC3F> V;
    std::vector<FACE> F;
    ADD_TRIANGLE(V, F, X, Y, D, R);
    MEMORY_MODEL MODEL(V, F);
    FCNT = 0;
    RUN(MODEL);
    return {MODEL->TRIANGLES[0].CULLED, MODEL->RTRIANGLES[0].CULLED, FCNT};
  }
};

TEST_F(CULLING_TEST, TriangleInsideTheVolumeIsKeptAndQueued) {
  const ONE_TRIANGLE_RESULT R = RUN_ONE(0, 0, 10);
  EXPECT_EQ(R.CULLED, 0);
  EXPECT_EQ(R.COPY_CULLED, 0);
  EXPECT_EQ(R.QUEUED, 1);
}

TEST_F(CULLING_TEST, WhollyNearerThanTheNearPlaneIsCulled) {
  const ONE_TRIANGLE_RESULT R = RUN_ONE(0, 0, 1.5f);
  EXPECT_EQ(R.CULLED, -1);
  EXPECT_EQ(R.COPY_CULLED, -1);
  EXPECT_EQ(R.QUEUED, 0);
}

// At view distance 3 the clip-space z is about -1, below ZNEAR, while w = 3 is
// beyond the near plane: the triangle is in plain view and must be drawn.
TEST_F(CULLING_TEST, NearTestComparesTheViewDistanceNotClipZ) {
  const ONE_TRIANGLE_RESULT R = RUN_ONE(0, 0, 3);
  EXPECT_EQ(R.CULLED, 0);
  EXPECT_EQ(R.QUEUED, 1);
}

// At distance 10, w = 10 and clip z = 6.06. Clip x = 1.299 x and y = 1.732 y.
// Wholly outside one side: culled. Between the z bound and the w bound (on
// screen, near the edge): kept. Straddling the side: kept.
struct SIDE_CASE {
  const char* NAME;
  float OUT_X, OUT_Y;     // centre of a triangle wholly beyond the side
  float EDGE_X, EDGE_Y;   // centre of one inside, near the edge
  float CROSS_X, CROSS_Y; // centre of a large one across the side
};

TEST_F(CULLING_TEST, EachSideCullsOnlyTrianglesWhollyBeyondIt) {
  const SIDE_CASE CASES[] = {
      {"left", -9.0f, 0.0f, -6.5f, 0.0f, -7.7f, 0.0f},
      {"right", 9.0f, 0.0f, 6.5f, 0.0f, 7.7f, 0.0f},
      {"below", 0.0f, -7.0f, 0.0f, -4.5f, 0.0f, -5.8f},
      {"above", 0.0f, 7.0f, 0.0f, 4.5f, 0.0f, 5.8f},
  };
  for (const SIDE_CASE& C : CASES) {
    SCOPED_TRACE(C.NAME);
    const ONE_TRIANGLE_RESULT OUT = RUN_ONE(C.OUT_X, C.OUT_Y, 10);
    EXPECT_EQ(OUT.CULLED, -1);
    EXPECT_EQ(OUT.COPY_CULLED, -1);
    EXPECT_EQ(OUT.QUEUED, 0);
    const ONE_TRIANGLE_RESULT EDGE = RUN_ONE(C.EDGE_X, C.EDGE_Y, 10);
    EXPECT_EQ(EDGE.CULLED, 0);
    EXPECT_EQ(EDGE.QUEUED, 1);
    const ONE_TRIANGLE_RESULT CROSS = RUN_ONE(C.CROSS_X, C.CROSS_Y, 10, 1.0f);
    EXPECT_EQ(CROSS.CULLED, 0);
    EXPECT_EQ(CROSS.QUEUED, 1);
  }
}

// A less-than test counts a NaN corner as beyond the side, a greater-than
// test does not. Corner 1 has x = NaN, the other two lie beyond one side.
TEST_F(CULLING_TEST, NaNCountsAsBeyondLeftAndBelowButNotRightOrAbove) {
  auto RUN_WITH_NAN_CORNER = [this](float X, float Y, bool NAN_IN_Y) {
    std::vector<VEC3F> V;
    std::vector<FACE> F;
    ADD_TRIANGLE(V, F, X, Y, 10);
    (NAN_IN_Y ? V[0].Y : V[0].X) = NAN_F;
    MEMORY_MODEL MODEL(V, F);
    FCNT = 0;
    RUN(MODEL);
    EXPECT_EQ(FCNT, 0);  // a NaN corner never reaches the queue
    return MODEL->TRIANGLES[0].CULLED;
  };
  EXPECT_EQ(RUN_WITH_NAN_CORNER(-9, 0, false), -1);
  EXPECT_EQ(RUN_WITH_NAN_CORNER(9, 0, false), 0);
  EXPECT_EQ(RUN_WITH_NAN_CORNER(0, -7, true), -1);
  EXPECT_EQ(RUN_WITH_NAN_CORNER(0, 7, true), 0);
}

TEST_F(CULLING_TEST, NaNDistanceOnEveryCornerIsCulledByTheNearTest) {
  std::vector<VEC3F> V;
  std::vector<FACE> F;
  ADD_TRIANGLE(V, F, 0, 0, NAN_F);
  MEMORY_MODEL MODEL(V, F);
  RUN(MODEL);
  EXPECT_EQ(MODEL->TRIANGLES[0].CULLED, -1);
  EXPECT_EQ(FCNT, 0);
}

TEST_F(CULLING_TEST, ClockwiseAndEdgeOnTrianglesAreNotQueued) {
  MEMORY_MODEL CLOCKWISE({VEC3F(-1, -1, -10), VEC3F(0, 1, -10), VEC3F(1, -1, -10)}, {{0, 1, 2}});
  RUN(CLOCKWISE);
  EXPECT_EQ(CLOCKWISE->TRIANGLES[0].CULLED, 0);  // in view, just facing away
  EXPECT_EQ(FCNT, 0);

  MEMORY_MODEL EDGE_ON({VEC3F(-1, 0, -10), VEC3F(0, 0, -10), VEC3F(1, 0, -10)}, {{0, 1, 2}});
  RUN(EDGE_ON);
  EXPECT_EQ(EDGE_ON->TRIANGLES[0].CULLED, 0);
  EXPECT_EQ(FCNT, 0);

  MEMORY_MODEL TWO_CORNERS_ONE({VEC3F(-1, -1, -10), VEC3F(1, 1, -10), VEC3F(1, 1, -10)},
                               {{0, 1, 2}});
  RUN(TWO_CORNERS_ONE);
  EXPECT_EQ(FCNT, 0);
}

TEST_F(CULLING_TEST, BeyondTheFarLimitOnlyWhenAllThreeDepthsAre) {
  MEMORY_MODEL ALL_FAR({VEC3F(-1, -1, -600), VEC3F(1, -1, -600), VEC3F(0, 1, -600)}, {{0, 1, 2}});
  RUN(ALL_FAR);
  EXPECT_EQ(ALL_FAR->TRIANGLES[0].CULLED, 0);
  EXPECT_GT(ALL_FAR->PVERTICES[0].Z, ZFAR);
  EXPECT_EQ(FCNT, 0);

  MEMORY_MODEL ONE_NEAR({VEC3F(-1, -1, -600), VEC3F(1, -1, -600), VEC3F(0, 1, -400)}, {{0, 1, 2}});
  RUN(ONE_NEAR);
  EXPECT_LE(ONE_NEAR->PVERTICES[2].Z, ZFAR);
  EXPECT_EQ(FCNT, 1);
}

// A triangle that names a vertex the model does not have is culled, never
// read out of bounds.
TEST_F(CULLING_TEST, TriangleNamingAMissingVertexIsCulled) {
  MEMORY_MODEL MODEL({VEC3F(-1, -1, -10), VEC3F(1, -1, -10), VEC3F(0, 1, -10)},
                     {{0, 1, 2}, {0, 1, 3}, {0, 0xFFFFFFFFu, 2}});
  RUN(MODEL);
  EXPECT_EQ(MODEL->TRIANGLES[0].CULLED, 0);
  EXPECT_EQ(MODEL->TRIANGLES[1].CULLED, -1);
  EXPECT_EQ(MODEL->TRIANGLES[2].CULLED, -1);
  EXPECT_EQ(FCNT, 1);
}

}  // namespace
