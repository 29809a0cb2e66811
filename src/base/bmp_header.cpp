#include "base/bmp_header.h"

namespace {

const char* compression_name(uint32_t compression, uint32_t info_size) {
  switch (compression) {
    case 3: return info_size == 64 ? "Huffman" : "bit fields";
    case 4: return info_size == 64 ? "RLE24" : "JPEG";
    case 5: return "PNG";
    case 6: return "alpha bit fields";
    case 11: case 12: case 13: return "CMYK";
    default: return "unknown";
  }
}

// Which bit depths each compression is defined for.
bool bits_fit(uint32_t compression, uint16_t bits) {
  switch (compression) {
    case BMP_RGB: return bits == 1 || bits == 4 || bits == 8 || bits == 16 || bits == 24 || bits == 32;
    case BMP_RLE8: return bits == 8;
    case BMP_RLE4: return bits == 4;
    case BMP_BITFIELDS: return bits == 16 || bits == 32;
    default: return false;
  }
}

std::string size_text(int64_t width, int64_t height) {
  return std::to_string(width) + " x " + std::to_string(height);
}

}  // namespace

std::string check_bmp_header(const uint8_t* bytes, size_t size, uint64_t file_size,
                             BmpHeader& header) {
  header = BmpHeader{};
  if (size < 18 || bytes[0] != 'B' || bytes[1] != 'M') return "not a BMP file";
  header.pixel_offset = bmp_u32(bytes + 10);
  header.info_size = bmp_u32(bytes + 14);
  const uint32_t info = header.info_size;
  // 12: the OS/2 core header; 40 to 124: the Windows headers (64 is OS/2's own).
  if (info != 12 && (info < 40 || info > 124))
    return "unknown BMP header size " + std::to_string(info);
  if (size < 14 + size_t(info)) return "the file ends inside its header";

  int64_t width, height;
  if (info == 12) {
    // Unsigned 16-bit sizes, rows bottom-up, never compressed.
    width = bmp_u16(bytes + 18);
    height = bmp_u16(bytes + 20);
    header.bits = uint16_t(bmp_u16(bytes + 24));
  } else {
    width = int32_t(bmp_u32(bytes + 18));
    height = int32_t(bmp_u32(bytes + 22));
    header.bits = uint16_t(bmp_u16(bytes + 28));
    header.compression = bmp_u32(bytes + 30);
  }
  const uint32_t compression = header.compression;

  // Only what the decoder really decodes goes on; it would take any other
  // value for uncompressed pixels and show the compressed bytes as texels.
  // The OS/2 header's 3 and 4 are Huffman and RLE24, which it cannot read.
  const bool known = compression <= BMP_BITFIELDS && !(info == 64 && compression == 3);
  if (!known)
    return "compression " + std::to_string(compression) + " (" +
           compression_name(compression, info) + ") is not read; save it as an uncompressed BMP";
  if (!bits_fit(compression, header.bits))
    return std::to_string(header.bits) + " bits per pixel do not go with compression " +
           std::to_string(compression);

  // A negative height means rows stored top-down, which only uncompressed
  // pixels may be; the most negative value has no size at all.
  const bool top_down = height < 0;
  const int64_t rows = top_down ? -height : height;
  if (width < 1 || rows < 1 || width > BMP_MAX_SIDE || rows > BMP_MAX_SIDE)
    return "size " + size_text(width, height) + " is outside 1 to " + std::to_string(BMP_MAX_SIDE) +
           " pixels a side";
  if (top_down && (compression == BMP_RLE8 || compression == BMP_RLE4))
    return "compressed rows cannot be stored top-down";
  header.width = int32_t(width);
  header.height = int32_t(height);

  if (header.pixel_offset < 14 + info || header.pixel_offset > file_size)
    return "the pixel data would start at byte " + std::to_string(header.pixel_offset) +
           " of a file of " + std::to_string(file_size);
  if (compression == BMP_RGB || compression == BMP_BITFIELDS) {
    // Rows are padded to whole 32-bit words.
    const uint64_t row_bytes = (uint64_t(width) * header.bits + 31) / 32 * 4;
    if (row_bytes * uint64_t(rows) > file_size - header.pixel_offset)
      return "the file is too short for its " + size_text(width, rows) + " pixels";
  }
  return "";
}
