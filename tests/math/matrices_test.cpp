// Matrices: layout, products in the row-vector convention, composition order,
// the projection builders (bit-exact), the rigid inverse and the text form.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>

#include "mathfuncf/matrix.h"

using namespace NMATHF;

namespace {

MATRIX IDENTITY() {
  MATRIX I(0.0f);
  I.LOADIDENTITY();
  return I;
}

#define EXPECT_VEC4(V, EX, EY, EZ, EW) \
  do {                                  \
    const VEC4F R_ = (V);               \
    EXPECT_EQ(R_.X, EX);                \
    EXPECT_EQ(R_.Y, EY);                \
    EXPECT_EQ(R_.Z, EZ);                \
    EXPECT_EQ(R_.W, EW);                \
  } while (0)

TEST(Matrices, FrameConstructorAndPointProducts) {
  const MATRIX M(VEC3F(1, 0, 0), VEC3F(0, 1, 0), VEC3F(0, 0, 1), VEC3F(5, 6, 7));
  EXPECT_VEC4(VEC3F(1, 2, 3) * M, 6.0f, 8.0f, 10.0f, 1.0f);
  EXPECT_VEC4(VEC4F(1, 2, 3, 0) * M, 6.0f, 8.0f, 10.0f, 1.0f);  // input W unused
  const VEC2F P2 = VEC2F(1.0f, 2.0f) * M;  // z counts as 0
  EXPECT_EQ(P2.X, 6.0f);
  EXPECT_EQ(P2.Y, 8.0f);
  VEC4F V4(1, 2, 3, 9);
  V4 *= M;
  EXPECT_VEC4(V4, 6.0f, 8.0f, 10.0f, 1.0f);
}

TEST(Matrices, CompoundVec3ProductDropsW) {
  MATRIX M = IDENTITY();
  M.M[15] = 2.0f;
  VEC3F V(1, 2, 3);
  V *= M;
  EXPECT_EQ(V.X, 1.0f);
  EXPECT_EQ(V.Y, 2.0f);
  EXPECT_EQ(V.Z, 3.0f);
}

TEST(Matrices, RightOperandActsFirst) {
  MATRIX A = IDENTITY();
  A.TRANSLATE(10.0f, 0.0f, 0.0f);
  MATRIX B = IDENTITY();
  B.SCALE(2.0f);
  EXPECT_VEC4(VEC3F(1, 0, 0) * (A * B), 12.0f, 0.0f, 0.0f, 1.0f);
  A *= B;
  EXPECT_VEC4(VEC3F(1, 0, 0) * A, 12.0f, 0.0f, 0.0f, 1.0f);
  // Squaring through *= with itself must read the old entries only.
  MATRIX S = IDENTITY();
  S.TRANSLATE(1, 2, 3);
  S.SCALE(3.0f);
  S *= S;
  EXPECT_VEC4(VEC3F(1, 1, 1) * S, 13.0f, 17.0f, 21.0f, 1.0f);
}

TEST(Matrices, ProductAddsLeftToRight) {
  // Entry 0 = A0*B0 + A4*B1 + A8*B2 + A12*B3; in that order 1e8 cancels first.
  MATRIX A(0.0f), B(0.0f);
  A.M[0] = 1e8f, A.M[4] = -1e8f, A.M[8] = 1.0f, A.M[12] = 0.0f;
  B.M[0] = 1.0f, B.M[1] = 1.0f, B.M[2] = 1.0f, B.M[3] = 1.0f;
  A *= B;
  EXPECT_EQ(A.M[0], 1.0f);
}

TEST(Matrices, TranslateThenRotateTurnsFirst) {
  MATRIX M = IDENTITY();
  M.TRANSLATE(VEC3F(1, 2, 3));
  M.ROTATE(0.0f, 0.0f, 90.0f);
  const VEC4F P = VEC3F(1, 0, 0) * M;
  EXPECT_NEAR(P.X, 1.0f, 1e-6f);
  EXPECT_EQ(P.Y, 3.0f);
  EXPECT_EQ(P.Z, 3.0f);
  MATRIX T2 = IDENTITY();
  T2.TRANSLATE(VEC2F(4.0f, 5.0f));
  T2.TRANSLATE(int32_t(1), int32_t(1), int32_t(1));
  EXPECT_VEC4(VEC3F(0, 0, 0) * T2, 5.0f, 6.0f, 1.0f, 1.0f);
}

TEST(Matrices, RotateSkipsZeroAndNan) {
  MATRIX M = IDENTITY();
  M.M[3] = 7.0f;  // not an affine matrix: any multiplication would show
  const MATRIX BEFORE = M;
  M.ROTATE(0.0f, 0.0f, 0.0f);
  M.ROTATE(std::numeric_limits<float>::quiet_NaN(), 0.0f, 0.0f);
  M.ROTATE(int32_t(0), int32_t(0), int32_t(0));
  for (int I = 0; I < 16; ++I) EXPECT_EQ(M.M[I], BEFORE.M[I]) << I;

  MATRIX Z = IDENTITY();
  Z.ROTATE(0.0f, 0.0f, 90.0f);
  const VEC4F P = VEC3F(1, 0, 0) * Z;
  EXPECT_NEAR(P.X, 0.0f, 1e-7f);
  EXPECT_EQ(P.Y, 1.0f);
  // The integer and vector forms build the same matrix as the single form.
  MATRIX A = IDENTITY(), B = IDENTITY(), C = IDENTITY();
  A.ROTATE(10.0f, 20.0f, 30.0f);
  B.ROTATE(int32_t(10), int32_t(20), int32_t(30));
  C.ROTATE(VEC3F(10, 20, 30));
  for (int I = 0; I < 16; ++I) {
    EXPECT_EQ(A.M[I], B.M[I]) << I;
    EXPECT_EQ(A.M[I], C.M[I]) << I;
  }
}

TEST(Matrices, RotationOrderIsZThenYThenX) {
  MATRIX XYZ = IDENTITY();
  XYZ.ROTATE(90.0f, 90.0f, 0.0f);  // Y acts first on the point, X after it
  MATRIX BYHAND = IDENTITY();
  BYHAND.ROTATE(90.0f, 0.0f, 0.0f);
  BYHAND.ROTATE(0.0f, 90.0f, 0.0f);
  for (int I = 0; I < 16; ++I) EXPECT_EQ(XYZ.M[I], BYHAND.M[I]) << I;
  // (1,0,0) turned +90 about Y goes to (0,0,-1), then +90 about X to (0,1,0).
  const VEC4F P = VEC3F(1, 0, 0) * XYZ;
  EXPECT_NEAR(P.X, 0.0f, 1e-6f);
  EXPECT_NEAR(P.Y, 1.0f, 1e-6f);
  EXPECT_NEAR(P.Z, 0.0f, 1e-6f);
}

TEST(Matrices, AxisAngleKeepsTranslationAndNormalizesTheAxis) {
  MATRIX M(5.0f);  // every entry 5: the untouched ones must stay 5
  VEC3F AXIS(0, 0, 3);
  M.AXISANGLE(AXIS, 90.0f);
  EXPECT_EQ(AXIS.Z, 1.0f);
  for (int I : {3, 7, 11, 12, 13, 14}) EXPECT_EQ(M.M[I], 5.0f) << I;
  EXPECT_EQ(M.M[15], 1.0f);
  // Clockwise seen from the axis tip: (1,0,0) -> (2.7e-8, -1, 0).
  const float TC = float(std::cos(90.0 * 0.017453292222222222));
  EXPECT_EQ(M.M[0], TC);
  EXPECT_NEAR(TC, 2.7e-8f, 1e-9f);
  EXPECT_EQ(M.M[1], -1.0f);
  EXPECT_EQ(M.M[2], 0.0f);
  EXPECT_EQ(M.M[4], 1.0f);
  // A zero axis stays zero: TC on the diagonal, 0 elsewhere.
  VEC3F ZERO(0, 0, 0);
  MATRIX Z = IDENTITY();
  Z.AXISANGLE(ZERO, 60.0f);
  const float C60 = float(std::cos(60.0 * 0.017453292222222222));
  EXPECT_EQ(Z.M[0], C60);
  EXPECT_EQ(Z.M[5], C60);
  EXPECT_EQ(Z.M[10], C60);
  EXPECT_EQ(Z.M[1], 0.0f);
  EXPECT_EQ(Z.M[9], 0.0f);
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
  // Near and far planes land on -1 and +1 after the division by W.
  const VEC4F NEAR = VEC3F(0, 0, -2) * P;
  const VEC4F FAR = VEC3F(0, 0, -500) * P;
  EXPECT_NEAR(NEAR.Z / NEAR.W, -1.0f, 1e-6f);
  EXPECT_NEAR(FAR.Z / FAR.W, 1.0f, 1e-6f);
}

TEST(Matrices, InfiniteProjectionEntries) {
  MATRIX P(9.0f);
  const float FOV = 0.5f, ASPECT = 1.3333334f, ZNEAR = 2.0f;
  P.INFINITEPROJECTION(FOV, ASPECT, ZNEAR);
  EXPECT_EQ(P.M[0], 1.3728657f);
  EXPECT_EQ(P.M[5], 1.8304877f);
  EXPECT_EQ(P.M[10], -1.0f);
  EXPECT_EQ(P.M[11], -1.0f);
  EXPECT_EQ(P.M[14], -4.0f);
  for (int I : {1, 2, 3, 4, 6, 7, 8, 9, 12, 13, 15}) EXPECT_EQ(P.M[I], 0.0f) << I;
}

TEST(Matrices, InverseOfRigidTransforms) {
  MATRIX M = IDENTITY();
  M.TRANSLATE(3.0f, 4.0f, 5.0f);
  M.ROTATE(0.0f, 30.0f, 0.0f);
  const MATRIX I = M * M.INVERSE();
  for (int K = 0; K < 16; ++K) EXPECT_NEAR(I.M[K], K % 5 == 0 ? 1.0f : 0.0f, 1e-6f) << K;
  // With a scaling the rotation block comes out as 4 times the identity.
  M.SCALE(2.0f);
  const MATRIX S = M * M.INVERSE();
  EXPECT_NEAR(S.M[0], 4.0f, 1e-5f);
  EXPECT_NEAR(S.M[5], 4.0f, 1e-5f);
  EXPECT_NEAR(S.M[10], 4.0f, 1e-5f);
}

TEST(Matrices, InverseUndoesRandomRotationsAndTranslations) {
  std::mt19937 RNG(3);
  std::uniform_real_distribution<float> ANGLE(-180.0f, 180.0f), POS(-100.0f, 100.0f);
  for (int N = 0; N < 300; ++N) {
    MATRIX M = IDENTITY();
    M.TRANSLATE(POS(RNG), POS(RNG), POS(RNG));
    M.ROTATE(ANGLE(RNG), ANGLE(RNG), ANGLE(RNG));
    const MATRIX I = M * M.INVERSE();
    for (int K = 0; K < 16; ++K) {
      const float WANT = K % 5 == 0 ? 1.0f : 0.0f;
      EXPECT_NEAR(I.M[K], WANT, K >= 12 ? 1e-4f : 1e-6f) << N << " " << K;
    }
    const VEC3F P(POS(RNG), POS(RNG), POS(RNG));
    const VEC4F BACK = (VEC3F(P * M)) * M.INVERSE();
    EXPECT_NEAR(BACK.X, P.X, 1e-4f);
    EXPECT_NEAR(BACK.Y, P.Y, 1e-4f);
    EXPECT_NEAR(BACK.Z, P.Z, 1e-4f);
  }
}

TEST(Matrices, PlanarProjectionCastsOntoThePlane) {
  const VEC4F LIGHT(0, 10, 0, 1);  // a point light above
  const VEC4F GROUND(0, 1, 0, 0);  // the plane y = 0
  const MATRIX S = IDENTITY().PLANARPROJECTION(LIGHT, GROUND);
  EXPECT_EQ(S.M[0], 10.0f);  // DOT - XX
  EXPECT_EQ(S.M[5], 0.0f);   // DOT - YY
  EXPECT_EQ(S.M[4], -0.0f);  // -LIGHT.X * PLANE.Y
  EXPECT_EQ(S.M[7], -1.0f);  // -LIGHT.W * PLANE.Y
  const VEC4F H = VEC3F(1, 5, 2) * S;  // shadow of (1, 5, 2)
  EXPECT_EQ(H.Y, 0.0f);
  EXPECT_EQ(H.X / H.W, 2.0f);
  EXPECT_EQ(H.Z / H.W, 4.0f);
}

TEST(Matrices, RowsAndPointerAccess) {
  MATRIX M = IDENTITY();
  M.SET_POSITION(VEC3F(1, 2, 3));
  EXPECT_VEC4(M.POSITION(), 1.0f, 2.0f, 3.0f, 1.0f);  // fourth entry kept
  M.SET_RIGHT(VEC4F(4, 5, 6, 7));
  EXPECT_VEC4(M.RIGHT(), 4.0f, 5.0f, 6.0f, 7.0f);
  M.SET_UP(VEC3F(8, 9, 10));
  M.SET_FORWARD(VEC4F(0, 0, 2, 0));
  EXPECT_VEC4(M.UP(), 8.0f, 9.0f, 10.0f, 0.0f);
  EXPECT_VEC4(M.FORWARD(), 0.0f, 0.0f, 2.0f, 0.0f);
  const float* P = M;
  EXPECT_EQ(P, &M.M[0]);
  EXPECT_EQ(M.GETARRAYDATA(), &M.M[0]);
  EXPECT_EQ(P[13], 2.0f);
  const VMAT F = M;
  EXPECT_EQ(F.R.Z, 6.0f);
  EXPECT_EQ(F.U.X, 8.0f);
  EXPECT_EQ(F.F.Z, 2.0f);
  EXPECT_EQ(F.P.Y, 2.0f);
}

TEST(Matrices, Text) {
  const std::string T = IDENTITY().TO_STRING();
  EXPECT_EQ(T.substr(0, 16), "(0 ) 1\r\n(1 ) 0\r\n");
  size_t LINES = 0, AT = 0;
  std::string ELEVENTH, TWELFTH;
  for (size_t END; (END = T.find("\r\n", AT)) != std::string::npos; AT = END + 2) {
    if (++LINES == 11) ELEVENTH = T.substr(AT, END - AT);
    if (LINES == 12) TWELFTH = T.substr(AT, END - AT);
  }
  EXPECT_EQ(LINES, 16u);
  EXPECT_EQ(AT, T.size());  // the last line ends with the break too
  EXPECT_EQ(ELEVENTH, "(10) 1");  // M[10] is on the diagonal
  EXPECT_EQ(TWELFTH, "(11) 0");
  MATRIX P = IDENTITY();
  P.M[15] = -0.25f;
  EXPECT_NE(P.TO_STRING().find("(15) -0.25\r\n"), std::string::npos);
}

}  // namespace
