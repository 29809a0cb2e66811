// The pointer while it is captured for mouse look (hidden, kept in the window):
// a reading in page pixels made of the last position set and the motion since.
// Motion that arrives while nothing should turn (focus lost, pointer outside)
// is simply not added.
#pragma once
#include <algorithm>
#include <cstdint>

#include "platform/input.h"

class CapturedPointer {
 public:
  void set(int32_t x, int32_t y) {
    base_x_ = x;
    base_y_ = y;
    dx_ = dy_ = 0;
  }
  void add_motion(int64_t dx, int64_t dy) {
    dx_ = std::clamp<int64_t>(dx_ + dx, -LIMIT, LIMIT);
    dy_ = std::clamp<int64_t>(dy_ + dy, -LIMIT, LIMIT);
  }
  int32_t x() const { return int32_t(base_x_ + dx_); }
  int32_t y() const { return int32_t(base_y_ + dy_); }
  // The reading moved to (X, Y) inside a WIDTH x HEIGHT page; MOUSE_UNCHANGED
  // keeps that coordinate of the reading now (brought inside too).
  void move_within(int32_t x, int32_t y, int32_t width, int32_t height) {
    const int32_t right = std::max(width - 1, 0), bottom = std::max(height - 1, 0);
    set(std::clamp(x != MOUSE_UNCHANGED ? x : this->x(), 0, right),
        std::clamp(y != MOUSE_UNCHANGED ? y : this->y(), 0, bottom));
  }
  // Travel since the last set no longer counts.
  void drop_motion() { dx_ = dy_ = 0; }

 private:
  static constexpr int64_t LIMIT = 1000000;
  int32_t base_x_ = 0, base_y_ = 0;
  int64_t dx_ = 0, dy_ = 0;
};
