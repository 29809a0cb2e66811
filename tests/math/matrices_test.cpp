// Matrices: products in the row-vector convention, composition order, the
// projection builders (bit-exact), the rigid inverse and the text form.
#include <cmath>
#include <random>

#include "math/matrix.h"
#include "expect_math.h"

using namespace NMATHF;

namespace {

MATRIX IDENTITY() {
  MATRIX I(0.0f);
  I.LOADIDENTITY();
  return I;
}

void EXPECT_IDENTITY(const MATRIX& M, float TOL, float TRANSLATION_TOL) {
  for (int K = 0; K < 16; ++K)
    EXPECT_NEAR(M.M[K], K % 5 == 0 ? 1.0f : 0.0f, K >= 12 ? TRANSLATION_TOL : TOL) << K;
}

TEST(Matrices, PointProductsIgnoreAndDropW) {
  const MATRIX M(VEC3F(1, 0, 0), VEC3F(0, 1, 0), VEC3F(0, 0, 1), VEC3F(5, 6, 7));
  EXPECT_VEC4(VEC3F(1, 2, 3) * M, 6.0f, 8.0f, 10.0f, 1.0f);
  EXPECT_VEC4(VEC4F(1, 2, 3, 0) * M, 6.0f, 8.0f, 10.0f, 1.0f);  // input W unused
  EXPECT_EQ((VEC2F(1.0f, 2.0f) * M).Y, 8.0f);                  // z counts as 0
  MATRIX W2 = IDENTITY();
  W2.M[15] = 2.0f;
  VEC3F V(1, 2, 3);
  V *= W2;  // W = 2 is discarded, no division
  EXPECT_VEC3(V, 1.0f, 2.0f, 3.0f);
}

TEST(Matrices, RightOperandActsFirst) {
  MATRIX A = IDENTITY(), B = IDENTITY();
  A.TRANSLATE(10.0f, 0.0f, 0.0f);
  B.SCALE(2.0f);
  EXPECT_VEC4(VEC3F(1, 0, 0) * (A * B), 12.0f, 0.0f, 0.0f, 1.0f);
  MATRIX S = IDENTITY();  // squaring through *= must read the old entries only
  S.TRANSLATE(1, 2, 3);
  S.SCALE(3.0f);
  S *= S;
  EXPECT_VEC4(VEC3F(1, 1, 1) * S, 13.0f, 17.0f, 21.0f, 1.0f);
  // Entry 0 = ((A0*B0 + A4*B1) + A8*B2) + A12*B3: the 1e8 cancel before the 1.
  MATRIX L(0.0f), R(0.0f);
  L.M[0] = 1e8f, L.M[4] = -1e8f, L.M[8] = 1.0f;
  R.M[0] = R.M[1] = R.M[2] = R.M[3] = 1.0f;
  EXPECT_EQ((L * R).M[0], 1.0f);
}

TEST(Matrices, RotateActsBeforeTheOldTransform) {
  MATRIX M = IDENTITY();
  M.TRANSLATE(VEC3F(1, 2, 3));
  M.ROTATE(0.0f, 0.0f, 90.0f);
  const VEC4F P = VEC3F(1, 0, 0) * M;
  EXPECT_NEAR(P.X, 1.0f, 1e-6f);
  EXPECT_EQ(P.Y, 3.0f);
  EXPECT_EQ(P.Z, 3.0f);
  // Z acts first, then Y, then X: (0,0,1) -Y 90-> (1,0,0) -X 90-> (1,0,0), while
  // X first would give (0,-1,0).
  MATRIX XY = IDENTITY();
  XY.ROTATE(90, 90, 0);
  const VEC4F Q = VEC3F(0, 0, 1) * XY;
  EXPECT_NEAR(Q.X, 1.0f, 1e-6f);
  EXPECT_NEAR(Q.Y, 0.0f, 1e-6f);
}

TEST(Matrices, RotateSkipsZeroAndNanAndAgreesAcrossForms) {
  MATRIX M = IDENTITY();
  M.M[3] = 7.0f;  // not affine: any multiplication would show
  const MATRIX BEFORE = M;
  M.ROTATE(0.0f, 0.0f, 0.0f);
  M.ROTATE(std::nanf(""), 0.0f, 0.0f);
  M.ROTATE(0, 0, 0);
  for (int I = 0; I < 16; ++I) EXPECT_EQ(M.M[I], BEFORE.M[I]) << I;
  MATRIX A = IDENTITY(), B = IDENTITY(), C = IDENTITY();
  A.ROTATE(10.0f, 20.0f, 30.0f);
  B.ROTATE(10, 20, 30);
  C.ROTATE(VEC3F(10, 20, 30));
  for (int I = 0; I < 16; ++I) EXPECT_TRUE(A.M[I] == B.M[I] && A.M[I] == C.M[I]) << I;
}

TEST(Matrices, AxisAngleKeepsTranslationAndNormalizesTheAxis) {
  MATRIX M(5.0f);
  VEC3F AXIS(0, 0, 3);
  M.AXISANGLE(AXIS, 90.0f);
  EXPECT_EQ(AXIS.Z, 1.0f);
  for (int I : {3, 7, 11, 12, 13, 14}) EXPECT_EQ(M.M[I], 5.0f) << I;
  EXPECT_EQ(M.M[15], 1.0f);
  // Clockwise seen from the tip: (1, 0, 0) goes to (2.7e-8, -1, 0).
  EXPECT_VEC4(VEC4F(M.RIGHT()), float(std::cos(90.0 * 0.017453292222222222)), -1.0f, 0.0f,
              5.0f);
  EXPECT_NEAR(M.M[0], 2.7e-8f, 1e-9f);
  VEC3F ZERO(0, 0, 0);  // a zero axis: cos on the diagonal, 0 elsewhere
  M.AXISANGLE(ZERO, 60.0f);
  EXPECT_EQ(M.M[10], float(std::cos(60.0 * 0.017453292222222222)));
  EXPECT_EQ(M.M[9], 0.0f);
}

TEST(Matrices, PerspectiveEntries) {
  MATRIX P(9.0f);
  P.PERSPECTIVE(60.0f, 1.3333334f, 2.0f, 500.0f);
  EXPECT_EQ(P.M[0], 1.2990381f);
  EXPECT_EQ(P.M[5], 1.7320509f);
  EXPECT_EQ(P.M[10], -1.0080321f);
  EXPECT_EQ(P.M[11], -1.0f);
  EXPECT_EQ(P.M[14], -4.016064f);
  for (int I : {1, 2, 3, 4, 6, 7, 8, 9, 12, 13, 15}) EXPECT_EQ(P.M[I], 0.0f) << I;
  const VEC4F NEAR = VEC3F(0, 0, -2) * P, FAR = VEC3F(0, 0, -500) * P;
  EXPECT_NEAR(NEAR.Z / NEAR.W, -1.0f, 1e-6f);
  EXPECT_NEAR(FAR.Z / FAR.W, 1.0f, 1e-6f);
}

TEST(Matrices, InfiniteProjectionEntries) {
  MATRIX P(9.0f);
  const float FOV = 0.5f, ASPECT = 1.3333334f, ZNEAR = 2.0f;
  P.INFINITEPROJECTION(FOV, ASPECT, ZNEAR);
  EXPECT_EQ(P.M[0], 1.3728657f);
  EXPECT_EQ(P.M[5], 1.8304877f);
  EXPECT_EQ(P.M[14], -4.0f);
  EXPECT_EQ(P.M[10], -1.0f);
  EXPECT_EQ(P.M[11], -1.0f);
  for (int I : {1, 2, 3, 4, 6, 7, 8, 9, 12, 13, 15}) EXPECT_EQ(P.M[I], 0.0f) << I;
}

TEST(Matrices, InverseOfRigidTransforms) {
  MATRIX M = IDENTITY();
  M.TRANSLATE(3.0f, 4.0f, 5.0f);
  M.ROTATE(0.0f, 30.0f, 0.0f);
  EXPECT_IDENTITY(M * M.INVERSE(), 1e-6f, 1e-6f);
  M.SCALE(2.0f);  // not inverted: the rotation block comes out as 4 I
  EXPECT_NEAR((M * M.INVERSE()).M[5], 4.0f, 1e-5f);

  std::mt19937 RNG(3);
  std::uniform_real_distribution<float> ANGLE(-180.0f, 180.0f), POS(-100.0f, 100.0f);
  for (int N = 0; N < 300; ++N) {
    MATRIX R = IDENTITY();
    R.TRANSLATE(POS(RNG), POS(RNG), POS(RNG));
    R.ROTATE(ANGLE(RNG), ANGLE(RNG), ANGLE(RNG));
    EXPECT_IDENTITY(R * R.INVERSE(), 1e-6f, 1e-4f);
  }
}

TEST(Matrices, PlanarProjectionCastsOntoThePlane) {
  const MATRIX S = IDENTITY().PLANARPROJECTION(VEC4F(0, 10, 0, 1), VEC4F(0, 1, 0, 0));
  EXPECT_EQ(S.M[0], 10.0f);  // DOT - XX on the diagonal
  EXPECT_EQ(S.M[7], -1.0f);  // -LIGHT.W * PLANE.Y elsewhere
  const VEC4F H = VEC3F(1, 5, 2) * S;  // the shadow of (1, 5, 2) on y = 0
  EXPECT_EQ(H.Y, 0.0f);
  EXPECT_EQ(H.X / H.W, 2.0f);
  EXPECT_EQ(H.Z / H.W, 4.0f);
}

TEST(Matrices, RowsPointerAndFrame) {
  MATRIX M = IDENTITY();
  M.SET_POSITION(VEC3F(1, 2, 3));
  EXPECT_VEC4(M.POSITION(), 1.0f, 2.0f, 3.0f, 1.0f);  // the fourth entry is kept
  M.SET_RIGHT(VEC4F(4, 5, 6, 7));
  EXPECT_VEC4(M.RIGHT(), 4.0f, 5.0f, 6.0f, 7.0f);
  const float* P = M;
  EXPECT_TRUE(P == M.M && M.GETARRAYDATA() == M.M);
  const VMAT F = M;
  EXPECT_VEC3(F.R, 4.0f, 5.0f, 6.0f);
  EXPECT_VEC3(F.P, 1.0f, 2.0f, 3.0f);
}

TEST(Matrices, Text) {
  MATRIX M = IDENTITY();
  M.M[15] = -0.25f;
  const std::string T = M.TO_STRING();
  EXPECT_EQ(T.substr(0, 16), "(0 ) 1\r\n(1 ) 0\r\n");
  // M[10] is on the diagonal; (11) shows the narrower two-digit form with a 0.
  EXPECT_NE(T.find("\r\n(9 ) 0\r\n(10) 1\r\n(11) 0\r\n"), std::string::npos);
  const std::string LAST = "(15) -0.25\r\n";
  EXPECT_EQ(T.substr(T.size() - LAST.size()), LAST);
  size_t LINES = 0;
  for (size_t AT = 0; (AT = T.find("\r\n", AT)) != std::string::npos; AT += 2) ++LINES;
  EXPECT_EQ(LINES, 16u);
}

}  // namespace
