// Lines: exact pixel sets, the style mask, the pen position and clipping.
#include "test_support.h"

#include <cfloat>
#include <cmath>
#include <random>
#include <set>

namespace {
constexpr uint32_t INK = 0xFF00FF00u;
using PIXELS = std::set<std::pair<int64_t, int64_t>>;

PIXELS INKED(IMAGE* IMG) {
  PIXELS OUT;
  for (uint32_t Y = 0; Y < IMG->HEIGHT; ++Y)
    for (uint32_t X = 0; X < IMG->WIDTH; ++X)
      if (IMG->ROW(Y)[X] == INK) OUT.insert({X, Y});
  return OUT;
}

void CLEAR(IMAGE* IMG) {
  for (uint32_t Y = 0; Y < IMG->HEIGHT; ++Y)
    for (uint32_t X = 0; X < IMG->WIDTH; ++X) IMG->ROW(Y)[X] = TRANSPARENT_COLOR;
}

int64_t FLOOR_DIV(int64_t N, int64_t D) { return N / D - ((N % D != 0) && ((N < 0) != (D < 0))); }

// The pixels of the integer line inside a W x H image, straight from the rule:
// one pixel per step of the longer axis, both ends included, the other
// coordinate rounded to nearest with halves going to the smaller one, style
// bit 15 on the first end point.
PIXELS REFERENCE(int64_t W, int64_t H, int64_t X1, int64_t Y1, int64_t X2, int64_t Y2,
                 uint16_t STYLE = 0xFFFF) {
  PIXELS OUT;
  const int64_t DX = X2 - X1, DY = Y2 - Y1, N = std::max(std::llabs(DX), std::llabs(DY));
  for (int64_t K = 0; K <= N; ++K) {
    int64_t X = X1, Y = Y1;
    if (N > 0) {  // exact coordinate * N = C * N + D * K; round(Q / N) = ceil((2Q - N) / 2N)
      const auto ROUND = [&](int64_t Q) { return -FLOOR_DIV(-(2 * Q - N), 2 * N); };
      X = std::llabs(DX) == N ? X1 + (DX > 0 ? K : -K) : ROUND(X1 * N + DX * K);
      Y = std::llabs(DX) == N ? ROUND(Y1 * N + DY * K) : Y1 + (DY > 0 ? K : -K);
    }
    if ((STYLE & (0x8000 >> (K & 15))) && X >= 0 && X < W && Y >= 0 && Y < H) OUT.insert({X, Y});
  }
  return OUT;
}

PIXELS LINE_OF(IMAGE* IMG, float X1, float Y1, float X2, float Y2, uint16_t STYLE = 0xFFFF) {
  CLEAR(IMG);
  DRAW_LINE(IMG, X1, Y1, X2, Y2, INK, STYLE);
  return INKED(IMG);
}

TEST(DrawLine, AxisAndDiagonalLinesIncludeBothRoundedEnds) {
  GUARDED_IMAGE IMG(20, 12);
  EXPECT_EQ(LINE_OF(IMG.get(), 2, 3, 9, 3), (PIXELS{{2, 3}, {3, 3}, {4, 3}, {5, 3}, {6, 3}, {7, 3}, {8, 3}, {9, 3}}));
  EXPECT_EQ(LINE_OF(IMG.get(), 4, 5, 4, 1), (PIXELS{{4, 1}, {4, 2}, {4, 3}, {4, 4}, {4, 5}}));
  EXPECT_EQ(LINE_OF(IMG.get(), 5, 4, 1, 0), (PIXELS{{1, 0}, {2, 1}, {3, 2}, {4, 3}, {5, 4}}));
  EXPECT_EQ(LINE_OF(IMG.get(), 7, 7, 7, 7), (PIXELS{{7, 7}}));
  // A tie goes to the smaller coordinate, whichever way the line runs.
  EXPECT_EQ(LINE_OF(IMG.get(), 0, 0, 2, 1), (PIXELS{{0, 0}, {1, 0}, {2, 1}}));
  EXPECT_EQ(LINE_OF(IMG.get(), 2, 1, 0, 0), (PIXELS{{0, 0}, {1, 0}, {2, 1}}));
  // End points round half to even.
  EXPECT_EQ(LINE_OF(IMG.get(), 0.5f, 2.5f, 3.5f, 2.5f), (PIXELS{{0, 2}, {1, 2}, {2, 2}, {3, 2}, {4, 2}}));
  EXPECT_EQ(LINE_OF(IMG.get(), 5.49f, -0.5f, 5.51f, 1.4999f), (PIXELS{{5, 0}, {6, 1}}));
  EXPECT_TRUE(IMG.INTACT());
}

TEST(DrawLine, MatchesTheRuleForEveryDirectionAndOverlap) {
  // Lines inside, across and beside a small odd image, with random styles:
  // clipping must keep exactly the pixels (and the style phase) of the whole line.
  GUARDED_IMAGE IMG(13, 7);
  std::mt19937 RNG(7);
  std::uniform_int_distribution<int> COORD(-20, 32), STYLE(0, 0xFFFF);
  for (int I = 0; I < 4000; ++I) {
    const int X1 = COORD(RNG), Y1 = COORD(RNG) / 2, X2 = COORD(RNG), Y2 = COORD(RNG) / 2;
    const uint16_t S = I % 2 ? uint16_t(STYLE(RNG)) : 0xFFFF;
    ASSERT_EQ(LINE_OF(IMG.get(), X1, Y1, X2, Y2, S), REFERENCE(13, 7, X1, Y1, X2, Y2, S))
        << X1 << "," << Y1 << " -> " << X2 << "," << Y2 << " style " << S;
  }
  EXPECT_TRUE(IMG.INTACT());
}

TEST(DrawLine, StyleMaskStartsWithBit15AndRepeats) {
  GUARDED_IMAGE IMG(40, 3);
  PIXELS DASHES;
  for (int X = 0; X < 40; ++X)
    if (X % 16 < 4) DASHES.insert({X, 1});
  EXPECT_EQ(LINE_OF(IMG.get(), 0, 1, 39, 1, 0xF000), DASHES);
  EXPECT_EQ(LINE_OF(IMG.get(), 3, 0, 3, 2, 0x0000), PIXELS{});
  EXPECT_EQ(LINE_OF(IMG.get(), 39, 2, 0, 2, 0x8001), (PIXELS{{39, 2}, {24, 2}, {23, 2}, {8, 2}, {7, 2}}));
}

TEST(DrawLine, PenContinuesFromTheLastEndPoint) {
  GUARDED_IMAGE IMG(64, 48), OTHER(8, 8);
  DRAW_LINE(IMG.get(), 10, 10, 50, 10, INK);
  DRAW_LINE(OTHER.get(), 1, 1, 6, 6, INK);  // each image keeps its own pen
  DRAW_LINE_TO(IMG.get(), 10, 40, INK);
  DRAW_LINE_TO(IMG.get(), 10, 10, INK);
  PIXELS TRIANGLE = REFERENCE(64, 48, 10, 10, 50, 10);
  for (auto P : REFERENCE(64, 48, 50, 10, 10, 40)) TRIANGLE.insert(P);
  for (auto P : REFERENCE(64, 48, 10, 40, 10, 10)) TRIANGLE.insert(P);
  EXPECT_EQ(INKED(IMG.get()), TRIANGLE);
  EXPECT_TRUE(IMG.INTACT());
  CLEAR(OTHER.get());
  DRAW_LINE_TO(OTHER.get(), 6, 3, INK);
  EXPECT_EQ(INKED(OTHER.get()), (PIXELS{{6, 6}, {6, 5}, {6, 4}, {6, 3}}));
}

TEST(DrawLine, PenMovesEvenWhenNothingIsDrawn) {
  GUARDED_IMAGE IMG(8, 8);
  const float NAN_F = std::nanf("");
  DRAW_LINE(IMG.get(), -100, -100, -50, -50, INK);  // wholly outside
  DRAW_LINE_TO(IMG.get(), 2, 2, INK);
  EXPECT_EQ(INKED(IMG.get()), (PIXELS{{0, 0}, {1, 1}, {2, 2}}));
  CLEAR(IMG.get());
  DRAW_LINE(IMG.get(), 1, 1, NAN_F, 3, INK);  // the NaN is remembered, nothing drawn
  DRAW_LINE_TO(IMG.get(), 5, 5, INK);         // from a NaN pen: nothing
  EXPECT_EQ(INKED(IMG.get()), PIXELS{});
  DRAW_LINE_TO(IMG.get(), 5, 7, INK);
  EXPECT_EQ(INKED(IMG.get()), (PIXELS{{5, 5}, {5, 6}, {5, 7}}));
  FORGET_PEN(IMG.get());  // as when the image is destroyed: a new pen starts at (0, 0)
  CLEAR(IMG.get());
  DRAW_LINE_TO(IMG.get(), 0, 2, INK);
  EXPECT_EQ(INKED(IMG.get()), (PIXELS{{0, 0}, {0, 1}, {0, 2}}));
}

TEST(DrawLine, EndsFarOutsideStillDrawTheRightPixels) {
  GUARDED_IMAGE IMG(37, 23);
  const float INF = INFINITY, BIG = 1e30f;
  PIXELS ROW_5, COLUMN_4, DIAGONAL, HALF_SLOPE, FROM_3_4;
  for (int X = 0; X < 37; ++X) ROW_5.insert({X, 5});
  for (int Y = 0; Y < 23; ++Y) COLUMN_4.insert({4, Y});
  for (int I = 0; I < 23; ++I) DIAGONAL.insert({I, I});
  for (int X = 0; X < 37; ++X) HALF_SLOPE.insert({X, X / 2});  // halves go to the smaller y
  for (int I = 0; I < 19; ++I) FROM_3_4.insert({3 + I, 4 + I});
  EXPECT_EQ(LINE_OF(IMG.get(), -BIG, 5, BIG, 5), ROW_5);
  EXPECT_EQ(LINE_OF(IMG.get(), INF, 5, -INF, 5), ROW_5);
  EXPECT_EQ(LINE_OF(IMG.get(), 4, -INF, 4, 2147483648.0f), COLUMN_4);
  EXPECT_EQ(LINE_OF(IMG.get(), -1e6f, -1e6f, 1e6f, 1e6f), DIAGONAL);
  EXPECT_EQ(LINE_OF(IMG.get(), -BIG, -BIG, BIG, BIG), DIAGONAL);
  // Both ends near 1e30 and the line through the origin with slope 1/2.
  EXPECT_EQ(LINE_OF(IMG.get(), -BIG, -BIG / 2, BIG, BIG / 2), HALF_SLOPE);
  EXPECT_EQ(LINE_OF(IMG.get(), 3, 4, INF, INF), FROM_3_4);
  EXPECT_EQ(LINE_OF(IMG.get(), -BIG, 30, BIG, 30), PIXELS{});
  EXPECT_EQ(LINE_OF(IMG.get(), -1e6f, -2e6f, 1e6f, -1e6f), PIXELS{});
  EXPECT_TRUE(IMG.INTACT());
}

TEST(DrawLine, HostileCoordinatesNeverWriteOutsideTheImage) {
  GUARDED_IMAGE IMG(13, 7);
  const float WILD[] = {std::nanf(""), INFINITY, -INFINITY, 1e30f, -1e30f, FLT_MAX, -FLT_MAX,
                           2147483647.0f, -2147483648.0f, 2147483520.0f, 4194304.0f, -4194305.0f,
                           1e9f, -1e9f, -0.5f, 12.5f, 13.0f, 6.5f, 7.0f, -1.0f, 0.0f, FLT_MIN};
  std::mt19937 RNG(99);
  std::uniform_int_distribution<size_t> PICK(0, std::size(WILD) - 1);
  std::uniform_real_distribution<float> NEAR(-30.0f, 40.0f);
  std::uniform_int_distribution<int> STYLE(0, 0xFFFF), KIND(0, 3);
  const auto COORD = [&] { return KIND(RNG) == 0 ? NEAR(RNG) : WILD[PICK(RNG)]; };
  for (int I = 0; I < 20000; ++I) {
    if (I % 3 == 2)
      DRAW_LINE_TO(IMG.get(), COORD(), COORD(), INK, uint16_t(STYLE(RNG)));
    else
      DRAW_LINE(IMG.get(), COORD(), COORD(), COORD(), COORD(), INK, uint16_t(STYLE(RNG)));
    if (I % 500 == 0) {
      ASSERT_TRUE(IMG.INTACT()) << "after line " << I;
    }
  }
  EXPECT_TRUE(IMG.INTACT());
  for (uint32_t Y = 0; Y < 7; ++Y)
    for (uint32_t X = 0; X < 13; ++X) EXPECT_TRUE(IMG->ROW(Y)[X] == INK || IMG->ROW(Y)[X] == TRANSPARENT_COLOR);
}

TEST(DrawLine, NullAndEmptyTargetsAreLeftAlone) {
  DRAW_LINE(nullptr, 0, 0, 5, 5, INK);
  DRAW_LINE_TO(nullptr, 5, 5, INK);
  GUARDED_IMAGE IMG(4, 4);
  IMG->WIDTH = 0;  // a header that describes no pixels
  DRAW_LINE(IMG.get(), 0, 0, 3, 3, INK);
  IMG->WIDTH = 4;
  EXPECT_TRUE(IMG.INTACT());
  EXPECT_EQ(INKED(IMG.get()), PIXELS{});
}
}  // namespace
