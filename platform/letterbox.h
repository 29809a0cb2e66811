// Where the page sits in a window of any size: centred, as large as fits with
// its own shape, bars on the other two sides; and the pointer mapped between
// the window and the page.
#pragma once
#include <cstdint>

struct PictureRect {
  int32_t x = 0, y = 0, w = 0, h = 0;
};

// The largest rectangle of the page's shape (PAGE_W x PAGE_H) that fits OUT_W x
// OUT_H, centred. Bars go left and right of a wide window, above and below a tall one.
inline PictureRect letterbox(int32_t out_w, int32_t out_h, int32_t page_w, int32_t page_h) {
  PictureRect r;
  if (out_w <= 0 || out_h <= 0 || page_w <= 0 || page_h <= 0) return r;
  if (int64_t(out_w) * page_h > int64_t(out_h) * page_w) {
    r.h = out_h;
    r.w = int32_t(int64_t(out_h) * page_w / page_h);
  } else {
    r.w = out_w;
    r.h = int32_t(int64_t(out_w) * page_h / page_w);
  }
  r.x = (out_w - r.w) / 2;
  r.y = (out_h - r.h) / 2;
  return r;
}

// The page pixel under window point (WX, WY), or false when the point lies on a
// bar or outside the window.
inline bool window_to_page(const PictureRect& r, int32_t page_w, int32_t page_h, int32_t wx,
                           int32_t wy, int32_t& px, int32_t& py) {
  if (r.w <= 0 || r.h <= 0 || wx < r.x || wy < r.y || wx >= r.x + r.w || wy >= r.y + r.h)
    return false;
  // The page pixel under the window pixel's centre.
  px = int32_t((int64_t(wx - r.x) * 2 + 1) * page_w / (int64_t(r.w) * 2));
  py = int32_t((int64_t(wy - r.y) * 2 + 1) * page_h / (int64_t(r.h) * 2));
  return true;
}

// The window point at the centre of page pixel (PX, PY).
inline void page_to_window(const PictureRect& r, int32_t page_w, int32_t page_h, int32_t px,
                           int32_t py, int32_t& wx, int32_t& wy) {
  wx = r.x + int32_t((int64_t(px) * 2 + 1) * r.w / (int64_t(page_w) * 2));
  wy = r.y + int32_t((int64_t(py) * 2 + 1) * r.h / (int64_t(page_h) * 2));
}
