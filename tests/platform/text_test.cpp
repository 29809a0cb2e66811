// The built-in font and text printed on the page.
#include "test_support.h"

#include <climits>
#include <set>

#include "base/font8x8.h"
#include "platform/screen.h"
#include "platform/text.h"

namespace {
TEST(Font, GlyphsKeepTheirBoxAndAreDistinct) {
  std::set<std::string> seen;
  for (int c = FONT_FIRST; c <= FONT_LAST; ++c) {
    const uint8_t* g = FONT8X8[c - FONT_FIRST];
    int ink = 0, right_column = 0;
    for (int r = 0; r < 8; ++r) ink += __builtin_popcount(g[r]), right_column |= g[r] & 1;
    EXPECT_EQ(right_column, 0) << char(c);
    EXPECT_EQ(g[7] != 0, std::string("gjpqy").find(char(c)) != std::string::npos) << char(c);
    EXPECT_EQ(ink == 0, c == ' ') << char(c);
    EXPECT_TRUE(seen.insert(std::string(g, g + 8)).second) << char(c) << " repeats a glyph";
  }
}

// A 70 x 28 page: a grid of 8 x 3 cells and an untouched strip beyond them.
class PrintLine : public testing::Test {
 protected:
  void SetUp() override {  // the text colours, from a '|' (column 3 set)
    ASSERT_EQ(set_graphics_mode(70, 28), 0);
    locate(1, 1);
    print_line("|");
    ink = at(3, 0), paper = at(0, 0);
    ASSERT_NE(ink, paper);
    ASSERT_EQ(set_graphics_mode(70, 28), 0);
  }
  uint32_t at(int x, int y) const { return screen_ptr()[y * 70 + x]; }
  // Each cell as the glyph it shows: '.' untouched, '#' for anything that is no glyph.
  std::string row_text(int row) const {
    std::string s;
    for (int column = 0; column < 8; ++column) {
      char shown = '#';
      for (int c = FONT_FIRST - 1; c <= FONT_LAST && shown == '#'; ++c) {
        bool same = true;
        for (int i = 0; i < 64; ++i) {
          const bool on = c >= FONT_FIRST && (FONT8X8[c - FONT_FIRST][i / 8] & (0x80 >> i % 8));
          same &= at(column * 8 + i % 8, row * 8 + i / 8) == (c < FONT_FIRST ? 0 : on ? ink : paper);
        }
        if (same) shown = c < FONT_FIRST ? '.' : char(c);
      }
      s += shown;
    }
    return s;
  }
  bool strip_untouched() const {
    for (int y = 0; y < 28; ++y)
      for (int x = 0; x < 70; ++x)
        if ((x >= 64 || y >= 24) && at(x, y) != 0) return false;
    return true;
  }
  uint32_t ink = 0, paper = 0;
};

TEST_F(PrintLine, DrawsAtTheCursorAndMovesToTheNextRow) {
  locate(2, 3);
  print_line("Ag");
  print_line("ok");
  EXPECT_EQ(row_text(0), "........");
  EXPECT_EQ(row_text(1), "..Ag....");
  EXPECT_EQ(row_text(2), "ok......");
}

TEST_F(PrintLine, CutsAtTheEdgesAndSkipsRowsOutsideTheGrid) {
  locate(1, 6);
  print_line("abcdefgh");  // only "abc" fits
  locate(2, -1);
  print_line("xyz\x01");   // starts two cells left of the page; no glyph prints '?'
  print_line(std::string(100, 'W'));
  print_line("below the grid");
  for (int row : {0, -3, 4, INT_MIN, INT_MAX}) {
    locate(row, 1);
    print_line("never");
  }
  EXPECT_EQ(row_text(0), ".....abc");
  EXPECT_EQ(row_text(1), "z?......");
  EXPECT_EQ(row_text(2), "WWWWWWWW");
  EXPECT_TRUE(strip_untouched());
}

// At scale 2 each font pixel is a 2 x 2 square: the 70 x 28 page holds a grid
// of 4 x 1 cells of 16 pixels, and the row beyond it stays untouched.
TEST_F(PrintLine, AScaledCellRepeatsEachFontPixel) {
  set_text_scale(2);
  locate(1, 3);
  print_line("Ag!");  // only "Ag" fits
  print_line("never");
  set_text_scale(1);
  const uint8_t* a = FONT8X8['A' - FONT_FIRST];
  for (int y = 0; y < 28; ++y)
    for (int x = 0; x < 70; ++x) {
      const bool in_a = x >= 32 && x < 48 && y < 16;
      const uint32_t want = in_a ? ((a[y / 2] & (0x80 >> (x - 32) / 2)) ? ink : paper)
                                 : (x >= 64 || y >= 16 || x < 32) ? 0u : at(x, y);
      ASSERT_EQ(at(x, y), want) << x << "," << y;
    }
}
}  // namespace
