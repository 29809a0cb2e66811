// Lines: exact pixel sets, the style mask, the pen position and clipping.
#include "test_support.h"
#include "base/image.h"
#include "base/line.h"

#include <cfloat>
#include <cmath>
#include <random>
#include <set>

namespace {
constexpr uint32_t INK = 0xFF00FF00u;
using Pixels = std::set<std::pair<int64_t, int64_t>>;

Pixels inked(IMAGE* img) {
  Pixels out;
  for (uint32_t y = 0; y < img->HEIGHT; ++y)
    for (uint32_t x = 0; x < img->WIDTH; ++x)
      if (img->row(y)[x] == INK) out.insert({x, y});
  return out;
}

void clear(IMAGE* img) {
  for (uint32_t y = 0; y < img->HEIGHT; ++y)
    for (uint32_t x = 0; x < img->WIDTH; ++x) img->row(y)[x] = TRANSPARENT_COLOR;
}

int64_t floor_div(int64_t n, int64_t d) { return n / d - ((n % d != 0) && ((n < 0) != (d < 0))); }

// The pixels of the integer line inside a W x H image, straight from the rule:
// one pixel per step of the longer axis, both ends included, the other
// coordinate rounded to nearest with halves going to the smaller one, style
// bit 15 on the first end point.
Pixels reference(int64_t w, int64_t h, int64_t x1, int64_t y1, int64_t x2, int64_t y2,
                 uint16_t style = 0xFFFF) {
  Pixels out;
  const int64_t dx = x2 - x1, dy = y2 - y1, n = std::max(std::llabs(dx), std::llabs(dy));
  for (int64_t k = 0; k <= n; ++k) {
    int64_t x = x1, y = y1;
    if (n > 0) {  // exact coordinate * N = C * N + D * K; round(Q / N) = ceil((2Q - N) / 2N)
      const auto round = [&](int64_t q) { return -floor_div(-(2 * q - n), 2 * n); };
      x = std::llabs(dx) == n ? x1 + (dx > 0 ? k : -k) : round(x1 * n + dx * k);
      y = std::llabs(dx) == n ? round(y1 * n + dy * k) : y1 + (dy > 0 ? k : -k);
    }
    if ((style & (0x8000 >> (k & 15))) && x >= 0 && x < w && y >= 0 && y < h) out.insert({x, y});
  }
  return out;
}

Pixels line_of(IMAGE* img, float x1, float y1, float x2, float y2, uint16_t style = 0xFFFF) {
  clear(img);
  draw_line(img, x1, y1, x2, y2, INK, style);
  return inked(img);
}

TEST(DrawLine, AxisAndDiagonalLinesIncludeBothRoundedEnds) {
  GuardedImage img(20, 12);
  EXPECT_EQ(line_of(img.get(), 2, 3, 9, 3), (Pixels{{2, 3}, {3, 3}, {4, 3}, {5, 3}, {6, 3}, {7, 3}, {8, 3}, {9, 3}}));
  EXPECT_EQ(line_of(img.get(), 4, 5, 4, 1), (Pixels{{4, 1}, {4, 2}, {4, 3}, {4, 4}, {4, 5}}));
  EXPECT_EQ(line_of(img.get(), 5, 4, 1, 0), (Pixels{{1, 0}, {2, 1}, {3, 2}, {4, 3}, {5, 4}}));
  EXPECT_EQ(line_of(img.get(), 7, 7, 7, 7), (Pixels{{7, 7}}));
  // A tie goes to the smaller coordinate, whichever way the line runs.
  EXPECT_EQ(line_of(img.get(), 0, 0, 2, 1), (Pixels{{0, 0}, {1, 0}, {2, 1}}));
  EXPECT_EQ(line_of(img.get(), 2, 1, 0, 0), (Pixels{{0, 0}, {1, 0}, {2, 1}}));
  // End points round half to even.
  EXPECT_EQ(line_of(img.get(), 0.5f, 2.5f, 3.5f, 2.5f), (Pixels{{0, 2}, {1, 2}, {2, 2}, {3, 2}, {4, 2}}));
  EXPECT_EQ(line_of(img.get(), 5.49f, -0.5f, 5.51f, 1.4999f), (Pixels{{5, 0}, {6, 1}}));
  EXPECT_TRUE(img.intact());
}

TEST(DrawLine, MatchesTheRuleForEveryDirectionAndOverlap) {
  // Lines inside, across and beside a small odd image, with random styles:
  // clipping must keep exactly the pixels (and the style phase) of the whole line.
  GuardedImage img(13, 7);
  std::mt19937 rng(7);
  std::uniform_int_distribution<int> coord(-20, 32), style(0, 0xFFFF);
  for (int i = 0; i < 4000; ++i) {
    const int x1 = coord(rng), y1 = coord(rng) / 2, x2 = coord(rng), y2 = coord(rng) / 2;
    const uint16_t s = i % 2 ? uint16_t(style(rng)) : 0xFFFF;
    ASSERT_EQ(line_of(img.get(), x1, y1, x2, y2, s), reference(13, 7, x1, y1, x2, y2, s))
        << x1 << "," << y1 << " -> " << x2 << "," << y2 << " style " << s;
  }
  EXPECT_TRUE(img.intact());
}

TEST(DrawLine, StyleMaskStartsWithBit15AndRepeats) {
  GuardedImage img(40, 3);
  Pixels dashes;
  for (int x = 0; x < 40; ++x)
    if (x % 16 < 4) dashes.insert({x, 1});
  EXPECT_EQ(line_of(img.get(), 0, 1, 39, 1, 0xF000), dashes);
  EXPECT_EQ(line_of(img.get(), 3, 0, 3, 2, 0x0000), Pixels{});
  EXPECT_EQ(line_of(img.get(), 39, 2, 0, 2, 0x8001), (Pixels{{39, 2}, {24, 2}, {23, 2}, {8, 2}, {7, 2}}));
}

TEST(DrawLine, PenContinuesFromTheLastEndPoint) {
  GuardedImage img(64, 48), other(8, 8);
  LinePen pen, other_pen;
  draw_line(img.get(), pen, 10, 10, 50, 10, INK);
  draw_line(other.get(), other_pen, 1, 1, 6, 6, INK);  // each pen is its own
  draw_line(other.get(), 0, 0, 3, 3, INK);              // a line without a pen moves none
  draw_line_to(img.get(), pen, 10, 40, INK);
  draw_line_to(img.get(), pen, 10, 10, INK);
  Pixels triangle = reference(64, 48, 10, 10, 50, 10);
  for (auto p : reference(64, 48, 50, 10, 10, 40)) triangle.insert(p);
  for (auto p : reference(64, 48, 10, 40, 10, 10)) triangle.insert(p);
  EXPECT_EQ(inked(img.get()), triangle);
  EXPECT_TRUE(img.intact());
  clear(other.get());
  draw_line_to(other.get(), other_pen, 6, 3, INK);
  EXPECT_EQ(inked(other.get()), (Pixels{{6, 6}, {6, 5}, {6, 4}, {6, 3}}));
}

TEST(DrawLine, PenMovesEvenWhenNothingIsDrawn) {
  GuardedImage img(8, 8);
  const float nan_f = std::nanf("");
  LinePen pen;
  draw_line(img.get(), pen, -100, -100, -50, -50, INK);  // wholly outside
  draw_line_to(img.get(), pen, 2, 2, INK);
  EXPECT_EQ(inked(img.get()), (Pixels{{0, 0}, {1, 1}, {2, 2}}));
  clear(img.get());
  draw_line(img.get(), pen, 1, 1, nan_f, 3, INK);  // the NaN is remembered, nothing drawn
  draw_line_to(img.get(), pen, 5, 5, INK);         // from a NaN pen: nothing
  EXPECT_EQ(inked(img.get()), Pixels{});
  draw_line_to(img.get(), pen, 5, 7, INK);
  EXPECT_EQ(inked(img.get()), (Pixels{{5, 5}, {5, 6}, {5, 7}}));
  draw_line(nullptr, pen, 1, 1, 6, 4, INK);  // no target: the pen still moves
  EXPECT_EQ(pen.x, 6.0f);
  EXPECT_EQ(pen.y, 4.0f);
  LinePen fresh;  // a new pen starts at (0, 0)
  clear(img.get());
  draw_line_to(img.get(), fresh, 0, 2, INK);
  EXPECT_EQ(inked(img.get()), (Pixels{{0, 0}, {0, 1}, {0, 2}}));
}

TEST(DrawLine, EndsFarOutsideStillDrawTheRightPixels) {
  GuardedImage img(37, 23);
  const float inf = INFINITY, big = 1e30f;
  Pixels row_5, column_4, diagonal, half_slope, from_3_4;
  for (int x = 0; x < 37; ++x) row_5.insert({x, 5});
  for (int y = 0; y < 23; ++y) column_4.insert({4, y});
  for (int i = 0; i < 23; ++i) diagonal.insert({i, i});
  for (int x = 0; x < 37; ++x) half_slope.insert({x, x / 2});  // halves go to the smaller y
  for (int i = 0; i < 19; ++i) from_3_4.insert({3 + i, 4 + i});
  EXPECT_EQ(line_of(img.get(), -big, 5, big, 5), row_5);
  EXPECT_EQ(line_of(img.get(), inf, 5, -inf, 5), row_5);
  EXPECT_EQ(line_of(img.get(), 4, -inf, 4, 2147483648.0f), column_4);
  EXPECT_EQ(line_of(img.get(), -1e6f, -1e6f, 1e6f, 1e6f), diagonal);
  EXPECT_EQ(line_of(img.get(), -big, -big, big, big), diagonal);
  // Both ends near 1e30 and the line through the origin with slope 1/2.
  EXPECT_EQ(line_of(img.get(), -big, -big / 2, big, big / 2), half_slope);
  EXPECT_EQ(line_of(img.get(), 3, 4, inf, inf), from_3_4);
  EXPECT_EQ(line_of(img.get(), -big, 30, big, 30), Pixels{});
  EXPECT_EQ(line_of(img.get(), -1e6f, -2e6f, 1e6f, -1e6f), Pixels{});
  EXPECT_TRUE(img.intact());
}

TEST(DrawLine, HostileCoordinatesNeverWriteOutsideTheImage) {
  GuardedImage img(13, 7);
  const float wild[] = {std::nanf(""), INFINITY, -INFINITY, 1e30f, -1e30f, FLT_MAX, -FLT_MAX,
                           2147483647.0f, -2147483648.0f, 2147483520.0f, 4194304.0f, -4194305.0f,
                           1e9f, -1e9f, -0.5f, 12.5f, 13.0f, 6.5f, 7.0f, -1.0f, 0.0f, FLT_MIN};
  std::mt19937 rng(99);
  std::uniform_int_distribution<size_t> pick(0, std::size(wild) - 1);
  std::uniform_real_distribution<float> near(-30.0f, 40.0f);
  std::uniform_int_distribution<int> style(0, 0xFFFF), kind(0, 3);
  const auto coord = [&] { return kind(rng) == 0 ? near(rng) : wild[pick(rng)]; };
  LinePen pen;
  for (int i = 0; i < 20000; ++i) {
    if (i % 3 == 2)
      draw_line_to(img.get(), pen, coord(), coord(), INK, uint16_t(style(rng)));
    else
      draw_line(img.get(), pen, coord(), coord(), coord(), coord(), INK, uint16_t(style(rng)));
    if (i % 500 == 0) {
      ASSERT_TRUE(img.intact()) << "after line " << i;
    }
  }
  EXPECT_TRUE(img.intact());
  for (uint32_t y = 0; y < 7; ++y)
    for (uint32_t x = 0; x < 13; ++x) EXPECT_TRUE(img->row(y)[x] == INK || img->row(y)[x] == TRANSPARENT_COLOR);
}

TEST(DrawLine, NullAndEmptyTargetsAreLeftAlone) {
  draw_line(nullptr, 0, 0, 5, 5, INK);
  LinePen pen;
  draw_line_to(nullptr, pen, 5, 5, INK);
  GuardedImage img(4, 4);
  img->WIDTH = 0;  // a header that describes no pixels
  draw_line(img.get(), 0, 0, 3, 3, INK);
  img->WIDTH = 4;
  EXPECT_TRUE(img.intact());
  EXPECT_EQ(inked(img.get()), Pixels{});
}
}  // namespace
