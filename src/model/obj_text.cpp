// Small text helpers shared by the OBJ readers.
#include <cmath>
#include <system_error>
#if defined(__linux__) && !defined(__EMSCRIPTEN__)
#include <sys/mman.h>
#include <unistd.h>
#endif

#include "base/file_notes.h"
#include "base/numbers.h"
#include "obj_reader.h"

namespace {

// A colour channel rounded to the nearest integer; values outside what a
// 32-bit unsigned holds are clamped to it.
uint32_t channel(double value) {
  const double rounded = std::nearbyint(value);
  if (!(rounded > 0.0)) return 0;
  if (rounded >= 4294967295.0) return UINT32_MAX;
  return uint32_t(rounded);
}

bool digits_at(const std::string& line, size_t from, size_t count) {
  if (line.size() < from + count) return false;
  for (size_t i = from; i < from + count; ++i)
    if (line[i] < '0' || line[i] > '9') return false;
  return true;
}

}  // namespace

RGB_STRUCT colour_columns(const std::string& line) {
  return RGB_STRUCT{channel(val(line, 11)), channel(val(line, 15)), channel(val(line, 19))};
}

bool has_colour_columns(const std::string& line) {
  return digits_at(line, 11, 3) && digits_at(line, 15, 3) && digits_at(line, 19, 3);
}

double field_number(const std::string& line, std::string_view field) {
  return val(line, size_t(field.data() - line.data()));
}

std::string obj_note(const std::string& filename, uint64_t line, const std::string& cause) {
  const std::string path = path_as_tried(filename.c_str());
  if (line == 0) return path + ": " + cause;
  return path + ": line " + std::to_string(line) + ": " + cause;
}

std::future<void> touch_ahead(void* array, uint64_t bytes) {
#if defined(__linux__) && defined(MADV_POPULATE_WRITE) && !defined(__EMSCRIPTEN__)
  // Below a few megabytes the thread costs more than the faults.
  constexpr uint64_t WORTH_IT = uint64_t(4) << 20;
  const long page_size = sysconf(_SC_PAGESIZE);
  const uintptr_t page = page_size > 0 ? uintptr_t(page_size) : 4096;
  const uintptr_t first = (reinterpret_cast<uintptr_t>(array) + page - 1) & ~(page - 1);
  const uintptr_t last = (reinterpret_cast<uintptr_t>(array) + bytes) & ~(page - 1);
  if (bytes < WORTH_IT || last <= first) return {};
  try {
    // A kernel without the request refuses it; the writes then fault as ever.
    return std::async(std::launch::async, [first, last] {
      madvise(reinterpret_cast<void*>(first), last - first, MADV_POPULATE_WRITE);
    });
  } catch (const std::system_error&) {
    return {};
  }
#else
  (void)array;
  (void)bytes;
  return {};
#endif
}
