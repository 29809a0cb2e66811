// Image buffers: the header layout, creation and PNG writing.
#include "test_support.h"
#include "base/fail.h"
#include "base/image.h"
#include "base/png.h"

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

uint32_t colour(int x, int y) { return uint32_t(x * 40 + 3) << 16 | uint32_t(y * 50 + 7) << 8 | uint32_t(x + y); }

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

// A full disk fails the write cleanly: at the close for a small picture, inside
// the encoder (which jumps out) for one larger than the stream's buffer.
TEST(SavePng, AFullDiskIsAFileError) {
  std::vector<uint32_t> noise(640 * 480);
  uint32_t state = 1;
  for (uint32_t& p : noise) p = state = state * 1664525u + 1013904223u;
  EXPECT_EQ(save_png("/dev/full", noise.data(), 2, 2, 640 * 4), ERR_FILE_IO);
  EXPECT_EQ(save_png("/dev/full", noise.data(), 640, 480, 640 * 4), ERR_FILE_IO);
}
}  // namespace
