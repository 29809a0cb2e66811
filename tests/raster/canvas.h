// A target image and depth buffer for rasterizer tests, surrounded by guard
// bands (and with guard bytes in the row padding) so that any write outside
// the pixels or the depth entries shows. The canvas points ZBUFF at its depth
// entries while it lives.
#pragma once
#include <gtest/gtest.h>

#include <bit>
#include <cstdint>
#include <cstring>
#include <ostream>
#include <string>
#include <vector>

#include "base/image.h"
#include "raster/raster_target.h"

// The scope the rasterizer tests draw with: all rows, and the SIMD path of the
// test being run. Every test of a RasterPaths suite runs once per path
// this processor runs (a path it does not run is reported as skipped).
inline DrawScope tested_scope;

class RasterPaths : public testing::TestWithParam<SimdPath> {
 protected:
  void SetUp() override {
    if (!simd_path_available(GetParam()))
      GTEST_SKIP() << "this processor does not run the " << simd_path_name(GetParam()) << " spans";
    tested_scope = DrawScope{RowBand{}, GetParam()};
  }
  void TearDown() override { tested_scope = DrawScope{}; }
};

inline void PrintTo(SimdPath path, std::ostream* os) {
  *os << simd_path_name(path);
}

inline std::string simd_path_test_name(const testing::TestParamInfo<SimdPath>& info) {
  return simd_path_name(info.param);
}

#define RUN_ON_EVERY_SPAN_PATH(SUITE)                                                  \
  INSTANTIATE_TEST_SUITE_P(Spans, SUITE, testing::Values(SimdPath::PORTABLE, SimdPath::AVX2), \
                           simd_path_test_name)

class Canvas {
 public:
  static constexpr uint8_t GUARD_BYTE = 0xA5;
  static constexpr uint32_t DEPTH_GUARD_BITS = 0x7FC0DEADu;  // a quiet NaN
  static constexpr size_t GUARD = 256;                        // bytes each side

  // PITCH 0: the width in bytes rounded up to 16, as image creation makes it.
  Canvas(int32_t width, int32_t height, uint32_t row_pitch = 0)
      : w(width), h(height), pitch(row_pitch ? row_pitch : (uint32_t(width) * 4 + 15) / 16 * 16) {
    bytes.assign(GUARD + sizeof(IMAGE) + size_t(this->pitch) * size_t(h) + GUARD + 16,
                 GUARD_BYTE);
    // The header starts on a 16-byte boundary.
    const uintptr_t address = reinterpret_cast<uintptr_t>(bytes.data()) + GUARD;
    offset = GUARD + ((16 - address % 16) % 16);
    img = reinterpret_cast<IMAGE*>(bytes.data() + offset);
    std::memset(img, 0, sizeof(IMAGE));
    img->TYPE = IMAGE_TYPE;
    img->BPP = 4;
    img->WIDTH = uint32_t(w);
    img->HEIGHT = uint32_t(h);
    img->PITCH = this->pitch;
    depth.assign(DEPTH_GUARD_WORDS * 2 + size_t(w) * size_t(h),
                 std::bit_cast<float>(DEPTH_GUARD_BITS));
    clear(0, 0.0f);
  }
  Canvas(const Canvas&) = delete;
  Canvas& operator=(const Canvas&) = delete;

  void clear(uint32_t col, float value) {
    for (int32_t y = 0; y < h; ++y)
      for (int32_t x = 0; x < w; ++x) {
        pixel(x, y) = col;
        Z(x, y) = value;
      }
  }
  // The depth entries the rasterizers test and write.
  float* zbuf() { return depth_row(0); }

  uint32_t& pixel(int32_t x, int32_t y) { return img->row(uint32_t(y))[x]; }
  float& Z(int32_t x, int32_t y) { return depth_row(y)[x]; }
  float* depth_row(int32_t y) {
    return depth.data() + DEPTH_GUARD_WORDS + size_t(y) * w;
  }

  // True when no byte outside the pixels and no word outside the depth entries changed.
  bool guards_intact() const {
    const size_t pixels_start = offset + sizeof(IMAGE);
    for (size_t i = 0; i < bytes.size(); ++i) {
      if (i >= offset && i < pixels_start) continue;  // the header
      if (i >= pixels_start && i < pixels_start + size_t(pitch) * h &&
          (i - pixels_start) % pitch < size_t(w) * 4)
        continue;  // a pixel
      if (bytes[i] != GUARD_BYTE) return false;
    }
    for (size_t i = 0; i < DEPTH_GUARD_WORDS; ++i)
      if (std::bit_cast<uint32_t>(depth[i]) != DEPTH_GUARD_BITS ||
          std::bit_cast<uint32_t>(depth[depth.size() - 1 - i]) != DEPTH_GUARD_BITS)
        return false;
    return true;
  }

  const int32_t w, h;
  const uint32_t pitch;
  IMAGE* img = nullptr;

 private:
  static constexpr size_t DEPTH_GUARD_WORDS = 64;
  std::vector<uint8_t> bytes;
  size_t offset = 0;
  std::vector<float> depth;
};
