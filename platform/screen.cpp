// The screen page: one block of WIDTH x HEIGHT 32-bit pixels with rows WIDTH * 4
// bytes apart, shown by the host at every unlock.
#include <algorithm>
#include <cstring>

#include "base/fail.h"
#include "platform/current_platform.h"
#include "platform/screen.h"

namespace {
bool page_size_allowed(int32_t width, int32_t height) {
  return width > 0 && height > 0 && width <= 8192 && height <= 8192;
}

// A new page: cleared, and its text cursor back at row 1, column 1.
void make_page(ScreenPage& page, int32_t width, int32_t height) {
  const int32_t locks = page.locks, text_scale = page.text_scale;
  page = ScreenPage{};
  page.pixels.assign(size_t(width) * size_t(height), 0u);
  page.width = width;
  page.height = height;
  page.locks = locks;
  page.text_scale = text_scale;
}
}  // namespace

namespace {
// Asks the host for a WIDTH x HEIGHT page (open or resize_page), then makes
// the page to match.
template <class AskHost>
int32_t new_page(int32_t width, int32_t height, AskHost ask_host) {
  if (!page_size_allowed(width, height)) return ERR_ILLEGAL_CALL;
  Platform& platform = current_platform();
  const int32_t result = ask_host(platform.host());
  if (result != 0) return result;
  make_page(platform.page(), width, height);
  return 0;
}
}  // namespace

int32_t set_graphics_mode(int32_t width, int32_t height) {
  return new_page(width, height, [&](auto& host) { return host.open(width, height); });
}

int32_t resize_screen(int32_t width, int32_t height) {
  return new_page(width, height, [&](auto& host) { return host.resize_page(width, height); });
}

bool window_pixel_size(int32_t& width, int32_t& height) {
  return current_platform().host().window_pixels(width, height);
}

void screen_lock() {
  ++current_platform().page().locks;
}

void screen_unlock() {
  Platform& platform = current_platform();
  ScreenPage& page = platform.page();
  if (page.locks > 0) --page.locks;
  if (page.locks == 0 && !page.pixels.empty())
    platform.host().present(page.pixels.data(), page.width, page.height);
}

uint32_t* screen_ptr() {
  ScreenPage& page = current_platform().page();
  return page.pixels.empty() ? nullptr : page.pixels.data();
}

ScreenInfo screen_info() {
  const ScreenPage& page = current_platform().page();
  return ScreenInfo{page.width, page.height, 32, 4, page.width * 4};
}

int32_t put_image(const IMAGE* img) {
  if (!img) return ERR_NULL_POINTER;
  ScreenPage& page = current_platform().page();
  if (page.pixels.empty() || img->BPP != 4) return ERR_ILLEGAL_CALL;
  const int32_t w = std::min<int64_t>(img->WIDTH, page.width);
  const int32_t h = std::min<int64_t>(img->HEIGHT, page.height);
  const uint8_t* src = reinterpret_cast<const uint8_t*>(img->pixels());
  for (int32_t y = 0; y < h; ++y)
    std::memcpy(&page.pixels[size_t(y) * size_t(page.width)], src + size_t(y) * img->PITCH,
                size_t(w) * 4);
  return 0;
}

int32_t wait_retrace() {
  return current_platform().host().wait_retrace();
}

void screen_refresh() {
  Platform& platform = current_platform();
  const ScreenPage& page = platform.page();
  if (!page.pixels.empty()) platform.host().refresh(page.pixels.data(), page.width, page.height);
}

void set_window_text(const std::string& status, const std::vector<std::string>& help_lines) {
  current_platform().host().set_window_text(status, help_lines);
}

void set_window_notice(const std::string& notice) {
  current_platform().host().set_window_notice(notice);
}
