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

  uint32_t* PIXELS() { return reinterpret_cast<uint32_t*>(this + 1); }
  const uint32_t* PIXELS() const { return reinterpret_cast<const uint32_t*>(this + 1); }
  uint32_t* ROW(uint32_t Y) {
    return reinterpret_cast<uint32_t*>(reinterpret_cast<uint8_t*>(this + 1) + size_t(Y) * PITCH);
  }
};
static_assert(sizeof(IMAGE) == 32, "the image header is 32 bytes");

constexpr uint32_t IMAGE_TYPE = 7;
constexpr uint32_t TRANSPARENT_COLOR = 0xFFFF00FFu;

// New image of WIDTH x HEIGHT 32-bit pixels filled with TRANSPARENT_COLOR (or
// FILL). Null when the size is not positive or the memory cannot be had.
IMAGE* IMAGE_CREATE(int64_t WIDTH, int64_t HEIGHT);
IMAGE* IMAGE_CREATE(int64_t WIDTH, int64_t HEIGHT, uint32_t FILL);
// Releases an image made by IMAGE_CREATE (null is allowed).
void IMAGE_DESTROY(IMAGE* IMG);

// Loads a BMP file into an existing 32-bit image. Only the part both share is
// written. 0, ERR_FILE_NOT_FOUND (cannot be opened) or ERR_FILE_IO (not a BMP).
int32_t LOAD_BMP(const char* FILENAME, IMAGE* TARGET);

// Writes the pixels of a 32-bit page as an RGB PNG. 0 or ERR_FILE_IO.
int32_t SAVE_PNG(const char* FILENAME, const uint32_t* PIXELS, int32_t WIDTH, int32_t HEIGHT,
                 int32_t PITCH);

// ---------------------------------------------------------------- the screen
struct SCREEN_INFO_STRUCT {
  int32_t WIDTH, HEIGHT, DEPTH, BPP, PITCH;
};

// Opens the window (or the headless page) of WIDTH x HEIGHT, 32 bits, one page.
// 0 or ERR_ILLEGAL_CALL. The text grid becomes WIDTH/8 x HEIGHT/8 cells.
int32_t SET_GRAPHICS_MODE(int32_t WIDTH, int32_t HEIGHT);
void SCREEN_LOCK();
void SCREEN_UNLOCK();   // shows the whole page
uint32_t* SCREEN_PTR(); // row 0, column 0 of the page; rows are WIDTH * 4 bytes apart
SCREEN_INFO_STRUCT SCREEN_INFO();
// Copies an image to the page with its top-left corner at (0, 0). 0 or an error.
int32_t PUT_IMAGE(const IMAGE* IMG);
// Returns at the next vertical retrace, or after one refresh period.
int32_t WAIT_RETRACE();

// ---------------------------------------------------------------- lines
// Draws a line in COL with a 16-bit style mask (0xFFFF solid). End points are
// rounded to pixels; whatever they hold, nothing outside the image is written.
// The image remembers the last end point (its pen position).
void DRAW_LINE(IMAGE* TARGET, float X1, float Y1, float X2, float Y2, uint32_t COL,
               uint16_t STYLE = 0xFFFF);
// Draws from the pen position to (X2, Y2).
void DRAW_LINE_TO(IMAGE* TARGET, float X2, float Y2, uint32_t COL, uint16_t STYLE = 0xFFFF);
// Drops the pen position of an image (IMAGE_DESTROY calls it), so that a new
// image at the same address starts with its pen at (0, 0).
void FORGET_PEN(const IMAGE* IMG);

// ---------------------------------------------------------------- text
// Text cursor, row and column counted from 1, in 8 x 8 cells of the page.
void LOCATE(int32_t ROW, int32_t COLUMN);
// Prints TEXT at the cursor with the built-in 8 x 8 font and moves the cursor to
// the start of the next row.
void PRINT_LINE(const std::string& TEXT);

// ---------------------------------------------------------------- input
// Scan codes of the keys the program uses (PC set 1).
enum : int32_t {
  SC_ESCAPE = 1, SC_1 = 2, SC_2 = 3, SC_3 = 4, SC_4 = 5,
  SC_W = 17, SC_A = 30, SC_S = 31, SC_D = 32, SC_M = 50, SC_SPACE = 57,
};
// -1 while the key with that scan code is down, else 0.
int32_t KEY_HELD(int32_t SCANCODE);
// Pointer position in the window (-1, -1 outside it), wheel count, button bits.
void GET_MOUSE(int32_t& X, int32_t& Y, int32_t& WHEEL, int32_t& BUTTONS);
constexpr int32_t MOUSE_UNCHANGED = INT32_MIN;
// Moves the pointer (clamped into the window; MOUSE_UNCHANGED keeps a
// coordinate); VISIBLE 1 shows, 0 hides, -1 keeps; CONFINE 1, 0 or -1 likewise.
void SET_MOUSE(int32_t X, int32_t Y, int32_t VISIBLE, int32_t CONFINE);

// ---------------------------------------------------------------- time and chance
double TIMER();               // seconds since an arbitrary origin
int32_t SLEEP_MS(int32_t MS); // 0
void RANDOMIZE_FROM_TIMER();  // the headless host seeds with its fixed seed instead
void RANDOMIZE(uint64_t SEED);
double RND();                 // uniform in [0, 1)

// ---------------------------------------------------------------- files and numbers
// A text file read line by line; LF and CRLF line ends are both accepted.
struct TEXT_FILE;
// 0 and a handle, or ERR_FILE_NOT_FOUND (missing, unreadable or a folder).
int32_t FILE_OPEN(const char* FILENAME, TEXT_FILE*& FILE);
bool FILE_EOF(TEXT_FILE* FILE);
// The next line without its line end. 0 or ERR_FILE_IO.
int32_t FILE_READ_LINE(TEXT_FILE* FILE, std::string& LINE);
// Closes and frees the handle. 0 or ERR_FILE_IO.
int32_t FILE_CLOSE(TEXT_FILE*& FILE);

// Text to number: leading blanks skipped, the longest decimal prefix (sign,
// digits, fraction, exponent) taken, 0 when there is none.
double VAL(const char* TEXT);
double VAL(const std::string& TEXT, size_t FROM = 0);
// Integer to decimal text.
std::string STR(int64_t N);
