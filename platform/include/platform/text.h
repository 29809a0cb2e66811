// Text on the screen page, in 8 x 8 cells with the built-in font.
#pragma once
#include <cstdint>
#include <string>

// Text cursor, row and column counted from 1, in 8 x 8 cells of the page.
void locate(int32_t row, int32_t column);
// Prints TEXT at the cursor with the built-in 8 x 8 font and moves the cursor to
// the start of the next row.
void print_line(const std::string& text);
