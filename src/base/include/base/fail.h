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
const char* error_message(int32_t number);

// Builds the report text exactly as printed. LINE <= 0 means "no line known",
// a null or empty ROUTINE means "no routine known".
const char* format_error_report(int32_t number, int32_t line, const char* module,
                                const char* routine, char* out, int out_size);

// Prints the report to standard error and ends the process with NUMBER. A
// failure note set before (see below) follows the report as a line of its own.
// With a failure handler installed it calls the handler instead (see below).
[[noreturn]] void runtime_error(int32_t number, int32_t line, const char* module,
                                const char* routine);

// What failed, in words for the user: the path as tried and the cause, with a
// hint where one helps ("res/model/maze.obj: no such file; --res names the
// folder that holds res/"). Kept until the next failure; the report's own line
// stays exactly as it is.
void set_failure_note(const char* note);
const char* failure_note();

// Test hook for harnesses that must survive a failure report (fuzzers): when a
// handler is set, runtime_error prints nothing and calls HANDLER(NUMBER) instead
// of ending the process. The handler must not return: it throws or longjmps.
// Should it return anyway, the process ends as usual. Null restores the default.
using FailureHandler = void (*)(int32_t number);
void set_failure_handler(FailureHandler handler);

// The source file's name without its folders.
constexpr const char* module_name(const char* path) {
  const char* name = path;
  for (const char* c = path; *c; ++c)
    if (*c == '/' || *c == '\\') name = c + 1;
  return name;
}

// Stop with error NUMBER, naming this line, this module and ROUTINE.
#define RUNTIME_FAIL(NUMBER, ROUTINE) \
  runtime_error((NUMBER), __LINE__, module_name(__FILE__), (ROUTINE))

// The same, with a note that says what failed in words (see set_failure_note).
#define RUNTIME_FAIL_NOTE(NUMBER, ROUTINE, NOTE) \
  (set_failure_note(NOTE), RUNTIME_FAIL(NUMBER, ROUTINE))
