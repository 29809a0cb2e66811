// Whole-triangle culling against the view volume, back faces, edge-on
// triangles and the far limit.
#include <cmath>
#include <limits>

#include "transform_fixture.h"
#include "transform/transform_scratch.h"

namespace {

const float NAN_F = std::numeric_limits<float>::quiet_NaN();

// One triangle centred on (X, Y) at view distance D, run through the stage.
struct OneTriangleResult {
  int32_t culled;
  bool drawn;  // drawn whole this call (the side array)
  int32_t queued;
};

class CullingTest : public TransformTest {
 protected:
  OneTriangleResult run_one(float x, float y, float d, float r = 0.3f) {
    std::vector<VEC3F> v;
    std::vector<Face> f;
    add_triangle(v, f, x, y, d, r);
    MemoryModel model(v, f);
    fcnt = 0;
    run(model);
    return {model->TRIANGLES[0].CULLED, default_renderer().transform_scratch().drawn[0] != 0, fcnt};
  }
};

TEST_F(CullingTest, TriangleInsideTheVolumeIsKeptAndQueued) {
  const OneTriangleResult r = run_one(0, 0, 10);
  EXPECT_EQ(r.culled, 0);
  EXPECT_TRUE(r.drawn);
  EXPECT_EQ(r.queued, 1);
}

TEST_F(CullingTest, WhollyNearerThanTheNearPlaneIsCulled) {
  const OneTriangleResult r = run_one(0, 0, 1.5f);
  EXPECT_EQ(r.culled, -1);
  EXPECT_FALSE(r.drawn);
  EXPECT_EQ(r.queued, 0);
}

// At view distance 3 the clip-space z is about -1, below ZNEAR, while w = 3 is
// beyond the near plane: the triangle is in plain view and must be drawn.
TEST_F(CullingTest, NearTestComparesTheViewDistanceNotClipZ) {
  const OneTriangleResult r = run_one(0, 0, 3);
  EXPECT_EQ(r.culled, 0);
  EXPECT_EQ(r.queued, 1);
}

// At distance 10, w = 10 and clip z = 6.06. Clip x = 1.299 x and y = 1.732 y.
// Wholly outside one side: culled. Between the z bound and the w bound (on
// screen, near the edge): kept. Straddling the side: kept.
struct SideCase {
  const char* name;
  float out_x, out_y;     // centre of a triangle wholly beyond the side
  float edge_x, edge_y;   // centre of one inside, near the edge
  float cross_x, cross_y; // centre of a large one across the side
};

TEST_F(CullingTest, EachSideCullsOnlyTrianglesWhollyBeyondIt) {
  const SideCase cases[] = {
      {"left", -9.0f, 0.0f, -6.5f, 0.0f, -7.7f, 0.0f},
      {"right", 9.0f, 0.0f, 6.5f, 0.0f, 7.7f, 0.0f},
      {"below", 0.0f, -7.0f, 0.0f, -4.5f, 0.0f, -5.8f},
      {"above", 0.0f, 7.0f, 0.0f, 4.5f, 0.0f, 5.8f},
  };
  for (const SideCase& c : cases) {
    SCOPED_TRACE(c.name);
    const OneTriangleResult out = run_one(c.out_x, c.out_y, 10);
    EXPECT_EQ(out.culled, -1);
    EXPECT_FALSE(out.drawn);
    EXPECT_EQ(out.queued, 0);
    const OneTriangleResult edge = run_one(c.edge_x, c.edge_y, 10);
    EXPECT_EQ(edge.culled, 0);
    EXPECT_EQ(edge.queued, 1);
    const OneTriangleResult cross = run_one(c.cross_x, c.cross_y, 10, 1.0f);
    EXPECT_EQ(cross.culled, 0);
    EXPECT_EQ(cross.queued, 1);
  }
}

// A less-than test counts a NaN corner as beyond the side, a greater-than
// test does not. Corner 1 has x = NaN, the other two lie beyond one side.
TEST_F(CullingTest, NaNCountsAsBeyondLeftAndBelowButNotRightOrAbove) {
  auto run_with_nan_corner = [this](float x, float y, bool nan_in_y) {
    std::vector<VEC3F> v;
    std::vector<Face> f;
    add_triangle(v, f, x, y, 10);
    (nan_in_y ? v[0].Y : v[0].X) = NAN_F;
    MemoryModel model(v, f);
    fcnt = 0;
    run(model);
    EXPECT_EQ(fcnt, 0);  // a NaN corner never reaches the queue
    return model->TRIANGLES[0].CULLED;
  };
  EXPECT_EQ(run_with_nan_corner(-9, 0, false), -1);
  EXPECT_EQ(run_with_nan_corner(9, 0, false), 0);
  EXPECT_EQ(run_with_nan_corner(0, -7, true), -1);
  EXPECT_EQ(run_with_nan_corner(0, 7, true), 0);
}

TEST_F(CullingTest, NaNDistanceOnEveryCornerIsCulledByTheNearTest) {
  std::vector<VEC3F> v;
  std::vector<Face> f;
  add_triangle(v, f, 0, 0, NAN_F);
  MemoryModel model(v, f);
  run(model);
  EXPECT_EQ(model->TRIANGLES[0].CULLED, -1);
  EXPECT_EQ(fcnt, 0);
}

TEST_F(CullingTest, ClockwiseAndEdgeOnTrianglesAreNotQueued) {
  MemoryModel clockwise({VEC3F(-1, -1, -10), VEC3F(0, 1, -10), VEC3F(1, -1, -10)}, {{0, 1, 2}});
  run(clockwise);
  EXPECT_EQ(clockwise->TRIANGLES[0].CULLED, 0);  // in view, just facing away
  EXPECT_EQ(fcnt, 0);

  MemoryModel edge_on({VEC3F(-1, 0, -10), VEC3F(0, 0, -10), VEC3F(1, 0, -10)}, {{0, 1, 2}});
  run(edge_on);
  EXPECT_EQ(edge_on->TRIANGLES[0].CULLED, 0);
  EXPECT_EQ(fcnt, 0);

  MemoryModel two_corners_one({VEC3F(-1, -1, -10), VEC3F(1, 1, -10), VEC3F(1, 1, -10)},
                               {{0, 1, 2}});
  run(two_corners_one);
  EXPECT_EQ(fcnt, 0);
}

TEST_F(CullingTest, BeyondTheFarLimitOnlyWhenAllThreeDepthsAre) {
  MemoryModel all_far({VEC3F(-1, -1, -600), VEC3F(1, -1, -600), VEC3F(0, 1, -600)}, {{0, 1, 2}});
  run(all_far);
  EXPECT_EQ(all_far->TRIANGLES[0].CULLED, 0);
  EXPECT_GT(all_far->PVERTICES[0].Z, ZFAR);
  EXPECT_EQ(fcnt, 0);

  MemoryModel one_near({VEC3F(-1, -1, -600), VEC3F(1, -1, -600), VEC3F(0, 1, -400)}, {{0, 1, 2}});
  run(one_near);
  EXPECT_LE(one_near->PVERTICES[2].Z, ZFAR);
  EXPECT_EQ(fcnt, 1);
}

// A triangle that names a vertex the model does not have is culled, never
// read out of bounds.
TEST_F(CullingTest, TriangleNamingAMissingVertexIsCulled) {
  MemoryModel model({VEC3F(-1, -1, -10), VEC3F(1, -1, -10), VEC3F(0, 1, -10)},
                     {{0, 1, 2}, {0, 1, 3}, {0, 0xFFFFFFFFu, 2}});
  run(model);
  EXPECT_EQ(model->TRIANGLES[0].CULLED, 0);
  EXPECT_EQ(model->TRIANGLES[1].CULLED, -1);
  EXPECT_EQ(model->TRIANGLES[2].CULLED, -1);
  EXPECT_EQ(fcnt, 1);
}

}  // namespace
