// Host services: the only way the program reaches the window, the input devices,
// time, chance and files. Two hosts sit behind these calls: a real SDL window and
// a headless one (platform/host.h). Results are 0 for success or an error number
// (platform/fail.h) where the caller is expected to check them.
#pragma once
#include <cstdint>
#include <string>

#include "platform/fail.h"

// ---------------------------------------------------------------- images
// An image buffer: a 32-byte header, then the pixel rows. Pixel (x, y) is the
// 32-bit word at byte 32 + y * PITCH + x * 4; blue in bits 0-7, green 8-15,
// red 16-23, alpha 24-31. The header starts on a 16-byte boundary.
struct IMAGE {
  uint32_t TYPE;          // always 7
  int32_t BPP;            // bytes per pixel: 4
  uint32_t WIDTH;
  uint32_t HEIGHT;
  uint32_t PITCH;         // WIDTH * BPP rounded up to a multiple of 16
  uint8_t _RESERVED[12];  // zero

  uint32_t* pixels() { return reinterpret_cast<uint32_t*>(this + 1); }
  const uint32_t* pixels() const { return reinterpret_cast<const uint32_t*>(this + 1); }
  uint32_t* row(uint32_t y) {
    return reinterpret_cast<uint32_t*>(reinterpret_cast<uint8_t*>(this + 1) + size_t(y) * PITCH);
  }
};
static_assert(sizeof(IMAGE) == 32, "the image header is 32 bytes");

constexpr uint32_t IMAGE_TYPE = 7;
constexpr uint32_t TRANSPARENT_COLOR = 0xFFFF00FFu;

// New image of WIDTH x HEIGHT 32-bit pixels filled with TRANSPARENT_COLOR (or
// FILL). Null when the size is not positive or the memory cannot be had.
IMAGE* image_create(int64_t width, int64_t height);
IMAGE* image_create(int64_t width, int64_t height, uint32_t fill);
// Releases an image made by image_create (null is allowed).
void image_destroy(IMAGE* img);

// Loads a BMP file into an existing 32-bit image. Only the part both share is
// written. 0, ERR_FILE_NOT_FOUND (cannot be opened) or ERR_FILE_IO (not a BMP
// this loader decodes: compressed other than RLE, or a size outside 1 to 4096
// a side). A failure leaves a failure note that names the file and the cause.
int32_t load_bmp(const char* filename, IMAGE* target);
// Loads a BMP file into a new image of the file's own size (1 to 4096 a side,
// any width). Null on failure, with ERROR and the failure note set as above
// (ERR_OUT_OF_MEMORY when the image cannot be made).
IMAGE* load_bmp_image(const char* filename, int32_t& error);

// Writes the pixels of a 32-bit page as an RGB PNG. 0 or ERR_FILE_IO.
int32_t save_png(const char* filename, const uint32_t* pixels, int32_t width, int32_t height,
                 int32_t pitch);

// ---------------------------------------------------------------- the screen
struct ScreenInfo {
  int32_t width, height, depth, bpp, pitch;
};

// Opens the window (or the headless page) of WIDTH x HEIGHT, 32 bits, one page.
// 0 or ERR_ILLEGAL_CALL. The text grid becomes WIDTH/8 x HEIGHT/8 cells.
int32_t set_graphics_mode(int32_t width, int32_t height);
void screen_lock();
void screen_unlock();   // shows the whole page
uint32_t* screen_ptr(); // row 0, column 0 of the page; rows are WIDTH * 4 bytes apart
ScreenInfo screen_info();
// Copies an image to the page with its top-left corner at (0, 0). 0 or an error.
int32_t put_image(const IMAGE* img);
// Returns at the next vertical retrace, or after one refresh period.
int32_t wait_retrace();

// ---------------------------------------------------------------- lines
// Draws a line in COL with a 16-bit style mask (0xFFFF solid). End points are
// rounded to pixels; whatever they hold, nothing outside the image is written.
// The image remembers the last end point (its pen position).
void draw_line(IMAGE* target, float x1, float y1, float x2, float y2, uint32_t col,
               uint16_t style = 0xFFFF);
// Draws from the pen position to (X2, Y2).
void draw_line_to(IMAGE* target, float x2, float y2, uint32_t col, uint16_t style = 0xFFFF);
// Drops the pen position of an image (image_destroy calls it), so that a new
// image at the same address starts with its pen at (0, 0).
void forget_pen(const IMAGE* img);

// ---------------------------------------------------------------- text
// Text cursor, row and column counted from 1, in 8 x 8 cells of the page.
void locate(int32_t row, int32_t column);
// Prints TEXT at the cursor with the built-in 8 x 8 font and moves the cursor to
// the start of the next row.
void print_line(const std::string& text);

// ---------------------------------------------------------------- input
// Scan codes of the keys the program uses (PC set 1).
enum : int32_t {
  SC_ESCAPE = 1, SC_1 = 2, SC_2 = 3, SC_3 = 4, SC_4 = 5,
  SC_W = 17, SC_A = 30, SC_S = 31, SC_D = 32, SC_M = 50, SC_SPACE = 57,
};
// -1 while the key with that scan code is down, else 0.
int32_t key_held(int32_t scancode);
// Pointer position in the window (-1, -1 outside it), wheel count, button bits.
void get_mouse(int32_t& x, int32_t& y, int32_t& wheel, int32_t& buttons);
constexpr int32_t MOUSE_UNCHANGED = INT32_MIN;
// Moves the pointer (clamped into the window; MOUSE_UNCHANGED keeps a
// coordinate); VISIBLE 1 shows, 0 hides, -1 keeps; CONFINE 1, 0 or -1 likewise.
void set_mouse(int32_t x, int32_t y, int32_t visible, int32_t confine);

// ---------------------------------------------------------------- time and chance
double timer();               // seconds since an arbitrary origin
int32_t sleep_ms(int32_t ms); // 0
void randomize_from_timer();  // the headless host seeds with its fixed seed instead
void randomize(uint64_t seed);
double rnd();                 // uniform in [0, 1)

// ---------------------------------------------------------------- files and numbers
// A text file read line by line; LF and CRLF line ends are both accepted.
struct TextFile;
// 0 and a handle, or ERR_FILE_NOT_FOUND (missing, unreadable or a folder).
int32_t file_open(const char* filename, TextFile*& file);
bool file_eof(TextFile* file);
// The next line without its line end. 0 or ERR_FILE_IO.
int32_t file_read_line(TextFile* file, std::string& line);
// Closes and frees the handle. 0 or ERR_FILE_IO.
int32_t file_close(TextFile*& file);
// The file's size in bytes, or -1 when it cannot be told.
int64_t file_size(TextFile* file);
// Back to the first line. 0 or ERR_FILE_IO.
int32_t file_rewind(TextFile* file);

// Text to number: leading blanks skipped, the longest decimal prefix (sign,
// digits, fraction, exponent) taken, 0 when there is none.
double val(const char* text);
double val(const std::string& text, size_t from = 0);
// Integer to decimal text.
std::string str(int64_t n);
