// BMP loading, the same on every build: the headers are checked first
// (bmp_header.cpp), then the pixels are decoded here into 32-bit pixels and
// copied into an image.
//
// What the decoder makes of each variant:
// - palette pixels (1, 4 and 8 bits, also run-length coded) take the palette's
//   colour, opaque; an index beyond the palette stops the load;
// - 16 bits are 5-5-5 unless bit fields say otherwise, 24 bits blue-green-red;
// - 32 bits without bit fields keep their top byte as alpha, unless every
//   pixel's is 0 (a file that does not use it): then all are opaque;
// - bit fields take each colour from its mask, channels narrower than 8 bits
//   scaled to 0 to 255 and rounded down (5-bit 31 is 255); alpha comes from a mask
//   only in the headers that have one (56 bytes and more), else it is opaque;
// - run-length pixels that a file leaves out keep colour 0 of the palette, and
//   runs past a row's end or above the top row are dropped.

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>
#include <new>
#include <string>
#include <vector>

#include "base/bmp.h"
#include "base/bmp_header.h"
#include "base/fail.h"
#include "base/file_notes.h"
#include "base/image.h"

namespace {

// 32-bit pixels, top row first.
struct Decoded {
  int32_t width = 0, height = 0;
  std::vector<uint32_t> pixels;
};

// Why a decode stopped: an error number and the cause for the failure note.
struct Refusal {
  int32_t error = 0;
  std::string cause;
};

// Buffered bytes of an open file from a given offset on.
class ByteReader {
 public:
  explicit ByteReader(std::FILE* f) : f_(f) {}
  bool seek(uint64_t offset) {
    at_ = end_ = 0;
    return std::fseek(f_, long(offset), SEEK_SET) == 0;
  }
  // False at the end of the file.
  bool byte(uint8_t& b) {
    if (at_ == end_) {
      end_ = std::fread(buffer_, 1, sizeof buffer_, f_);
      at_ = 0;
      if (end_ == 0) return false;
    }
    b = buffer_[at_++];
    return true;
  }
  bool bytes(uint8_t* out, size_t n) {
    for (size_t i = 0; i < n; ++i)
      if (!byte(out[i])) return false;
    return true;
  }

 private:
  std::FILE* f_;
  uint8_t buffer_[65536];
  size_t at_ = 0, end_ = 0;
};

// One colour channel of a bit-field pixel.
class Channel {
 public:
  explicit Channel(uint32_t mask) : mask_(mask) {
    if (!mask) return;
    while (!(mask >> shift_ & 1u)) ++shift_;
    for (uint32_t m = mask >> shift_; m; m >>= 1) ++bits_;
  }
  bool present() const { return mask_ != 0; }
  // The channel as 8 bits: wider ones keep their top 8 bits, narrower ones
  // are scaled to 0 to 255 and rounded down (5-bit 8 is 65).
  uint32_t take(uint32_t pixel) const {
    if (!bits_) return 0;
    const uint32_t v = (pixel & mask_) >> shift_;
    if (bits_ >= 8) return v >> (bits_ - 8);
    return v * 255u / ((1u << bits_) - 1u);
  }

 private:
  uint32_t mask_ = 0;
  int shift_ = 0, bits_ = 0;
};

struct Masks {
  Channel r, g, b, a;
  uint32_t from(uint32_t pixel) const {
    const uint32_t alpha = a.present() ? a.take(pixel) : 0xFFu;
    return alpha << 24 | r.take(pixel) << 16 | g.take(pixel) << 8 | b.take(pixel);
  }
};

Refusal too_short(const char* what) {
  return {ERR_FILE_IO, std::string("the file ends inside its ") + what};
}

Refusal beyond_palette(uint32_t index, size_t colours) {
  return {ERR_FILE_IO, "a pixel's colour index " + std::to_string(index) + " is beyond its palette of " +
                           std::to_string(colours) + " colours"};
}

// The palette of a file of 1, 4 or 8 bits per pixel, as opaque 32-bit colours.
Refusal read_palette(ByteReader& in, const BmpHeader& h, const uint8_t* header_bytes,
                     std::vector<uint32_t>& palette) {
  const uint32_t most = 1u << h.bits;
  uint32_t count = most;
  if (h.info_size >= 40) {
    const uint32_t used = bmp_u32(header_bytes + 46);
    if (used != 0 && used < most) count = used;
  }
  const size_t entry = h.info_size == 12 ? 3 : 4;  // the core header's entries have no fourth byte
  if (!in.seek(14 + uint64_t(h.info_size))) return too_short("palette");
  palette.resize(count);
  for (uint32_t& colour : palette) {
    uint8_t e[4];
    if (!in.bytes(e, entry)) return too_short("palette");
    colour = 0xFF000000u | uint32_t(e[2]) << 16 | uint32_t(e[1]) << 8 | e[0];
  }
  return {};
}

// Uncompressed rows of any bit depth.
Refusal read_rows(ByteReader& in, const BmpHeader& h, const std::vector<uint32_t>& palette,
                  Decoded& out) {
  const int32_t w = out.width, rows = out.height;
  const size_t row_bytes = (size_t(w) * h.bits + 31) / 32 * 4;
  std::vector<uint8_t> row(row_bytes);
  // The masks of 16- and 32-bit pixels: the file's own with bit fields (right
  // after a 40-byte header, or inside a larger one), else the defaults.
  Masks masks{Channel(0x7C00), Channel(0x03E0), Channel(0x001F), Channel(0)};
  if (h.bits == 32) masks = Masks{Channel(0xFF0000), Channel(0xFF00), Channel(0xFF), Channel(0)};
  if (h.compression == BMP_BITFIELDS) {
    uint8_t m[16] = {};
    const size_t count = h.info_size >= 56 ? 4 : 3;
    if (!in.seek(14 + 40) || !in.bytes(m, count * 4)) return too_short("colour masks");
    masks = Masks{Channel(bmp_u32(m)), Channel(bmp_u32(m + 4)), Channel(bmp_u32(m + 8)),
                  Channel(count == 4 ? bmp_u32(m + 12) : 0)};
  }
  const bool top_down = h.height < 0;
  bool any_alpha = false;
  if (!in.seek(h.pixel_offset)) return too_short("pixels");
  for (int32_t i = 0; i < rows; ++i) {
    if (!in.bytes(row.data(), row_bytes)) return too_short("pixels");
    uint32_t* dst = &out.pixels[size_t(top_down ? i : rows - 1 - i) * size_t(w)];
    const uint8_t* p = row.data();
    switch (h.bits) {
      case 1: case 4: case 8: {
        const int per_byte = 8 / h.bits;
        const uint32_t low = (1u << h.bits) - 1;
        for (int32_t x = 0; x < w; ++x) {
          const int shift = 8 - h.bits * (x % per_byte + 1);
          const uint32_t index = uint32_t(p[x / per_byte]) >> shift & low;
          if (index >= palette.size()) return beyond_palette(index, palette.size());
          dst[x] = palette[index];
        }
        break;
      }
      case 16:
        for (int32_t x = 0; x < w; ++x) dst[x] = masks.from(uint32_t(p[2 * x]) | uint32_t(p[2 * x + 1]) << 8);
        break;
      case 24:
        for (int32_t x = 0; x < w; ++x, p += 3)
          dst[x] = 0xFF000000u | uint32_t(p[2]) << 16 | uint32_t(p[1]) << 8 | p[0];
        break;
      case 32:
        if (h.compression == BMP_BITFIELDS) {
          for (int32_t x = 0; x < w; ++x) dst[x] = masks.from(bmp_u32(p + 4 * x));
        } else {
          for (int32_t x = 0; x < w; ++x) {
            dst[x] = bmp_u32(p + 4 * x);
            any_alpha |= (dst[x] >> 24) != 0;
          }
        }
        break;
      default:
        return {ERR_FILE_IO, std::to_string(h.bits) + " bits per pixel are not read"};
    }
  }
  // Plain 32-bit pixels whose top byte is 0 throughout do not use it as alpha.
  if (h.bits == 32 && h.compression == BMP_RGB && !any_alpha)
    for (uint32_t& px : out.pixels) px |= 0xFF000000u;
  return {};
}

// Run-length coded rows (8 or 4 bits), bottom row first.
Refusal read_runs(ByteReader& in, const BmpHeader& h, const std::vector<uint32_t>& palette,
                  Decoded& out) {
  const bool rle8 = h.compression == BMP_RLE8;
  const int64_t w = out.width, rows = out.height;
  std::vector<uint8_t> index(size_t(w) * size_t(rows), 0);  // left out: colour 0
  int64_t x = 0, y = 0;  // y counts rows from the bottom
  const auto put = [&](uint8_t i) {
    if (x < w && y < rows) index[size_t(rows - 1 - y) * size_t(w) + size_t(x)] = i;
    ++x;
  };
  if (!in.seek(h.pixel_offset)) return too_short("pixels");
  for (;;) {
    uint8_t count, value;
    if (!in.byte(count) || !in.byte(value)) return too_short("pixels");
    if (count > 0) {
      // A run: COUNT pixels of one index, or of two alternating ones.
      for (int i = 0; i < count; ++i) put(rle8 ? value : (i % 2 ? value & 0x0F : value >> 4));
      continue;
    }
    if (value == 0) {  // end of row
      x = 0;
      ++y;
    } else if (value == 1) {  // end of the picture
      break;
    } else if (value == 2) {  // move right and up
      uint8_t dx, dy;
      if (!in.byte(dx) || !in.byte(dy)) return too_short("pixels");
      x += dx;
      y += dy;
    } else {  // VALUE pixels as they are, padded to a 16-bit boundary
      const int n = value;
      const int stored = rle8 ? n : (n + 1) / 2;
      for (int i = 0; i < stored; ++i) {
        uint8_t b;
        if (!in.byte(b)) return too_short("pixels");
        if (rle8) {
          put(b);
        } else {
          put(b >> 4);
          if (2 * i + 1 < n) put(b & 0x0F);
        }
      }
      uint8_t pad;
      if (stored % 2 && !in.byte(pad)) return too_short("pixels");
    }
  }
  for (size_t i = 0; i < index.size(); ++i) {
    if (index[i] >= palette.size()) return beyond_palette(index[i], palette.size());
    out.pixels[i] = palette[index[i]];
  }
  return {};
}

// Decodes an open file whose first bytes have been checked.
Refusal decode_pixels(std::FILE* f, const BmpHeader& h, const uint8_t* header_bytes, Decoded& out) {
  out.width = h.width;
  out.height = h.height < 0 ? -h.height : h.height;
  out.pixels.assign(size_t(out.width) * size_t(out.height), 0u);
  auto reader = std::make_unique<ByteReader>(f);
  std::vector<uint32_t> palette;
  if (h.bits <= 8)
    if (Refusal r = read_palette(*reader, h, header_bytes, palette); r.error) return r;
  if (h.compression == BMP_RLE8 || h.compression == BMP_RLE4) return read_runs(*reader, h, palette, out);
  return read_rows(*reader, h, palette, out);
}

int32_t fail(int32_t error, const char* filename, const std::string& cause) {
  note_file_failure(filename ? filename : "", cause, false);
  return error;
}

// The file's pixels, or an error number with a failure note.
int32_t decode(const char* filename, Decoded& out) {
  uint64_t file_size = 0;
  std::FILE* f = open_plain_file(filename, &file_size);
  if (!f) return ERR_FILE_NOT_FOUND;

  uint8_t bytes[BMP_HEADER_BYTES] = {};
  const size_t got = std::fread(bytes, 1, sizeof bytes, f);
  BmpHeader header;
  std::string cause = check_bmp_header(bytes, got, file_size, header);
  Refusal refusal{cause.empty() ? 0 : ERR_FILE_IO, cause};
  if (!refusal.error) {
    try {
      refusal = decode_pixels(f, header, bytes, out);
    } catch (const std::bad_alloc&) {
      refusal = {ERR_OUT_OF_MEMORY, "no memory for its pixels"};
    }
  }
  std::fclose(f);
  if (refusal.error) {
    out = Decoded{};
    return fail(refusal.error, filename, refusal.cause);
  }
  return 0;
}

// Copies the top-left W x H pixels into the image.
void copy_pixels(const Decoded& d, IMAGE* target, int32_t w, int32_t h) {
  for (int32_t y = 0; y < h; ++y)
    std::memcpy(target->row(uint32_t(y)), &d.pixels[size_t(y) * size_t(d.width)], size_t(w) * 4);
}

}  // namespace

int32_t load_bmp(const char* filename, IMAGE* target) {
  if (!target) return ERR_NULL_POINTER;
  Decoded d;
  if (const int32_t error = decode(filename, d)) return error;
  // A file of another size fills only the part both share.
  const int32_t w = int32_t(std::min<int64_t>(d.width, target->WIDTH));
  const int32_t h = int32_t(std::min<int64_t>(d.height, target->HEIGHT));
  copy_pixels(d, target, w, h);
  return 0;
}

IMAGE* load_bmp_image(const char* filename, int32_t& error) {
  Decoded d;
  error = decode(filename, d);
  if (error) return nullptr;
  IMAGE* img = image_create(d.width, d.height);
  if (img) copy_pixels(d, img, d.width, d.height);
  else error = fail(ERR_OUT_OF_MEMORY, filename, "no memory for its pixels");
  return img;
}
