// The failure report: every failure the program checks stops it here, at once,
// with nothing released. Exit status = error number.
#pragma once
#include <cstdint>

enum : int32_t {
  ERR_ILLEGAL_CALL = 1,   // "illegal function call"
  ERR_FILE_NOT_FOUND = 2, // "file not found"
  ERR_FILE_IO = 3,        // "file I/O error"
  ERR_OUT_OF_MEMORY = 4,  // "out of memory"
  ERR_OUT_OF_BOUNDS = 6,  // "out of bounds array access"
  ERR_NULL_POINTER = 7,   // "null pointer access"
};

// The message for an error number ("" for numbers without one).
const char* ERROR_MESSAGE(int32_t NUMBER);

// Builds the report text exactly as printed. LINE <= 0 means "no line known",
// a null or empty ROUTINE means "no routine known".
const char* FORMAT_ERROR_REPORT(int32_t NUMBER, int32_t LINE, const char* MODULE,
                                const char* ROUTINE, char* OUT, int OUT_SIZE);

// Prints the report to standard error and ends the process with NUMBER.
// With a failure handler installed it calls the handler instead (see below).
[[noreturn]] void RUNTIME_ERROR(int32_t NUMBER, int32_t LINE, const char* MODULE,
                                const char* ROUTINE);

// Test hook for harnesses that must survive a failure report (fuzzers): when a
// handler is set, RUNTIME_ERROR prints nothing and calls HANDLER(NUMBER) instead
// of ending the process. The handler must not return: it throws or longjmps.
// Should it return anyway, the process ends as usual. Null restores the default.
using FAILURE_HANDLER = void (*)(int32_t NUMBER);
void SET_FAILURE_HANDLER(FAILURE_HANDLER HANDLER);

// The source file's name without its folders.
constexpr const char* MODULE_NAME(const char* PATH) {
  const char* NAME = PATH;
  for (const char* C = PATH; *C; ++C)
    if (*C == '/' || *C == '\\') NAME = C + 1;
  return NAME;
}

// Stop with error NUMBER, naming this line, this module and ROUTINE.
#define FAIL(NUMBER, ROUTINE) RUNTIME_ERROR((NUMBER), __LINE__, MODULE_NAME(__FILE__), (ROUTINE))
