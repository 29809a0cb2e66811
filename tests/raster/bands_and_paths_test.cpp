// Drawing band by band, in any order of the bands, and on every SIMD path
// leaves the very bits that drawing whole triangles on the portable path
// leaves: pixels and depths alike, over a depth buffer that already holds
// nearer, farther, equal and not-a-number values.
#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>
#include <memory>
#include <random>
#include <vector>

#include "canvas.h"
#include "raster/triangles.h"

namespace {
struct ImageFree {
  void operator()(IMAGE* i) const { image_destroy(i); }
};
using ImagePtr = std::unique_ptr<IMAGE, ImageFree>;

struct Triangle {
  float p[9];  // x, y, z of each corner
  float t[6];  // u, v of each corner
  int32_t col_scale;
  uint32_t col;
  int texture;  // -1: flat
};

// Triangles of every size around a W x H target: most near it, some reaching
// far above it (the walk then jumps to row 0), some tall and steep.
std::vector<Triangle> random_triangles(uint32_t seed, int32_t w, int32_t h, int32_t count) {
  std::mt19937 rng(seed);
  auto uni = [&](float a, float b) { return std::uniform_real_distribution<float>(a, b)(rng); };
  std::vector<Triangle> out;
  for (int32_t i = 0; i < count; ++i) {
    Triangle tri;
    const float cx = uni(-0.3f * w, 1.3f * w), cy = uni(-0.3f * h, 1.3f * h);
    const float size = rng() % 4 == 0 ? uni(20.0f, 400.0f) : uni(1.0f, 30.0f);
    for (int k = 0; k < 3; ++k) {
      tri.p[3 * k] = cx + uni(-size, size);
      tri.p[3 * k + 1] = cy + uni(-size, size);
      tri.p[3 * k + 2] = rng() % 8 == 0 ? uni(-1.0f, 0.5f) : uni(1.5f, 80.0f);
    }
    if (rng() % 6 == 0) tri.p[1] = -uni(100.0f, 20000.0f);   // far above the target
    if (rng() % 10 == 0) tri.p[7] = h + uni(0.0f, 5000.0f);  // far below it
    for (float& v : tri.t) v = uni(-600.0f, 600.0f);
    tri.col_scale = int32_t(rng() % 321) - 160;
    tri.col = rng() | 0xFF000000u;
    tri.texture = int(rng() % 4) - 1;  // flat, or one of three textures
    out.push_back(tri);
  }
  return out;
}

// The depth buffer and pixels of C filled with a mix that the depth test
// meets in a scene, and some it should never meet.
void prefill(Canvas& c, uint32_t seed) {
  std::mt19937 rng(seed);
  for (int32_t y = 0; y < c.h; ++y)
    for (int32_t x = 0; x < c.w; ++x) {
      c.pixel(x, y) = rng();
      switch (rng() % 6) {
        case 0:
          c.Z(x, y) = std::bit_cast<float>(0x7FC00000u);
          break;  // NaN
        case 1:
          c.Z(x, y) = 1.0f / std::uniform_real_distribution<float>(1.5f, 80.0f)(rng);
          break;
        default:
          c.Z(x, y) = 0.0f;
      }
    }
}

class BandsAndPaths : public RasterPaths {
 protected:
  BandsAndPaths() {
    std::mt19937 rng(5);
    for (uint32_t y = 0; y < 256; ++y)
      for (uint32_t x = 0; x < 256; ++x) textures[0]->row(y)[x] = rng();
    for (uint32_t y = 0; y < 16; ++y)
      for (uint32_t x = 0; x < 32; ++x) textures[1]->row(y)[x] = rng();
    for (uint32_t y = 0; y < 7; ++y)
      for (uint32_t x = 0; x < 5; ++x) textures[2]->row(y)[x] = rng();
  }

  void draw(Canvas& c, const DrawScope& scope, const Triangle& t) {
    const float* p = t.p;
    if (t.texture < 0)
      fill_flat_triangle(c.img, c.zbuf(), scope, p[0], p[1], p[2], p[3], p[4], p[5], p[6], p[7],
                         p[8], t.col);
    else
      fill_textured_triangle(c.img, c.zbuf(), scope, p[0], p[1], p[2], t.t[0], t.t[1], p[3], p[4],
                             p[5], t.t[2], t.t[3], p[6], p[7], p[8], t.t[4], t.t[5], t.col_scale,
                             textures[t.texture].get());
  }

  // Every pixel and depth of A and B, bit for bit.
  static void expect_same(Canvas& a, Canvas& b, const char* what) {
    for (int32_t y = 0; y < a.h; ++y)
      for (int32_t x = 0; x < a.w; ++x) {
        ASSERT_EQ(a.pixel(x, y), b.pixel(x, y)) << what << " at " << x << "," << y;
        ASSERT_EQ(std::bit_cast<uint32_t>(a.Z(x, y)), std::bit_cast<uint32_t>(b.Z(x, y)))
            << what << " at " << x << "," << y;
      }
  }

  // 256 x 256, 32 x 16 (powers of two) and 5 x 7 (addressed by modulo).
  ImagePtr textures[3] = {ImagePtr(image_create(256, 256)), ImagePtr(image_create(32, 16)),
                          ImagePtr(image_create(5, 7))};
};
RUN_ON_EVERY_SPAN_PATH(BandsAndPaths);

TEST_P(BandsAndPaths, WholeTrianglesMatchThePortableSpansBitForBit) {
  const int32_t w = 173, h = 121;
  for (uint32_t seed = 1; seed <= 6; ++seed) {
    const std::vector<Triangle> tris = random_triangles(seed, w, h, 400);
    Canvas reference(w, h), tested(w, h);
    prefill(reference, seed);
    prefill(tested, seed);
    for (const Triangle& t : tris) draw(reference, DrawScope{}, t);
    for (const Triangle& t : tris) draw(tested, tested_scope, t);
    expect_same(reference, tested, "whole");
    EXPECT_TRUE(tested.guards_intact());
  }
}

// Each band walks every triangle in order and draws only its own rows; the
// bands are drawn bottom first, and some are one row high or empty.
TEST_P(BandsAndPaths, BandsInAnyOrderMatchWholeTriangles) {
  const int32_t w = 160, h = 97;
  const std::vector<std::vector<int32_t>> splits = {
      {0, 1, 2, 40, 41, 97}, {0, 13, 13, 50, 96, 97}, {0, 33, 66, 97}, {-5, 7, 60, 200}};
  for (uint32_t seed = 11; seed <= 14; ++seed) {
    const std::vector<Triangle> tris = random_triangles(seed, w, h, 300);
    Canvas reference(w, h);
    prefill(reference, seed);
    for (const Triangle& t : tris) draw(reference, DrawScope{}, t);
    for (const std::vector<int32_t>& cuts : splits) {
      Canvas banded(w, h);
      prefill(banded, seed);
      for (size_t b = cuts.size() - 1; b > 0; --b) {
        const DrawScope scope{RowBand{cuts[b - 1], cuts[b]}, tested_scope.simd};
        for (const Triangle& t : tris) draw(banded, scope, t);
      }
      expect_same(reference, banded, "banded");
      EXPECT_TRUE(banded.guards_intact());
    }
  }
}

// A band touches nothing outside its rows.
TEST_P(BandsAndPaths, ABandLeavesOtherRowsAlone) {
  const int32_t w = 90, h = 70;
  const std::vector<Triangle> tris = random_triangles(21, w, h, 300);
  Canvas before(w, h), banded(w, h);
  prefill(before, 21);
  prefill(banded, 21);
  const RowBand band{30, 42};
  for (const Triangle& t : tris) draw(banded, DrawScope{band, tested_scope.simd}, t);
  int32_t changed = 0;
  for (int32_t y = 0; y < h; ++y)
    for (int32_t x = 0; x < w; ++x) {
      const bool same =
          before.pixel(x, y) == banded.pixel(x, y) &&
          std::bit_cast<uint32_t>(before.Z(x, y)) == std::bit_cast<uint32_t>(banded.Z(x, y));
      if (y < band.first || y >= band.end)
        ASSERT_TRUE(same) << x << "," << y;
      else
        changed += !same;
    }
  EXPECT_GT(changed, 500);
}

}  // namespace
