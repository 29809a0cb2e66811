// Text on the screen page, in 8 x 8 cells with the built-in font.
#pragma once
#include <cstdint>
#include <string>

// Each font pixel of the text printed from now on is drawn as a SCALE x SCALE
// square (at least 1): the cells are 8 * SCALE pixels and the grid has as many
// fewer rows and columns. Set on a new page, kept when the page is resized.
void set_text_scale(int32_t scale);
int32_t text_scale();

// Text cursor, row and column counted from 1, in 8 x 8 cells of the page.
void locate(int32_t row, int32_t column);
// Prints TEXT at the cursor with the built-in 8 x 8 font and moves the cursor to
// the start of the next row.
void print_line(const std::string& text);
