// Vectors: the zero-length guard, W taking part, cross products, the double
// operators rounding once, and the text form.
#include <cmath>
#include <limits>
#include <random>

#include "expect_math.h"

using namespace NMATHF;

namespace {

TEST(Vectors, ZeroLengthGuard) {
  VEC3F zero(0, 0, 0);
  EXPECT_EQ(zero.MAGNITUDE(), 1.0f);
  EXPECT_VEC3(zero.UNITVEC(), 0.0f, 0.0f, 0.0f);
  zero.NORMALIZE();
  EXPECT_VEC3(zero, 0.0f, 0.0f, 0.0f);
  EXPECT_EQ(VEC3F(std::nanf(""), 0, 0).MAGNITUDE(), 1.0f);
  EXPECT_EQ(VEC3F(1, 2, 3).DISTANCE(VEC3F(1, 2, 3)), 0.0f);  // no guard there
  EXPECT_EQ(VEC3F(1, 0, 0).ANGLEBETWEEN(VEC3F(0, 0, 0)), 1.5707964f);
  EXPECT_EQ(VEC2F(1.0f, 0.0f).ANGLEBETWEEN(VEC2F(-2.0f, 0.0f)), float(M_PI));
}

TEST(Vectors, LengthsAndWTakingPart) {
  EXPECT_EQ(VEC3F(3, 4, 0).MAGNITUDE(), 5.0f);
  EXPECT_VEC3(VEC3F(3, 4, 0).UNITVEC(), 0.6f, 0.8f, 0.0f);
  VEC4F v(1, 2, 2, 4);
  EXPECT_EQ(v.MAGNITUDE(), 5.0f);
  EXPECT_EQ(VEC4F().DISTANCE(v), 5.0f);  // the default W is 0
  v.NORMALIZE();
  EXPECT_EQ(v.W, 0.8f);
  EXPECT_EQ((VEC4F(1, 2, 3, 4) + 1.0f).W, 5.0f);
}

TEST(Vectors, ConversionsAndHomogeneousSum) {
  EXPECT_VEC3(VEC3F(VEC4F(2, 4, 6, 2)), 2.0f, 4.0f, 6.0f);  // no division by W
  EXPECT_EQ(VEC2F(VEC3F(7, 8, 9)).Y, 8.0f);
  EXPECT_VEC4(VEC3F(1, 2, 3) + 2.0, 1.0f, 2.0f, 3.0f, 2.0f);  // double: a VEC4F
  EXPECT_VEC3(VEC3F(1, 2, 3) + 2.0f, 3.0f, 4.0f, 5.0f);       // single: each part
  EXPECT_VEC3(VEC3F(1, 2, 3) * VEC3F(4, 5, 6), 4.0f, 10.0f, 18.0f);
  EXPECT_VEC3(VEC3F(1, 2, 3) - VEC4F(1, 1, 1, 100), 0.0f, 1.0f, 2.0f);
  EXPECT_TRUE(same_bits((-VEC3F(0, 1, 2)).X, -0.0f));
}

TEST(Vectors, CrossProducts) {
  EXPECT_VEC4(VEC4F(1, 0, 0, 7).CROSS(VEC4F(0, 1, 0, 9)), 0.0f, 0.0f, 1.0f, 7.0f);
  const VEC2F n1 = VEC2F(1.0f, 0.0f).CROSS(VEC2F(3.0f, 0.0f));
  EXPECT_EQ(n1.X, 0.0f);
  EXPECT_EQ(n1.Y, -1.0f);
  const VEC2F n2 = VEC2F(0.0f, 0.0f).CROSS(VEC2F(0.0f, 2.0f));
  EXPECT_EQ(n2.X, 1.0f);
  EXPECT_TRUE(same_bits(n2.Y, -0.0f));
  const VEC2F n3 = VEC2F(5.0f, 5.0f).CROSS(VEC2F(5.0f, 5.0f));  // equal points
  EXPECT_TRUE(same_bits(n3.X, 0.0f) && same_bits(n3.Y, -0.0f));
  EXPECT_EQ(VEC2F(2.0f, 3.0f).CROSS_ANALOG(VEC2F(4.0f, 5.0f)), -2.0f);
}

TEST(Vectors, CrossIsRightHandedAndOrthogonal) {
  EXPECT_VEC3(VEC3F(1, 0, 0).CROSS(VEC3F(0, 1, 0)), 0.0f, 0.0f, 1.0f);
  EXPECT_VEC3(VEC3F(0, 0, 1).CROSS(VEC3F(1, 0, 0)), 0.0f, 1.0f, 0.0f);
  std::mt19937 rng(7);
  std::uniform_real_distribution<float> u(-10.0f, 10.0f);
  for (int i = 0; i < 500; ++i) {
    const VEC3F a(u(rng), u(rng), u(rng)), b(u(rng), u(rng), u(rng));
    const VEC3F c = a.CROSS(b);
    const float tol = a.MAGNITUDE() * b.MAGNITUDE() * 1e-5f;
    EXPECT_NEAR(c.DOT(a) / a.MAGNITUDE(), 0.0f, tol);
    EXPECT_NEAR(c.DOT(b) / b.MAGNITUDE(), 0.0f, tol);
    EXPECT_GE(a.DOT(b.CROSS(c)), 0.0f);  // A . (B x (A x B)) = |A x B|^2
  }
}

TEST(Vectors, DoubleOperatorsRoundOnce) {
  // 721 * (1 / 933) formed in double and rounded once is 0.772776008; with
  // the scalar rounded to single first it would be 0.772775948.
  const double s = 1.0 / 933.0;
  EXPECT_EQ((VEC3F(721, 0, 0) * s).X, 0.772776008f);
  EXPECT_EQ((VEC2F(721.0f, 0.0f) * s).X, 0.772776008f);
  EXPECT_EQ((VEC3F(721, 0, 0) * float(s)).X, 0.772775948f);
  EXPECT_EQ((VEC2F(1.0f, 2.0f) / int32_t(3)).Y, float(2.0 / 3.0));
  EXPECT_EQ((VEC4F(1, 2, 3, 10) / int32_t(3)).W, float(10.0 / 3.0));
  const VEC2F q = VEC2F(1.0f, 1.0f) / int32_t(0);  // IEEE, no error
  EXPECT_EQ(q.X, std::numeric_limits<float>::infinity());
  EXPECT_EQ(q.Y, std::numeric_limits<float>::infinity());
}

TEST(Vectors, Text) {
  EXPECT_EQ(VEC3F(0, 50, 0).to_string(), "x: 0, y: 50, z: 0");
  EXPECT_EQ(VEC2F(0.5f, -3.0f).to_string(), "x: 0.5, y: -3");
  EXPECT_EQ(VEC4F(1, 0.25f, -2, 1).to_string(), "x: 1, y: 0.25, z: -2, w: 1");
  EXPECT_EQ(number_text(0.1f), "0.1");  // seven digits hide the single's tail
  EXPECT_EQ(number_text(1.0f / 3.0f), "0.3333333");
  EXPECT_EQ(number_text(123456789.0f), "1.234568e+08");
  EXPECT_EQ(number_text(1000000.0f), "1000000");
}

}  // namespace
