// Texture files of users' models, in the formats exporters write.
#pragma once
#include <cstdint>

#include "base/image.h"

// Loads a texture file into a new image of its own size (1 to 4096 a side):
// a BMP (by its "BM" mark) as load_bmp_image does, a PNG, JPEG or TGA file
// decoded with its alpha (opaque where it has none). Null on failure, with
// ERROR and the failure note set as load_bmp_image sets them.
IMAGE* load_image_file(const char* filename, int32_t& error);
