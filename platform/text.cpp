// Text on the page: 8 x 8 cells (times the text scale), light grey on black,
// the cursor counted from 1.
#include "platform/text.h"

#include <algorithm>

#include "base/font8x8.h"
#include "platform/current_platform.h"

namespace {
constexpr uint32_t TEXT_FOREGROUND = 0xFFC0C0C0u;
constexpr uint32_t TEXT_BACKGROUND = 0xFF000000u;

// The page's largest text scale: a cell of 8 * 64 pixels.
constexpr int32_t MAX_TEXT_SCALE = 64;

// Pixels to draw text onto: rows WIDTH pixels apart, cells of 8 * SCALE pixels.
struct TextTarget {
  uint32_t* pixels;
  int32_t width, height;
  int32_t scale;
};

void draw_glyph(const TextTarget& t, int32_t cell_x, int32_t cell_y, unsigned char c) {
  const uint8_t* rows = (c >= FONT_FIRST && c <= FONT_LAST) ? FONT8X8[c - FONT_FIRST]
                                                            : FONT8X8['?' - FONT_FIRST];
  // Each font pixel as a K x K square.
  const int32_t k = t.scale, cell = 8 * k;
  for (int32_t r = 0; r < 8; ++r)
    for (int32_t ry = 0; ry < k; ++ry) {
      uint32_t* out = t.pixels + size_t(cell_y * cell + r * k + ry) * size_t(t.width) +
                      size_t(cell_x) * size_t(cell);
      for (int32_t b = 0; b < 8; ++b, out += k)
        std::fill_n(out, k, (rows[r] & (0x80 >> b)) ? TEXT_FOREGROUND : TEXT_BACKGROUND);
    }
}

// TEXT in the cells of ROW from COLUMN on (both from 1). Cells outside the grid
// are not drawn; the text is cut at the right edge.
void draw_text_row(const TextTarget& t, int32_t row, int32_t column, const std::string& text) {
  const int32_t columns = t.width / (8 * t.scale), rows = t.height / (8 * t.scale);
  if (!t.pixels || row < 1 || row > rows) return;
  for (size_t i = 0; i < text.size(); ++i) {
    const int64_t cell_x = int64_t(column) - 1 + int64_t(i);
    if (cell_x < 0) continue;
    if (cell_x >= columns) break;
    draw_glyph(t, int32_t(cell_x), row - 1, static_cast<unsigned char>(text[i]));
  }
}
}  // namespace

void set_text_scale(int32_t scale) {
  current_platform().page().text_scale = std::clamp(scale, int32_t(1), MAX_TEXT_SCALE);
}

int32_t text_scale() {
  return current_platform().page().text_scale;
}

void locate(int32_t row, int32_t column) {
  ScreenPage& page = current_platform().page();
  page.text_row = row;
  page.text_column = column;
}

void print_line(const std::string& text) {
  Platform& platform = current_platform();
  platform.host().text_line(text.c_str());
  ScreenPage& page = platform.page();
  const TextTarget target{page.pixels.empty() ? nullptr : page.pixels.data(), page.width,
                          page.height, std::clamp(page.text_scale, int32_t(1), MAX_TEXT_SCALE)};
  draw_text_row(target, page.text_row, page.text_column, text);
  if (page.text_row < INT32_MAX) ++page.text_row;  // a cursor placed at the last row stays there
  page.text_column = 1;
}
