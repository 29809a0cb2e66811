// The screen page: one block of WIDTH x HEIGHT 32-bit pixels with rows WIDTH * 4
// bytes apart, shown by the host at every unlock.
#include <algorithm>
#include <cstring>
#include <vector>

#include "platform/host.h"
#include "platform/screen.h"

namespace {
std::vector<uint32_t> page;
int32_t page_w = 0, page_h = 0;
int32_t locks = 0;
}  // namespace

int32_t set_graphics_mode(int32_t width, int32_t height) {
  if (width <= 0 || height <= 0 || width > 8192 || height > 8192) return ERR_ILLEGAL_CALL;
  const int32_t result = host_get()->open(width, height);
  if (result != 0) return result;
  page.assign(size_t(width) * size_t(height), 0u);
  page_w = width;
  page_h = height;
  locate(1, 1);
  return 0;
}

void screen_lock() {
  ++locks;
}

void screen_unlock() {
  if (locks > 0) --locks;
  if (locks == 0 && !page.empty()) host_get()->present(page.data(), page_w, page_h);
}

uint32_t* screen_ptr() {
  return page.empty() ? nullptr : page.data();
}

ScreenInfo screen_info() {
  return ScreenInfo{page_w, page_h, 32, 4, page_w * 4};
}

int32_t put_image(const IMAGE* img) {
  if (!img) return ERR_NULL_POINTER;
  if (page.empty() || img->BPP != 4) return ERR_ILLEGAL_CALL;
  const int32_t w = std::min<int64_t>(img->WIDTH, page_w);
  const int32_t h = std::min<int64_t>(img->HEIGHT, page_h);
  const uint8_t* src = reinterpret_cast<const uint8_t*>(img->pixels());
  for (int32_t y = 0; y < h; ++y)
    std::memcpy(&page[size_t(y) * page_w], src + size_t(y) * img->PITCH, size_t(w) * 4);
  return 0;
}

int32_t wait_retrace() {
  return host_get()->wait_retrace();
}

void screen_refresh() {
  if (!page.empty()) host_get()->refresh(page.data(), page_w, page_h);
}

void set_window_text(const std::string& status, const std::vector<std::string>& help_lines) {
  host_get()->set_window_text(status, help_lines);
}

void set_window_notice(const std::string& notice) {
  host_get()->set_window_notice(notice);
}
