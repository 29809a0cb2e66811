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
  const char* note = "";  // what the failure note must say after the file's path
};

void PrintTo(const HostileCase& c, std::ostream* out) { *out << c.name; }

std::string report_pattern(int32_t error) {
  return "Aborting due to runtime error " + std::to_string(error) +
         " \\([a-zA-Z /]+\\) at line [0-9]+ of obj_[a-z_]+\\.cpp::LOAD_OBJ\\(\\)";
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
    {"FourthCorner", THREE + "# Faces: 1\n" + UV + "f 1 2 3 1\n", ERR_OUT_OF_BOUNDS},
    {"BlankAfterLastCorner", THREE + "# Faces: 1\nf 1 2 3 \n", ERR_OUT_OF_BOUNDS},
    {"DoubleBlankInFace", THREE + "# Faces: 1\nf 1  2 3\n", ERR_OUT_OF_BOUNDS},
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
    // Counts that the file's bytes cannot hold: refused before anything is allocated.
    {"VertexCountBeyondTheFile", "# Vertices: 20000000\n", ERR_OUT_OF_MEMORY,
     "line 1: 20000000 vertices counted, but a file of 21 bytes holds at most 7"},
    {"FaceCountBeyondTheFile", THREE + "# Faces: 100\n", ERR_OUT_OF_MEMORY,
     "line 5: 100 faces counted, but a file of 51 bytes holds at most 13"},
    {"SecondCountBeyondTheFile", THREE + "# Faces: 1\nf 1 2 3\n# Vertices: 9999\n", ERR_OUT_OF_MEMORY,
     "line 7: 9999 vertices counted"},
    // Ordinary OBJ: corners that name nothing, faces too short.
    {"PlainCornerZero", "v 0 0 0\nv 1 0 0\nv 0 1 0\nf 1 0 3\n", ERR_OUT_OF_BOUNDS,
     "line 4: corner 2 names vertex 0 of 3"},
    {"PlainCornerPastTheEnd", "v 0 0 0\nv 1 0 0\nv 0 1 0\nf 1 2 3 4\n", ERR_OUT_OF_BOUNDS,
     "line 4: corner 4 names vertex 4 of 3"},
    {"PlainRelativeBeforeTheFirst", "v 0 0 0\nv 1 0 0\nf -1 -2 -3\nv 0 1 0\n", ERR_OUT_OF_BOUNDS,
     "line 3: corner 3 names vertex -3 of 3 \\(2 read so far\\)"},
    {"PlainTextureNamesNone", "v 0 0 0\nv 1 0 0\nv 0 1 0\nvt 0 0\nf 1/1 2/2 3/1\n", ERR_OUT_OF_BOUNDS,
     "line 5: corner 2 names texture coordinate 2 of 1"},
    {"PlainCornerNotANumber", "v 0 0 0\nv 1 0 0\nv 0 1 0\nf 1 2 x\n", ERR_OUT_OF_BOUNDS,
     "line 4: corner 3 \\(\"x\"\\) is not v, v/vt, v//vn or v/vt/vn"},
    {"PlainCornerOpenSlash", "v 0 0 0\nv 1 0 0\nv 0 1 0\nf 1/ 2 3\n", ERR_OUT_OF_BOUNDS,
     "line 4: corner 1 \\(\"1/\"\\)"},
    {"PlainFaceOfTwoCorners", "v 0 0 0\nv 1 0 0\nf 1 2\n", ERR_FILE_IO,
     "line 3: a face of 2 corners; it needs three or more"},
};

class HostileFile : public testing::TestWithParam<HostileCase> {};

}  // namespace

TEST_P(HostileFile, StopsWithItsErrorNumber) {
  const HostileCase& c = GetParam();
  const std::string path = write_model_file(std::string(c.name) + ".obj", c.text);
  MODEL_STRUCT record{};
  MODEL_STRUCT* model = &record;
  const std::string note = *c.note ? "\n" + path + ": " + c.note : "";
  EXPECT_EXIT(LOAD_OBJ(path, model), testing::ExitedWithCode(c.error), report_pattern(c.error) + ".*" + note);
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
  // Within the count limit and within what the file's bytes could hold (the
  // file is 600 MB, almost all of it a hole that takes no disk space), but
  // more than this process may have: 2 x 2e8 homogeneous vertices are 6.4 GB.
  const std::string path = write_model_file("big.obj", "# Vertices: 200000000\n");
  std::filesystem::resize_file(path, 600000000);
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
              report_pattern(ERR_OUT_OF_MEMORY) + ".*big.obj: line 1: no memory for 200000000 vertices");
  std::filesystem::remove(path);
}

TEST(ObjLoaderFailures, NullRecordIsANullPointer) {
  MODEL_STRUCT* model = nullptr;
  const std::string path = write_model_file("null.obj", "");
  EXPECT_EXIT(LOAD_OBJ(path, model),
              testing::ExitedWithCode(ERR_NULL_POINTER), "runtime error 7");
  EXPECT_EXIT(UNLOAD_OBJ(model), testing::ExitedWithCode(ERR_NULL_POINTER), "runtime error 7");
}
