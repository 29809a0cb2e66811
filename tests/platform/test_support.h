// Shared helpers of the platform tests: scratch files and images with guard bands.
#pragma once
// The failure report owns the name FAIL (platform/fail.h); GoogleTest's spelling is GTEST_FAIL.
#define GTEST_DONT_DEFINE_FAIL 1
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "platform/platform.h"

// A path in a scratch folder of this test process, removed when the process ends.
inline std::filesystem::path SCRATCH_DIR() {
  return std::filesystem::temp_directory_path() / ("mw_platform_" + std::to_string(getpid()));
}
inline std::string SCRATCH_PATH(const std::string& NAME) {
  std::filesystem::create_directories(SCRATCH_DIR());
  return (SCRATCH_DIR() / NAME).string();
}
inline struct SCRATCH_CLEANUP {
  ~SCRATCH_CLEANUP() {
    std::error_code IGNORED;
    std::filesystem::remove_all(SCRATCH_DIR(), IGNORED);
  }
} REMOVE_SCRATCH_AT_EXIT;

inline std::string WRITE_SCRATCH(const std::string& NAME, const std::string& BYTES) {
  const std::string PATH = SCRATCH_PATH(NAME);
  std::ofstream(PATH, std::ios::binary) << BYTES;
  return PATH;
}

// An image header and pixels placed between two guard bands, with the same
// layout IMAGE_CREATE makes; the pitch padding at each row end counts as guard too.
class GUARDED_IMAGE {
 public:
  static constexpr size_t GUARD = 256;
  static constexpr uint8_t GUARD_BYTE = 0xA5;

  GUARDED_IMAGE(uint32_t W, uint32_t H) : PITCH_((W * 4 + 15) / 16 * 16) {
    BLOCK_.assign(2 * GUARD + sizeof(IMAGE) + size_t(PITCH_) * H + 16, GUARD_BYTE);
    const uintptr_t AT = reinterpret_cast<uintptr_t>(BLOCK_.data()) + GUARD;
    const size_t START = GUARD + (16 - AT % 16) % 16;
    IMG_ = reinterpret_cast<IMAGE*>(BLOCK_.data() + START);
    *IMG_ = IMAGE{IMAGE_TYPE, 4, W, H, PITCH_, {}};
    for (uint32_t Y = 0; Y < H; ++Y)
      for (uint32_t X = 0; X < W; ++X) IMG_->ROW(Y)[X] = TRANSPARENT_COLOR;
  }
  IMAGE* operator->() { return IMG_; }
  IMAGE* get() { return IMG_; }

  // True while nothing outside the pixels (the header included) has changed.
  bool INTACT() const {
    const uint8_t* BASE = reinterpret_cast<const uint8_t*>(IMG_);
    const uint8_t* PIX = BASE + sizeof(IMAGE);
    for (size_t I = 0; I < BLOCK_.size(); ++I) {
      const uint8_t* P = BLOCK_.data() + I;
      if (P >= BASE && P < PIX) continue;
      if (P >= PIX && P < PIX + size_t(PITCH_) * IMG_->HEIGHT &&
          size_t(P - PIX) % PITCH_ < IMG_->WIDTH * 4)
        continue;
      if (*P != GUARD_BYTE) return false;
    }
    const IMAGE EXPECTED{IMAGE_TYPE, 4, IMG_->WIDTH, IMG_->HEIGHT, PITCH_, {}};
    return std::memcmp(BASE, &EXPECTED, sizeof(IMAGE)) == 0;
  }

 private:
  uint32_t PITCH_;
  std::vector<uint8_t> BLOCK_;
  IMAGE* IMG_ = nullptr;
};
