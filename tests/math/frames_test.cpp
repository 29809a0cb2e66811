// Camera and object frames: LOOKAT, POINTAT, GRAM_SCHMIDT and VMAT.ROTATE.
#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "mathfuncf/mathfuncf.h"

using namespace NMATHF;

namespace {

#define EXPECT_VEC3(V, EX, EY, EZ) \
  do {                              \
    const VEC3F R_ = (V);           \
    EXPECT_EQ(R_.X, EX);            \
    EXPECT_EQ(R_.Y, EY);            \
    EXPECT_EQ(R_.Z, EZ);            \
  } while (0)

void EXPECT_ORTHONORMAL_RIGHT_HANDED(const VEC3F& R, const VEC3F& U, const VEC3F& F) {
  EXPECT_NEAR(R.MAGNITUDE(), 1.0f, 1e-6f);
  EXPECT_NEAR(U.MAGNITUDE(), 1.0f, 1e-6f);
  EXPECT_NEAR(F.MAGNITUDE(), 1.0f, 1e-6f);
  EXPECT_NEAR(R.DOT(U), 0.0f, 1e-6f);
  EXPECT_NEAR(R.DOT(F), 0.0f, 1e-6f);
  EXPECT_NEAR(U.DOT(F), 0.0f, 1e-6f);
  EXPECT_NEAR(R.CROSS(U).DOT(F), 1.0f, 1e-5f);
}

TEST(Frames, LookAtMovesTheEyeToTheOrigin) {
  MATRIX V(0.0f);
  V.LOOKAT(VEC3F(0, 0, 5), VEC3F(0, 0, 0), VEC3F(0, 1, 0));
  EXPECT_VEC3(VEC3F(VEC3F(0, 0, 0) * V), 0.0f, 0.0f, -5.0f);
  EXPECT_VEC3(VEC3F(VEC3F(1, 0, 0) * V), 1.0f, 0.0f, -5.0f);
  EXPECT_VEC3(VEC3F(VEC3F(0, 0, 5) * V), 0.0f, 0.0f, 0.0f);
  EXPECT_EQ(V.M[15], 1.0f);
}

TEST(Frames, LookAtTranslationRow) {
  // Row 3 = (R . V1, -U . V1, -D . V1, 1) with R = D x VUP.
  const VEC3F EYE(3, 4, 5), TARGET(-1, 2, 0), UP(0, 1, 0);
  MATRIX V(0.0f);
  V.LOOKAT(EYE, TARGET, UP);
  const VEC3F D = (EYE - TARGET).UNITVEC();
  const VEC3F R = D.CROSS(UP).UNITVEC();
  EXPECT_NEAR(V.M[12], R.DOT(EYE), 1e-5f);
  EXPECT_NEAR(V.M[14], -D.DOT(EYE), 1e-5f);
  const VEC4F T = TARGET * V;  // the target lies straight ahead, along -Z
  EXPECT_NEAR(T.X, 0.0f, 1e-5f);
  EXPECT_NEAR(T.Y, 0.0f, 1e-5f);
  EXPECT_NEAR(T.Z, -EYE.DISTANCE(TARGET), 1e-5f);
}

TEST(Frames, PointAtIsTheInverseOfLookAt) {
  std::mt19937 RNG(5);
  std::uniform_real_distribution<float> U(-20.0f, 20.0f);
  for (int N = 0; N < 200; ++N) {
    const VEC3F EYE(U(RNG), U(RNG), U(RNG)), TARGET(U(RNG), U(RNG), U(RNG));
    const VEC3F D = (EYE - TARGET).UNITVEC();
    if (std::fabs(D.Y) > 0.99f) continue;
    MATRIX VIEW(0.0f), OBJECT(0.0f);
    VIEW.LOOKAT(EYE, TARGET, VEC3F(0, 1, 0));
    OBJECT.POINTAT(EYE, TARGET);
    const MATRIX I = VIEW * OBJECT;
    for (int K = 0; K < 16; ++K)
      EXPECT_NEAR(I.M[K], K % 5 == 0 ? 1.0f : 0.0f, 1e-4f) << N << " " << K;
  }
}

TEST(Frames, PointAtStraightUpUsesZAsHelper) {
  MATRIX M(0.0f);
  M.POINTAT(VEC3F(0, 0, 0), VEC3F(0, 10, 0));
  // D = (0, -1, 0), helper up (0, 0, 1): R = -(D x (0,0,1)) = (1, 0, 0).
  EXPECT_VEC3(VEC3F(M.RIGHT()), 1.0f, 0.0f, 0.0f);
  EXPECT_VEC3(VEC3F(M.FORWARD()), 0.0f, -1.0f, 0.0f);
  EXPECT_EQ(M.M[15], 1.0f);
  const VMAT F = M;
  EXPECT_ORTHONORMAL_RIGHT_HANDED(F.R, F.U, F.F);
}

TEST(Frames, GramSchmidtBuildsAnOrthonormalFrame) {
  std::mt19937 RNG(9);
  std::uniform_real_distribution<float> U(-10.0f, 10.0f);
  for (int N = 0; N < 300; ++N) {
    const VEC3F D(U(RNG), U(RNG), N % 3 == 0 ? 0.0f : U(RNG));
    if (D.DOT(D) < 1e-3f) continue;
    MATRIX M(7.0f);
    M.GRAM_SCHMIDT(D);
    const VMAT F = M;
    EXPECT_ORTHONORMAL_RIGHT_HANDED(F.R, F.U, F.F);
    EXPECT_NEAR(F.F.DOT(D.UNITVEC()), 1.0f, 1e-6f);
    EXPECT_VEC3(F.P, 0.0f, 0.0f, 0.0f);
    EXPECT_EQ(M.M[3], 0.0f);
    EXPECT_EQ(M.M[15], 1.0f);
  }
  MATRIX Z(0.0f);
  Z.GRAM_SCHMIDT(VEC3F(0, 0, 2));
  EXPECT_VEC3(VEC3F(Z.FORWARD()), 0.0f, 0.0f, 1.0f);
  EXPECT_VEC3(VEC3F(Z.RIGHT()), 0.0f, 1.0f, 0.0f);
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

TEST(Frames, VmatRotateKeepsTheFrameOrthonormal) {
  VMAT V(VEC3F(1, 0, 0), VEC3F(0, 1, 0), VEC3F(0, 0, -1), VEC3F(0, 50, 0));
  std::mt19937 RNG(13);
  std::uniform_real_distribution<float> A(-0.2f, 0.2f);
  for (int N = 0; N < 1000; ++N) {
    V.ROTATE(A(RNG), A(RNG), -V.R.Y);
    // U = R x F and R = F x U after every call.
    EXPECT_ORTHONORMAL_RIGHT_HANDED(V.R, V.F, V.U);
  }
  EXPECT_VEC3(V.P, 0.0f, 50.0f, 0.0f);
}

TEST(Frames, VmatYawTurnsForwardAwayFromRight) {
  VMAT V(VEC3F(1, 0, 0), VEC3F(0, 1, 0), VEC3F(0, 0, -1), VEC3F(0, 0, 0));
  V.ROTATE(0.0f, float(M_PI / 2), 0.0f);
  EXPECT_NEAR(V.F.X, -1.0f, 1e-6f);
  EXPECT_NEAR(V.F.Z, 0.0f, 1e-6f);
  EXPECT_NEAR(V.U.Y, 1.0f, 1e-6f);
}

}  // namespace
