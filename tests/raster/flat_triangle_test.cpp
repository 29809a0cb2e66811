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
#include "platform/screen.h"
#include "raster/triangles.h"

namespace {
constexpr uint32_t RED = 0xFFFF0000u, BLUE = 0xFF0000FFu;

struct Pt {
  float x, y, z;
};

void draw(Canvas& c, const Pt& a, const Pt& b, const Pt& d, uint32_t col) {
  fill_flat_triangle(c.img, c.zbuf(), tested_scope, a.x, a.y, a.z, b.x, b.y, b.z, d.x, d.y, d.z, col);
}

int32_t count_not(Canvas& c, uint32_t col) {
  int32_t n = 0;
  for (int32_t y = 0; y < c.h; ++y)
    for (int32_t x = 0; x < c.w; ++x) n += c.pixel(x, y) != col;
  return n;
}

// Leftmost and rightmost drawn column of row Y, or {-1, -1}.
std::array<int32_t, 2> row_extent(Canvas& c, int32_t y) {
  std::array<int32_t, 2> e{-1, -1};
  for (int32_t x = 0; x < c.w; ++x)
    if (c.pixel(x, y) != 0) {
      if (e[0] < 0) e[0] = x;
      e[1] = x;
    }
  return e;
}
}  // namespace

class FTRI : public RasterPaths {};
RUN_ON_EVERY_SPAN_PATH(FTRI);

TEST_P(FTRI, RightTriangleCovers55PixelsInEveryCornerOrder) {
  const Pt p[3] = {{10, 10, 2}, {20, 10, 2}, {10, 20, 2}};
  const int orders[6][3] = {{0, 1, 2}, {0, 2, 1}, {1, 0, 2}, {1, 2, 0}, {2, 0, 1}, {2, 1, 0}};
  for (const auto& o : orders) {
    Canvas c(37, 23);  // odd width: rows padded, the pitch is honoured
    draw(c, p[o[0]], p[o[1]], p[o[2]], RED);
    for (int32_t y = 0; y < c.h; ++y)
      for (int32_t x = 0; x < c.w; ++x) {
        // Row 10 holds columns 10..19, row 11 columns 10..18, ... row 19 column 10.
        const bool inside = y >= 10 && y <= 19 && x >= 10 && x <= 29 - y;
        ASSERT_EQ(c.pixel(x, y), inside ? RED : 0u) << x << "," << y;
        ASSERT_EQ(c.Z(x, y), inside ? 0.5f : 0.0f) << x << "," << y;
      }
    EXPECT_EQ(count_not(c, 0), 55);
    EXPECT_TRUE(c.guards_intact());
  }
}

TEST_P(FTRI, SpanEndsRoundHalfToEven) {
  struct Case {
    float left, right;     // vertical edges
    int32_t first, last;   // columns drawn on every row
  };
  // Shifted by half a pixel, 10 -> 10.5 rounds to 10 and 11 -> 11.5 to 12;
  // a right edge at 20 ends at column 19, one at 21 at column 21.
  for (const Case k : {Case{10, 20, 10, 19}, Case{11, 21, 12, 21}}) {
    Canvas c(40, 30);
    // A rectangle of two triangles, so both ends are vertical on every row.
    draw(c, {k.left, 2, 3}, {k.right, 2, 3}, {k.left, 12, 3}, RED);
    draw(c, {k.right, 2, 3}, {k.right, 12, 3}, {k.left, 12, 3}, RED);
    for (int32_t y = 2; y < 12; ++y) {
      const auto e = row_extent(c, y);
      EXPECT_EQ(e[0], k.first) << y;
      EXPECT_EQ(e[1], k.last) << y;
    }
    EXPECT_EQ(row_extent(c, 1)[0], -1);
    EXPECT_EQ(row_extent(c, 12)[0], -1);
  }
}

TEST_P(FTRI, RowsAreThoseWhoseCentresLieInside) {
  // Rows r with r + 0.5 in (top, bottom]: a top at 4.5 leaves row 4 out, one
  // just above takes it in; a bottom at 9.5 takes row 9 in, one just above not.
  struct Case {
    float top, bottom;
    int32_t first, last;
  };
  for (const Case k : {Case{4.5f, 9.5f, 5, 9}, Case{4.49f, 9.49f, 4, 8}}) {
    Canvas c(30, 20);
    draw(c, {2, k.top, 1}, {25, k.top, 1}, {2, k.bottom, 1}, RED);
    draw(c, {25, k.top, 1}, {25, k.bottom, 1}, {2, k.bottom, 1}, RED);
    for (int32_t y = 0; y < c.h; ++y)
      EXPECT_EQ(row_extent(c, y)[0] >= 0, y >= k.first && y <= k.last) << y;
  }
}

TEST_P(FTRI, DegenerateTrianglesDrawNothing) {
  const Pt cases[][3] = {
      {{0, 5.1f, 2}, {10, 5.3f, 2}, {20, 5.4f, 2}},  // one row
      {{5.1f, 0, 2}, {5.3f, 10, 2}, {5.4f, 20, 2}},  // one column
      {{0, 0, 2}, {1, 1, 2}, {2, 2, 2}},             // no area
      {{0, 0, 2}, {10, 10, 2}, {20, 20, 2}},         // no area, many rows and columns
  };
  for (const auto& t : cases) {
    Canvas c(30, 30);
    draw(c, t[0], t[1], t[2], RED);
    EXPECT_EQ(count_not(c, 0), 0);
  }
}

TEST_P(FTRI, DepthTestIsStrict) {
  Canvas c(40, 40);
  draw(c, {5, 5, 2}, {30, 8, 2}, {12, 33, 2}, RED);
  const int32_t drawn = count_not(c, 0);
  ASSERT_GT(drawn, 200);
  draw(c, {5, 5, 2}, {30, 8, 2}, {12, 33, 2}, BLUE);  // equal depth: not drawn
  EXPECT_EQ(count_not(c, 0), drawn);
  EXPECT_EQ(count_not(c, BLUE), c.w * c.h);
}

TEST_P(FTRI, FartherTriangleBehindNearerWritesNothingThere) {
  Canvas near_first(40, 40);
  draw(near_first, {0, 0, 2}, {30, 0, 2}, {0, 30, 2}, RED);
  draw(near_first, {5, 5, 4}, {39, 5, 4}, {5, 39, 4}, BLUE);
  Canvas far_only(40, 40);
  draw(far_only, {5, 5, 4}, {39, 5, 4}, {5, 39, 4}, BLUE);
  Canvas near_only(40, 40);
  draw(near_only, {0, 0, 2}, {30, 0, 2}, {0, 30, 2}, RED);
  for (int32_t y = 0; y < 40; ++y)
    for (int32_t x = 0; x < 40; ++x) {
      if (near_only.pixel(x, y) == RED) {
        EXPECT_EQ(near_first.pixel(x, y), RED);
        EXPECT_EQ(near_first.Z(x, y), 0.5f);
      } else {
        EXPECT_EQ(near_first.pixel(x, y), far_only.pixel(x, y));
        EXPECT_EQ(near_first.Z(x, y), far_only.Z(x, y));
      }
    }
  // Drawn the other way round, the nearer one replaces the farther one.
  draw(far_only, {0, 0, 2}, {30, 0, 2}, {0, 30, 2}, RED);
  for (int32_t y = 0; y < 40; ++y)
    for (int32_t x = 0; x < 40; ++x)
      if (near_only.pixel(x, y) == RED) {
        EXPECT_EQ(far_only.pixel(x, y), RED);
      }
}

TEST_P(FTRI, DepthIsOneOverZInterpolatedAtPixelCentres) {
  Canvas c(70, 70);
  draw(c, {0, 0, 1}, {64, 0, 2}, {0, 64, 4}, RED);
  int32_t checked = 0;
  for (int32_t y = 0; y < c.h; ++y)
    for (int32_t x = 0; x < c.w; ++x) {
      if (c.pixel(x, y) != RED) continue;
      const double cx = x + 0.5, cy = y + 0.5;
      const double expected = 1.0 - 0.5 * cx / 64 - 0.75 * cy / 64;
      EXPECT_NEAR(c.Z(x, y), expected, 2e-6) << x << "," << y;
      ++checked;
    }
  EXPECT_GT(checked, 2000);
}

TEST_P(FTRI, DepthsThatCannotPassDrawNothing) {
  for (const float z : {-1.0f, -500.0f, NAN, INFINITY}) {
    Canvas c(30, 30);
    draw(c, {2, 2, z}, {25, 4, z}, {6, 27, z}, RED);
    EXPECT_EQ(count_not(c, 0), 0) << z;
  }
}

// The same triangle drawn into a large target, moved by (64, 64), and into a
// small one that it overhangs on all four sides. Corners on a half-pixel grid
// with slopes that are exact binary fractions keep every edge position exact,
// so the clipped coverage must match; depths agree up to rounding.
TEST_P(FTRI, ClippingKeepsTheUnclippedPixels) {
  const Pt small_corners[] = {{-20, -16, 2}, {60, 0, 3}, {12, 48, 5}};
  const int32_t ofs = 64;
  Canvas big(200, 200);
  draw(big, {-20 + ofs, -16 + ofs, 2}, {60 + ofs, 0 + ofs, 3}, {12 + ofs, 48 + ofs, 5}, RED);
  Canvas small(37, 29);
  draw(small, small_corners[0], small_corners[1], small_corners[2], RED);
  int32_t inside = 0;
  for (int32_t y = 0; y < small.h; ++y)
    for (int32_t x = 0; x < small.w; ++x) {
      ASSERT_EQ(small.pixel(x, y), big.pixel(x + ofs, y + ofs)) << x << "," << y;
      EXPECT_NEAR(small.Z(x, y), big.Z(x + ofs, y + ofs), 1e-6f);
      inside += small.pixel(x, y) == RED;
    }
  EXPECT_GT(inside, 400);
  // The overhang reaches past every side of the small target.
  EXPECT_EQ(big.pixel(ofs - 1, ofs + 10), RED);
  EXPECT_EQ(big.pixel(ofs + 10, ofs - 1), RED);
  EXPECT_EQ(big.pixel(ofs + small.w, ofs + 5), RED);
  EXPECT_EQ(big.pixel(ofs + 10, ofs + small.h), RED);
  EXPECT_TRUE(small.guards_intact());
}

TEST_P(FTRI, TrianglesOutsideTheTargetTouchNothing) {
  const Pt cases[][3] = {
      {{5, 40, 2}, {30, 45, 2}, {10, 90, 2}},     // below
      {{40, 5, 2}, {90, 8, 2}, {50, 25, 2}},      // right
      {{-50, 5, 2}, {-1, 8, 2}, {-30, 25, 2}},    // left
      {{5, -50, 2}, {30, -45, 2}, {10, -0.6f, 2}}  // above
  };
  for (const auto& t : cases) {
    Canvas c(31, 29);
    draw(c, t[0], t[1], t[2], RED);
    EXPECT_EQ(count_not(c, 0), 0);
    EXPECT_TRUE(c.guards_intact());
  }
}

// A jittered grid, each cell cut along a random diagonal, reaching past the
// target on all sides: every pixel is covered by exactly one triangle.
TEST_P(FTRI, MeshSharingEdgesCoversEveryPixelOnce) {
  const int32_t w = 61, h = 47, cell = 9, cols = 9, rows = 7;
  std::mt19937 rng(12345);
  std::uniform_real_distribution<float> jitter(-2.0f, 2.0f);
  std::vector<std::array<float, 2>> p((cols + 1) * (rows + 1));
  for (int32_t j = 0; j <= rows; ++j)
    for (int32_t i = 0; i <= cols; ++i) {
      const bool border = i == 0 || j == 0 || i == cols || j == rows;
      p[j * (cols + 1) + i] = {i * cell - 10 + (border ? 0 : jitter(rng)),
                               j * cell - 10 + (border ? 0 : jitter(rng))};
    }
  std::vector<int32_t> count(w * h, 0);
  Canvas c(w, h);
  auto draw_counted = [&](int32_t a, int32_t b, int32_t d) {
    c.clear(0, 0.0f);
    fill_flat_triangle(c.img, c.zbuf(), tested_scope, p[a][0], p[a][1], 3, p[b][0], p[b][1], 7, p[d][0], p[d][1], 5, RED);
    for (int32_t y = 0; y < h; ++y)
      for (int32_t x = 0; x < w; ++x) count[y * w + x] += c.pixel(x, y) == RED;
  };
  for (int32_t j = 0; j < rows; ++j)
    for (int32_t i = 0; i < cols; ++i) {
      const int32_t tl = j * (cols + 1) + i, tr = tl + 1, bl = tl + cols + 1, br = bl + 1;
      if (rng() & 1) {
        draw_counted(tl, tr, br);
        draw_counted(tl, br, bl);
      } else {
        draw_counted(tl, tr, bl);
        draw_counted(tr, br, bl);
      }
    }
  for (int32_t y = 0; y < h; ++y)
    for (int32_t x = 0; x < w; ++x) ASSERT_EQ(count[y * w + x], 1) << x << "," << y;
  EXPECT_TRUE(c.guards_intact());
}

TEST_P(FTRI, NullTargetDrawsOnTheScreenPage) {
  ASSERT_EQ(set_graphics_mode(48, 32), 0);
  std::vector<float> depth(48 * 32, 0.0f);
  fill_flat_triangle(nullptr, depth.data(), tested_scope, 10, 10, 2, 20, 10, 2, 10, 20, 2, RED);
  const uint32_t* page = screen_ptr();
  int32_t n = 0;
  for (int32_t y = 0; y < 32; ++y)
    for (int32_t x = 0; x < 48; ++x) {
      const bool inside = y >= 10 && y <= 19 && x >= 10 && x <= 29 - y;
      EXPECT_EQ(page[y * 48 + x], inside ? RED : 0u);
      EXPECT_EQ(depth[y * 48 + x], inside ? 0.5f : 0.0f);
      n += inside;
    }
  EXPECT_EQ(n, 55);
}

TEST_P(FTRI, NoDepthBufferOrUnusableTargetDrawsNothing) {
  Canvas c(20, 20);
  fill_flat_triangle(c.img, nullptr, tested_scope, 1, 1, 2, 15, 1, 2, 1, 15, 2, RED);
  EXPECT_EQ(count_not(c, 0), 0);
  for (const uint32_t pitch : {0u, 76u, 82u}) {  // rows shorter than the width, or not whole pixels
    c.img->PITCH = pitch;
    draw(c, {1, 1, 2}, {15, 1, 2}, {1, 15, 2}, RED);
  }
  c.img->PITCH = c.pitch;
  c.img->WIDTH = 0;
  draw(c, {1, 1, 2}, {15, 1, 2}, {1, 15, 2}, RED);
  c.img->WIDTH = 20;
  c.img->HEIGHT = 0;
  draw(c, {1, 1, 2}, {15, 1, 2}, {1, 15, 2}, RED);
  c.img->HEIGHT = 20;
  EXPECT_EQ(count_not(c, 0), 0);
  EXPECT_TRUE(c.guards_intact());
}
