// libFuzzer target for the model reader: each input is written to a file and
// loaded. A failure report is an expected outcome for hostile input; the
// failure handler turns it into an exception so the run goes on, and the
// record is released as the program would release it. Anything the sanitizers
// or the checks below catch is a fault.
#include <sys/stat.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "model/model.h"

namespace {

struct FAILURE_REPORTED {
  int32_t NUMBER;
};

[[noreturn]] void THROW_FAILURE(int32_t NUMBER) { throw FAILURE_REPORTED{NUMBER}; }

std::string INPUT_PATH;

void REMOVE_INPUT_FILE() { std::remove(INPUT_PATH.c_str()); }

// What every user of a loaded model relies on.
void CHECK_LOADED(const MODEL_STRUCT& M) {
  for (uint32_t I = 0; I < M.MAX_TRIANGLES; ++I) {
    const TRIANGLE_STRUCT& T = M.TRIANGLES[I];
    for (int K = 0; K < 3; ++K) {
      if (T.POINT_ID.DATA()[K] >= M.MAX_VERTICES) __builtin_trap();
      const int32_t CON = T.CON.DATA()[K];
      if (CON < 0 || uint32_t(CON) > M.MAX_TRIANGLES || CON == int32_t(I + 1)) __builtin_trap();
    }
  }
  if (M.MAX_VERTICES > 0 && !(M.VERTICES && M.RVERTICES && M.TVERTICES && M.PVERTICES))
    __builtin_trap();
  if (M.MAX_TRIANGLES > 0 && !(M.TRIANGLES && M.RTRIANGLES)) __builtin_trap();
}

}  // namespace

// Huge header counts must fail as allocations (error 4), not stop the run.
// Arrays beyond 64 MB count as failed allocations: they behave like smaller
// ones, and making and clearing them would take most of the run (libFuzzer
// itself needs about 20 MB at once).
extern "C" const char* __asan_default_options() {
  return "allocator_may_return_null=1:max_allocation_size_mb=64";
}

// The input file lives in memory where the system has such a folder.
std::string TEMP_FOLDER() {
  struct stat INFO;
  if (stat("/dev/shm", &INFO) == 0 && S_ISDIR(INFO.st_mode) && access("/dev/shm", W_OK) == 0)
    return "/dev/shm";
  const char* TMP = std::getenv("TMPDIR");
  return TMP && *TMP ? TMP : "/tmp";
}

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  std::string PATTERN = TEMP_FOLDER() + "/fuzz_obj_XXXXXX";
  const int FD = mkstemp(PATTERN.data());
  if (FD < 0) std::abort();
  close(FD);
  INPUT_PATH = PATTERN;
  std::atexit(REMOVE_INPUT_FILE);
  SET_FAILURE_HANDLER(THROW_FAILURE);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* DATA, size_t SIZE) {
  // A fresh file each time: rewriting one in place makes some file systems
  // flush it to disk on every close.
  unlink(INPUT_PATH.c_str());
  std::FILE* OUT = std::fopen(INPUT_PATH.c_str(), "wb");
  if (!OUT) std::abort();
  if (SIZE && std::fwrite(DATA, 1, SIZE, OUT) != SIZE) std::abort();
  std::fclose(OUT);

  MODEL_STRUCT RECORD{};
  MODEL_STRUCT* MODEL = &RECORD;
  try {
    LOAD_OBJ(INPUT_PATH, MODEL);
    CHECK_LOADED(RECORD);
  } catch (const FAILURE_REPORTED& REPORT) {
    // Only the reader's own numbers may come out of a model file.
    if (REPORT.NUMBER != ERR_OUT_OF_MEMORY && REPORT.NUMBER != ERR_OUT_OF_BOUNDS &&
        REPORT.NUMBER != ERR_NULL_POINTER)
      __builtin_trap();
  }
  UNLOAD_OBJ(MODEL);
  return 0;
}
