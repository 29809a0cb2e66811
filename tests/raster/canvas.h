// A target image and depth buffer for rasterizer tests, surrounded by guard
// bands (and with guard bytes in the row padding) so that any write outside
// the pixels or the depth entries shows. The canvas points ZBUFF at its depth
// entries while it lives.
#pragma once
#include <bit>
#include <cstdint>
#include <cstring>
#include <vector>

#include "render/render_globals.h"
#include "platform/platform.h"

class CANVAS {
 public:
  static constexpr uint8_t GUARD_BYTE = 0xA5;
  static constexpr uint32_t DEPTH_GUARD_BITS = 0x7FC0DEADu;  // a quiet NaN
  static constexpr size_t GUARD = 256;                        // bytes each side

  // PITCH 0: the width in bytes rounded up to 16, as image creation makes it.
  CANVAS(int32_t WIDTH, int32_t HEIGHT, uint32_t PITCH = 0)
      : W(WIDTH), H(HEIGHT), PITCH(PITCH ? PITCH : (uint32_t(WIDTH) * 4 + 15) / 16 * 16) {
    BYTES.assign(GUARD + sizeof(IMAGE) + size_t(this->PITCH) * size_t(H) + GUARD + 16,
                 GUARD_BYTE);
    // The header starts on a 16-byte boundary.
    const uintptr_t ADDRESS = reinterpret_cast<uintptr_t>(BYTES.data()) + GUARD;
    OFFSET = GUARD + ((16 - ADDRESS % 16) % 16);
    IMG = reinterpret_cast<IMAGE*>(BYTES.data() + OFFSET);
    std::memset(IMG, 0, sizeof(IMAGE));
    IMG->TYPE = IMAGE_TYPE;
    IMG->BPP = 4;
    IMG->WIDTH = uint32_t(W);
    IMG->HEIGHT = uint32_t(H);
    IMG->PITCH = this->PITCH;
    DEPTH.assign(DEPTH_GUARD_WORDS * 2 + size_t(W) * size_t(H),
                 std::bit_cast<float>(DEPTH_GUARD_BITS));
    CLEAR(0, 0.0f);
    SAVED_ZBUFF = ZBUFF;
    ZBUFF = DEPTH_ROW(0);
  }
  ~CANVAS() { ZBUFF = SAVED_ZBUFF; }
  CANVAS(const CANVAS&) = delete;
  CANVAS& operator=(const CANVAS&) = delete;

  void CLEAR(uint32_t COL, float DEPTH) {
    for (int32_t Y = 0; Y < H; ++Y)
      for (int32_t X = 0; X < W; ++X) {
        PIXEL(X, Y) = COL;
        Z(X, Y) = DEPTH;
      }
  }
  // Makes this canvas's depth entries the ones the rasterizers use.
  void USE_DEPTH() { ZBUFF = DEPTH_ROW(0); }

  uint32_t& PIXEL(int32_t X, int32_t Y) { return IMG->ROW(uint32_t(Y))[X]; }
  float& Z(int32_t X, int32_t Y) { return DEPTH_ROW(Y)[X]; }
  float* DEPTH_ROW(int32_t Y) {
    return DEPTH.data() + DEPTH_GUARD_WORDS + size_t(Y) * W;
  }

  // True when no byte outside the pixels and no word outside the depth entries changed.
  bool GUARDS_INTACT() const {
    const size_t PIXELS_START = OFFSET + sizeof(IMAGE);
    for (size_t I = 0; I < BYTES.size(); ++I) {
      if (I >= OFFSET && I < PIXELS_START) continue;  // the header
      if (I >= PIXELS_START && I < PIXELS_START + size_t(PITCH) * H &&
          (I - PIXELS_START) % PITCH < size_t(W) * 4)
        continue;  // a pixel
      if (BYTES[I] != GUARD_BYTE) return false;
    }
    for (size_t I = 0; I < DEPTH_GUARD_WORDS; ++I)
      if (std::bit_cast<uint32_t>(DEPTH[I]) != DEPTH_GUARD_BITS ||
          std::bit_cast<uint32_t>(DEPTH[DEPTH.size() - 1 - I]) != DEPTH_GUARD_BITS)
        return false;
    return true;
  }

  const int32_t W, H;
  const uint32_t PITCH;
  IMAGE* IMG = nullptr;

 private:
  static constexpr size_t DEPTH_GUARD_WORDS = 64;
  std::vector<uint8_t> BYTES;
  size_t OFFSET = 0;
  std::vector<float> DEPTH;
  float* SAVED_ZBUFF = nullptr;
};
