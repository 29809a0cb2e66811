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
#include "raster/triangles.h"

namespace {
constexpr float INF = std::numeric_limits<float>::infinity();
constexpr float NOT_A_NUMBER = std::numeric_limits<float>::quiet_NaN();

class HostileValues {
 public:
  explicit HostileValues(uint32_t seed) : rng(seed) {}

  // A screen coordinate: mostly near the target, often something nasty.
  float POSITION(int32_t size) {
    static const float NASTY[] = {
        NOT_A_NUMBER, INF, -INF, 1e30f, -1e30f, FLT_MAX, -FLT_MAX, 2147483520.0f,
        -2147483648.0f, 2147483648.0f, -2147483904.0f, 4294967296.0f, 3e9f, -3e9f, 8388608.5f,
        16777216.0f, 1e-30f, -1e-30f, FLT_MIN / 4, -0.5f, 0.5f, -0.49999997f, 0.0f, -0.0f};
    switch (rng() % 4) {
      case 0: return NASTY[rng() % std::size(NASTY)];
      case 1: return std::uniform_real_distribution<float>(-1e7f, 1e7f)(rng);
      default: return std::uniform_real_distribution<float>(-2.0f * size, 3.0f * size)(rng);
    }
  }
  // A depth: mostly in the view range, often zero, negative, huge or tiny.
  float depth() {
    static const float NASTY[] = {0.0f, -0.0f, -1.0f, -1e30f, 1e-30f, 1e-45f, 1e30f, FLT_MAX,
                                  INF, -INF, NOT_A_NUMBER, 2.0f, 500.0f};
    if (rng() % 3 == 0) return NASTY[rng() % std::size(NASTY)];
    return std::uniform_real_distribution<float>(0.01f, 600.0f)(rng);
  }
  float texcoord() {
    static const float NASTY[] = {NOT_A_NUMBER, INF, -INF, 1e30f, -1e30f, 2147483648.0f,
                                  -2147483904.0f, -0.5f};
    if (rng() % 4 == 0) return NASTY[rng() % std::size(NASTY)];
    return std::uniform_real_distribution<float>(-1000.0f, 1000.0f)(rng);
  }
  int32_t COL_SCALE() {
    static const int32_t NASTY[] = {INT32_MIN, INT32_MAX, -256, 256, -255, 255, 0, 65793};
    return rng() % 3 == 0 ? NASTY[rng() % std::size(NASTY)] : int32_t(rng() % 511) - 255;
  }
  uint32_t next() { return rng(); }

 private:
  std::mt19937 rng;
};

struct ImageFree {
  void operator()(IMAGE* i) const { image_destroy(i); }
};
}  // namespace

class RasterSafety : public RasterPaths {};
RUN_ON_EVERY_SPAN_PATH(RasterSafety);

TEST_P(RasterSafety, HostileCornersStayInsideTargetAndDepthBuffer) {
  struct Size {
    int32_t w, h;
    uint32_t pitch;
  };
  const Size sizes[] = {{1, 1, 0}, {3, 2, 0}, {7, 5, 0},  {13, 11, 0}, {17, 3, 68},
                        {5, 19, 0}, {33, 29, 0}, {2, 9, 8}, {12, 7, 48}};
  // Separate heap blocks of exactly their size, so that the address sanitizer
  // sees any texel read outside them.
  std::unique_ptr<IMAGE, ImageFree> pow2(image_create(8, 8, 0xFF808080u));
  std::unique_ptr<IMAGE, ImageFree> odd(image_create(3, 5, 0xFF404040u));
  HostileValues r(2024);
  int64_t drawn = 0;
  for (const Size& s : sizes) {
    Canvas c(s.w, s.h, s.pitch);
    const int32_t side = std::max(s.w, s.h);
    for (int32_t i = 0; i < 2500; ++i) {
      if (i % 500 == 0) c.clear(0, 0.0f);
      float p[9], t[6];
      for (int k = 0; k < 3; ++k) {
        p[3 * k] = r.POSITION(side);
        p[3 * k + 1] = r.POSITION(side);
        p[3 * k + 2] = r.depth();
      }
      for (float& v : t) v = r.texcoord();
      switch (r.next() % 3) {
        case 0:
          fill_flat_triangle(c.img, c.zbuf(), tested_scope, p[0], p[1], p[2], p[3], p[4], p[5], p[6], p[7], p[8], 0xFFFFFFFFu);
          break;
        default:
          fill_textured_triangle(c.img, c.zbuf(), tested_scope, p[0], p[1], p[2], t[0], t[1], p[3], p[4], p[5], t[2], t[3], p[6],
                         p[7], p[8], t[4], t[5], r.COL_SCALE(),
                         r.next() % 2 ? pow2.get() : odd.get());
      }
      if (i % 100 == 99) {
        ASSERT_TRUE(c.guards_intact()) << s.w << "x" << s.h << " #" << i;
      }
      for (int32_t y = 0; y < s.h; ++y)
        for (int32_t x = 0; x < s.w; ++x) drawn += c.pixel(x, y) != 0;
    }
    EXPECT_TRUE(c.guards_intact());
  }
  EXPECT_GT(drawn, 10000);  // the hostile mix still draws plenty
}
