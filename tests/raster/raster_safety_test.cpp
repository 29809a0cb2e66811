// Hostile corners on small odd-sized targets: whatever the corners hold, both
// rasterizers write only inside the target's pixels and the depth entries, and
// read only texels of the texture.
#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <cstdint>
#include <limits>
#include <random>

#include "canvas.h"
#include "raster/ftri.h"
#include "raster/tfpcsptri.h"

namespace {
constexpr float INF = std::numeric_limits<float>::infinity();
constexpr float NOT_A_NUMBER = std::numeric_limits<float>::quiet_NaN();

class HOSTILE_VALUES {
 public:
  explicit HOSTILE_VALUES(uint32_t SEED) : RNG(SEED) {}

  // A screen coordinate: mostly near the target, often something nasty.
  float POSITION(int32_t SIZE) {
    static const float NASTY[] = {
        NOT_A_NUMBER, INF, -INF, 1e30f, -1e30f, FLT_MAX, -FLT_MAX, 2147483520.0f,
        -2147483648.0f, 2147483648.0f, -2147483904.0f, 4294967296.0f, 3e9f, -3e9f, 8388608.5f,
        16777216.0f, 1e-30f, -1e-30f, FLT_MIN / 4, -0.5f, 0.5f, -0.49999997f, 0.0f, -0.0f};
    switch (RNG() % 4) {
      case 0: return NASTY[RNG() % std::size(NASTY)];
      case 1: return std::uniform_real_distribution<float>(-1e7f, 1e7f)(RNG);
      default: return std::uniform_real_distribution<float>(-2.0f * SIZE, 3.0f * SIZE)(RNG);
    }
  }
  // A depth: mostly in the view range, often zero, negative, huge or tiny.
  float DEPTH() {
    static const float NASTY[] = {0.0f, -0.0f, -1.0f, -1e30f, 1e-30f, 1e-45f, 1e30f, FLT_MAX,
                                  INF, -INF, NOT_A_NUMBER, 2.0f, 500.0f};
    if (RNG() % 3 == 0) return NASTY[RNG() % std::size(NASTY)];
    return std::uniform_real_distribution<float>(0.01f, 600.0f)(RNG);
  }
  float TEXCOORD() {
    static const float NASTY[] = {NOT_A_NUMBER, INF, -INF, 1e30f, -1e30f, 2147483648.0f,
                                  -2147483904.0f, -0.5f};
    if (RNG() % 4 == 0) return NASTY[RNG() % std::size(NASTY)];
    return std::uniform_real_distribution<float>(-1000.0f, 1000.0f)(RNG);
  }
  int32_t COL_SCALE() {
    static const int32_t NASTY[] = {INT32_MIN, INT32_MAX, -256, 256, -255, 255, 0, 65793};
    return RNG() % 3 == 0 ? NASTY[RNG() % std::size(NASTY)] : int32_t(RNG() % 511) - 255;
  }
  uint32_t NEXT() { return RNG(); }

 private:
  std::mt19937 RNG;
};

struct IMAGE_FREE {
  void operator()(IMAGE* I) const { IMAGE_DESTROY(I); }
};
}  // namespace

TEST(RASTER_SAFETY, HostileCornersStayInsideTargetAndDepthBuffer) {
  struct SIZE {
    int32_t W, H;
    uint32_t PITCH;
  };
  const SIZE SIZES[] = {{1, 1, 0}, {3, 2, 0}, {7, 5, 0},  {13, 11, 0}, {17, 3, 68},
                        {5, 19, 0}, {33, 29, 0}, {2, 9, 8}, {12, 7, 48}};
  // Separate heap blocks of exactly their size, so that the address sanitizer
  // sees any texel read outside them.
  std::unique_ptr<IMAGE, IMAGE_FREE> POW2(IMAGE_CREATE(8, 8, 0xFF808080u));
  std::unique_ptr<IMAGE, IMAGE_FREE> ODD(IMAGE_CREATE(3, 5, 0xFF404040u));
  HOSTILE_VALUES R(2024);
  int64_t DRAWN = 0;
  for (const SIZE& S : SIZES) {
    CANVAS C(S.W, S.H, S.PITCH);
    const int32_t SIDE = std::max(S.W, S.H);
    for (int32_t I = 0; I < 2500; ++I) {
      if (I % 500 == 0) C.CLEAR(0, 0.0f);
      float P[9], T[6];
      for (int K = 0; K < 3; ++K) {
        P[3 * K] = R.POSITION(SIDE);
        P[3 * K + 1] = R.POSITION(SIDE);
        P[3 * K + 2] = R.DEPTH();
      }
      for (float& V : T) V = R.TEXCOORD();
      switch (R.NEXT() % 3) {
        case 0:
          FTRI(C.IMG, P[0], P[1], P[2], P[3], P[4], P[5], P[6], P[7], P[8], 0xFFFFFFFFu);
          break;
        default:
          TFPCSPTRI_ORIG(C.IMG, P[0], P[1], P[2], T[0], T[1], P[3], P[4], P[5], T[2], T[3], P[6],
                         P[7], P[8], T[4], T[5], R.COL_SCALE(),
                         R.NEXT() % 2 ? POW2.get() : ODD.get());
      }
      if (I % 100 == 99) {
        ASSERT_TRUE(C.GUARDS_INTACT()) << S.W << "x" << S.H << " #" << I;
      }
      for (int32_t Y = 0; Y < S.H; ++Y)
        for (int32_t X = 0; X < S.W; ++X) DRAWN += C.PIXEL(X, Y) != 0;
    }
    EXPECT_TRUE(C.GUARDS_INTACT());
  }
  EXPECT_GT(DRAWN, 10000);  // the hostile mix still draws plenty
}
