// BMP loading: the variants that decode, the headers that are refused before
// any decoder sees them, and images made at the file's own size.
#include "test_support.h"

#include "base/bmp.h"
#include "base/bmp_header.h"
#include "base/fail.h"
#include "base/image.h"

namespace {

uint32_t colour(int x, int y) { return uint32_t(x * 40 + 3) << 16 | uint32_t(y * 50 + 7) << 8 | uint32_t(x + y); }

// A BMP file with every header field under the test's control.
struct Bmp {
  int32_t width = 4, height = 4;
  uint16_t bits = 24;
  uint32_t compression = 0;
  uint32_t info_size = 40;
  std::vector<uint32_t> palette;
  std::vector<uint32_t> masks;  // from byte 54 on: after a 40-byte header, inside a larger one
  int64_t colours_used = -1;    // the header's count of palette colours; -1: the palette's size
  std::string pixels;           // the pixel data as stored
  int64_t offset = -1;          // the pixel offset; -1: right after the headers

  std::string bytes() const {
    std::string s = "BM";
    const auto put = [&](uint32_t v, int n) { for (int i = 0; i < n; ++i) s += char(v >> 8 * i); };
    const int entry = info_size == 12 ? 3 : 4;  // the core header's colours have no fourth byte
    const size_t headers = info_size == 12 ? 26 : std::max<size_t>(14 + info_size, 54 + 4 * masks.size());
    const uint32_t start = uint32_t(headers + size_t(entry) * palette.size());
    const uint32_t at = offset < 0 ? start : uint32_t(offset);
    const uint32_t used = uint32_t(colours_used < 0 ? int64_t(palette.size()) : colours_used);
    put(uint32_t(at + pixels.size()), 4), put(0, 4), put(at, 4), put(info_size, 4);
    if (info_size == 12) {
      put(uint32_t(width), 2), put(uint32_t(height), 2), put(1, 2), put(bits, 2);
    } else {
      put(uint32_t(width), 4), put(uint32_t(height), 4), put(1, 2), put(bits, 2), put(compression, 4);
      put(uint32_t(pixels.size()), 4), put(2835, 4), put(2835, 4), put(used, 4), put(0, 4);
    }
    for (uint32_t m : masks) put(m, 4);
    if (s.size() < headers) s.resize(headers, '\0');
    for (uint32_t c : palette) put(c, entry);
    return s + pixels;
  }
};

// Uncompressed rows of PIXEL(x, y), each BYTES wide, padded to 32-bit words,
// bottom row first unless TOP_DOWN.
template <class F>
std::string rows(int w, int h, int bytes, F pixel, bool top_down = false) {
  std::string s;
  for (int i = 0; i < h; ++i) {
    const int y = top_down ? i : h - 1 - i;
    for (int x = 0; x < w; ++x)
      for (int b = 0; b < bytes; ++b) s += char(pixel(x, y) >> 8 * b);
    s.append((4 - w * bytes % 4) % 4, '\0');
  }
  return s;
}

Bmp true_colour(int w, int h) {
  Bmp b;
  b.width = w, b.height = h;
  b.pixels = rows(w, h, 3, colour);
  return b;
}

// A file that would load but for one header field: 32-bit pixels, 2 x 2.
Bmp bgra() {
  Bmp b;
  b.width = 2, b.height = 2, b.bits = 32;
  b.pixels = rows(2, 2, 4, colour);
  return b;
}

bool untouched(GuardedImage& img) {
  for (uint32_t y = 0; y < img->HEIGHT; ++y)
    for (uint32_t x = 0; x < img->WIDTH; ++x)
      if (img->row(y)[x] != TRANSPARENT_COLOR) return false;
  return img.intact();
}

TEST(LoadBmp, TrueColourAndPaletteFilesGiveOpaquePixels) {
  const std::vector<uint32_t> palette = {0x000000, 0xFF0000, 0x00FF00, 0x0000FF, 0x808080};
  Bmp pal;
  pal.width = 5, pal.height = 3, pal.bits = 8, pal.palette = palette;
  pal.pixels = rows(5, 3, 1, [](int x, int y) { return uint32_t(x + y) % 5; });
  const std::string rgb_path = write_scratch("rgb.bmp", true_colour(3, 2).bytes());
  const std::string pal_path = write_scratch("pal.bmp", pal.bytes());
  GuardedImage a(3, 2), b(5, 3);
  ASSERT_EQ(load_bmp(rgb_path.c_str(), a.get()), 0);
  ASSERT_EQ(load_bmp(pal_path.c_str(), b.get()), 0);
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 5; ++x) {
      if (x < 3 && y < 2) { EXPECT_EQ(a->row(y)[x], 0xFF000000u | colour(x, y)); }
      EXPECT_EQ(b->row(y)[x], 0xFF000000u | palette[(x + y) % 5]);
    }
  EXPECT_TRUE(a.intact() && b.intact());
}

TEST(LoadBmp, OtherSizesFillOnlyTheSharedPart) {
  const std::string big = write_scratch("big.bmp", true_colour(9, 6).bytes());
  const std::string small = write_scratch("small.bmp", true_colour(2, 2).bytes());
  GuardedImage narrow(3, 4), wide(4, 3);
  ASSERT_EQ(load_bmp(big.c_str(), narrow.get()), 0);
  ASSERT_EQ(load_bmp(small.c_str(), wide.get()), 0);
  EXPECT_TRUE(narrow.intact() && wide.intact());
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 4; ++x) {
      if (x < 3) { EXPECT_EQ(narrow->row(y)[x], 0xFF000000u | colour(x, y)); }
      if (y < 3) { EXPECT_EQ(wide->row(y)[x], x < 2 && y < 2 ? 0xFF000000u | colour(x, y) : TRANSPARENT_COLOR); }
    }
}

TEST(LoadBmp, RunLengthBitFieldsTopDownAndCoreHeadersDecode) {
  // RLE8, 3 x 2, bottom row first: a run of three 1s; then 2 and a run of two 3s.
  Bmp rle;
  rle.width = 3, rle.height = 2, rle.bits = 8, rle.compression = BMP_RLE8;
  rle.palette = {0x000000, 0x112233, 0x445566, 0x778899};
  rle.pixels = std::string("\x03\x01\x00\x00\x01\x02\x02\x03\x00\x00\x00\x01", 12);
  // Bit fields that swap red and blue.
  Bmp fields = bgra();
  fields.compression = BMP_BITFIELDS;
  fields.masks = {0x000000FF, 0x0000FF00, 0x00FF0000};
  Bmp top_down = true_colour(2, 2);
  top_down.height = -2;
  top_down.pixels = rows(2, 2, 3, colour, true);
  Bmp core = true_colour(2, 2);
  core.info_size = 12;

  const auto load = [](const char* name, const Bmp& b, int w, int h) {
    auto img = std::make_unique<GuardedImage>(w, h);
    EXPECT_EQ(load_bmp(write_scratch(name, b.bytes()).c_str(), img->get()), 0) << name;
    EXPECT_TRUE(img->intact()) << name;
    return img;
  };
  auto r = load("rle8.bmp", rle, 3, 2);
  for (int x = 0; x < 3; ++x) EXPECT_EQ((*r)->row(1)[x], 0xFF112233u);
  EXPECT_EQ((*r)->row(0)[0], 0xFF445566u);
  EXPECT_EQ((*r)->row(0)[2], 0xFF778899u);
  auto f = load("fields.bmp", fields, 2, 2);
  const uint32_t c = colour(1, 0);
  EXPECT_EQ((*f)->row(0)[1] & 0xFFFFFFu, (c & 0xFF) << 16 | (c & 0xFF00) | (c >> 16 & 0xFF));
  for (const auto& [name, b] : {std::pair{"top_down.bmp", top_down}, {"core.bmp", core}}) {
    auto img = load(name, b, 2, 2);
    for (int y = 0; y < 2; ++y)
      for (int x = 0; x < 2; ++x) EXPECT_EQ((*img)->row(y)[x], 0xFF000000u | colour(x, y)) << name;
  }
}

// Loads B into a new image of its own size; null (with a test failure) when it does not load.
IMAGE* load_new(const char* name, const Bmp& b) {
  int32_t error = -1;
  IMAGE* img = load_bmp_image(write_scratch(name, b.bytes()).c_str(), error);
  EXPECT_EQ(error, 0) << name << ": " << failure_note();
  return img;
}

// Little-endian words of 2 or 4 bytes, a row's worth padded to 32 bits.
std::string words(std::initializer_list<uint32_t> values, int bytes) {
  std::string s;
  for (uint32_t v : values)
    for (int b = 0; b < bytes; ++b) s += char(v >> 8 * b);
  s.append((4 - s.size() % 4) % 4, '\0');
  return s;
}

TEST(LoadBmp, ChannelsNarrowerThanEightBitsSpanTheFullRange) {
  // 5-5-5 by default: 31 is 255, 8 is 65 (8 * 255 / 31 rounded down), 1 is 8.
  Bmp plain;
  plain.width = 3, plain.height = 1, plain.bits = 16;
  plain.pixels = words({31u << 10, 31u << 5 | 31u, 8u << 10 | 16u << 5 | 1u}, 2);
  // 5-6-5 bit fields: green 63 is 255 and 42 is 170; red 31 and blue 0.
  Bmp fields = plain;
  fields.compression = BMP_BITFIELDS;
  fields.masks = {0xF800, 0x07E0, 0x001F};
  fields.pixels = words({63u << 5, 42u << 5, 31u << 11}, 2);
  IMAGE* a = load_new("555.bmp", plain);
  IMAGE* b = load_new("565.bmp", fields);
  ASSERT_TRUE(a && b);
  EXPECT_EQ(a->row(0)[0], 0xFFFF0000u);
  EXPECT_EQ(a->row(0)[1], 0xFF00FFFFu);
  EXPECT_EQ(a->row(0)[2], 0xFF418308u);  // 65, 131, 8
  EXPECT_EQ(b->row(0)[0], 0xFF00FF00u);
  EXPECT_EQ(b->row(0)[1], 0xFF00AA00u);
  EXPECT_EQ(b->row(0)[2], 0xFFFF0000u);
  image_destroy(a);
  image_destroy(b);
}

TEST(LoadBmp, AlphaComesFromTheFileOnlyWhereTheFileHasIt) {
  // Plain 32-bit pixels: the top byte is alpha when any pixel uses it ...
  Bmp some = bgra();
  some.pixels = words({0x80102030u, 0x00405060u, 0xFF000000u, 0x00000000u}, 4);
  // ... and nothing when none does: then all are opaque.
  Bmp none = bgra();
  none.pixels = words({0x00102030u, 0x00405060u, 0x00000000u, 0x00000001u}, 4);
  // Bit fields with an alpha mask in a 56-byte header; a 40-byte header has none.
  Bmp with_mask = bgra();
  with_mask.compression = BMP_BITFIELDS;
  with_mask.info_size = 56;
  with_mask.masks = {0x0000FF00, 0x00FF0000, 0xFF000000, 0x000000FF};  // red, green, blue, alpha
  with_mask.pixels = words({0x11223340u, 0, 0, 0}, 4);
  Bmp without = with_mask;
  without.info_size = 40;
  without.masks.pop_back();
  IMAGE* a = load_new("some_alpha.bmp", some);
  IMAGE* b = load_new("no_alpha.bmp", none);
  IMAGE* c = load_new("alpha_mask.bmp", with_mask);
  IMAGE* d = load_new("no_alpha_mask.bmp", without);
  ASSERT_TRUE(a && b && c && d);
  EXPECT_EQ(a->row(1)[0], 0x80102030u);  // the bottom row is stored first
  EXPECT_EQ(a->row(1)[1], 0x00405060u);
  EXPECT_EQ(b->row(1)[0], 0xFF102030u);
  EXPECT_EQ(b->row(0)[1], 0xFF000001u);
  EXPECT_EQ(c->row(1)[0], 0x40332211u);
  EXPECT_EQ(d->row(1)[0], 0xFF332211u);
  for (IMAGE* img : {a, b, c, d}) image_destroy(img);
}

TEST(LoadBmp, SmallPalettesAndFourBitRunsDecode) {
  // 1 bit, 9 pixels a row (two bytes), in a core header with 3-byte colours.
  Bmp mono;
  mono.info_size = 12;
  mono.width = 9, mono.height = 1, mono.bits = 1;
  mono.palette = {0x000000, 0xFFFFFF};
  mono.pixels = std::string("\xA5\x80\0\0", 4);  // 1010 0101 1
  // 4 bits with three colours in use.
  Bmp nibbles;
  nibbles.width = 3, nibbles.height = 1, nibbles.bits = 4;
  nibbles.palette = {0x0000FF, 0x00FF00, 0xFF0000};
  nibbles.pixels = std::string("\x21\x00\0\0", 4);
  // RLE4, 5 x 3, bottom row first: five pixels as they are (three bytes,
  // padded to four), the end of the row; a move 1 right and 1 up, a run of 3
  // alternating 2 and 1, the end. What is left out is colour 0.
  Bmp runs;
  runs.width = 5, runs.height = 3, runs.bits = 4, runs.compression = BMP_RLE4;
  runs.palette = {0x101010, 0x202020, 0x303030};
  runs.pixels = std::string("\x00\x05\x12\x12\x10\x00" "\x00\x00" "\x00\x02\x01\x01" "\x03\x21" "\x00\x01", 16);
  IMAGE* a = load_new("mono.bmp", mono);
  IMAGE* b = load_new("nibbles.bmp", nibbles);
  IMAGE* c = load_new("rle4.bmp", runs);
  ASSERT_TRUE(a && b && c);
  const int bits[9] = {1, 0, 1, 0, 0, 1, 0, 1, 1};
  for (int x = 0; x < 9; ++x) EXPECT_EQ(a->row(0)[x], bits[x] ? 0xFFFFFFFFu : 0xFF000000u) << x;
  EXPECT_EQ(b->row(0)[0], 0xFFFF0000u);
  EXPECT_EQ(b->row(0)[1], 0xFF00FF00u);
  EXPECT_EQ(b->row(0)[2], 0xFF0000FFu);
  const uint32_t want[3][5] = {{0, 2, 1, 2, 0}, {0, 0, 0, 0, 0}, {1, 2, 1, 2, 1}};  // top row first
  const uint32_t colour[3] = {0xFF101010u, 0xFF202020u, 0xFF303030u};
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 5; ++x) EXPECT_EQ(c->row(uint32_t(y))[x], colour[want[y][x]]) << x << ", " << y;
  for (IMAGE* img : {a, b, c}) image_destroy(img);
}

TEST(LoadBmp, RunsPastTheRowEndAreDropped) {
  // RLE8, 2 x 2: a run of 4 in the bottom row must not spill into the row above.
  Bmp runs;
  runs.width = 2, runs.height = 2, runs.bits = 8, runs.compression = BMP_RLE8;
  runs.palette = {0x000000, 0xFFFFFF};
  runs.pixels = std::string("\x04\x01\x00\x00\x00\x01", 6);
  IMAGE* img = load_new("spill.bmp", runs);
  ASSERT_NE(img, nullptr);
  EXPECT_EQ(img->row(1)[0], 0xFFFFFFFFu);
  EXPECT_EQ(img->row(1)[1], 0xFFFFFFFFu);
  EXPECT_EQ(img->row(0)[0], 0xFF000000u);
  EXPECT_EQ(img->row(0)[1], 0xFF000000u);
  image_destroy(img);
}

// Pixel data that cannot be shown as it is meant: refused like a bad header.
TEST(LoadBmp, BrokenPixelDataIsRefused) {
  Bmp beyond;  // colour index 5 in a palette of 2
  beyond.width = 2, beyond.height = 1, beyond.bits = 8;
  beyond.palette = {0x000000, 0xFFFFFF};
  beyond.pixels = std::string("\x01\x05\0\0", 4);
  Bmp run_beyond = beyond;
  run_beyond.compression = BMP_RLE8;
  run_beyond.pixels = std::string("\x02\x07\x00\x01", 4);
  Bmp no_end = run_beyond;  // the runs stop without the end of the picture
  no_end.pixels = std::string("\x02\x01\x00\x00", 4);
  Bmp short_palette = beyond;  // 256 colours promised, two stored, the file ends
  short_palette.colours_used = 0;
  short_palette.pixels = std::string("\x01\x00\0\0", 4);
  const std::pair<const char*, Bmp> cases[] = {
      {"index_beyond.bmp", beyond}, {"run_beyond.bmp", run_beyond},
      {"no_end.bmp", no_end}, {"short_palette.bmp", short_palette}};
  const char* causes[] = {"colour index 5 is beyond its palette of 2 colours",
                          "colour index 7 is beyond its palette of 2 colours",
                          "the file ends inside its pixels", "the file ends inside its palette"};
  for (size_t i = 0; i < std::size(cases); ++i) {
    SCOPED_TRACE(cases[i].first);
    GuardedImage img(2, 1);
    EXPECT_EQ(load_bmp(write_scratch(cases[i].first, cases[i].second.bytes()).c_str(), img.get()),
              ERR_FILE_IO);
    EXPECT_TRUE(untouched(img));
    EXPECT_NE(std::string(failure_note()).find(causes[i]), std::string::npos) << failure_note();
  }
  set_failure_note("");
}

// Headers the decoder would misread or that promise what the file cannot hold:
// each is refused with the file I/O error and a note naming the file and the cause.
TEST(LoadBmp, RefusedHeadersLeaveTheImageUntouched) {
  struct Refused {
    const char* name;
    Bmp bmp;
    const char* cause;
  };
  std::vector<Refused> cases;
  const auto with = [](auto change) { Bmp b = bgra(); change(b); return b; };
  // Compressed pixels the decoder does not know: it would show the bytes as texels.
  cases.push_back({"jpeg.bmp", with([](Bmp& b) { b.compression = 4; }), "compression 4 (JPEG) is not read"});
  cases.push_back({"png.bmp", with([](Bmp& b) { b.compression = 5; }), "compression 5 (PNG)"});
  cases.push_back({"alpha_fields.bmp", with([](Bmp& b) { b.compression = 6; b.info_size = 56; }),
                   "compression 6 (alpha bit fields)"});
  cases.push_back({"ninety_nine.bmp", with([](Bmp& b) { b.compression = 99; }), "compression 99 (unknown)"});
  cases.push_back({"huffman.bmp", with([](Bmp& b) { b.compression = 3; b.info_size = 64; b.bits = 1; }),
                   "compression 3 (Huffman)"});
  // Sizes.
  cases.push_back({"zero_width.bmp", with([](Bmp& b) { b.width = 0; }), "size 0 x 2 is outside"});
  cases.push_back({"zero_height.bmp", with([](Bmp& b) { b.height = 0; }), "size 2 x 0"});
  cases.push_back({"negative_width.bmp", with([](Bmp& b) { b.width = -2; }), "size -2 x 2"});
  cases.push_back({"most_negative.bmp", with([](Bmp& b) { b.height = INT32_MIN; }), "size 2 x -2147483648"});
  cases.push_back({"too_wide.bmp", with([](Bmp& b) { b.width = 4097; }), "size 4097 x 2"});
  cases.push_back({"too_tall_top_down.bmp", with([](Bmp& b) { b.height = -4097; }), "size 2 x -4097"});
  cases.push_back({"huge_short.bmp", with([](Bmp& b) { b.width = b.height = 4096; }),
                   "too short for its 4096 x 4096 pixels"});
  cases.push_back({"top_down_rle.bmp", with([](Bmp& b) { b.bits = 8; b.compression = 1; b.height = -2; }),
                   "cannot be stored top-down"});
  // Headers that do not fit together or do not fit the file.
  cases.push_back({"rle_24.bmp", with([](Bmp& b) { b.bits = 24; b.compression = 1; }),
                   "24 bits per pixel do not go with compression 1"});
  cases.push_back({"bits_7.bmp", with([](Bmp& b) { b.bits = 7; }), "7 bits per pixel"});
  cases.push_back({"header_30.bmp", with([](Bmp& b) { b.info_size = 30; }), "unknown BMP header size 30"});
  cases.push_back({"far_offset.bmp", with([](Bmp& b) { b.offset = 1 << 20; b.pixels.clear(); }),
                   "the pixel data would start at byte 1048576"});
  cases.push_back({"cut.bmp", with([](Bmp& b) { b.pixels.resize(12); }), "too short for its 2 x 2 pixels"});

  for (const Refused& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string path = write_scratch(c.name, c.bmp.bytes());
    GuardedImage img(2, 2);
    set_failure_note("");
    EXPECT_EQ(load_bmp(path.c_str(), img.get()), ERR_FILE_IO);
    EXPECT_TRUE(untouched(img));
    EXPECT_EQ(std::string(failure_note()).rfind(path + ": ", 0), 0u) << failure_note();
    EXPECT_NE(std::string(failure_note()).find(c.cause), std::string::npos) << failure_note();
  }
  set_failure_note("");
}

TEST(LoadBmp, FailuresGiveTheirErrorNumbers) {
  GuardedImage img(4, 4);
  const std::string text = write_scratch("not.bmp", "v 1 2 3\nf 1 2 3\n");
  const std::string cut = write_scratch("cut.bmp", true_colour(4, 4).bytes().substr(0, 60));
  EXPECT_EQ(load_bmp(scratch_path("missing.bmp").c_str(), img.get()), ERR_FILE_NOT_FOUND);
  EXPECT_NE(std::string(failure_note()).find("missing.bmp: no such file"), std::string::npos);
  EXPECT_EQ(load_bmp(scratch_path("").c_str(), img.get()), ERR_FILE_NOT_FOUND);  // the folder
  EXPECT_EQ(load_bmp(text.c_str(), img.get()), ERR_FILE_IO);
  EXPECT_NE(std::string(failure_note()).find("not.bmp: not a BMP file"), std::string::npos);
  EXPECT_EQ(load_bmp(cut.c_str(), img.get()), ERR_FILE_IO);
  EXPECT_EQ(load_bmp(text.c_str(), nullptr), ERR_NULL_POINTER);
  EXPECT_TRUE(img.intact());
  set_failure_note("");
}

TEST(LoadBmpImage, MakesTheImageAtTheFilesOwnSize) {
  const std::pair<int, int> sizes[] = {{1, 1}, {3, 5}, {256, 256}, {4096, 1}, {1, 4096}, {7, 300}};
  for (auto [w, h] : sizes) {
    SCOPED_TRACE(std::to_string(w) + " x " + std::to_string(h));
    const std::string path = write_scratch("any.bmp", true_colour(w, h).bytes());
    int32_t error = -1;
    IMAGE* img = load_bmp_image(path.c_str(), error);
    ASSERT_NE(img, nullptr);
    EXPECT_EQ(error, 0);
    EXPECT_EQ(img->WIDTH, uint32_t(w));
    EXPECT_EQ(img->HEIGHT, uint32_t(h));
    EXPECT_EQ(img->PITCH, (uint32_t(w) * 4 + 15) / 16 * 16);
    EXPECT_EQ(img->row(0)[0], 0xFF000000u | colour(0, 0));
    EXPECT_EQ(img->row(uint32_t(h - 1))[w - 1], 0xFF000000u | colour(w - 1, h - 1));
    image_destroy(img);
  }
}

TEST(LoadBmpImage, RefusesWhatLoadBmpRefuses) {
  Bmp too_big = true_colour(1, 1);
  too_big.width = 4097;
  too_big.pixels = rows(4097, 1, 3, colour);
  Bmp jpeg = bgra();
  jpeg.compression = 4;
  const std::pair<const char*, Bmp> cases[] = {{"4097.bmp", too_big}, {"jpeg.bmp", jpeg}};
  for (const auto& [name, b] : cases) {
    int32_t error = 0;
    EXPECT_EQ(load_bmp_image(write_scratch(name, b.bytes()).c_str(), error), nullptr) << name;
    EXPECT_EQ(error, ERR_FILE_IO) << name;
    EXPECT_NE(std::string(failure_note()).find(name), std::string::npos) << failure_note();
  }
  int32_t error = 0;
  EXPECT_EQ(load_bmp_image(scratch_path("missing.bmp").c_str(), error), nullptr);
  EXPECT_EQ(error, ERR_FILE_NOT_FOUND);
  EXPECT_EQ(load_bmp_image(nullptr, error), nullptr);
  EXPECT_EQ(error, ERR_FILE_NOT_FOUND);
  set_failure_note("");
}

}  // namespace
