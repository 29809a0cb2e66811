// The textured rasterizer: same coverage and depths as the flat one, texel
// addressing and wrapping, brightening and darkening, perspective.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <memory>
#include <random>

#include "canvas.h"
#include "raster/ftri.h"
#include "raster/tfpcsptri.h"

namespace {
struct IMAGE_FREE {
  void operator()(IMAGE* I) const { IMAGE_DESTROY(I); }
};
using TEXTURE_PTR = std::unique_ptr<IMAGE, IMAGE_FREE>;

// A texture whose texel (u, v) holds FILL(u, v).
template <class F>
TEXTURE_PTR MAKE_TEXTURE(int32_t W, int32_t H, F FILL) {
  TEXTURE_PTR T(IMAGE_CREATE(W, H));
  for (int32_t V = 0; V < H; ++V)
    for (int32_t U = 0; U < W; ++U) T->ROW(uint32_t(V))[U] = FILL(U, V);
  return T;
}

uint32_t TEXEL_ID(int32_t U, int32_t V) {
  return 0xFF000000u | uint32_t(V) << 12 | uint32_t(U);
}

// A triangle well inside a 40 x 40 canvas with the same texture coordinates at
// all three corners and z = 1, so every pixel reads texel (U, V) exactly.
void DRAW_CONSTANT_UV(CANVAS& C, float U, float V, int32_t COL_SCALE, const IMAGE* TEX) {
  C.USE_DEPTH();
  TFPCSPTRI_ORIG(C.IMG, 4, 4, 1, U, V, 30, 6, 1, U, V, 8, 30, 1, U, V, COL_SCALE, TEX);
}

// Every drawn pixel of C holds COL; returns how many there are.
int32_t EXPECT_ALL_DRAWN_ARE(CANVAS& C, uint32_t COL) {
  int32_t N = 0;
  for (int32_t Y = 0; Y < C.H; ++Y)
    for (int32_t X = 0; X < C.W; ++X)
      if (C.Z(X, Y) != 0.0f) {
        EXPECT_EQ(C.PIXEL(X, Y), COL) << X << "," << Y;
        ++N;
      }
  return N;
}
}  // namespace

TEST(TFPCSPTRI, CoversTheFlatPixelsWithTheSameDepths) {
  auto TEX = MAKE_TEXTURE(256, 256, TEXEL_ID);
  std::mt19937 RNG(777);
  std::uniform_real_distribution<float> POS(-15.0f, 60.0f), DEPTH(2.0f, 500.0f),
      UV(-300.0f, 300.0f);
  CANVAS FLAT(45, 39), TEXTURED(45, 39);
  for (int32_t I = 0; I < 300; ++I) {
    float P[9], T[6];
    for (float& V : P) V = POS(RNG);
    P[2] = DEPTH(RNG), P[5] = DEPTH(RNG), P[8] = DEPTH(RNG);
    for (float& V : T) V = UV(RNG);
    FLAT.CLEAR(0, 0.0f);
    TEXTURED.CLEAR(0, 0.0f);
    FLAT.USE_DEPTH();
    FTRI(FLAT.IMG, P[0], P[1], P[2], P[3], P[4], P[5], P[6], P[7], P[8], 0xFFFFFFFFu);
    TEXTURED.USE_DEPTH();
    TFPCSPTRI_ORIG(TEXTURED.IMG, P[0], P[1], P[2], T[0], T[1], P[3], P[4], P[5], T[2], T[3],
                   P[6], P[7], P[8], T[4], T[5], 0, TEX.get());
    for (int32_t Y = 0; Y < FLAT.H; ++Y)
      for (int32_t X = 0; X < FLAT.W; ++X) {
        ASSERT_EQ(FLAT.PIXEL(X, Y) != 0, TEXTURED.PIXEL(X, Y) != 0) << I << ": " << X << "," << Y;
        ASSERT_EQ(FLAT.Z(X, Y), TEXTURED.Z(X, Y));
      }
  }
  EXPECT_TRUE(TEXTURED.GUARDS_INTACT());
}

TEST(TFPCSPTRI, BrightnessIsSaturatingByteArithmeticOnAllFourBytes) {
  struct CASE {
    int32_t COL_SCALE;
    uint32_t TEXEL, EXPECTED;
  };
  const CASE CASES[] = {
      {0, 0xFF10F0E0u, 0xFF10F0E0u},     // unchanged
      {0, 0x01020304u, 0x01020304u},
      {255, 0xFF10F0E0u, 0xFFFFFFFFu},   // everything white, top byte too
      {255, 0x00000000u, 0xFFFFFFFFu},
      {-255, 0xFF10F0E0u, 0x00000000u},  // everything black
      {40, 0xFF10F0E0u, 0xFF38FFFFu},    // 255,16,240,224 -> 255,56,255,255
      {-40, 0xFF10F0E0u, 0xD700C8B8u},   // 255,16,240,224 -> 215,0,200,184
  };
  for (const CASE& K : CASES) {
    auto TEX = MAKE_TEXTURE(4, 4, [&](int32_t, int32_t) { return K.TEXEL; });
    CANVAS C(40, 40);
    DRAW_CONSTANT_UV(C, 1, 1, K.COL_SCALE, TEX.get());
    EXPECT_GT(EXPECT_ALL_DRAWN_ARE(C, K.EXPECTED), 200) << K.COL_SCALE;
  }
}

TEST(TFPCSPTRI, TexelCoordinatesRoundHalfToEvenAndWrap) {
  auto TEX = MAKE_TEXTURE(256, 256, TEXEL_ID);
  struct CASE {
    float U;
    int32_t COLUMN;
  };
  for (const CASE K : {CASE{256.3f, 0}, CASE{-0.7f, 255}, CASE{2.5f, 2}, CASE{3.5f, 4},
                       CASE{-256.0f, 0}, CASE{1000.6f, 233}}) {
    CANVAS C(40, 40);
    DRAW_CONSTANT_UV(C, K.U, 7.5f, 0, TEX.get());  // row 7.5 -> 8
    EXPECT_GT(EXPECT_ALL_DRAWN_ARE(C, TEXEL_ID(K.COLUMN, 8)), 200) << K.U;
  }
  // Coordinates far beyond the 32-bit range still read a texel of the texture.
  CANVAS C(40, 40);
  DRAW_CONSTANT_UV(C, 1e30f, -1e30f, 0, TEX.get());
  EXPECT_GT(EXPECT_ALL_DRAWN_ARE(C, TEXEL_ID(0, 0)), 200);
}

TEST(TFPCSPTRI, OtherTextureSizesAreAddressedByModulo) {
  // 3 x 5 texels (pitch 16); and 4 x 4 texels in rows 48 bytes apart.
  auto ODD = MAKE_TEXTURE(3, 5, TEXEL_ID);
  struct CASE {
    float U, V;
    int32_t COLUMN, ROW;
  };
  for (const CASE K : {CASE{1, 2, 1, 2}, CASE{-1, -1, 2, 4}, CASE{4, 7, 1, 2}, CASE{-6, -6, 0, 4},
                       CASE{302.2f, 1e9f, 2, 0}}) {
    CANVAS C(40, 40);
    DRAW_CONSTANT_UV(C, K.U, K.V, 0, ODD.get());
    EXPECT_GT(EXPECT_ALL_DRAWN_ARE(C, TEXEL_ID(K.COLUMN, K.ROW)), 200) << K.U << "," << K.V;
  }
  std::vector<uint32_t> BLOCK(8 + 12 * 4, 0);  // header, then 4 rows of 12 words
  IMAGE* WIDE = reinterpret_cast<IMAGE*>(BLOCK.data());
  *WIDE = IMAGE{IMAGE_TYPE, 4, 4, 4, 48, {}};
  for (uint32_t V = 0; V < 4; ++V)
    for (uint32_t U = 0; U < 12; ++U) WIDE->ROW(V)[U] = U < 4 ? TEXEL_ID(U, V) : 0xDEADu;
  for (const CASE K : {CASE{3, 1, 3, 1}, CASE{-1, 6, 3, 2}, CASE{5, -3, 1, 1}}) {
    CANVAS C(40, 40);
    DRAW_CONSTANT_UV(C, K.U, K.V, 0, WIDE);
    EXPECT_GT(EXPECT_ALL_DRAWN_ARE(C, TEXEL_ID(K.COLUMN, K.ROW)), 200) << K.U << "," << K.V;
  }
}

TEST(TFPCSPTRI, EqualDepthsMapAffinely) {
  // u = 2x + 1 at pixel centres: the texel column steps by 2 along every row.
  auto TEX = MAKE_TEXTURE(256, 256, TEXEL_ID);
  CANVAS C(64, 64);
  TFPCSPTRI_ORIG(C.IMG, 2, 3, 7, 4, 6, 60, 3, 7, 120, 6, 2, 60, 7, 4, 120, 0, TEX.get());
  int32_t STEPS = 0;
  for (int32_t Y = 0; Y < C.H; ++Y)
    for (int32_t X = 1; X < C.W; ++X)
      if (C.Z(X - 1, Y) != 0.0f && C.Z(X, Y) != 0.0f) {
        EXPECT_EQ(C.PIXEL(X, Y) & 0xFFF, (C.PIXEL(X - 1, Y) & 0xFFF) + 2);
        ++STEPS;
      }
  EXPECT_GT(STEPS, 1000);
}

TEST(TFPCSPTRI, DepthVaryingTrianglesMapInPerspective) {
  // A wall receding to the right: u runs 0..200 along it, z from 1 to 8.
  auto TEX = MAKE_TEXTURE(256, 256, TEXEL_ID);
  CANVAS C(100, 100);
  TFPCSPTRI_ORIG(C.IMG, 0, 0, 1, 0, 0, 96, 40, 8, 200, 0, 0, 96, 1, 0, 0, 0, TEX.get());
  int32_t CHECKED = 0;
  for (int32_t Y = 0; Y < C.H; ++Y)
    for (int32_t X = 0; X < C.W; ++X) {
      if (C.Z(X, Y) == 0.0f) continue;
      // Along a row, 1/z and u/z are linear in x; u = (u/z) / (1/z).
      const double T = (X + 0.5) / 96.0, IZ = 1.0 - T * (1.0 - 1.0 / 8), UIZ = T * 200 / 8;
      const double U = UIZ / IZ;
      const int32_t GOT = int32_t(C.PIXEL(X, Y) & 0xFFF);
      EXPECT_LE(std::fabs(GOT - U), 0.5 + 1e-3) << X << "," << Y;
      ++CHECKED;
    }
  EXPECT_GT(CHECKED, 2000);
}

TEST(TFPCSPTRI, HiddenPixelsAreLeftAlone) {
  auto TEX = MAKE_TEXTURE(8, 8, TEXEL_ID);
  CANVAS C(40, 40);
  FTRI(C.IMG, 0, 0, 2, 39, 0, 2, 0, 39, 2, 0xFF00FF00u);
  TFPCSPTRI_ORIG(C.IMG, 4, 4, 3, 0, 0, 30, 6, 3, 7, 0, 8, 30, 3, 0, 7, 0, TEX.get());
  for (int32_t Y = 0; Y < C.H; ++Y)
    for (int32_t X = 0; X < C.W; ++X)
      if (C.Z(X, Y) == 0.5f) {
        EXPECT_EQ(C.PIXEL(X, Y), 0xFF00FF00u);
      }
  EXPECT_GT(EXPECT_ALL_DRAWN_ARE(C, 0xFF00FF00u), 700);
}

TEST(TFPCSPTRI, EmptyOrMalformedTexturesDrawNothing) {
  std::vector<uint32_t> BLOCK(8 + 64, 0xFFFFFFFFu);
  IMAGE* TEX = reinterpret_cast<IMAGE*>(BLOCK.data());
  CANVAS C(40, 40);
  for (const IMAGE HEADER : {IMAGE{IMAGE_TYPE, 4, 0, 4, 16, {}}, IMAGE{IMAGE_TYPE, 4, 4, 0, 16, {}},
                             IMAGE{IMAGE_TYPE, 4, 8, 4, 16, {}}, IMAGE{IMAGE_TYPE, 4, 4, 4, 18, {}}}) {
    *TEX = HEADER;
    DRAW_CONSTANT_UV(C, 1, 1, 0, TEX);
  }
  EXPECT_EQ(EXPECT_ALL_DRAWN_ARE(C, 0), 0);
}

TEST(TFPCSPTRIDeathTest, NullTextureStopsWithErrorSeven) {
  CANVAS C(40, 40);
  EXPECT_EXIT(DRAW_CONSTANT_UV(C, 1, 1, 0, nullptr), testing::ExitedWithCode(7),
              "null pointer access.*TFPCSPTRI_ORIG");
}
