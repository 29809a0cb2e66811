// PNG files written from 32-bit pages (screenshots, shots of chosen frames).
#pragma once
#include <cstdint>

// Writes the pixels of a 32-bit page as an RGB PNG. 0 or ERR_FILE_IO.
int32_t save_png(const char* filename, const uint32_t* pixels, int32_t width, int32_t height,
                 int32_t pitch);
