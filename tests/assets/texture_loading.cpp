// The committed textures, read by the program's own BMP loader, hold exactly the pixels
// stored in the files: rows turned top-down, blue-green-red turned into 32-bit words.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "base/bmp.h"
#include "base/image.h"

namespace {

std::vector<unsigned char> read_bytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

TEST(TextureFiles, LOAD_INTO_256_BY_256_IMAGES_PIXEL_FOR_PIXEL) {
  for (const char* name : {"sand.bmp", "wall.bmp", "ufouvmap.bmp"}) {
    SCOPED_TRACE(name);
    const std::string path = std::string(MW_SOURCE_DIR) + "/res/texture/" + name;
    const std::vector<unsigned char> file = read_bytes(path);
    ASSERT_EQ(file.size(), 54u + 256u * 256u * 3u);
    IMAGE* img = image_create(256, 256);
    ASSERT_NE(img, nullptr);
    ASSERT_EQ(load_bmp(path.c_str(), img), 0);
    int32_t wrong = 0;
    for (uint32_t y = 0; y < 256; ++y) {
      const unsigned char* stored = file.data() + 54 + size_t(255 - y) * 768;  // bottom row first
      for (uint32_t x = 0; x < 256; ++x) {
        const uint32_t want = uint32_t(stored[3 * x]) | uint32_t(stored[3 * x + 1]) << 8 |
                              uint32_t(stored[3 * x + 2]) << 16;
        if ((img->row(y)[x] & 0xFFFFFFu) != want) ++wrong;
      }
    }
    EXPECT_EQ(wrong, 0);
    image_destroy(img);
  }
}

}  // namespace
