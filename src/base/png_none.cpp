// A build without a PNG writer (the browser page, which writes no files).
#include "base/fail.h"
#include "base/png.h"

int32_t save_png(const char* /*FILENAME*/, const uint32_t* /*PIXELS*/, int32_t /*WIDTH*/,
                 int32_t /*HEIGHT*/, int32_t /*PITCH*/) {
  return ERR_FILE_IO;
}
