// Image buffers: the header layout, creation, BMP loading and PNG writing.
#include "test_support.h"

#include <png.h>

namespace {
TEST(ImageCreate, HeaderPitchAlignmentAndFill) {
  const uint32_t CASES[][3] = {{1, 1, 16}, {3, 2, 16}, {4, 1, 16}, {5, 3, 32}, {13, 7, 64}, {256, 256, 1024}};
  for (const auto& [W, H, PITCH] : CASES) {
    IMAGE* IMG = IMAGE_CREATE(W, H);
    ASSERT_NE(IMG, nullptr);
    const uint32_t* WORDS = reinterpret_cast<const uint32_t*>(IMG);
    const IMAGE EXPECTED{7, 4, W, H, PITCH, {}};
    EXPECT_EQ(std::memcmp(IMG, &EXPECTED, 32), 0) << W;  // every field at its offset, reserved zero
    EXPECT_EQ(WORDS[2], W);
    EXPECT_EQ(WORDS[4], PITCH);
    EXPECT_EQ(reinterpret_cast<uintptr_t>(IMG) % 16, 0u);
    for (uint32_t Y = 0; Y < H; ++Y)
      for (uint32_t X = 0; X < W; ++X) ASSERT_EQ(WORDS[8 + Y * PITCH / 4 + X], 0xFFFF00FFu);
    IMAGE_DESTROY(IMG);
  }
  IMAGE* FILLED = IMAGE_CREATE(2, 2, 0x12345678u);
  EXPECT_EQ(FILLED->ROW(1)[1], 0x12345678u);
  IMAGE_DESTROY(FILLED);
  for (auto [W, H] : {std::pair<int64_t, int64_t>{0, 5}, {5, 0}, {-1, 5}, {40000, 1}, {1, INT64_MAX}})
    EXPECT_EQ(IMAGE_CREATE(W, H), nullptr) << W << " x " << H;
  IMAGE_DESTROY(nullptr);
}

// An uncompressed bottom-up BMP; PIXEL(x, y) is 0xRRGGBB (24 bits) or a palette index (8 bits).
template <class F>
std::string BMP(int W, int H, int BITS, F PIXEL, const std::vector<uint32_t>& PALETTE = {}) {
  std::string S;
  const auto PUT = [&](uint32_t V, int BYTES) { for (int I = 0; I < BYTES; ++I) S += char(V >> 8 * I); };
  const int ROW = (W * BITS / 8 + 3) / 4 * 4;
  const uint32_t OFFSET = 54 + 4 * uint32_t(PALETTE.size());
  S = "BM";
  PUT(OFFSET + ROW * H, 4), PUT(0, 4), PUT(OFFSET, 4), PUT(40, 4), PUT(W, 4), PUT(H, 4), PUT(1, 2);
  PUT(BITS, 2), PUT(0, 4), PUT(ROW * H, 4), PUT(2835, 4), PUT(2835, 4), PUT(PALETTE.size(), 4), PUT(0, 4);
  for (uint32_t C : PALETTE) PUT(C, 4);
  for (int Y = H - 1; Y >= 0; --Y) {
    for (int X = 0; X < W; ++X) PUT(PIXEL(X, Y), BITS / 8);
    S.append(ROW - W * BITS / 8, '\0');
  }
  return S;
}
uint32_t COLOUR(int X, int Y) { return uint32_t(X * 40 + 3) << 16 | uint32_t(Y * 50 + 7) << 8 | uint32_t(X + Y); }

TEST(LoadBmp, TrueColourAndPaletteFilesGiveOpaquePixels) {
  const std::vector<uint32_t> PALETTE = {0x000000, 0xFF0000, 0x00FF00, 0x0000FF, 0x808080};
  const std::string RGB = WRITE_SCRATCH("rgb.bmp", BMP(3, 2, 24, COLOUR));
  const std::string PAL = WRITE_SCRATCH("pal.bmp", BMP(5, 3, 8, [](int X, int Y) { return (X + Y) % 5; }, PALETTE));
  GUARDED_IMAGE A(3, 2), B(5, 3);
  ASSERT_EQ(LOAD_BMP(RGB.c_str(), A.get()), 0);
  ASSERT_EQ(LOAD_BMP(PAL.c_str(), B.get()), 0);
  for (int Y = 0; Y < 3; ++Y)
    for (int X = 0; X < 5; ++X) {
      if (X < 3 && Y < 2) { EXPECT_EQ(A->ROW(Y)[X], 0xFF000000u | COLOUR(X, Y)); }
      EXPECT_EQ(B->ROW(Y)[X], 0xFF000000u | PALETTE[(X + Y) % 5]);
    }
  EXPECT_TRUE(A.INTACT() && B.INTACT());
}

TEST(LoadBmp, OtherSizesFillOnlyTheSharedPart) {
  const std::string BIG = WRITE_SCRATCH("big.bmp", BMP(9, 6, 24, COLOUR));
  const std::string SMALL = WRITE_SCRATCH("small.bmp", BMP(2, 2, 24, COLOUR));
  GUARDED_IMAGE NARROW(3, 4), WIDE(4, 3);
  ASSERT_EQ(LOAD_BMP(BIG.c_str(), NARROW.get()), 0);
  ASSERT_EQ(LOAD_BMP(SMALL.c_str(), WIDE.get()), 0);
  EXPECT_TRUE(NARROW.INTACT() && WIDE.INTACT());
  for (int Y = 0; Y < 4; ++Y)
    for (int X = 0; X < 4; ++X) {
      if (X < 3) { EXPECT_EQ(NARROW->ROW(Y)[X], 0xFF000000u | COLOUR(X, Y)); }
      if (Y < 3) { EXPECT_EQ(WIDE->ROW(Y)[X], X < 2 && Y < 2 ? 0xFF000000u | COLOUR(X, Y) : TRANSPARENT_COLOR); }
    }
}

TEST(LoadBmp, FailuresGiveTheirErrorNumbers) {
  GUARDED_IMAGE IMG(4, 4);
  const std::string TEXT = WRITE_SCRATCH("not.bmp", "v 1 2 3\nf 1 2 3\n");
  const std::string CUT = WRITE_SCRATCH("cut.bmp", BMP(4, 4, 24, COLOUR).substr(0, 60));
  EXPECT_EQ(LOAD_BMP(SCRATCH_PATH("missing.bmp").c_str(), IMG.get()), ERR_FILE_NOT_FOUND);
  EXPECT_EQ(LOAD_BMP(SCRATCH_PATH("").c_str(), IMG.get()), ERR_FILE_NOT_FOUND);  // the folder
  EXPECT_EQ(LOAD_BMP(TEXT.c_str(), IMG.get()), ERR_FILE_IO);
  EXPECT_EQ(LOAD_BMP(CUT.c_str(), IMG.get()), ERR_FILE_IO);
  EXPECT_TRUE(IMG.INTACT());
}

TEST(SavePng, ReadsBackAsTheSameRgbPixels) {
  GUARDED_IMAGE IMG(5, 3);  // pitch 32: the row padding must not reach the file
  for (int Y = 0; Y < 3; ++Y)
    for (int X = 0; X < 5; ++X) IMG->ROW(Y)[X] = 0x7F000000u | COLOUR(X, Y);
  const std::string PATH = SCRATCH_PATH("round.png");
  ASSERT_EQ(SAVE_PNG(PATH.c_str(), IMG->PIXELS(), 5, 3, 32), 0);
  EXPECT_EQ(SAVE_PNG(SCRATCH_PATH("no/dir.png").c_str(), IMG->PIXELS(), 5, 3, 32), ERR_FILE_IO);
  EXPECT_EQ(SAVE_PNG(PATH.c_str(), IMG->PIXELS(), 5, 3, 16), ERR_FILE_IO);  // pitch too small
  EXPECT_EQ(SAVE_PNG(PATH.c_str(), IMG->PIXELS(), INT32_MAX, 1, 32), ERR_FILE_IO);

  png_image READ{};
  READ.version = PNG_IMAGE_VERSION;
  ASSERT_TRUE(png_image_begin_read_from_file(&READ, PATH.c_str()));
  ASSERT_EQ(std::pair(READ.width, READ.height), std::pair(5u, 3u));
  READ.format = PNG_FORMAT_RGB;
  std::vector<uint8_t> RGB(PNG_IMAGE_SIZE(READ));
  ASSERT_TRUE(png_image_finish_read(&READ, nullptr, RGB.data(), 0, nullptr));
  for (int I = 0; I < 15; ++I)
    EXPECT_EQ(uint32_t(RGB[I * 3]) << 16 | uint32_t(RGB[I * 3 + 1]) << 8 | RGB[I * 3 + 2], COLOUR(I % 5, I / 5));
}
}  // namespace
