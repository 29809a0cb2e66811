#include "window_extras.h"

#include <algorithm>

#include "base/font8x8.h"

namespace {
constexpr int32_t CELL = 8;
constexpr int32_t HELP_LINE_HEIGHT = 10;
constexpr int32_t HELP_MARGIN = 12;

int32_t text_width(const std::string& text, int32_t scale) {
  return int32_t(text.size()) * CELL * scale;
}

// A line of text centred across the target on a shaded band.
void banner(const PixelTarget& t, int32_t y, const std::string& text, uint32_t colour, int32_t k) {
  shade_box(t, 0, y - 4 * k, t.width, (CELL + 8) * k);
  draw_text(t, (t.width - text_width(text, k)) / 2, y, text, colour, k);
}
}  // namespace

void draw_text(const PixelTarget& t, int32_t x, int32_t y, const std::string& text, uint32_t colour,
               int32_t scale) {
  const int32_t k = std::clamp(scale, int32_t(1), int32_t(64));
  for (size_t i = 0; i < text.size(); ++i) {
    const unsigned char c = static_cast<unsigned char>(text[i]);
    const uint8_t* rows =
        FONT8X8[(c >= FONT_FIRST && c <= FONT_LAST ? c : '?') - FONT_FIRST];
    const int64_t cell_x = int64_t(x) + int64_t(i) * CELL * k;
    if (cell_x >= t.width) break;
    for (int32_t r = 0; r < CELL * k; ++r) {
      const int64_t py = int64_t(y) + r;
      if (py < 0 || py >= t.height) continue;
      uint32_t* row = t.pixels + size_t(py) * size_t(t.pitch);
      const uint8_t bits = rows[r / k];
      for (int32_t b = 0; b < CELL; ++b) {
        if (!(bits & (0x80 >> b))) continue;
        const int64_t from = std::max<int64_t>(cell_x + b * k, 0);
        const int64_t to = std::min<int64_t>(cell_x + (b + 1) * k, t.width);
        for (int64_t px = from; px < to; ++px) row[px] = colour;
      }
    }
  }
}

void shade_box(const PixelTarget& t, int32_t x, int32_t y, int32_t w, int32_t h) {
  const int32_t x0 = std::max(x, 0), y0 = std::max(y, 0);
  const int32_t x1 = int32_t(std::min<int64_t>(int64_t(x) + w, t.width));
  const int32_t y1 = int32_t(std::min<int64_t>(int64_t(y) + h, t.height));
  for (int32_t py = y0; py < y1; ++py) {
    uint32_t* row = t.pixels + size_t(py) * size_t(t.pitch);
    // A quarter of each channel: shift the whole word and keep each channel's own bits.
    for (int32_t px = x0; px < x1; ++px) row[px] = 0xFF000000u | ((row[px] >> 2) & 0x003F3F3Fu);
  }
}

void draw_window_extras(const PixelTarget& t, const WindowExtras& extras) {
  if (!t.pixels || t.width <= 0 || t.height <= 0) return;
  const int32_t k = std::clamp(extras.scale, int32_t(1), int32_t(64));
  if (extras.help && !extras.help_lines.empty()) {
    int32_t widest = 0;
    for (const std::string& line : extras.help_lines) widest = std::max(widest, text_width(line, k));
    const int32_t w = widest + 2 * HELP_MARGIN * k;
    const int32_t h = (int32_t(extras.help_lines.size()) * HELP_LINE_HEIGHT + 2 * HELP_MARGIN - 2) * k;
    const int32_t x = (t.width - w) / 2, y = (t.height - h) / 2;
    shade_box(t, x, y, w, h);
    for (size_t i = 0; i < extras.help_lines.size(); ++i)
      draw_text(t, x + HELP_MARGIN * k, y + (HELP_MARGIN + int32_t(i) * HELP_LINE_HEIGHT) * k,
                extras.help_lines[i], i == 0 ? EXTRAS_TITLE : EXTRAS_TEXT, k);
  }
  if (!extras.notice.empty()) banner(t, NOTICE_Y * k, extras.notice, EXTRAS_TEXT, k);
  if (extras.paused) banner(t, t.height / 2 - CELL * k / 2, PAUSE_TEXT, EXTRAS_TITLE, k);
  if (extras.hint) banner(t, t.height - (CELL + 4) * k, extras.hint_text, EXTRAS_TEXT, k);
}
