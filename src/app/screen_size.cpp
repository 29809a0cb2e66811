#include "app/screen_size.h"

#include <algorithm>
#include <cmath>

bool screen_size_allowed(int32_t width, int32_t height) {
  return width >= MIN_SCREEN_W && width <= MAX_SCREEN_W && height >= MIN_SCREEN_H &&
         height <= MAX_SCREEN_H;
}

void fit_screen_size(int32_t& width, int32_t& height) {
  width = std::clamp(width, MIN_SCREEN_W, MAX_SCREEN_W);
  height = std::clamp(height, MIN_SCREEN_H, MAX_SCREEN_H);
}

int32_t text_scale_for_height(int32_t height) {
  return std::max(int32_t(1), int32_t(std::nearbyint(double(height) / 480.0)));
}
