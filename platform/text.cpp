// Text on the page: 8 x 8 cells, light grey on black, the cursor counted from 1.
#include "platform/font8x8.h"
#include "platform/host.h"
#include "platform/platform.h"

namespace {
int32_t CURSOR_ROW = 1, CURSOR_COLUMN = 1;
constexpr uint32_t TEXT_FOREGROUND = 0xFFC0C0C0u;
constexpr uint32_t TEXT_BACKGROUND = 0xFF000000u;

void DRAW_GLYPH(uint32_t* PAGE, const SCREEN_INFO_STRUCT& INFO, int32_t CELL_X, int32_t CELL_Y,
                unsigned char C) {
  const uint8_t* ROWS = (C >= FONT_FIRST && C <= FONT_LAST) ? FONT8X8[C - FONT_FIRST]
                                                            : FONT8X8['?' - FONT_FIRST];
  for (int32_t R = 0; R < 8; ++R) {
    uint32_t* OUT = PAGE + size_t(CELL_Y * 8 + R) * size_t(INFO.WIDTH) + size_t(CELL_X) * 8;
    for (int32_t B = 0; B < 8; ++B)
      OUT[B] = (ROWS[R] & (0x80 >> B)) ? TEXT_FOREGROUND : TEXT_BACKGROUND;
  }
}
}  // namespace

void LOCATE(int32_t ROW, int32_t COLUMN) {
  CURSOR_ROW = ROW;
  CURSOR_COLUMN = COLUMN;
}

void PRINT_LINE(const std::string& TEXT) {
  HOST_GET()->TEXT_LINE(TEXT.c_str());
  uint32_t* PAGE = SCREEN_PTR();
  const SCREEN_INFO_STRUCT INFO = SCREEN_INFO();
  const int32_t COLUMNS = INFO.WIDTH / 8, ROWS = INFO.HEIGHT / 8;
  // Cells outside the grid are not drawn; the text is cut at the right edge.
  if (PAGE && CURSOR_ROW >= 1 && CURSOR_ROW <= ROWS) {
    for (size_t I = 0; I < TEXT.size(); ++I) {
      const int64_t CELL_X = int64_t(CURSOR_COLUMN) - 1 + int64_t(I);
      if (CELL_X < 0) continue;
      if (CELL_X >= COLUMNS) break;
      DRAW_GLYPH(PAGE, INFO, int32_t(CELL_X), CURSOR_ROW - 1, static_cast<unsigned char>(TEXT[I]));
    }
  }
  if (CURSOR_ROW < INT32_MAX) ++CURSOR_ROW;  // a cursor placed at the last row stays there
  CURSOR_COLUMN = 1;
}
