// Files outside the subset: every one stops with a failure report from the
// reader and its error number as exit status; nothing is read or written
// outside the arrays on the way (the sanitizer build checks that part).
// platform/fail.h has its own FAIL; the test framework keeps GTEST_FAIL.
#define GTEST_DONT_DEFINE_FAIL 1
#include <gtest/gtest.h>
#include <sys/resource.h>

#include <filesystem>

#include "model_files.h"

#if defined(__SANITIZE_ADDRESS__)
// Let a huge allocation fail as it would without the sanitizer, instead of the
// sanitizer stopping the process itself.
extern "C" const char* __asan_default_options() {
  return "allocator_may_return_null=1:max_allocation_size_mb=2048";
}
#endif

namespace {

std::string VERTEX_LINES(int N) {
  std::string TEXT = "# Vertices: " + std::to_string(N) + "\n";
  for (int I = 0; I < N; ++I) TEXT += "v " + std::to_string(I) + " 0 " + std::to_string(I * I) + "\n";
  return TEXT;
}

const std::string THREE = VERTEX_LINES(3);
const std::string UV = "vt 0 0\nvt 1 0\nvt 0 1\n";

struct HOSTILE_CASE {
  const char* NAME;
  std::string TEXT;
  int32_t ERROR;
};

void PrintTo(const HOSTILE_CASE& C, std::ostream* OUT) { *OUT << C.NAME; }

std::string REPORT_PATTERN(int32_t ERROR) {
  return "Aborting due to runtime error " + std::to_string(ERROR) +
         " \\([a-zA-Z /]+\\) at line [0-9]+ of obj_loader.cpp::LOAD_OBJ\\(\\)";
}

const HOSTILE_CASE CASES[] = {
    // Lines before the header that makes their array.
    {"VertexBeforeVertexHeader", "v 1 2 3\n# Vertices: 1\n", ERR_NULL_POINTER},
    {"TextureBeforeFaceHeader", "vt 0 0\n# Faces: 1\n", ERR_NULL_POINTER},
    {"FaceBeforeFaceHeader", THREE + "f 1 2 3\n# Faces: 1\n", ERR_NULL_POINTER},
    // More lines than the headers count.
    {"MoreVerticesThanCounted", VERTEX_LINES(2) + "v 9 9 9\n", ERR_OUT_OF_BOUNDS},
    {"VerticesAfterZeroCount", "# Vertices: 0\nv 1 1 1\n", ERR_OUT_OF_BOUNDS},
    {"MoreFacesThanCounted", THREE + "# Faces: 1\nf 1 2 3\nf 3 2 1\n", ERR_OUT_OF_BOUNDS},
    {"TextureBeyondLastFace", THREE + "# Faces: 1\n" + UV + "f 1 2 3\nvt 0 0\n", ERR_OUT_OF_BOUNDS},
    {"TexturesWithoutFaceAtEnd", THREE + "# Faces: 2\n" + UV + "f 1 2 3\n" + UV, ERR_OUT_OF_BOUNDS},
    // Face corners that name no vertex, or too many corners.
    {"CornerZero", THREE + "# Faces: 1\nf 0 1 2\n", ERR_OUT_OF_BOUNDS},
    {"CornerNegative", THREE + "# Faces: 1\nf 1 -2 3\n", ERR_OUT_OF_BOUNDS},
    {"CornerTooLarge", THREE + "# Faces: 1\nf 1 2 4\n", ERR_OUT_OF_BOUNDS},
    {"CornerRoundsPastTheEnd", THREE + "# Faces: 1\nf 1 2 3.6\n", ERR_OUT_OF_BOUNDS},
    {"CornerHuge", THREE + "# Faces: 1\nf 1 1e300 3\n", ERR_OUT_OF_BOUNDS},
    {"CornerInfinite", THREE + "# Faces: 1\nf 1 2 1e999\n", ERR_OUT_OF_BOUNDS},
    {"CornerNotANumber", THREE + "# Faces: 1\nf 1 x 3\n", ERR_OUT_OF_BOUNDS},
    {"FourthCorner", THREE + "# Faces: 1\nf 1 2 3 1\n", ERR_OUT_OF_BOUNDS},
    {"BlankAfterLastCorner", THREE + "# Faces: 1\nf 1 2 3 \n", ERR_OUT_OF_BOUNDS},
    {"DoubleBlankInFace", THREE + "# Faces: 1\nf 1  2 3\n", ERR_OUT_OF_BOUNDS},
    {"UnfilledFacesWithoutVertices", "# Faces: 2\n", ERR_OUT_OF_BOUNDS},
    {"FaceWithoutVertexHeader", "# Faces: 1\nf 1 1 1\n", ERR_OUT_OF_BOUNDS},
    // Header counts that cannot be allocated.
    {"NegativeVertexCount", "# Vertices: -1\n", ERR_OUT_OF_MEMORY},
    {"NegativeFaceCount", "# Faces: -3\n", ERR_OUT_OF_MEMORY},
    {"VertexCountNotANumber", "# Vertices: many\n", ERR_OUT_OF_MEMORY},
    {"FaceCountNotANumber", "# Faces: -x\n", ERR_OUT_OF_MEMORY},
    {"HugeVertexCount", "# Vertices: 99999999999\n", ERR_OUT_OF_MEMORY},
    {"InfiniteVertexCount", "# Vertices: 1e999\n", ERR_OUT_OF_MEMORY},
    {"CountWhoseDoubleWraps", "# Faces: 2147483648\n", ERR_OUT_OF_MEMORY},
    {"CountJustPastTheLimit", "# Vertices: 1073741824\n", ERR_OUT_OF_MEMORY},
    // A second header: checked against the new size.
    {"SecondVertexHeaderBelowCounter", THREE + "# Vertices: 2\nv 1 1 1\n", ERR_OUT_OF_BOUNDS},
    {"SecondVertexHeaderDropsNamedVertex",
     THREE + "# Faces: 1\nf 1 2 3\n# Vertices: 2\n", ERR_OUT_OF_BOUNDS},
    {"SecondFaceHeaderBelowCounter",
     THREE + "# Faces: 2\nf 1 2 3\nf 1 2 3\n# Faces: 1\nf 1 2 3\n", ERR_OUT_OF_BOUNDS},
    {"SecondVertexHeaderOfZero",
     "# Vertices: 1\n# Faces: 1\nf 1 1 1\n# Vertices: 0\n", ERR_OUT_OF_BOUNDS},
};

class HostileFile : public testing::TestWithParam<HOSTILE_CASE> {};

}  // namespace

TEST_P(HostileFile, StopsWithItsErrorNumber) {
  const HOSTILE_CASE& C = GetParam();
  const std::string PATH = WRITE_MODEL_FILE(std::string(C.NAME) + ".obj", C.TEXT);
  MODEL_STRUCT RECORD{};
  MODEL_STRUCT* MODEL = &RECORD;
  EXPECT_EXIT(LOAD_OBJ(PATH, MODEL), testing::ExitedWithCode(C.ERROR), REPORT_PATTERN(C.ERROR));
}

INSTANTIATE_TEST_SUITE_P(ObjLoader, HostileFile, testing::ValuesIn(CASES),
                         [](const testing::TestParamInfo<HOSTILE_CASE>& INFO) {
                           return std::string(INFO.param.NAME);
                         });

TEST(ObjLoaderFailures, MissingFileOrFolderIsNotFound) {
  MODEL_STRUCT RECORD{};
  MODEL_STRUCT* MODEL = &RECORD;
  const std::string MISSING = WRITE_MODEL_FILE("present.obj", "") + ".missing";
  EXPECT_EXIT(LOAD_OBJ(MISSING, MODEL), testing::ExitedWithCode(ERR_FILE_NOT_FOUND),
              REPORT_PATTERN(ERR_FILE_NOT_FOUND));
  const std::string FOLDER = std::filesystem::path(MISSING).parent_path().string();
  EXPECT_EXIT(LOAD_OBJ(FOLDER, MODEL), testing::ExitedWithCode(ERR_FILE_NOT_FOUND),
              REPORT_PATTERN(ERR_FILE_NOT_FOUND));
}

TEST(ObjLoaderFailures, CountBeyondTheMemoryIsOutOfMemory) {
  // Within the count limit, but more than this process may have: 2 x 2e8
  // homogeneous vertices are 6.4 GB.
  const std::string PATH = WRITE_MODEL_FILE("big.obj", "# Vertices: 200000000\n");
  MODEL_STRUCT RECORD{};
  MODEL_STRUCT* MODEL = &RECORD;
  auto LOAD_WITH_LITTLE_MEMORY = [&] {
#if !defined(__SANITIZE_ADDRESS__)
    const rlimit LIMIT{rlim_t(1) << 30, rlim_t(1) << 30};
    setrlimit(RLIMIT_AS, &LIMIT);
#endif
    LOAD_OBJ(PATH, MODEL);
  };
  EXPECT_EXIT(LOAD_WITH_LITTLE_MEMORY(), testing::ExitedWithCode(ERR_OUT_OF_MEMORY),
              REPORT_PATTERN(ERR_OUT_OF_MEMORY));
}

TEST(ObjLoaderFailures, NullRecordIsANullPointer) {
  MODEL_STRUCT* MODEL = nullptr;
  const std::string PATH = WRITE_MODEL_FILE("null.obj", "");
  EXPECT_EXIT(LOAD_OBJ(PATH, MODEL),
              testing::ExitedWithCode(ERR_NULL_POINTER), "runtime error 7");
  EXPECT_EXIT(UNLOAD_OBJ(MODEL), testing::ExitedWithCode(ERR_NULL_POINTER), "runtime error 7");
}
