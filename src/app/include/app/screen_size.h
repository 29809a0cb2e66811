// The size of the picture: fixed by the command line, or following the
// window's pixels. Hosts only report sizes; the choices are made here.
#pragma once
#include <cstdint>

constexpr int32_t MIN_SCREEN_W = 320, MIN_SCREEN_H = 200;
constexpr int32_t MAX_SCREEN_W = 7680, MAX_SCREEN_H = 4320;

struct ScreenSize {
  int32_t width = 640, height = 480;
  bool follow_window = false;  // the page takes the window's pixel size, whenever it changes
};

// True when W x H lies within the sizes the program draws at.
bool screen_size_allowed(int32_t width, int32_t height);
// A window's pixel size brought within the sizes the program draws at; what
// is left over shows as bars.
void fit_screen_size(int32_t& width, int32_t& height);
// The whole factor the page's text is drawn at: about 8 font pixels per 480
// lines of picture, never below 1.
int32_t text_scale_for_height(int32_t height);
