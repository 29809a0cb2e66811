// What a window shows over its copy of the page and never on the page itself:
// the start-up hint, the pause line and the help overlay. Drawn with the
// built-in 8 x 8 font into any 32-bit pixel buffer.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

struct PixelTarget {
  uint32_t* pixels;
  int32_t width, height;
  int32_t pitch;  // pixels from one row to the next
};

constexpr uint32_t EXTRAS_TEXT = 0xFFFFFFFFu;   // white
constexpr uint32_t EXTRAS_TITLE = 0xFFFFE040u;  // yellow: the pause line, the help's first line

// TEXT from (X, Y), one 8 x 8 cell per character, only the glyphs' pixels
// written; whatever falls outside the target is cut off.
// Each font pixel is a SCALE x SCALE square.
void draw_text(const PixelTarget& t, int32_t x, int32_t y, const std::string& text, uint32_t colour,
               int32_t scale = 1);
// Darkens the box to a quarter of its brightness (clipped to the target).
void shade_box(const PixelTarget& t, int32_t x, int32_t y, int32_t w, int32_t h);

constexpr const char* HINT_TEXT = "Move the mouse to look around, F1 for help";
constexpr const char* PAUSE_TEXT = "Paused: click to resume";
// The notice's text row: just under the page's four status lines.
constexpr int32_t NOTICE_Y = 36;

struct WindowExtras {
  bool hint = false;    // HINT_TEXT along the bottom
  bool paused = false;  // "Paused: click to resume" across the middle
  bool help = false;    // the help panel, centred
  std::string notice;   // under the status text, when not empty
  std::vector<std::string> help_lines;  // the first is the panel's heading
  const char* hint_text = HINT_TEXT;    // the page in a browser asks for a click first
  int32_t scale = 1;  // each font pixel as a SCALE x SCALE square, the layout likewise
};

void draw_window_extras(const PixelTarget& t, const WindowExtras& extras);
