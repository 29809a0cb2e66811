// Files outside the subset: every one stops with a failure report from the
// reader and its error number as exit status; nothing is read or written
// outside the arrays on the way (the sanitizer build checks that part).
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

std::string vertex_lines(int n) {
  std::string text = "# Vertices: " + std::to_string(n) + "\n";
  for (int i = 0; i < n; ++i) text += "v " + std::to_string(i) + " 0 " + std::to_string(i * i) + "\n";
  return text;
}

const std::string THREE = vertex_lines(3);
const std::string UV = "vt 0 0\nvt 1 0\nvt 0 1\n";

struct HostileCase {
  const char* name;
  std::string text;
  int32_t error;
};

void PrintTo(const HostileCase& c, std::ostream* out) { *out << c.name; }

std::string report_pattern(int32_t error) {
  return "Aborting due to runtime error " + std::to_string(error) +
         " \\([a-zA-Z /]+\\) at line [0-9]+ of obj_loader.cpp::LOAD_OBJ\\(\\)";
}

const HostileCase CASES[] = {
    // Lines before the header that makes their array.
    {"VertexBeforeVertexHeader", "v 1 2 3\n# Vertices: 1\n", ERR_NULL_POINTER},
    {"TextureBeforeFaceHeader", "vt 0 0\n# Faces: 1\n", ERR_NULL_POINTER},
    {"FaceBeforeFaceHeader", THREE + "f 1 2 3\n# Faces: 1\n", ERR_NULL_POINTER},
    // More lines than the headers count.
    {"MoreVerticesThanCounted", vertex_lines(2) + "v 9 9 9\n", ERR_OUT_OF_BOUNDS},
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

class HostileFile : public testing::TestWithParam<HostileCase> {};

}  // namespace

TEST_P(HostileFile, StopsWithItsErrorNumber) {
  const HostileCase& c = GetParam();
  const std::string path = write_model_file(std::string(c.name) + ".obj", c.text);
  MODEL_STRUCT record{};
  MODEL_STRUCT* model = &record;
  EXPECT_EXIT(LOAD_OBJ(path, model), testing::ExitedWithCode(c.error), report_pattern(c.error));
}

INSTANTIATE_TEST_SUITE_P(ObjLoader, HostileFile, testing::ValuesIn(CASES),
                         [](const testing::TestParamInfo<HostileCase>& param_info) {
                           return std::string(param_info.param.name);
                         });

TEST(ObjLoaderFailures, MissingFileOrFolderIsNotFound) {
  MODEL_STRUCT record{};
  MODEL_STRUCT* model = &record;
  const std::string missing = write_model_file("present.obj", "") + ".missing";
  EXPECT_EXIT(LOAD_OBJ(missing, model), testing::ExitedWithCode(ERR_FILE_NOT_FOUND),
              report_pattern(ERR_FILE_NOT_FOUND));
  const std::string folder = std::filesystem::path(missing).parent_path().string();
  EXPECT_EXIT(LOAD_OBJ(folder, model), testing::ExitedWithCode(ERR_FILE_NOT_FOUND),
              report_pattern(ERR_FILE_NOT_FOUND));
}

TEST(ObjLoaderFailures, CountBeyondTheMemoryIsOutOfMemory) {
  // Within the count limit, but more than this process may have: 2 x 2e8
  // homogeneous vertices are 6.4 GB.
  const std::string path = write_model_file("big.obj", "# Vertices: 200000000\n");
  MODEL_STRUCT record{};
  MODEL_STRUCT* model = &record;
  auto load_with_little_memory = [&] {
#if !defined(__SANITIZE_ADDRESS__)
    const rlimit limit{rlim_t(1) << 30, rlim_t(1) << 30};
    setrlimit(RLIMIT_AS, &limit);
#endif
    LOAD_OBJ(path, model);
  };
  EXPECT_EXIT(load_with_little_memory(), testing::ExitedWithCode(ERR_OUT_OF_MEMORY),
              report_pattern(ERR_OUT_OF_MEMORY));
}

TEST(ObjLoaderFailures, NullRecordIsANullPointer) {
  MODEL_STRUCT* model = nullptr;
  const std::string path = write_model_file("null.obj", "");
  EXPECT_EXIT(LOAD_OBJ(path, model),
              testing::ExitedWithCode(ERR_NULL_POINTER), "runtime error 7");
  EXPECT_EXIT(UNLOAD_OBJ(model), testing::ExitedWithCode(ERR_NULL_POINTER), "runtime error 7");
}
