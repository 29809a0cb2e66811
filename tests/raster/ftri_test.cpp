// The flat rasterizer: coverage, span rounding, rejection, the depth test,
// clipping and edge sharing.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <random>
#include <vector>

#include "canvas.h"
#include "raster/ftri.h"

namespace {
constexpr uint32_t RED = 0xFFFF0000u, BLUE = 0xFF0000FFu;

struct PT {
  float X, Y, Z;
};

void DRAW(CANVAS& C, const PT& A, const PT& B, const PT& D, uint32_t COL) {
  C.USE_DEPTH();
  FTRI(C.IMG, A.X, A.Y, A.Z, B.X, B.Y, B.Z, D.X, D.Y, D.Z, COL);
}

int32_t COUNT_NOT(CANVAS& C, uint32_t COL) {
  int32_t N = 0;
  for (int32_t Y = 0; Y < C.H; ++Y)
    for (int32_t X = 0; X < C.W; ++X) N += C.PIXEL(X, Y) != COL;
  return N;
}

// Leftmost and rightmost drawn column of row Y, or {-1, -1}.
std::array<int32_t, 2> ROW_EXTENT(CANVAS& C, int32_t Y) {
  std::array<int32_t, 2> E{-1, -1};
  for (int32_t X = 0; X < C.W; ++X)
    if (C.PIXEL(X, Y) != 0) {
      if (E[0] < 0) E[0] = X;
      E[1] = X;
    }
  return E;
}
}  // namespace

TEST(FTRI, RightTriangleCovers55PixelsInEveryCornerOrder) {
  const PT P[3] = {{10, 10, 2}, {20, 10, 2}, {10, 20, 2}};
  const int ORDERS[6][3] = {{0, 1, 2}, {0, 2, 1}, {1, 0, 2}, {1, 2, 0}, {2, 0, 1}, {2, 1, 0}};
  for (const auto& O : ORDERS) {
    CANVAS C(37, 23);  // odd width: rows padded, the pitch is honoured
    DRAW(C, P[O[0]], P[O[1]], P[O[2]], RED);
    for (int32_t Y = 0; Y < C.H; ++Y)
      for (int32_t X = 0; X < C.W; ++X) {
        // Row 10 holds columns 10..19, row 11 columns 10..18, ... row 19 column 10.
        const bool INSIDE = Y >= 10 && Y <= 19 && X >= 10 && X <= 29 - Y;
        ASSERT_EQ(C.PIXEL(X, Y), INSIDE ? RED : 0u) << X << "," << Y;
        ASSERT_EQ(C.Z(X, Y), INSIDE ? 0.5f : 0.0f) << X << "," << Y;
      }
    EXPECT_EQ(COUNT_NOT(C, 0), 55);
    EXPECT_TRUE(C.GUARDS_INTACT());
  }
}

TEST(FTRI, SpanEndsRoundHalfToEven) {
  struct CASE {
    float LEFT, RIGHT;     // vertical edges
    int32_t FIRST, LAST;   // columns drawn on every row
  };
  // Shifted by half a pixel, 10 -> 10.5 rounds to 10 and 11 -> 11.5 to 12;
  // a right edge at 20 ends at column 19, one at 21 at column 21.
  for (const CASE K : {CASE{10, 20, 10, 19}, CASE{11, 21, 12, 21}}) {
    CANVAS C(40, 30);
    // A rectangle of two triangles, so both ends are vertical on every row.
    DRAW(C, {K.LEFT, 2, 3}, {K.RIGHT, 2, 3}, {K.LEFT, 12, 3}, RED);
    DRAW(C, {K.RIGHT, 2, 3}, {K.RIGHT, 12, 3}, {K.LEFT, 12, 3}, RED);
    for (int32_t Y = 2; Y < 12; ++Y) {
      const auto E = ROW_EXTENT(C, Y);
      EXPECT_EQ(E[0], K.FIRST) << Y;
      EXPECT_EQ(E[1], K.LAST) << Y;
    }
    EXPECT_EQ(ROW_EXTENT(C, 1)[0], -1);
    EXPECT_EQ(ROW_EXTENT(C, 12)[0], -1);
  }
}

TEST(FTRI, RowsAreThoseWhoseCentresLieInside) {
  // Rows r with r + 0.5 in (top, bottom]: a top at 4.5 leaves row 4 out, one
  // just above takes it in; a bottom at 9.5 takes row 9 in, one just above not.
  struct CASE {
    float TOP, BOTTOM;
    int32_t FIRST, LAST;
  };
  for (const CASE K : {CASE{4.5f, 9.5f, 5, 9}, CASE{4.49f, 9.49f, 4, 8}}) {
    CANVAS C(30, 20);
    DRAW(C, {2, K.TOP, 1}, {25, K.TOP, 1}, {2, K.BOTTOM, 1}, RED);
    DRAW(C, {25, K.TOP, 1}, {25, K.BOTTOM, 1}, {2, K.BOTTOM, 1}, RED);
    for (int32_t Y = 0; Y < C.H; ++Y)
      EXPECT_EQ(ROW_EXTENT(C, Y)[0] >= 0, Y >= K.FIRST && Y <= K.LAST) << Y;
  }
}

TEST(FTRI, DegenerateTrianglesDrawNothing) {
  const PT CASES[][3] = {
      {{0, 5.1f, 2}, {10, 5.3f, 2}, {20, 5.4f, 2}},  // one row
      {{5.1f, 0, 2}, {5.3f, 10, 2}, {5.4f, 20, 2}},  // one column
      {{0, 0, 2}, {1, 1, 2}, {2, 2, 2}},             // no area
      {{0, 0, 2}, {10, 10, 2}, {20, 20, 2}},         // no area, many rows and columns
  };
  for (const auto& T : CASES) {
    CANVAS C(30, 30);
    DRAW(C, T[0], T[1], T[2], RED);
    EXPECT_EQ(COUNT_NOT(C, 0), 0);
  }
}

TEST(FTRI, DepthTestIsStrict) {
  CANVAS C(40, 40);
  DRAW(C, {5, 5, 2}, {30, 8, 2}, {12, 33, 2}, RED);
  const int32_t DRAWN = COUNT_NOT(C, 0);
  ASSERT_GT(DRAWN, 200);
  DRAW(C, {5, 5, 2}, {30, 8, 2}, {12, 33, 2}, BLUE);  // equal depth: not drawn
  EXPECT_EQ(COUNT_NOT(C, 0), DRAWN);
  EXPECT_EQ(COUNT_NOT(C, BLUE), C.W * C.H);
}

TEST(FTRI, FartherTriangleBehindNearerWritesNothingThere) {
  CANVAS NEAR_FIRST(40, 40);
  DRAW(NEAR_FIRST, {0, 0, 2}, {30, 0, 2}, {0, 30, 2}, RED);
  DRAW(NEAR_FIRST, {5, 5, 4}, {39, 5, 4}, {5, 39, 4}, BLUE);
  CANVAS FAR_ONLY(40, 40);
  DRAW(FAR_ONLY, {5, 5, 4}, {39, 5, 4}, {5, 39, 4}, BLUE);
  CANVAS NEAR_ONLY(40, 40);
  DRAW(NEAR_ONLY, {0, 0, 2}, {30, 0, 2}, {0, 30, 2}, RED);
  for (int32_t Y = 0; Y < 40; ++Y)
    for (int32_t X = 0; X < 40; ++X) {
      if (NEAR_ONLY.PIXEL(X, Y) == RED) {
        EXPECT_EQ(NEAR_FIRST.PIXEL(X, Y), RED);
        EXPECT_EQ(NEAR_FIRST.Z(X, Y), 0.5f);
      } else {
        EXPECT_EQ(NEAR_FIRST.PIXEL(X, Y), FAR_ONLY.PIXEL(X, Y));
        EXPECT_EQ(NEAR_FIRST.Z(X, Y), FAR_ONLY.Z(X, Y));
      }
    }
  // Drawn the other way round, the nearer one replaces the farther one.
  DRAW(FAR_ONLY, {0, 0, 2}, {30, 0, 2}, {0, 30, 2}, RED);
  for (int32_t Y = 0; Y < 40; ++Y)
    for (int32_t X = 0; X < 40; ++X)
      if (NEAR_ONLY.PIXEL(X, Y) == RED) {
        EXPECT_EQ(FAR_ONLY.PIXEL(X, Y), RED);
      }
}

TEST(FTRI, DepthIsOneOverZInterpolatedAtPixelCentres) {
  CANVAS C(70, 70);
  DRAW(C, {0, 0, 1}, {64, 0, 2}, {0, 64, 4}, RED);
  int32_t CHECKED = 0;
  for (int32_t Y = 0; Y < C.H; ++Y)
    for (int32_t X = 0; X < C.W; ++X) {
      if (C.PIXEL(X, Y) != RED) continue;
      const double CX = X + 0.5, CY = Y + 0.5;
      const double EXPECTED = 1.0 - 0.5 * CX / 64 - 0.75 * CY / 64;
      EXPECT_NEAR(C.Z(X, Y), EXPECTED, 2e-6) << X << "," << Y;
      ++CHECKED;
    }
  EXPECT_GT(CHECKED, 2000);
}

TEST(FTRI, DepthsThatCannotPassDrawNothing) {
  for (const float Z : {-1.0f, -500.0f, NAN, INFINITY}) {
    CANVAS C(30, 30);
    DRAW(C, {2, 2, Z}, {25, 4, Z}, {6, 27, Z}, RED);
    EXPECT_EQ(COUNT_NOT(C, 0), 0) << Z;
  }
}

// The same triangle drawn into a large target, moved by (64, 64), and into a
// small one that it overhangs on all four sides. Corners on a half-pixel grid
// with slopes that are exact binary fractions keep every edge position exact,
// so the clipped coverage must match; depths agree up to rounding.
TEST(FTRI, ClippingKeepsTheUnclippedPixels) {
  const PT SMALL_CORNERS[] = {{-20, -16, 2}, {60, 0, 3}, {12, 48, 5}};
  const int32_t OFS = 64;
  CANVAS BIG(200, 200);
  DRAW(BIG, {-20 + OFS, -16 + OFS, 2}, {60 + OFS, 0 + OFS, 3}, {12 + OFS, 48 + OFS, 5}, RED);
  CANVAS SMALL(37, 29);
  DRAW(SMALL, SMALL_CORNERS[0], SMALL_CORNERS[1], SMALL_CORNERS[2], RED);
  int32_t INSIDE = 0;
  for (int32_t Y = 0; Y < SMALL.H; ++Y)
    for (int32_t X = 0; X < SMALL.W; ++X) {
      ASSERT_EQ(SMALL.PIXEL(X, Y), BIG.PIXEL(X + OFS, Y + OFS)) << X << "," << Y;
      EXPECT_NEAR(SMALL.Z(X, Y), BIG.Z(X + OFS, Y + OFS), 1e-6f);
      INSIDE += SMALL.PIXEL(X, Y) == RED;
    }
  EXPECT_GT(INSIDE, 400);
  // The overhang reaches past every side of the small target.
  EXPECT_EQ(BIG.PIXEL(OFS - 1, OFS + 10), RED);
  EXPECT_EQ(BIG.PIXEL(OFS + 10, OFS - 1), RED);
  EXPECT_EQ(BIG.PIXEL(OFS + SMALL.W, OFS + 5), RED);
  EXPECT_EQ(BIG.PIXEL(OFS + 10, OFS + SMALL.H), RED);
  EXPECT_TRUE(SMALL.GUARDS_INTACT());
}

TEST(FTRI, TrianglesOutsideTheTargetTouchNothing) {
  const PT CASES[][3] = {
      {{5, 40, 2}, {30, 45, 2}, {10, 90, 2}},     // below
      {{40, 5, 2}, {90, 8, 2}, {50, 25, 2}},      // right
      {{-50, 5, 2}, {-1, 8, 2}, {-30, 25, 2}},    // left
      {{5, -50, 2}, {30, -45, 2}, {10, -0.6f, 2}}  // above
  };
  for (const auto& T : CASES) {
    CANVAS C(31, 29);
    DRAW(C, T[0], T[1], T[2], RED);
    EXPECT_EQ(COUNT_NOT(C, 0), 0);
    EXPECT_TRUE(C.GUARDS_INTACT());
  }
}

// A jittered grid, each cell cut along a random diagonal, reaching past the
// target on all sides: every pixel is covered by exactly one triangle.
TEST(FTRI, MeshSharingEdgesCoversEveryPixelOnce) {
  const int32_t W = 61, H = 47, CELL = 9, COLS = 9, ROWS = 7;
  std::mt19937 RNG(12345);
  std::uniform_real_distribution<float> JITTER(-2.0f, 2.0f);
  std::vector<std::array<float, 2>> P((COLS + 1) * (ROWS + 1));
  for (int32_t J = 0; J <= ROWS; ++J)
    for (int32_t I = 0; I <= COLS; ++I) {
      const bool BORDER = I == 0 || J == 0 || I == COLS || J == ROWS;
      P[J * (COLS + 1) + I] = {I * CELL - 10 + (BORDER ? 0 : JITTER(RNG)),
                               J * CELL - 10 + (BORDER ? 0 : JITTER(RNG))};
    }
  std::vector<int32_t> COUNT(W * H, 0);
  CANVAS C(W, H);
  auto DRAW_COUNTED = [&](int32_t A, int32_t B, int32_t D) {
    C.CLEAR(0, 0.0f);
    FTRI(C.IMG, P[A][0], P[A][1], 3, P[B][0], P[B][1], 7, P[D][0], P[D][1], 5, RED);
    for (int32_t Y = 0; Y < H; ++Y)
      for (int32_t X = 0; X < W; ++X) COUNT[Y * W + X] += C.PIXEL(X, Y) == RED;
  };
  for (int32_t J = 0; J < ROWS; ++J)
    for (int32_t I = 0; I < COLS; ++I) {
      const int32_t TL = J * (COLS + 1) + I, TR = TL + 1, BL = TL + COLS + 1, BR = BL + 1;
      if (RNG() & 1) {
        DRAW_COUNTED(TL, TR, BR);
        DRAW_COUNTED(TL, BR, BL);
      } else {
        DRAW_COUNTED(TL, TR, BL);
        DRAW_COUNTED(TR, BR, BL);
      }
    }
  for (int32_t Y = 0; Y < H; ++Y)
    for (int32_t X = 0; X < W; ++X) ASSERT_EQ(COUNT[Y * W + X], 1) << X << "," << Y;
  EXPECT_TRUE(C.GUARDS_INTACT());
}

TEST(FTRI, NullTargetDrawsOnTheScreenPage) {
  ASSERT_EQ(SET_GRAPHICS_MODE(48, 32), 0);
  std::vector<float> DEPTH(48 * 32, 0.0f);
  float* const SAVED = ZBUFF;
  ZBUFF = DEPTH.data();
  FTRI(nullptr, 10, 10, 2, 20, 10, 2, 10, 20, 2, RED);
  ZBUFF = SAVED;
  const uint32_t* PAGE = SCREEN_PTR();
  int32_t N = 0;
  for (int32_t Y = 0; Y < 32; ++Y)
    for (int32_t X = 0; X < 48; ++X) {
      const bool INSIDE = Y >= 10 && Y <= 19 && X >= 10 && X <= 29 - Y;
      EXPECT_EQ(PAGE[Y * 48 + X], INSIDE ? RED : 0u);
      EXPECT_EQ(DEPTH[Y * 48 + X], INSIDE ? 0.5f : 0.0f);
      N += INSIDE;
    }
  EXPECT_EQ(N, 55);
}

TEST(FTRI, NoDepthBufferOrUnusableTargetDrawsNothing) {
  CANVAS C(20, 20);
  ZBUFF = nullptr;
  FTRI(C.IMG, 1, 1, 2, 15, 1, 2, 1, 15, 2, RED);
  EXPECT_EQ(COUNT_NOT(C, 0), 0);
  for (const uint32_t PITCH : {0u, 76u, 82u}) {  // rows shorter than the width, or not whole pixels
    C.IMG->PITCH = PITCH;
    DRAW(C, {1, 1, 2}, {15, 1, 2}, {1, 15, 2}, RED);
  }
  C.IMG->PITCH = C.PITCH;
  C.IMG->WIDTH = 0;
  DRAW(C, {1, 1, 2}, {15, 1, 2}, {1, 15, 2}, RED);
  C.IMG->WIDTH = 20;
  C.IMG->HEIGHT = 0;
  DRAW(C, {1, 1, 2}, {15, 1, 2}, {1, 15, 2}, RED);
  C.IMG->HEIGHT = 20;
  EXPECT_EQ(COUNT_NOT(C, 0), 0);
  EXPECT_TRUE(C.GUARDS_INTACT());
}
