// BMP files read into 32-bit images by the program's own decoder, so that every
// build sees the same texels.
#pragma once
#include <cstdint>

#include "base/image.h"

// Loads a BMP file into an existing 32-bit image. Only the part both share is
// written. 0, ERR_FILE_NOT_FOUND (cannot be opened) or ERR_FILE_IO (not a BMP
// this loader decodes: compressed other than RLE, or a size outside 1 to 4096
// a side). A failure leaves a failure note that names the file and the cause.
int32_t load_bmp(const char* filename, IMAGE* target);
// Loads a BMP file into a new image of the file's own size (1 to 4096 a side,
// any width). Null on failure, with ERROR and the failure note set as above
// (ERR_OUT_OF_MEMORY when the image cannot be made).
IMAGE* load_bmp_image(const char* filename, int32_t& error);
