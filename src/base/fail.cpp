#include "base/fail.h"

#include <cstdio>
#include <cstdlib>
#include <unistd.h>

const char* error_message(int32_t number) {
  switch (number) {
    case ERR_ILLEGAL_CALL: return "illegal function call";
    case ERR_FILE_NOT_FOUND: return "file not found";
    case ERR_FILE_IO: return "file I/O error";
    case ERR_OUT_OF_MEMORY: return "out of memory";
    case ERR_OUT_OF_BOUNDS: return "out of bounds array access";
    case ERR_NULL_POINTER: return "null pointer access";
    default: return "";
  }
}

const char* format_error_report(int32_t number, int32_t line, const char* module,
                                const char* routine, char* out, int out_size) {
  int n = std::snprintf(out, out_size, "\nAborting due to runtime error %d", number);
  auto more = [&](auto... args) {
    if (n >= 0 && n < out_size) n += std::snprintf(out + n, out_size - n, args...);
  };
  more(" (%s)", error_message(number));
  if (line > 0) more(" at line %d", line);
  const char* word = line > 0 ? "of" : "in";
  if (routine && *routine)
    more(" %s %s::%s()\n\n", word, module ? module : "", routine);
  else
    more(" %s %s()\n\n", word, module ? module : "");
  return out;
}

namespace {
FailureHandler current_handler = nullptr;
char note_text[1024] = "";
}  // namespace

void set_failure_note(const char* note) {
  std::snprintf(note_text, sizeof note_text, "%s", note ? note : "");
}

const char* failure_note() {
  return note_text;
}

void set_failure_handler(FailureHandler handler) {
  current_handler = handler;
}

void runtime_error(int32_t number, int32_t line, const char* module, const char* routine) {
  if (current_handler) current_handler(number);
  char text[512];
  format_error_report(number, line, module, routine, text, sizeof text);
  std::fflush(stdout);
  std::fputs(text, stderr);
  if (note_text[0]) std::fprintf(stderr, "%s\n", note_text);
  std::fflush(stderr);
  // Nothing is released: leave without running destructors or exit handlers.
  _exit(number);
}
