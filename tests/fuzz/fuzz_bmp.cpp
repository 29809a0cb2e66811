// libFuzzer target for BMP loading: each input is written to a file and loaded
// both into a fixed 64 x 64 image and into an image of the file's own size.
// The header check runs before the decoder; whatever the bytes, the loaders
// must return an error number the program knows, write nothing outside the
// images and make only images of 1 to 4096 pixels a side.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "base/bmp.h"
#include "base/bmp_header.h"
#include "base/fail.h"
#include "base/image.h"
#include "input_file.h"

// A 4096 x 4096 image is 64 MB; the decoded pixels come on top.
extern "C" const char* __asan_default_options() {
  return "allocator_may_return_null=1:max_allocation_size_mb=200";
}

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  fuzz_input::create("fuzz_bmp");
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzz_input::write(data, size);

  // What the header check says decides what the loaders may do.
  BmpHeader header;
  const bool accepted = check_bmp_header(data, size < BMP_HEADER_BYTES ? size : BMP_HEADER_BYTES, size, header).empty();

  IMAGE* fixed = image_create(64, 64);
  const int32_t result = load_bmp(fuzz_input::path().c_str(), fixed);
  if (result != 0 && result != ERR_FILE_IO) __builtin_trap();
  if (result == 0 && !accepted) __builtin_trap();
  if (fixed->WIDTH != 64 || fixed->HEIGHT != 64 || fixed->PITCH != 256) __builtin_trap();
  image_destroy(fixed);

  int32_t error = -1;
  IMAGE* own = load_bmp_image(fuzz_input::path().c_str(), error);
  if (own) {
    if (error != 0 || !accepted) __builtin_trap();
    const int64_t rows = header.height < 0 ? -int64_t(header.height) : header.height;
    if (int64_t(own->WIDTH) != header.width || int64_t(own->HEIGHT) != rows) __builtin_trap();
    // Every pixel is readable (the sanitizer checks the block's extent).
    uint32_t sum = 0;
    for (uint32_t y = 0; y < own->HEIGHT; ++y) sum += own->row(y)[own->WIDTH - 1];
    volatile uint32_t keep = sum;
    (void)keep;
    image_destroy(own);
  } else if (error != ERR_FILE_IO && error != ERR_OUT_OF_MEMORY) {
    __builtin_trap();
  }
  return 0;
}
