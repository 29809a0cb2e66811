// What the browser host does in plain C++, apart from the browser: the keys by
// physical key and the page's pixels in the canvas's byte order.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

struct KeyCode {
  const char* code;  // KeyboardEvent.code
  int32_t scancode;  // PC scan code (set 1)
};
// Every key the page passes on, as the window does: the main block, F1 to F10,
// the keypad and Home. Escape is not among them: in a page it gives the mouse
// back (the browser's own rule) and pauses; it does not end the program. Nor
// is Tab, which keeps moving the focus through the page.
extern const KeyCode WEB_KEYS[];
extern const size_t WEB_KEY_COUNT;
// The scan code of a KeyboardEvent.code, or 0 when the page does not pass it on.
int32_t scancode_of_key_code(const char* code);

// The page's 0xAARRGGBB words as the canvas's bytes: red, green, blue, then an
// opaque alpha (a canvas weighs the colours by anything less).
void page_to_canvas(const uint32_t* page, uint32_t* canvas, size_t count);

// The canvas's size in device pixels: its CSS size CSS_W x CSS_H times the
// device pixel RATIO, each rounded to whole pixels. False when the browser
// reports no usable size (a hidden canvas, zero, NaN or infinity); sizes too
// large for any page come back held at a bound the program then fits.
bool canvas_device_pixels(double css_w, double css_h, double ratio, int32_t& width, int32_t& height);

// The window's help lines as they hold in a page: Esc frees the mouse, F11 is
// the browser's full screen, and there are no screenshots. A line is known by
// the keys it starts with; its effect keeps its column.
std::vector<std::string> page_help(const std::vector<std::string>& window_lines);
