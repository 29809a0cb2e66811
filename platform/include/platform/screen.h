// The screen: one 32-bit page shown by the host at every unlock.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "base/image.h"

struct ScreenInfo {
  int32_t width, height, depth, bpp, pitch;
};

// Opens the window (or the headless page) of WIDTH x HEIGHT, 32 bits, one page.
// 0 or ERR_ILLEGAL_CALL. The text grid becomes WIDTH/8 x HEIGHT/8 cells, the
// text cursor row 1, column 1.
int32_t set_graphics_mode(int32_t width, int32_t height);
// Makes the page WIDTH x HEIGHT (cleared, text cursor at row 1, column 1, the
// text scale kept) in the window already open. 0 or ERR_ILLEGAL_CALL.
int32_t resize_screen(int32_t width, int32_t height);
// The window's size in device pixels; false where there is no window to follow.
bool window_pixel_size(int32_t& width, int32_t& height);
void screen_lock();
void screen_unlock();   // shows the whole page
uint32_t* screen_ptr(); // row 0, column 0 of the page; rows are WIDTH * 4 bytes apart
ScreenInfo screen_info();
// Copies an image to the page with its top-left corner at (0, 0). 0 or an error.
int32_t put_image(const IMAGE* img);
// Returns at the next vertical retrace, or after one refresh period.
int32_t wait_retrace();
// Shows the page as it is now, between frames (the window only; the headless
// page counts no frame for it).
void screen_refresh();
// Words only a window shows, never the page: STATUS after the program's name in
// the title, and the lines of the help overlay (the first is the heading).
void set_window_text(const std::string& status, const std::vector<std::string>& help_lines);
// A line a window shows under the status text for its first seconds (how you
// move and which key changes it); empty for none.
void set_window_notice(const std::string& notice);
