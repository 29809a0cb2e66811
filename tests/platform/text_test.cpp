// The built-in font and text printed on the page.
#include "test_support.h"

#include <climits>
#include <set>

#include "platform/font8x8.h"

namespace {
TEST(Font, GlyphsKeepTheirBoxAndAreDistinct) {
  std::set<std::string> SEEN;
  for (int C = FONT_FIRST; C <= FONT_LAST; ++C) {
    const uint8_t* G = FONT8X8[C - FONT_FIRST];
    int INK = 0, RIGHT_COLUMN = 0;
    for (int R = 0; R < 8; ++R) INK += __builtin_popcount(G[R]), RIGHT_COLUMN |= G[R] & 1;
    EXPECT_EQ(RIGHT_COLUMN, 0) << char(C);
    EXPECT_EQ(G[7] != 0, std::string("gjpqy").find(char(C)) != std::string::npos) << char(C);
    EXPECT_EQ(INK == 0, C == ' ') << char(C);
    EXPECT_TRUE(SEEN.insert(std::string(G, G + 8)).second) << char(C) << " repeats a glyph";
  }
}

// A 70 x 28 page: a grid of 8 x 3 cells and an untouched strip beyond them.
class PrintLine : public testing::Test {
 protected:
  void SetUp() override {  // the text colours, from a '|' (column 3 set)
    ASSERT_EQ(SET_GRAPHICS_MODE(70, 28), 0);
    LOCATE(1, 1);
    PRINT_LINE("|");
    INK = AT(3, 0), PAPER = AT(0, 0);
    ASSERT_NE(INK, PAPER);
    ASSERT_EQ(SET_GRAPHICS_MODE(70, 28), 0);
  }
  uint32_t AT(int X, int Y) const { return SCREEN_PTR()[Y * 70 + X]; }
  // Each cell as the glyph it shows: '.' untouched, '#' for anything that is no glyph.
  std::string ROW_TEXT(int ROW) const {
    std::string S;
    for (int COLUMN = 0; COLUMN < 8; ++COLUMN) {
      char SHOWN = '#';
      for (int C = FONT_FIRST - 1; C <= FONT_LAST && SHOWN == '#'; ++C) {
        bool SAME = true;
        for (int I = 0; I < 64; ++I) {
          const bool ON = C >= FONT_FIRST && (FONT8X8[C - FONT_FIRST][I / 8] & (0x80 >> I % 8));
          SAME &= AT(COLUMN * 8 + I % 8, ROW * 8 + I / 8) == (C < FONT_FIRST ? 0 : ON ? INK : PAPER);
        }
        if (SAME) SHOWN = C < FONT_FIRST ? '.' : char(C);
      }
      S += SHOWN;
    }
    return S;
  }
  bool STRIP_UNTOUCHED() const {
    for (int Y = 0; Y < 28; ++Y)
      for (int X = 0; X < 70; ++X)
        if ((X >= 64 || Y >= 24) && AT(X, Y) != 0) return false;
    return true;
  }
  uint32_t INK = 0, PAPER = 0;
};

TEST_F(PrintLine, DrawsAtTheCursorAndMovesToTheNextRow) {
  LOCATE(2, 3);
  PRINT_LINE("Ag");
  PRINT_LINE("ok");
  EXPECT_EQ(ROW_TEXT(0), "........");
  EXPECT_EQ(ROW_TEXT(1), "..Ag....");
  EXPECT_EQ(ROW_TEXT(2), "ok......");
}

TEST_F(PrintLine, CutsAtTheEdgesAndSkipsRowsOutsideTheGrid) {
  LOCATE(1, 6);
  PRINT_LINE("abcdefgh");  // only "abc" fits
  LOCATE(2, -1);
  PRINT_LINE("xyz\x01");   // starts two cells left of the page; no glyph prints '?'
  PRINT_LINE(std::string(100, 'W'));
  PRINT_LINE("below the grid");
  for (int ROW : {0, -3, 4, INT_MIN, INT_MAX}) {
    LOCATE(ROW, 1);
    PRINT_LINE("never");
  }
  EXPECT_EQ(ROW_TEXT(0), ".....abc");
  EXPECT_EQ(ROW_TEXT(1), "z?......");
  EXPECT_EQ(ROW_TEXT(2), "WWWWWWWW");
  EXPECT_TRUE(STRIP_UNTOUCHED());
}
}  // namespace
