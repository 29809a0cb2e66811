// The fields of a BMP file's headers that decide whether its pixels can be
// decoded, read and checked before any decoder sees the file.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

// The largest width or height a BMP may have here: 4096 x 4096 32-bit pixels
// are 64 MB.
constexpr int32_t BMP_MAX_SIDE = 4096;

enum BmpCompression : uint32_t {
  BMP_RGB = 0,        // uncompressed
  BMP_RLE8 = 1,
  BMP_RLE4 = 2,
  BMP_BITFIELDS = 3,  // uncompressed with colour masks
};

struct BmpHeader {
  uint32_t pixel_offset = 0;  // where the pixel data starts in the file
  uint32_t info_size = 0;     // 12 (OS/2 core header), 40 and larger (Windows)
  int32_t width = 0;
  int32_t height = 0;         // negative: rows stored top-down
  uint16_t bits = 0;          // per pixel
  uint32_t compression = BMP_RGB;
};

// Reads the headers from the first SIZE bytes of a file of FILE_SIZE bytes and
// checks them: the signature, a header size that is known, a width of 1 to
// BMP_MAX_SIDE, a height of 1 to BMP_MAX_SIDE either way up (top-down only
// uncompressed), a bit depth that goes with the compression, a compression the
// decoder really decodes, and pixel data that lies within the file (for
// uncompressed files: all of it). Returns "" when the file can be decoded,
// else the cause in words ("compression 4 (JPEG) is not read").
std::string check_bmp_header(const uint8_t* bytes, size_t size, uint64_t file_size,
                             BmpHeader& header);

// Little-endian numbers as BMP files store them.
inline uint32_t bmp_u16(const uint8_t* p) {
  return uint32_t(p[0]) | uint32_t(p[1]) << 8;
}
inline uint32_t bmp_u32(const uint8_t* p) {
  return bmp_u16(p) | bmp_u16(p + 2) << 16;
}

// The bytes check_bmp_header needs at most: the file header and the largest
// info header.
constexpr size_t BMP_HEADER_BYTES = 14 + 124;
