// Vectors: construction, the zero-length guard, cross products, the exact
// precision of the double operators, and the text form.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <random>

#include "mathfuncf/vec.h"

using namespace NMATHF;

namespace {

bool SAME_BITS(float A, float B) { return std::memcmp(&A, &B, sizeof A) == 0; }

#define EXPECT_VEC3(V, EX, EY, EZ) \
  do {                              \
    const VEC3F R_ = (V);           \
    EXPECT_EQ(R_.X, EX);            \
    EXPECT_EQ(R_.Y, EY);            \
    EXPECT_EQ(R_.Z, EZ);            \
  } while (0)

TEST(Vectors, DefaultsAndConstructors) {
  const VEC4F D4;
  EXPECT_EQ(D4.X, 0.0f);
  EXPECT_EQ(D4.W, 0.0f);  // not 1
  EXPECT_VEC3(VEC3F(), 0.0f, 0.0f, 0.0f);
  const VEC2F D2(0.1, 0.2);  // doubles rounded once to single
  EXPECT_EQ(D2.X, 0.1f);
  EXPECT_EQ(D2.Y, 0.2f);
  EXPECT_EQ(VEC4F(1, 2, 3, 0.1).W, 0.1f);
}

TEST(Vectors, ZeroLengthGuard) {
  VEC3F ZERO(0, 0, 0);
  EXPECT_EQ(ZERO.MAGNITUDE(), 1.0f);
  EXPECT_VEC3(ZERO.UNITVEC(), 0.0f, 0.0f, 0.0f);
  ZERO.NORMALIZE();
  EXPECT_VEC3(ZERO, 0.0f, 0.0f, 0.0f);
  const float NAN_F = std::numeric_limits<float>::quiet_NaN();
  EXPECT_EQ(VEC3F(NAN_F, 0, 0).MAGNITUDE(), 1.0f);
  // DISTANCE has no guard.
  EXPECT_EQ(VEC3F(1, 2, 3).DISTANCE(VEC3F(1, 2, 3)), 0.0f);
}

TEST(Vectors, LengthsIncludeEveryComponent) {
  EXPECT_EQ(VEC3F(3, 4, 0).MAGNITUDE(), 5.0f);
  EXPECT_VEC3(VEC3F(3, 4, 0).UNITVEC(), 0.6f, 0.8f, 0.0f);
  const VEC4F V(1, 2, 2, 4);
  EXPECT_EQ(V.MAGNITUDE(), 5.0f);
  EXPECT_EQ(V.DOT(V), 25.0f);
  EXPECT_EQ(VEC4F(0, 0, 0, 0).DISTANCE(V), 5.0f);
  VEC4F N = V;
  N.NORMALIZE();
  EXPECT_EQ(N.W, 0.8f);
  EXPECT_EQ(VEC2F(3.0f, 4.0f).MAGNITUDE(), 5.0f);
}

TEST(Vectors, ConversionsDropComponents) {
  const VEC3F V3 = VEC3F(VEC4F(2, 4, 6, 2));  // no division by W
  EXPECT_VEC3(V3, 2.0f, 4.0f, 6.0f);
  const VEC2F V2 = VEC2F(VEC3F(7, 8, 9));
  EXPECT_EQ(V2.X, 7.0f);
  EXPECT_EQ(V2.Y, 8.0f);
  const VEC4F H = VEC3F(1, 2, 3) + 2.0;  // double on the right builds a VEC4F
  EXPECT_EQ(H.X, 1.0f);
  EXPECT_EQ(H.Z, 3.0f);
  EXPECT_EQ(H.W, 2.0f);
  const VEC3F S = VEC3F(1, 2, 3) + 2.0f;  // a single adds to every component
  EXPECT_VEC3(S, 3.0f, 4.0f, 5.0f);
}

TEST(Vectors, CrossProducts) {
  const VEC4F C4 = VEC4F(1, 0, 0, 7).CROSS(VEC4F(0, 1, 0, 9));
  EXPECT_EQ(C4.X, 0.0f);
  EXPECT_EQ(C4.Y, 0.0f);
  EXPECT_EQ(C4.Z, 1.0f);
  EXPECT_EQ(C4.W, 7.0f);  // this vector's W

  const VEC2F N1 = VEC2F(1.0f, 0.0f).CROSS(VEC2F(3.0f, 0.0f));
  EXPECT_EQ(N1.X, 0.0f);
  EXPECT_EQ(N1.Y, -1.0f);
  const VEC2F N2 = VEC2F(0.0f, 0.0f).CROSS(VEC2F(0.0f, 2.0f));
  EXPECT_EQ(N2.X, 1.0f);
  EXPECT_TRUE(SAME_BITS(N2.Y, -0.0f));
  const VEC2F N3 = VEC2F(5.0f, 5.0f).CROSS(VEC2F(5.0f, 5.0f));  // equal points
  EXPECT_TRUE(SAME_BITS(N3.X, 0.0f));
  EXPECT_TRUE(SAME_BITS(N3.Y, -0.0f));

  EXPECT_EQ(VEC2F(2.0f, 3.0f).CROSS_ANALOG(VEC2F(4.0f, 5.0f)), -2.0f);
}

TEST(Vectors, CrossIsRightHandedAndOrthogonal) {
  EXPECT_VEC3(VEC3F(1, 0, 0).CROSS(VEC3F(0, 1, 0)), 0.0f, 0.0f, 1.0f);
  EXPECT_VEC3(VEC3F(0, 1, 0).CROSS(VEC3F(0, 0, 1)), 1.0f, 0.0f, 0.0f);
  EXPECT_VEC3(VEC3F(0, 0, 1).CROSS(VEC3F(1, 0, 0)), 0.0f, 1.0f, 0.0f);
  std::mt19937 RNG(7);
  std::uniform_real_distribution<float> U(-10.0f, 10.0f);
  for (int I = 0; I < 500; ++I) {
    const VEC3F A(U(RNG), U(RNG), U(RNG)), B(U(RNG), U(RNG), U(RNG));
    const VEC3F C = A.CROSS(B);
    const float SCALE = A.MAGNITUDE() * B.MAGNITUDE() * 1e-4f + 1e-4f;
    EXPECT_NEAR(C.DOT(A), 0.0f, SCALE * A.MAGNITUDE());
    EXPECT_NEAR(C.DOT(B), 0.0f, SCALE * B.MAGNITUDE());
    // Right-handed: the triple product A . (B x C) = |C|^2 >= 0.
    EXPECT_GE(A.DOT(B.CROSS(C)), -SCALE * C.DOT(C));
  }
}

TEST(Vectors, AngleBetween) {
  EXPECT_EQ(VEC3F(1, 0, 0).ANGLEBETWEEN(VEC3F(0, 0, 0)), 1.5707964f);
  EXPECT_EQ(VEC3F(1, 0, 0).ANGLEBETWEEN(VEC3F(0, 5, 0)), 1.5707964f);
  EXPECT_EQ(VEC3F(2, 0, 0).ANGLEBETWEEN(VEC3F(3, 0, 0)), 0.0f);
  EXPECT_EQ(VEC2F(1.0f, 0.0f).ANGLEBETWEEN(VEC2F(-2.0f, 0.0f)), float(M_PI));
}

TEST(Vectors, ComponentWiseOperators) {
  EXPECT_VEC3(VEC3F(1, 2, 3) * VEC3F(4, 5, 6), 4.0f, 10.0f, 18.0f);
  EXPECT_VEC3(VEC3F(1, 2, 3) * VEC4F(4, 5, 6, 100), 4.0f, 10.0f, 18.0f);
  EXPECT_VEC3(VEC3F(1, 2, 3) - VEC4F(1, 1, 1, 100), 0.0f, 1.0f, 2.0f);
  EXPECT_VEC3(VEC3F(8, 6, 4) / VEC3F(2, 3, 4), 4.0f, 2.0f, 1.0f);
  const VEC3F NEG = -VEC3F(0, 1, -2);
  EXPECT_TRUE(SAME_BITS(NEG.X, -0.0f));
  EXPECT_EQ(NEG.Z, 2.0f);
  VEC3F ACC(1, 1, 1);
  ACC += VEC3F(1, 2, 3);
  ACC *= 2.0f;
  EXPECT_VEC3(ACC, 4.0f, 6.0f, 8.0f);
  VEC4F A4(1, 2, 3, 4);
  A4 *= 0.5f;
  EXPECT_EQ(A4.W, 2.0f);
  const VEC4F Q = (VEC4F(1, 2, 3, 4) + VEC4F(1, 1, 1, 1)) / VEC4F(2, 3, 4, 5);
  EXPECT_EQ(Q.X, 1.0f);
  EXPECT_EQ(Q.W, 1.0f);
  EXPECT_EQ((-VEC4F(1, 2, 3, 4)).W, -4.0f);
}

TEST(Vectors, DoubleOperatorsRoundOnce) {
  // 721 * (1 / 933): formed in double and rounded once it is 0.772776008; with
  // the scalar first rounded to single it would be 0.772775948.
  const double S = 1.0 / 933.0;
  EXPECT_EQ((VEC3F(721, 0, 0) * S).X, 0.772776008f);
  EXPECT_NE((VEC3F(721, 0, 0) * float(S)).X, 0.772776008f);
  EXPECT_EQ((VEC2F(721.0f, 0.0f) * S).X, 0.772776008f);
  EXPECT_EQ((VEC3F(1, 0, 0) / 3.0).X, float(1.0 / 3.0));
  EXPECT_EQ((VEC3F(1, 0, 0) / 3.0f).X, 1.0f / 3.0f);
  EXPECT_EQ((VEC2F(1.0f, 2.0f) / int32_t(3)).Y, float(2.0 / 3.0));
  EXPECT_EQ((VEC4F(1, 2, 3, 10) / int32_t(3)).W, float(10.0 / 3.0));
  EXPECT_EQ((VEC4F(1, 2, 3, 10) / 3.0).W, float(10.0 / 3.0));
}

TEST(Vectors, DivisionByZeroIsIeee) {
  const VEC2F Q = VEC2F(1.0f, 1.0f) / int32_t(0);
  EXPECT_EQ(Q.X, std::numeric_limits<float>::infinity());
  EXPECT_EQ(Q.Y, std::numeric_limits<float>::infinity());
  EXPECT_TRUE(std::isnan((VEC3F(0, 0, 0) / 0.0f).X));
}

TEST(Vectors, Text) {
  EXPECT_EQ(VEC3F(0, 50, 0).TO_STRING(), "x: 0, y: 50, z: 0");
  EXPECT_EQ(VEC2F(0.5f, -3.0f).TO_STRING(), "x: 0.5, y: -3");
  EXPECT_EQ(VEC4F(1, 0.25f, -2, 1).TO_STRING(), "x: 1, y: 0.25, z: -2, w: 1");
  EXPECT_EQ(NUMBER_TEXT(0.1f), "0.1");        // seven digits hide the single's tail
  EXPECT_EQ(NUMBER_TEXT(1.0f / 3.0f), "0.3333333");
  EXPECT_EQ(NUMBER_TEXT(123456789.0f), "1.234568e+08");
  EXPECT_EQ(NUMBER_TEXT(-1e-20f), "-1e-20");
  EXPECT_EQ(NUMBER_TEXT(1000000.0f), "1000000");
}

}  // namespace
