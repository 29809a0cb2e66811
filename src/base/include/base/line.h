// Lines drawn into images, clipped so that no end point, however wild, writes
// outside the target.
#pragma once
#include <cstdint>

#include "base/image.h"

// The last end point drawn (the pen position), kept by whoever draws connected
// lines; a new pen stands at (0, 0).
struct LinePen {
  float x = 0.0f, y = 0.0f;
};

// Draws a line in COL with a 16-bit style mask (0xFFFF solid). End points are
// rounded to pixels; whatever they hold, nothing outside the image is written.
void draw_line(IMAGE* target, float x1, float y1, float x2, float y2, uint32_t col,
               uint16_t style = 0xFFFF);
// The same, and PEN moves to (X2, Y2), even when nothing is drawn.
void draw_line(IMAGE* target, LinePen& pen, float x1, float y1, float x2, float y2, uint32_t col,
               uint16_t style = 0xFFFF);
// Draws from PEN to (X2, Y2) and moves PEN there.
void draw_line_to(IMAGE* target, LinePen& pen, float x2, float y2, uint32_t col,
                  uint16_t style = 0xFFFF);
