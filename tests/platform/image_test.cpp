// Image buffers: the header layout, creation, BMP loading and PNG writing.
#include "test_support.h"

#include <png.h>

namespace {
TEST(ImageCreate, HeaderPitchAlignmentAndFill) {
  const uint32_t cases[][3] = {{1, 1, 16}, {3, 2, 16}, {4, 1, 16}, {5, 3, 32}, {13, 7, 64}, {256, 256, 1024}};
  for (const auto& [W, H, PITCH] : cases) {
    IMAGE* img = image_create(W, H);
    ASSERT_NE(img, nullptr);
    const uint32_t* words = reinterpret_cast<const uint32_t*>(img);
    const IMAGE expected{7, 4, W, H, PITCH, {}};
    EXPECT_EQ(std::memcmp(img, &expected, 32), 0) << W;  // every field at its offset, reserved zero
    EXPECT_EQ(words[2], W);
    EXPECT_EQ(words[4], PITCH);
    EXPECT_EQ(reinterpret_cast<uintptr_t>(img) % 16, 0u);
    for (uint32_t y = 0; y < H; ++y)
      for (uint32_t x = 0; x < W; ++x) ASSERT_EQ(words[8 + y * PITCH / 4 + x], 0xFFFF00FFu);
    image_destroy(img);
  }
  IMAGE* filled = image_create(2, 2, 0x12345678u);
  EXPECT_EQ(filled->row(1)[1], 0x12345678u);
  image_destroy(filled);
  for (auto [W, H] : {std::pair<int64_t, int64_t>{0, 5}, {5, 0}, {-1, 5}, {40000, 1}, {1, INT64_MAX}})
    EXPECT_EQ(image_create(W, H), nullptr) << W << " x " << H;
  image_destroy(nullptr);
}

// An uncompressed bottom-up BMP; PIXEL(x, y) is 0xRRGGBB (24 bits) or a palette index (8 bits).
template <class F>
std::string bmp(int w, int h, int bits, F pixel, const std::vector<uint32_t>& palette = {}) {
  std::string s;
  const auto put = [&](uint32_t v, int bytes) { for (int i = 0; i < bytes; ++i) s += char(v >> 8 * i); };
  const int row = (w * bits / 8 + 3) / 4 * 4;
  const uint32_t offset = 54 + 4 * uint32_t(palette.size());
  s = "BM";
  put(offset + row * h, 4), put(0, 4), put(offset, 4), put(40, 4), put(w, 4), put(h, 4), put(1, 2);
  put(bits, 2), put(0, 4), put(row * h, 4), put(2835, 4), put(2835, 4), put(palette.size(), 4), put(0, 4);
  for (uint32_t c : palette) put(c, 4);
  for (int y = h - 1; y >= 0; --y) {
    for (int x = 0; x < w; ++x) put(pixel(x, y), bits / 8);
    s.append(row - w * bits / 8, '\0');
  }
  return s;
}
uint32_t colour(int x, int y) { return uint32_t(x * 40 + 3) << 16 | uint32_t(y * 50 + 7) << 8 | uint32_t(x + y); }

TEST(LoadBmp, TrueColourAndPaletteFilesGiveOpaquePixels) {
  const std::vector<uint32_t> palette = {0x000000, 0xFF0000, 0x00FF00, 0x0000FF, 0x808080};
  const std::string rgb = write_scratch("rgb.bmp", bmp(3, 2, 24, colour));
  const std::string pal = write_scratch("pal.bmp", bmp(5, 3, 8, [](int x, int y) { return (x + y) % 5; }, palette));
  GuardedImage a(3, 2), b(5, 3);
  ASSERT_EQ(load_bmp(rgb.c_str(), a.get()), 0);
  ASSERT_EQ(load_bmp(pal.c_str(), b.get()), 0);
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 5; ++x) {
      if (x < 3 && y < 2) { EXPECT_EQ(a->row(y)[x], 0xFF000000u | colour(x, y)); }
      EXPECT_EQ(b->row(y)[x], 0xFF000000u | palette[(x + y) % 5]);
    }
  EXPECT_TRUE(a.intact() && b.intact());
}

TEST(LoadBmp, OtherSizesFillOnlyTheSharedPart) {
  const std::string big = write_scratch("big.bmp", bmp(9, 6, 24, colour));
  const std::string small = write_scratch("small.bmp", bmp(2, 2, 24, colour));
  GuardedImage narrow(3, 4), wide(4, 3);
  ASSERT_EQ(load_bmp(big.c_str(), narrow.get()), 0);
  ASSERT_EQ(load_bmp(small.c_str(), wide.get()), 0);
  EXPECT_TRUE(narrow.intact() && wide.intact());
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 4; ++x) {
      if (x < 3) { EXPECT_EQ(narrow->row(y)[x], 0xFF000000u | colour(x, y)); }
      if (y < 3) { EXPECT_EQ(wide->row(y)[x], x < 2 && y < 2 ? 0xFF000000u | colour(x, y) : TRANSPARENT_COLOR); }
    }
}

TEST(LoadBmp, FailuresGiveTheirErrorNumbers) {
  GuardedImage img(4, 4);
  const std::string text = write_scratch("not.bmp", "v 1 2 3\nf 1 2 3\n");
  const std::string cut = write_scratch("cut.bmp", bmp(4, 4, 24, colour).substr(0, 60));
  EXPECT_EQ(load_bmp(scratch_path("missing.bmp").c_str(), img.get()), ERR_FILE_NOT_FOUND);
  EXPECT_EQ(load_bmp(scratch_path("").c_str(), img.get()), ERR_FILE_NOT_FOUND);  // the folder
  EXPECT_EQ(load_bmp(text.c_str(), img.get()), ERR_FILE_IO);
  EXPECT_EQ(load_bmp(cut.c_str(), img.get()), ERR_FILE_IO);
  EXPECT_TRUE(img.intact());
}

TEST(SavePng, ReadsBackAsTheSameRgbPixels) {
  GuardedImage img(5, 3);  // pitch 32: the row padding must not reach the file
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 5; ++x) img->row(y)[x] = 0x7F000000u | colour(x, y);
  const std::string path = scratch_path("round.png");
  ASSERT_EQ(save_png(path.c_str(), img->pixels(), 5, 3, 32), 0);
  EXPECT_EQ(save_png(scratch_path("no/dir.png").c_str(), img->pixels(), 5, 3, 32), ERR_FILE_IO);
  EXPECT_EQ(save_png(path.c_str(), img->pixels(), 5, 3, 16), ERR_FILE_IO);  // pitch too small
  EXPECT_EQ(save_png(path.c_str(), img->pixels(), INT32_MAX, 1, 32), ERR_FILE_IO);

  png_image read{};
  read.version = PNG_IMAGE_VERSION;
  ASSERT_TRUE(png_image_begin_read_from_file(&read, path.c_str()));
  ASSERT_EQ(std::pair(read.width, read.height), std::pair(5u, 3u));
  read.format = PNG_FORMAT_RGB;
  std::vector<uint8_t> rgb(PNG_IMAGE_SIZE(read));
  ASSERT_TRUE(png_image_finish_read(&read, nullptr, rgb.data(), 0, nullptr));
  for (int i = 0; i < 15; ++i)
    EXPECT_EQ(uint32_t(rgb[i * 3]) << 16 | uint32_t(rgb[i * 3 + 1]) << 8 | rgb[i * 3 + 2], colour(i % 5, i / 5));
}
}  // namespace
