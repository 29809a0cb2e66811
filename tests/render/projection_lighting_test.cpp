// The vertex passes (matrix sums, projection to the screen) and the flat
// lighting, bit for bit.
#include <bit>
#include <cmath>
#include <limits>
#include <memory>

#include "transform/lighting.h"
#include "transform/pass4_projection.h"
#include "transform/pass1_vertices.h"
#include "transform_fixture.h"

namespace {

bool same_bits(float a, float b) { return std::bit_cast<uint32_t>(a) == std::bit_cast<uint32_t>(b); }

// Vertices only (no triangles), with both matrices the identity: clip space is
// model space with w = 1, so the model's vertices are the NDVEC values.
TEST_F(TransformTest, ProjectsNormalisedDeviceCoordinatesToThePixelGrid) {
  PROJECTION_MATRIX = identity();
  MemoryModel model({VEC3F(0, 0, 0), VEC3F(1, 1, 1), VEC3F(-1, -1, -1)}, {});
  run(model);
  const VEC3F* p = model->PVERTICES;
  EXPECT_EQ(p[0].X, 320.0f);
  EXPECT_EQ(p[0].Y, 240.0f);
  EXPECT_EQ(p[0].Z, 251.0f);
  EXPECT_EQ(p[1].X, 641.0f);
  EXPECT_EQ(p[1].Y, -1.0f);
  EXPECT_EQ(p[1].Z, 500.0f);
  EXPECT_EQ(p[2].X, -1.0f);
  EXPECT_EQ(p[2].Y, 481.0f);
  EXPECT_EQ(p[2].Z, 2.0f);
  EXPECT_EQ(fcnt, 0);
}

// The depth is mapped in double precision and rounded once; a single-precision
// product and sum round twice and miss by one unit in the last place here.
TEST_F(TransformTest, DepthMappingIsDoublePrecision) {
  const Viewport vp = make_viewport(320, 240, 480, 2.0f, 500.0f);
  int single_differs = 0;
  for (float nz = -1.0f; nz <= 1.0f; nz += 0.0137f) {
    const VEC3F s = project_to_screen(vp, VEC4F(0.0f, 0.0f, nz, 1.0));
    const float expect = static_cast<float>(249.0 * static_cast<double>(nz) + 251.0);
    ASSERT_TRUE(same_bits(s.Z, expect)) << nz;
    single_differs += !same_bits(s.Z, 249.0f * nz + 251.0f);
  }
  EXPECT_GT(single_differs, 0);  // the case above really tells the two apart
}

// Each vertex goes through M and then the projection with sums taken left to
// right in single precision: the library's VEC3F x MATRIX products agree bit
// for bit, and a sum taken in another order would not (first vertex).
TEST_F(TransformTest, VertexSumsRunLeftToRightInSinglePrecision) {
  MATRIX m = identity();
  m.TRANSLATE(0.3f, -1.7f, -25.0f);
  m.ROTATE(17.0f, -33.0f, 71.0f);
  m.M[0] = 1e8f;
  m.M[8] = -1e8f;
  m.M[12] = 1.0f;
  MemoryModel model({VEC3F(1, 1, 1), VEC3F(0.1f, 2.7f, -3.3f), VEC3F(-7.5f, 0.01f, 4.25f)}, {});
  run(model, m);
  for (uint32_t i = 0; i < 3; ++i) {
    const VEC4F view = model->VERTICES[i] * m;
    const VEC4F clip = VEC3F(view.X, view.Y, view.Z) * PROJECTION_MATRIX;
    const VEC4F& t = model->TVERTICES[i];
    const VEC4F& r = model->RVERTICES[i];
    EXPECT_TRUE(same_bits(t.X, clip.X) && same_bits(t.Y, clip.Y) && same_bits(t.Z, clip.Z) &&
                same_bits(t.W, clip.W)) << i;
    EXPECT_TRUE(same_bits(r.X, t.X) && same_bits(r.Y, t.Y) && same_bits(r.Z, t.Z) &&
                same_bits(r.W, t.W)) << i;
  }
  // ((1e8 + y) - 1e8) + 1 = 1 for the first vertex's view x, so its clip x is
  // the projection's M(0); summed from the right the view x would be 0.
  EXPECT_EQ(model->TVERTICES[0].X, PROJECTION_MATRIX.M[0]);
}

// The lighting test triangle: corners at x = -1, 1, 0 (clip-space x sums to 0)
// at distance 10, with normal (1, 0, 0). The lighting point's x is then 0,
// so the light's direction is the light position itself.
class LightingTest : public TransformTest {
 protected:
  const SORT_STRUCT& light_from(VEC3F light, RGB_STRUCT col = {200, 100, 50},
                                VEC3F normal = VEC3F(1, 0, 0), const MATRIX& m = identity(),
                                float model_z = -10.0f) {
    model = std::make_unique<MemoryModel>(
        std::vector<VEC3F>{VEC3F(-1, 0, model_z), VEC3F(1, 0, model_z), VEC3F(0, 1, model_z)},
        std::vector<Face>{{0, 1, 2}});
    (*model)->TRIANGLES[0].COL = col;
    (*model)->TRIANGLES[0].NORMAL = normal;
    fcnt = 0;
    run(*model, m, light);
    EXPECT_EQ(fcnt, 1);
    return RBUFFER(0);
  }
  std::unique_ptr<MemoryModel> model;
};

// At distance 555 the approximate length gives a cosine of exactly 1.
TEST_F(LightingTest, FacingTheLightKeepsTheFullColour) {
  const SORT_STRUCT& e = light_from(VEC3F(555, 0, 0));
  EXPECT_EQ(e.COL, 0xFFC86432u);
  EXPECT_EQ(e.SHADE, 64);
}

TEST_F(LightingTest, FortyFiveDegreesGivesOneFifth) {
  for (float d : {1.0f, 10.0f, 100.0f}) {
    const SORT_STRUCT& e = light_from(VEC3F(d, d, 0));
    EXPECT_EQ(e.COL, 0xFF000000u | 40u << 16 | 20u << 8 | 10u) << d;
    EXPECT_EQ(e.SHADE, -38) << d;
  }
}

TEST_F(LightingTest, NinetyDegreesIsBlackAndDarkest) {
  const SORT_STRUCT& e = light_from(VEC3F(0, 555, 0));
  EXPECT_EQ(e.COL, 0xFF000000u);
  EXPECT_EQ(e.SHADE, -128);
}

TEST_F(LightingTest, AChannelOf256ComesOutAs255) {
  const SORT_STRUCT& e = light_from(VEC3F(555, 0, 0), {256, 256, 0});
  EXPECT_EQ(e.COL, 0xFFFFFF00u);
}

// A normal a hair longer than 1 takes the cosine just past 1, where the arc
// cosine is undefined; the triangle must still get its full colour.
TEST_F(LightingTest, CosineJustAboveOneStillGivesTheFullColour) {
  const SORT_STRUCT& e = light_from(VEC3F(555, 0, 0), {200, 100, 50},
                                    VEC3F(std::nextafter(1.0f, 2.0f), 0, 0));
  EXPECT_EQ(e.COL, 0xFFC86432u);
  EXPECT_EQ(e.SHADE, 64);
  const SORT_STRUCT& back = light_from(VEC3F(-555, 0, 0), {200, 100, 50},
                                       VEC3F(std::nextafter(1.0f, 2.0f), 0, 0));
  EXPECT_EQ(back.COL, 0xFF000000u);
  EXPECT_EQ(back.SHADE, -128);
}

// The light arrives in view space and is carried into the model's space
// through the inverse of M: the same scene moved by M lights the same.
TEST_F(LightingTest, LightIsCarriedIntoModelSpace) {
  MATRIX m = identity();
  m.TRANSLATE(0.0f, 0.0f, -10.0f);
  const SORT_STRUCT& e = light_from(VEC3F(555, 0, -10), {200, 100, 50}, VEC3F(1, 0, 0), m, 0.0f);
  EXPECT_EQ(e.COL, 0xFFC86432u);
  EXPECT_EQ(e.SHADE, 64);
}

}  // namespace
