// Matrices: products in the row-vector convention, composition order, the
// projection builders (bit-exact), the rigid inverse and the text form.
#include <cmath>
#include <random>

#include "math/matrix.h"
#include "expect_math.h"

using namespace NMATHF;

namespace {

MATRIX identity() {
  MATRIX i(0.0f);
  i.LOADIDENTITY();
  return i;
}

void expect_identity(const MATRIX& m, float tol, float translation_tol) {
  for (int k = 0; k < 16; ++k)
    EXPECT_NEAR(m.M[k], k % 5 == 0 ? 1.0f : 0.0f, k >= 12 ? translation_tol : tol) << k;
}

TEST(Matrices, PointProductsIgnoreAndDropW) {
  const MATRIX m(VEC3F(1, 0, 0), VEC3F(0, 1, 0), VEC3F(0, 0, 1), VEC3F(5, 6, 7));
  EXPECT_VEC4(VEC3F(1, 2, 3) * m, 6.0f, 8.0f, 10.0f, 1.0f);
  EXPECT_VEC4(VEC4F(1, 2, 3, 0) * m, 6.0f, 8.0f, 10.0f, 1.0f);  // input W unused
  EXPECT_EQ((VEC2F(1.0f, 2.0f) * m).Y, 8.0f);                  // z counts as 0
  MATRIX w2 = identity();
  w2.M[15] = 2.0f;
  VEC3F v(1, 2, 3);
  v *= w2;  // W = 2 is discarded, no division
  EXPECT_VEC3(v, 1.0f, 2.0f, 3.0f);
}

TEST(Matrices, RightOperandActsFirst) {
  MATRIX a = identity(), b = identity();
  a.TRANSLATE(10.0f, 0.0f, 0.0f);
  b.SCALE(2.0f);
  EXPECT_VEC4(VEC3F(1, 0, 0) * (a * b), 12.0f, 0.0f, 0.0f, 1.0f);
  MATRIX s = identity();  // squaring through *= must read the old entries only
  s.TRANSLATE(1, 2, 3);
  s.SCALE(3.0f);
  s *= s;
  EXPECT_VEC4(VEC3F(1, 1, 1) * s, 13.0f, 17.0f, 21.0f, 1.0f);
  // Entry 0 = ((A0*B0 + A4*B1) + A8*B2) + A12*B3: the 1e8 cancel before the 1.
  MATRIX l(0.0f), r(0.0f);
  l.M[0] = 1e8f, l.M[4] = -1e8f, l.M[8] = 1.0f;
  r.M[0] = r.M[1] = r.M[2] = r.M[3] = 1.0f;
  EXPECT_EQ((l * r).M[0], 1.0f);
}

TEST(Matrices, RotateActsBeforeTheOldTransform) {
  MATRIX m = identity();
  m.TRANSLATE(VEC3F(1, 2, 3));
  m.ROTATE(0.0f, 0.0f, 90.0f);
  const VEC4F p = VEC3F(1, 0, 0) * m;
  EXPECT_NEAR(p.X, 1.0f, 1e-6f);
  EXPECT_EQ(p.Y, 3.0f);
  EXPECT_EQ(p.Z, 3.0f);
  // Z acts first, then Y, then X: (0,0,1) -Y 90-> (1,0,0) -X 90-> (1,0,0), while
  // X first would give (0,-1,0).
  MATRIX xy = identity();
  xy.ROTATE(90, 90, 0);
  const VEC4F q = VEC3F(0, 0, 1) * xy;
  EXPECT_NEAR(q.X, 1.0f, 1e-6f);
  EXPECT_NEAR(q.Y, 0.0f, 1e-6f);
}

TEST(Matrices, RotateSkipsZeroAndNanAndAgreesAcrossForms) {
  MATRIX m = identity();
  m.M[3] = 7.0f;  // not affine: any multiplication would show
  const MATRIX before = m;
  m.ROTATE(0.0f, 0.0f, 0.0f);
  m.ROTATE(std::nanf(""), 0.0f, 0.0f);
  m.ROTATE(0, 0, 0);
  for (int i = 0; i < 16; ++i) EXPECT_EQ(m.M[i], before.M[i]) << i;
  MATRIX a = identity(), b = identity(), c = identity();
  a.ROTATE(10.0f, 20.0f, 30.0f);
  b.ROTATE(10, 20, 30);
  c.ROTATE(VEC3F(10, 20, 30));
  for (int i = 0; i < 16; ++i) EXPECT_TRUE(a.M[i] == b.M[i] && a.M[i] == c.M[i]) << i;
}

TEST(Matrices, AxisAngleKeepsTranslationAndNormalizesTheAxis) {
  MATRIX m(5.0f);
  VEC3F axis(0, 0, 3);
  m.AXISANGLE(axis, 90.0f);
  EXPECT_EQ(axis.Z, 1.0f);
  for (int i : {3, 7, 11, 12, 13, 14}) EXPECT_EQ(m.M[i], 5.0f) << i;
  EXPECT_EQ(m.M[15], 1.0f);
  // Clockwise seen from the tip: (1, 0, 0) goes to (2.7e-8, -1, 0).
  EXPECT_VEC4(VEC4F(m.RIGHT()), float(std::cos(90.0 * 0.017453292222222222)), -1.0f, 0.0f,
              5.0f);
  EXPECT_NEAR(m.M[0], 2.7e-8f, 1e-9f);
  VEC3F zero(0, 0, 0);  // a zero axis: cos on the diagonal, 0 elsewhere
  m.AXISANGLE(zero, 60.0f);
  EXPECT_EQ(m.M[10], float(std::cos(60.0 * 0.017453292222222222)));
  EXPECT_EQ(m.M[9], 0.0f);
}

TEST(Matrices, PerspectiveEntries) {
  MATRIX p(9.0f);
  p.PERSPECTIVE(60.0f, 1.3333334f, 2.0f, 500.0f);
  EXPECT_EQ(p.M[0], 1.2990381f);
  EXPECT_EQ(p.M[5], 1.7320509f);
  EXPECT_EQ(p.M[10], -1.0080321f);
  EXPECT_EQ(p.M[11], -1.0f);
  EXPECT_EQ(p.M[14], -4.016064f);
  for (int i : {1, 2, 3, 4, 6, 7, 8, 9, 12, 13, 15}) EXPECT_EQ(p.M[i], 0.0f) << i;
  const VEC4F near = VEC3F(0, 0, -2) * p, far = VEC3F(0, 0, -500) * p;
  EXPECT_NEAR(near.Z / near.W, -1.0f, 1e-6f);
  EXPECT_NEAR(far.Z / far.W, 1.0f, 1e-6f);
}

TEST(Matrices, InfiniteProjectionEntries) {
  MATRIX p(9.0f);
  const float fov = 0.5f, aspect = 1.3333334f, znear = 2.0f;
  p.INFINITEPROJECTION(fov, aspect, znear);
  EXPECT_EQ(p.M[0], 1.3728657f);
  EXPECT_EQ(p.M[5], 1.8304877f);
  EXPECT_EQ(p.M[14], -4.0f);
  EXPECT_EQ(p.M[10], -1.0f);
  EXPECT_EQ(p.M[11], -1.0f);
  for (int i : {1, 2, 3, 4, 6, 7, 8, 9, 12, 13, 15}) EXPECT_EQ(p.M[i], 0.0f) << i;
}

TEST(Matrices, InverseOfRigidTransforms) {
  MATRIX m = identity();
  m.TRANSLATE(3.0f, 4.0f, 5.0f);
  m.ROTATE(0.0f, 30.0f, 0.0f);
  expect_identity(m * m.INVERSE(), 1e-6f, 1e-6f);
  m.SCALE(2.0f);  // not inverted: the rotation block comes out as 4 I
  EXPECT_NEAR((m * m.INVERSE()).M[5], 4.0f, 1e-5f);

  std::mt19937 rng(3);
  std::uniform_real_distribution<float> angle(-180.0f, 180.0f), pos(-100.0f, 100.0f);
  for (int n = 0; n < 300; ++n) {
    MATRIX r = identity();
    r.TRANSLATE(pos(rng), pos(rng), pos(rng));
    r.ROTATE(angle(rng), angle(rng), angle(rng));
    expect_identity(r * r.INVERSE(), 1e-6f, 1e-4f);
  }
}

TEST(Matrices, PlanarProjectionCastsOntoThePlane) {
  const MATRIX s = identity().PLANARPROJECTION(VEC4F(0, 10, 0, 1), VEC4F(0, 1, 0, 0));
  EXPECT_EQ(s.M[0], 10.0f);  // DOT - XX on the diagonal
  EXPECT_EQ(s.M[7], -1.0f);  // -LIGHT.W * PLANE.Y elsewhere
  const VEC4F h = VEC3F(1, 5, 2) * s;  // the shadow of (1, 5, 2) on y = 0
  EXPECT_EQ(h.Y, 0.0f);
  EXPECT_EQ(h.X / h.W, 2.0f);
  EXPECT_EQ(h.Z / h.W, 4.0f);
}

TEST(Matrices, RowsPointerAndFrame) {
  MATRIX m = identity();
  m.set_position(VEC3F(1, 2, 3));
  EXPECT_VEC4(m.POSITION(), 1.0f, 2.0f, 3.0f, 1.0f);  // the fourth entry is kept
  m.set_right(VEC4F(4, 5, 6, 7));
  EXPECT_VEC4(m.RIGHT(), 4.0f, 5.0f, 6.0f, 7.0f);
  const float* p = m;
  EXPECT_TRUE(p == m.M && m.GETARRAYDATA() == m.M);
  const VMAT f = m;
  EXPECT_VEC3(f.R, 4.0f, 5.0f, 6.0f);
  EXPECT_VEC3(f.P, 1.0f, 2.0f, 3.0f);
}

TEST(Matrices, Text) {
  MATRIX m = identity();
  m.M[15] = -0.25f;
  const std::string t = m.to_string();
  EXPECT_EQ(t.substr(0, 16), "(0 ) 1\r\n(1 ) 0\r\n");
  // M[10] is on the diagonal; (11) shows the narrower two-digit form with a 0.
  EXPECT_NE(t.find("\r\n(9 ) 0\r\n(10) 1\r\n(11) 0\r\n"), std::string::npos);
  const std::string last = "(15) -0.25\r\n";
  EXPECT_EQ(t.substr(t.size() - last.size()), last);
  size_t lines = 0;
  for (size_t at = 0; (at = t.find("\r\n", at)) != std::string::npos; at += 2) ++lines;
  EXPECT_EQ(lines, 16u);
}

}  // namespace
