// The committed textures, read by the program's own BMP loader, hold exactly the pixels
// stored in the files: rows turned top-down, blue-green-red turned into 32-bit words.
// The platform has its own FAIL macro; keep GoogleTest's out of its way.
#define GTEST_DONT_DEFINE_FAIL 1
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "platform/platform.h"

namespace {

std::vector<unsigned char> READ_BYTES(const std::string& PATH) {
  std::ifstream IN(PATH, std::ios::binary);
  return {std::istreambuf_iterator<char>(IN), std::istreambuf_iterator<char>()};
}

TEST(TEXTURE_FILES, LOAD_INTO_256_BY_256_IMAGES_PIXEL_FOR_PIXEL) {
  for (const char* NAME : {"sand.bmp", "wall.bmp", "ufouvmap.bmp"}) {
    SCOPED_TRACE(NAME);
    const std::string PATH = std::string(MW_SOURCE_DIR) + "/res/texture/" + NAME;
    const std::vector<unsigned char> FILE = READ_BYTES(PATH);
    ASSERT_EQ(FILE.size(), 54u + 256u * 256u * 3u);
    IMAGE* IMG = IMAGE_CREATE(256, 256);
    ASSERT_NE(IMG, nullptr);
    ASSERT_EQ(LOAD_BMP(PATH.c_str(), IMG), 0);
    int32_t WRONG = 0;
    for (uint32_t Y = 0; Y < 256; ++Y) {
      const unsigned char* STORED = FILE.data() + 54 + size_t(255 - Y) * 768;  // bottom row first
      for (uint32_t X = 0; X < 256; ++X) {
        const uint32_t WANT = uint32_t(STORED[3 * X]) | uint32_t(STORED[3 * X + 1]) << 8 |
                              uint32_t(STORED[3 * X + 2]) << 16;
        if ((IMG->ROW(Y)[X] & 0xFFFFFFu) != WANT) ++WRONG;
      }
    }
    EXPECT_EQ(WRONG, 0);
    IMAGE_DESTROY(IMG);
  }
}

}  // namespace
