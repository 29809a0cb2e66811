// The textured rasterizer: same coverage and depths as the flat one, texel
// addressing and wrapping, brightening and darkening, perspective.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <memory>
#include <random>

#include "canvas.h"
#include "raster/triangles.h"

namespace {
struct ImageFree {
  void operator()(IMAGE* i) const { image_destroy(i); }
};
using TexturePtr = std::unique_ptr<IMAGE, ImageFree>;

// A texture whose texel (u, v) holds FILL(u, v).
template <class F>
TexturePtr make_texture(int32_t w, int32_t h, F fill) {
  TexturePtr t(image_create(w, h));
  for (int32_t v = 0; v < h; ++v)
    for (int32_t u = 0; u < w; ++u) t->row(uint32_t(v))[u] = fill(u, v);
  return t;
}

uint32_t texel_id(int32_t u, int32_t v) {
  return 0xFF000000u | uint32_t(v) << 12 | uint32_t(u);
}

// A triangle well inside a 40 x 40 canvas with the same texture coordinates at
// all three corners and z = 1, so every pixel reads texel (U, V) exactly.
void draw_constant_uv(Canvas& c, float u, float v, int32_t col_scale, const IMAGE* tex) {
  fill_textured_triangle(c.img, c.zbuf(), tested_scope, 4, 4, 1, u, v, 30, 6, 1, u, v, 8, 30, 1, u, v, col_scale, tex);
}

// Every drawn pixel of C holds COL; returns how many there are.
int32_t expect_all_drawn_are(Canvas& c, uint32_t col) {
  int32_t n = 0;
  for (int32_t y = 0; y < c.h; ++y)
    for (int32_t x = 0; x < c.w; ++x)
      if (c.Z(x, y) != 0.0f) {
        EXPECT_EQ(c.pixel(x, y), col) << x << "," << y;
        ++n;
      }
  return n;
}
}  // namespace

class TFPCSPTRI : public RasterPaths {};
RUN_ON_EVERY_SPAN_PATH(TFPCSPTRI);

TEST_P(TFPCSPTRI, CoversTheFlatPixelsWithTheSameDepths) {
  auto tex = make_texture(256, 256, texel_id);
  std::mt19937 rng(777);
  std::uniform_real_distribution<float> pos(-15.0f, 60.0f), depth(2.0f, 500.0f),
      uv(-300.0f, 300.0f);
  Canvas flat(45, 39), textured(45, 39);
  for (int32_t i = 0; i < 300; ++i) {
    float p[9], t[6];
    for (float& v : p) v = pos(rng);
    p[2] = depth(rng), p[5] = depth(rng), p[8] = depth(rng);
    for (float& v : t) v = uv(rng);
    flat.clear(0, 0.0f);
    textured.clear(0, 0.0f);
    fill_flat_triangle(flat.img, flat.zbuf(), tested_scope, p[0], p[1], p[2], p[3], p[4], p[5], p[6], p[7], p[8], 0xFFFFFFFFu);
    fill_textured_triangle(textured.img, textured.zbuf(), tested_scope, p[0], p[1], p[2], t[0], t[1], p[3], p[4], p[5], t[2], t[3],
                   p[6], p[7], p[8], t[4], t[5], 0, tex.get());
    for (int32_t y = 0; y < flat.h; ++y)
      for (int32_t x = 0; x < flat.w; ++x) {
        ASSERT_EQ(flat.pixel(x, y) != 0, textured.pixel(x, y) != 0) << i << ": " << x << "," << y;
        ASSERT_EQ(flat.Z(x, y), textured.Z(x, y));
      }
  }
  EXPECT_TRUE(textured.guards_intact());
}

TEST_P(TFPCSPTRI, BrightnessIsSaturatingByteArithmeticOnAllFourBytes) {
  struct Case {
    int32_t col_scale;
    uint32_t texel, expected;
  };
  const Case cases[] = {
      {0, 0xFF10F0E0u, 0xFF10F0E0u},     // unchanged
      {0, 0x01020304u, 0x01020304u},
      {255, 0xFF10F0E0u, 0xFFFFFFFFu},   // everything white, top byte too
      {255, 0x00000000u, 0xFFFFFFFFu},
      {-255, 0xFF10F0E0u, 0x00000000u},  // everything black
      {40, 0xFF10F0E0u, 0xFF38FFFFu},    // 255,16,240,224 -> 255,56,255,255
      {-40, 0xFF10F0E0u, 0xD700C8B8u},   // 255,16,240,224 -> 215,0,200,184
  };
  for (const Case& k : cases) {
    auto tex = make_texture(4, 4, [&](int32_t, int32_t) { return k.texel; });
    Canvas c(40, 40);
    draw_constant_uv(c, 1, 1, k.col_scale, tex.get());
    EXPECT_GT(expect_all_drawn_are(c, k.expected), 200) << k.col_scale;
  }
}

TEST_P(TFPCSPTRI, TexelCoordinatesRoundHalfToEvenAndWrap) {
  auto tex = make_texture(256, 256, texel_id);
  struct Case {
    float u;
    int32_t column;
  };
  for (const Case k : {Case{256.3f, 0}, Case{-0.7f, 255}, Case{2.5f, 2}, Case{3.5f, 4},
                       Case{-256.0f, 0}, Case{1000.6f, 233}}) {
    Canvas c(40, 40);
    draw_constant_uv(c, k.u, 7.5f, 0, tex.get());  // row 7.5 -> 8
    EXPECT_GT(expect_all_drawn_are(c, texel_id(k.column, 8)), 200) << k.u;
  }
  // Coordinates far beyond the 32-bit range still read a texel of the texture.
  Canvas c(40, 40);
  draw_constant_uv(c, 1e30f, -1e30f, 0, tex.get());
  EXPECT_GT(expect_all_drawn_are(c, texel_id(0, 0)), 200);
}

TEST_P(TFPCSPTRI, OtherTextureSizesAreAddressedByModulo) {
  // 3 x 5 texels (pitch 16); and 4 x 4 texels in rows 48 bytes apart.
  auto odd = make_texture(3, 5, texel_id);
  struct Case {
    float u, v;
    int32_t column, row;
  };
  for (const Case k : {Case{1, 2, 1, 2}, Case{-1, -1, 2, 4}, Case{4, 7, 1, 2}, Case{-6, -6, 0, 4},
                       Case{302.2f, 1e9f, 2, 0}}) {
    Canvas c(40, 40);
    draw_constant_uv(c, k.u, k.v, 0, odd.get());
    EXPECT_GT(expect_all_drawn_are(c, texel_id(k.column, k.row)), 200) << k.u << "," << k.v;
  }
  std::vector<uint32_t> block(8 + 12 * 4, 0);  // header, then 4 rows of 12 words
  IMAGE* wide = reinterpret_cast<IMAGE*>(block.data());
  *wide = IMAGE{IMAGE_TYPE, 4, 4, 4, 48, {}};
  for (uint32_t v = 0; v < 4; ++v)
    for (uint32_t u = 0; u < 12; ++u) wide->row(v)[u] = u < 4 ? texel_id(u, v) : 0xDEADu;
  for (const Case k : {Case{3, 1, 3, 1}, Case{-1, 6, 3, 2}, Case{5, -3, 1, 1}}) {
    Canvas c(40, 40);
    draw_constant_uv(c, k.u, k.v, 0, wide);
    EXPECT_GT(expect_all_drawn_are(c, texel_id(k.column, k.row)), 200) << k.u << "," << k.v;
  }
}

TEST_P(TFPCSPTRI, EqualDepthsMapAffinely) {
  // u = 2x + 1 at pixel centres: the texel column steps by 2 along every row.
  auto tex = make_texture(256, 256, texel_id);
  Canvas c(64, 64);
  fill_textured_triangle(c.img, c.zbuf(), tested_scope, 2, 3, 7, 4, 6, 60, 3, 7, 120, 6, 2, 60, 7, 4, 120, 0, tex.get());
  int32_t steps = 0;
  for (int32_t y = 0; y < c.h; ++y)
    for (int32_t x = 1; x < c.w; ++x)
      if (c.Z(x - 1, y) != 0.0f && c.Z(x, y) != 0.0f) {
        EXPECT_EQ(c.pixel(x, y) & 0xFFF, (c.pixel(x - 1, y) & 0xFFF) + 2);
        ++steps;
      }
  EXPECT_GT(steps, 1000);
}

TEST_P(TFPCSPTRI, DepthVaryingTrianglesMapInPerspective) {
  // A wall receding to the right: u runs 0..200 along it, z from 1 to 8.
  auto tex = make_texture(256, 256, texel_id);
  Canvas c(100, 100);
  fill_textured_triangle(c.img, c.zbuf(), tested_scope, 0, 0, 1, 0, 0, 96, 40, 8, 200, 0, 0, 96, 1, 0, 0, 0, tex.get());
  int32_t checked = 0;
  for (int32_t y = 0; y < c.h; ++y)
    for (int32_t x = 0; x < c.w; ++x) {
      if (c.Z(x, y) == 0.0f) continue;
      // Along a row, 1/z and u/z are linear in x; u = (u/z) / (1/z).
      const double t = (x + 0.5) / 96.0, iz = 1.0 - t * (1.0 - 1.0 / 8), uiz = t * 200 / 8;
      const double u = uiz / iz;
      const int32_t got = int32_t(c.pixel(x, y) & 0xFFF);
      EXPECT_LE(std::fabs(got - u), 0.5 + 1e-3) << x << "," << y;
      ++checked;
    }
  EXPECT_GT(checked, 2000);
}

TEST_P(TFPCSPTRI, HiddenPixelsAreLeftAlone) {
  auto tex = make_texture(8, 8, texel_id);
  Canvas c(40, 40);
  fill_flat_triangle(c.img, c.zbuf(), tested_scope, 0, 0, 2, 39, 0, 2, 0, 39, 2, 0xFF00FF00u);
  fill_textured_triangle(c.img, c.zbuf(), tested_scope, 4, 4, 3, 0, 0, 30, 6, 3, 7, 0, 8, 30, 3, 0, 7, 0, tex.get());
  for (int32_t y = 0; y < c.h; ++y)
    for (int32_t x = 0; x < c.w; ++x)
      if (c.Z(x, y) == 0.5f) {
        EXPECT_EQ(c.pixel(x, y), 0xFF00FF00u);
      }
  EXPECT_GT(expect_all_drawn_are(c, 0xFF00FF00u), 700);
}

TEST_P(TFPCSPTRI, EmptyOrMalformedTexturesDrawNothing) {
  std::vector<uint32_t> block(8 + 64, 0xFFFFFFFFu);
  IMAGE* tex = reinterpret_cast<IMAGE*>(block.data());
  Canvas c(40, 40);
  for (const IMAGE header : {IMAGE{IMAGE_TYPE, 4, 0, 4, 16, {}}, IMAGE{IMAGE_TYPE, 4, 4, 0, 16, {}},
                             IMAGE{IMAGE_TYPE, 4, 8, 4, 16, {}}, IMAGE{IMAGE_TYPE, 4, 4, 4, 18, {}}}) {
    *tex = header;
    draw_constant_uv(c, 1, 1, 0, tex);
  }
  EXPECT_EQ(expect_all_drawn_are(c, 0), 0);
}

TEST(TFPCSPTRIDeathTest, NullTextureStopsWithErrorSeven) {
  Canvas c(40, 40);
  EXPECT_EXIT(draw_constant_uv(c, 1, 1, 0, nullptr), testing::ExitedWithCode(7),
              "null pointer access.*TFPCSPTRI_ORIG");
}
