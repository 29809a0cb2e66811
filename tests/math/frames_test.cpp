// Camera and object frames: LOOKAT, POINTAT, GRAM_SCHMIDT and VMAT.ROTATE.
#include <cmath>
#include <random>

#include "math/nmathf.h"
#include "expect_math.h"

using namespace NMATHF;

namespace {

void EXPECT_ORTHONORMAL_RIGHT_HANDED(const VEC3F& A, const VEC3F& B, const VEC3F& C) {
  for (const VEC3F* V : {&A, &B, &C}) EXPECT_NEAR(V->MAGNITUDE(), 1.0f, 1e-6f);
  EXPECT_NEAR(A.DOT(B), 0.0f, 1e-6f);
  EXPECT_NEAR(A.DOT(C), 0.0f, 1e-6f);
  EXPECT_NEAR(B.DOT(C), 0.0f, 1e-6f);
  EXPECT_NEAR(A.CROSS(B).DOT(C), 1.0f, 1e-5f);
}

TEST(Frames, LookAtMovesTheEyeToTheOrigin) {
  MATRIX V(0.0f);
  V.LOOKAT(VEC3F(0, 0, 5), VEC3F(0, 0, 0), VEC3F(0, 1, 0));
  EXPECT_VEC4(VEC3F(0, 0, 0) * V, 0.0f, 0.0f, -5.0f, 1.0f);
  EXPECT_VEC4(VEC3F(1, 0, 0) * V, 1.0f, 0.0f, -5.0f, 1.0f);
  // Any target lies straight ahead along -Z at its distance.
  V.LOOKAT(VEC3F(3, 4, 5), VEC3F(-1, 2, 0), VEC3F(0, 1, 0));
  const VEC4F T = VEC3F(-1, 2, 0) * V;
  EXPECT_NEAR(T.X, 0.0f, 1e-5f);
  EXPECT_NEAR(T.Y, 0.0f, 1e-5f);
  EXPECT_NEAR(T.Z, -VEC3F(3, 4, 5).DISTANCE(VEC3F(-1, 2, 0)), 1e-5f);
}

TEST(Frames, PointAtIsTheInverseOfLookAt) {
  std::mt19937 RNG(5);
  std::uniform_real_distribution<float> U(-20.0f, 20.0f);
  for (int N = 0; N < 200; ++N) {
    const VEC3F EYE(U(RNG), U(RNG), U(RNG)), TARGET(U(RNG), U(RNG), U(RNG));
    if (std::fabs((EYE - TARGET).UNITVEC().Y) > 0.99f) continue;
    MATRIX VIEW(0.0f), OBJECT(0.0f);
    VIEW.LOOKAT(EYE, TARGET, VEC3F(0, 1, 0));
    OBJECT.POINTAT(EYE, TARGET);
    const MATRIX I = VIEW * OBJECT;
    for (int K = 0; K < 16; ++K) EXPECT_NEAR(I.M[K], K % 5 == 0 ? 1.0f : 0.0f, 1e-4f) << K;
  }
}

TEST(Frames, PointAtStraightUpUsesZAsHelper) {
  MATRIX M(0.0f);
  M.POINTAT(VEC3F(0, 0, 0), VEC3F(0, 10, 0));
  // D = (0, -1, 0) and helper (0, 0, 1): R = -(D x (0, 0, 1)) = (1, 0, 0).
  EXPECT_VEC4(M.RIGHT(), 1.0f, 0.0f, 0.0f, 0.0f);
  EXPECT_VEC4(M.FORWARD(), 0.0f, -1.0f, 0.0f, 0.0f);
  const VMAT F = M;
  EXPECT_ORTHONORMAL_RIGHT_HANDED(F.R, F.U, F.F);
}

TEST(Frames, GramSchmidtBuildsAnOrthonormalFrame) {
  std::mt19937 RNG(9);
  std::uniform_real_distribution<float> U(-10.0f, 10.0f);
  for (int N = 0; N < 300; ++N) {
    const VEC3F D(U(RNG), U(RNG), N % 3 == 0 ? 0.0f : U(RNG));  // both helper cases
    if (D.DOT(D) < 1e-3f) continue;
    MATRIX M(7.0f);
    M.GRAM_SCHMIDT(D);
    const VMAT F = M;
    EXPECT_ORTHONORMAL_RIGHT_HANDED(F.R, F.U, F.F);
    EXPECT_NEAR(F.F.DOT(D.UNITVEC()), 1.0f, 1e-6f);
    EXPECT_VEC4(M.POSITION(), 0.0f, 0.0f, 0.0f, 1.0f);
  }
}

TEST(Frames, VmatRotateReversesUpOfTheDefaultFrame) {
  VMAT V;
  V.ROTATE(0.0f, 0.0f, 0.0f);
  EXPECT_VEC3(V.R, 1.0f, 0.0f, 0.0f);
  EXPECT_VEC3(V.U, 0.0f, -1.0f, 0.0f);
  EXPECT_VEC3(V.F, 0.0f, 0.0f, 1.0f);
  VMAT W(VEC3F(1, 0, 0), VEC3F(0, 1, 0), VEC3F(0, 0, -1), VEC3F(4, 5, 6));
  W.ROTATE(0.0f, 0.0f, 0.0f);
  EXPECT_VEC3(W.R, 1.0f, 0.0f, 0.0f);
  EXPECT_VEC3(W.U, 0.0f, 1.0f, 0.0f);
  EXPECT_VEC3(W.F, 0.0f, 0.0f, -1.0f);
  EXPECT_VEC3(W.P, 4.0f, 5.0f, 6.0f);
}

TEST(Frames, VmatRotateStaysOrthonormalUnderTheCameraTurn) {
  VMAT V(VEC3F(1, 0, 0), VEC3F(0, 1, 0), VEC3F(0, 0, -1), VEC3F(0, 50, 0));
  std::mt19937 RNG(13);
  std::uniform_real_distribution<float> A(-0.2f, 0.2f);
  for (int N = 0; N < 1000; ++N) {
    V.ROTATE(A(RNG), A(RNG), -V.R.Y);
    EXPECT_ORTHONORMAL_RIGHT_HANDED(V.R, V.F, V.U);  // U = R x F, R = F x U
  }
  EXPECT_VEC3(V.P, 0.0f, 50.0f, 0.0f);
}

}  // namespace
