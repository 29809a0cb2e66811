// The built-in 8 x 8 font: glyphs for ASCII 32 to 126, eight rows each, top row
// first; bit 7 of a row is its leftmost pixel.
#pragma once
#include <cstdint>

constexpr int FONT_FIRST = 32, FONT_LAST = 126;
extern const uint8_t FONT8X8[FONT_LAST - FONT_FIRST + 1][8];
