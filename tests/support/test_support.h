// Shared helpers of the base and platform tests: scratch files and images with guard bands.
#pragma once
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "base/image.h"
#include "temp_folder.h"

// A path in a scratch folder of this test process, removed when the process ends.
inline std::string scratch_path(const std::string& name) {
  return test_files::temp_path(name).string();
}

inline std::string write_scratch(const std::string& name, const std::string& bytes) {
  const std::string path = scratch_path(name);
  std::ofstream(path, std::ios::binary) << bytes;
  return path;
}

// An image header and pixels placed between two guard bands, with the same
// layout image_create makes; the pitch padding at each row end counts as guard too.
class GuardedImage {
 public:
  static constexpr size_t GUARD = 256;
  static constexpr uint8_t GUARD_BYTE = 0xA5;

  GuardedImage(uint32_t w, uint32_t h) : pitch_((w * 4 + 15) / 16 * 16) {
    block_.assign(2 * GUARD + sizeof(IMAGE) + size_t(pitch_) * h + 16, GUARD_BYTE);
    const uintptr_t at = reinterpret_cast<uintptr_t>(block_.data()) + GUARD;
    const size_t start = GUARD + (16 - at % 16) % 16;
    img_ = reinterpret_cast<IMAGE*>(block_.data() + start);
    *img_ = IMAGE{IMAGE_TYPE, 4, w, h, pitch_, {}};
    for (uint32_t y = 0; y < h; ++y)
      for (uint32_t x = 0; x < w; ++x) img_->row(y)[x] = TRANSPARENT_COLOR;
  }
  IMAGE* operator->() { return img_; }
  IMAGE* get() { return img_; }

  // True while nothing outside the pixels (the header included) has changed.
  bool intact() const {
    const uint8_t* base = reinterpret_cast<const uint8_t*>(img_);
    const uint8_t* pix = base + sizeof(IMAGE);
    for (size_t i = 0; i < block_.size(); ++i) {
      const uint8_t* p = block_.data() + i;
      if (p >= base && p < pix) continue;
      if (p >= pix && p < pix + size_t(pitch_) * img_->HEIGHT &&
          size_t(p - pix) % pitch_ < img_->WIDTH * 4)
        continue;
      if (*p != GUARD_BYTE) return false;
    }
    const IMAGE expected{IMAGE_TYPE, 4, img_->WIDTH, img_->HEIGHT, pitch_, {}};
    return std::memcmp(base, &expected, sizeof(IMAGE)) == 0;
  }

 private:
  uint32_t pitch_;
  std::vector<uint8_t> block_;
  IMAGE* img_ = nullptr;
};
