#include "platform/fail.h"

#include <cstdio>
#include <cstdlib>
#include <unistd.h>

const char* ERROR_MESSAGE(int32_t NUMBER) {
  switch (NUMBER) {
    case ERR_ILLEGAL_CALL: return "illegal function call";
    case ERR_FILE_NOT_FOUND: return "file not found";
    case ERR_FILE_IO: return "file I/O error";
    case ERR_OUT_OF_MEMORY: return "out of memory";
    case ERR_OUT_OF_BOUNDS: return "out of bounds array access";
    case ERR_NULL_POINTER: return "null pointer access";
    default: return "";
  }
}

const char* FORMAT_ERROR_REPORT(int32_t NUMBER, int32_t LINE, const char* MODULE,
                                const char* ROUTINE, char* OUT, int OUT_SIZE) {
  int N = std::snprintf(OUT, OUT_SIZE, "\nAborting due to runtime error %d", NUMBER);
  auto MORE = [&](auto... ARGS) {
    if (N >= 0 && N < OUT_SIZE) N += std::snprintf(OUT + N, OUT_SIZE - N, ARGS...);
  };
  MORE(" (%s)", ERROR_MESSAGE(NUMBER));
  if (LINE > 0) MORE(" at line %d", LINE);
  const char* WORD = LINE > 0 ? "of" : "in";
  if (ROUTINE && *ROUTINE)
    MORE(" %s %s::%s()\n\n", WORD, MODULE ? MODULE : "", ROUTINE);
  else
    MORE(" %s %s()\n\n", WORD, MODULE ? MODULE : "");
  return OUT;
}

namespace {
FAILURE_HANDLER CURRENT_HANDLER = nullptr;
}

void SET_FAILURE_HANDLER(FAILURE_HANDLER HANDLER) {
  CURRENT_HANDLER = HANDLER;
}

void RUNTIME_ERROR(int32_t NUMBER, int32_t LINE, const char* MODULE, const char* ROUTINE) {
  if (CURRENT_HANDLER) CURRENT_HANDLER(NUMBER);
  char TEXT[512];
  FORMAT_ERROR_REPORT(NUMBER, LINE, MODULE, ROUTINE, TEXT, sizeof TEXT);
  std::fflush(stdout);
  std::fputs(TEXT, stderr);
  std::fflush(stderr);
  // Nothing is released: leave without running destructors or exit handlers.
  _exit(NUMBER);
}
