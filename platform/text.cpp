// Text on the page: 8 x 8 cells, light grey on black, the cursor counted from 1.
#include "platform/font8x8.h"
#include "platform/host.h"
#include "platform/platform.h"

namespace {
int32_t cursor_row = 1, cursor_column = 1;
constexpr uint32_t TEXT_FOREGROUND = 0xFFC0C0C0u;
constexpr uint32_t TEXT_BACKGROUND = 0xFF000000u;

void draw_glyph(uint32_t* page, const ScreenInfo& info, int32_t cell_x, int32_t cell_y,
                unsigned char c) {
  const uint8_t* rows = (c >= FONT_FIRST && c <= FONT_LAST) ? FONT8X8[c - FONT_FIRST]
                                                            : FONT8X8['?' - FONT_FIRST];
  for (int32_t r = 0; r < 8; ++r) {
    uint32_t* out = page + size_t(cell_y * 8 + r) * size_t(info.width) + size_t(cell_x) * 8;
    for (int32_t b = 0; b < 8; ++b)
      out[b] = (rows[r] & (0x80 >> b)) ? TEXT_FOREGROUND : TEXT_BACKGROUND;
  }
}
}  // namespace

void locate(int32_t row, int32_t column) {
  cursor_row = row;
  cursor_column = column;
}

void print_line(const std::string& text) {
  host_get()->text_line(text.c_str());
  uint32_t* page = screen_ptr();
  const ScreenInfo info = screen_info();
  const int32_t columns = info.width / 8, rows = info.height / 8;
  // Cells outside the grid are not drawn; the text is cut at the right edge.
  if (page && cursor_row >= 1 && cursor_row <= rows) {
    for (size_t i = 0; i < text.size(); ++i) {
      const int64_t cell_x = int64_t(cursor_column) - 1 + int64_t(i);
      if (cell_x < 0) continue;
      if (cell_x >= columns) break;
      draw_glyph(page, info, int32_t(cell_x), cursor_row - 1, static_cast<unsigned char>(text[i]));
    }
  }
  if (cursor_row < INT32_MAX) ++cursor_row;  // a cursor placed at the last row stays there
  cursor_column = 1;
}
