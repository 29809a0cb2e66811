// Keys polled once a frame: a key pressed and released between two reads is
// held at the next read, so a short tap is never lost. A key that stays down
// reads as the keyboard state says.
#pragma once
#include <cstddef>
#include <cstdint>

template <size_t COUNT>
class KeyLatch {
 public:
  // A key went down (not a repeat).
  void press(size_t key) {
    if (key < COUNT) pressed_[key] = true;
  }
  // Held now, or pressed since the last read; the read clears the press.
  bool read(size_t key, bool down_now) {
    if (key >= COUNT) return down_now;
    const bool held = down_now || pressed_[key];
    pressed_[key] = false;
    return held;
  }
  // Focus went elsewhere: presses seen so far no longer count.
  void clear() {
    for (bool& p : pressed_) p = false;
  }

 private:
  bool pressed_[COUNT] = {};
};
