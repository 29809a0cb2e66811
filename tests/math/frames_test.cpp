// Camera and object frames: LOOKAT, POINTAT, GRAM_SCHMIDT and VMAT.ROTATE.
#include <cmath>
#include <random>

#include "math/nmathf.h"
#include "expect_math.h"

using namespace NMATHF;

namespace {

void expect_orthonormal_right_handed(const VEC3F& a, const VEC3F& b, const VEC3F& c) {
  for (const VEC3F* v : {&a, &b, &c}) EXPECT_NEAR(v->MAGNITUDE(), 1.0f, 1e-6f);
  EXPECT_NEAR(a.DOT(b), 0.0f, 1e-6f);
  EXPECT_NEAR(a.DOT(c), 0.0f, 1e-6f);
  EXPECT_NEAR(b.DOT(c), 0.0f, 1e-6f);
  EXPECT_NEAR(a.CROSS(b).DOT(c), 1.0f, 1e-5f);
}

TEST(Frames, LookAtMovesTheEyeToTheOrigin) {
  MATRIX v(0.0f);
  v.LOOKAT(VEC3F(0, 0, 5), VEC3F(0, 0, 0), VEC3F(0, 1, 0));
  EXPECT_VEC4(VEC3F(0, 0, 0) * v, 0.0f, 0.0f, -5.0f, 1.0f);
  EXPECT_VEC4(VEC3F(1, 0, 0) * v, 1.0f, 0.0f, -5.0f, 1.0f);
  // Any target lies straight ahead along -Z at its distance.
  v.LOOKAT(VEC3F(3, 4, 5), VEC3F(-1, 2, 0), VEC3F(0, 1, 0));
  const VEC4F t = VEC3F(-1, 2, 0) * v;
  EXPECT_NEAR(t.X, 0.0f, 1e-5f);
  EXPECT_NEAR(t.Y, 0.0f, 1e-5f);
  EXPECT_NEAR(t.Z, -VEC3F(3, 4, 5).DISTANCE(VEC3F(-1, 2, 0)), 1e-5f);
}

TEST(Frames, PointAtIsTheInverseOfLookAt) {
  std::mt19937 rng(5);
  std::uniform_real_distribution<float> u(-20.0f, 20.0f);
  for (int n = 0; n < 200; ++n) {
    const VEC3F eye(u(rng), u(rng), u(rng)), target(u(rng), u(rng), u(rng));
    if (std::fabs((eye - target).UNITVEC().Y) > 0.99f) continue;
    MATRIX view(0.0f), object(0.0f);
    view.LOOKAT(eye, target, VEC3F(0, 1, 0));
    object.POINTAT(eye, target);
    const MATRIX i = view * object;
    for (int k = 0; k < 16; ++k) EXPECT_NEAR(i.M[k], k % 5 == 0 ? 1.0f : 0.0f, 1e-4f) << k;
  }
}

TEST(Frames, PointAtStraightUpUsesZAsHelper) {
  MATRIX m(0.0f);
  m.POINTAT(VEC3F(0, 0, 0), VEC3F(0, 10, 0));
  // D = (0, -1, 0) and helper (0, 0, 1): R = -(D x (0, 0, 1)) = (1, 0, 0).
  EXPECT_VEC4(m.RIGHT(), 1.0f, 0.0f, 0.0f, 0.0f);
  EXPECT_VEC4(m.FORWARD(), 0.0f, -1.0f, 0.0f, 0.0f);
  const VMAT f = m;
  expect_orthonormal_right_handed(f.R, f.U, f.F);
}

TEST(Frames, GramSchmidtBuildsAnOrthonormalFrame) {
  std::mt19937 rng(9);
  std::uniform_real_distribution<float> u(-10.0f, 10.0f);
  for (int n = 0; n < 300; ++n) {
    const VEC3F d(u(rng), u(rng), n % 3 == 0 ? 0.0f : u(rng));  // both helper cases
    if (d.DOT(d) < 1e-3f) continue;
    MATRIX m(7.0f);
    m.GRAM_SCHMIDT(d);
    const VMAT f = m;
    expect_orthonormal_right_handed(f.R, f.U, f.F);
    EXPECT_NEAR(f.F.DOT(d.UNITVEC()), 1.0f, 1e-6f);
    EXPECT_VEC4(m.POSITION(), 0.0f, 0.0f, 0.0f, 1.0f);
  }
}

TEST(Frames, VmatRotateReversesUpOfTheDefaultFrame) {
  VMAT v;
  v.ROTATE(0.0f, 0.0f, 0.0f);
  EXPECT_VEC3(v.R, 1.0f, 0.0f, 0.0f);
  EXPECT_VEC3(v.U, 0.0f, -1.0f, 0.0f);
  EXPECT_VEC3(v.F, 0.0f, 0.0f, 1.0f);
  VMAT w(VEC3F(1, 0, 0), VEC3F(0, 1, 0), VEC3F(0, 0, -1), VEC3F(4, 5, 6));
  w.ROTATE(0.0f, 0.0f, 0.0f);
  EXPECT_VEC3(w.R, 1.0f, 0.0f, 0.0f);
  EXPECT_VEC3(w.U, 0.0f, 1.0f, 0.0f);
  EXPECT_VEC3(w.F, 0.0f, 0.0f, -1.0f);
  EXPECT_VEC3(w.P, 4.0f, 5.0f, 6.0f);
}

TEST(Frames, VmatRotateStaysOrthonormalUnderTheCameraTurn) {
  VMAT v(VEC3F(1, 0, 0), VEC3F(0, 1, 0), VEC3F(0, 0, -1), VEC3F(0, 50, 0));
  std::mt19937 rng(13);
  std::uniform_real_distribution<float> a(-0.2f, 0.2f);
  for (int n = 0; n < 1000; ++n) {
    v.ROTATE(a(rng), a(rng), -v.R.Y);
    expect_orthonormal_right_handed(v.R, v.F, v.U);  // U = R x F, R = F x U
  }
  EXPECT_VEC3(v.P, 0.0f, 50.0f, 0.0f);
}

}  // namespace
