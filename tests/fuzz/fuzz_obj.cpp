// libFuzzer target for the model reader: each input is written to a file and
// loaded with its materials, and the ground probe's grid is built over what
// was read. The input is also written as "model.mtl" next to it, so that an
// input that names that library reads itself as one. A failure report is an
// expected outcome for hostile input; the
// failure handler turns it into an exception so the run goes on, and the
// record is released as the program would release it. Anything the sanitizers
// or the checks below catch is a fault.
#include <sys/stat.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "app/probe_grid.h"
#include "input_file.h"
#include "model/model.h"

namespace {

struct FailureReported {
  int32_t number;
};

[[noreturn]] void throw_failure(int32_t number) { throw FailureReported{number}; }

// What every user of a loaded model relies on.
void check_loaded(const MODEL_STRUCT& m) {
  for (uint32_t i = 0; i < m.MAX_TRIANGLES; ++i) {
    const TRIANGLE_STRUCT& t = m.TRIANGLES[i];
    for (int k = 0; k < 3; ++k) {
      if (t.POINT_ID.data()[k] >= m.MAX_VERTICES) __builtin_trap();
      const int32_t con = t.CON.data()[k];
      if (con < 0 || uint32_t(con) > m.MAX_TRIANGLES || con == int32_t(i + 1)) __builtin_trap();
    }
  }
  if (m.MAX_VERTICES > 0 && !(m.VERTICES && m.RVERTICES && m.TVERTICES && m.PVERTICES))
    __builtin_trap();
  if (m.MAX_TRIANGLES > 0 && !(m.TRIANGLES && m.RTRIANGLES)) __builtin_trap();
}

// The grid over a loaded model lists only its triangles, each list in stored
// order, wherever it is asked (near the corners, far off, at no number).
void check_grid(const MODEL_STRUCT& m) {
  ProbeGrid grid;
  grid.build(m);
  if (grid.listed() > 64 * uint64_t(m.MAX_TRIANGLES) || grid.wide() > m.MAX_TRIANGLES) __builtin_trap();
  const auto check_ids = [&](const uint32_t* first, const uint32_t* last) {
    for (const uint32_t* t = first; t != last; ++t)
      if (*t >= m.MAX_TRIANGLES || (t != first && t[-1] >= *t)) __builtin_trap();
  };
  const float far = 3e38f, nan = __builtin_nanf("");
  const uint32_t step = m.MAX_VERTICES / 64 + 1;
  for (uint32_t i = 0; i <= m.MAX_VERTICES; i += step) {
    const NMATHF::VEC3F p = i < m.MAX_VERTICES ? m.VERTICES[i] : NMATHF::VEC3F(far, nan, -far);
    ProbeGrid::Candidates near;
    if (grid.candidates(p.X, p.Y + 4.0f, p.Z, near)) {
      check_ids(near.cell_first, near.cell_last);
      check_ids(near.wide_first, near.wide_last);
    }
    grid.visit_box(-1e30, -1e30, double(p.X == p.X ? p.X : 0.0f), 1e30, [&](uint32_t id) {
      if (id >= m.MAX_TRIANGLES) __builtin_trap();
    });
  }
}

// Every triangle has a material of the list or none.
void check_materials(const MODEL_STRUCT& m, const ObjMaterials& materials) {
  if (!materials.of_triangle.empty() && materials.of_triangle.size() != m.MAX_TRIANGLES) __builtin_trap();
  for (const int32_t k : materials.of_triangle)
    if (k < -1 || k >= int32_t(materials.list.size())) __builtin_trap();
}

}  // namespace

// Huge header counts must fail as allocations (error 4), not stop the run.
// Arrays beyond 64 MB count as failed allocations: they behave like smaller
// ones, and making and clearing them would take most of the run (libFuzzer
// itself needs about 20 MB at once).
extern "C" const char* __asan_default_options() {
  return "allocator_may_return_null=1:max_allocation_size_mb=64";
}

namespace {
// A folder of this process's own beside the input file: the model and its library.
std::string folder;
std::string model_path() { return folder + "/model.obj"; }

void remove_folder() {
  std::error_code ignored;
  std::filesystem::remove_all(folder, ignored);
}

void write_file(const std::string& path, const uint8_t* data, size_t size) {
  std::FILE* out = std::fopen(path.c_str(), "wb");
  if (!out) std::abort();
  if (size && std::fwrite(data, 1, size, out) != size) std::abort();
  std::fclose(out);
}
}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  fuzz_input::create("fuzz_obj");
  folder = fuzz_input::path() + ".d";
  if (mkdir(folder.c_str(), 0700) != 0) std::abort();
  std::atexit(remove_folder);
  set_failure_handler(throw_failure);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  write_file(model_path(), data, size);
  write_file(folder + "/model.mtl", data, size);

  MODEL_STRUCT record{};
  MODEL_STRUCT* model = &record;
  ObjMaterials materials;
  try {
    LOAD_OBJ(model_path(), model, materials);
    check_loaded(record);
    check_grid(record);
    check_materials(record, materials);
  } catch (const FailureReported& report) {
    // Only the reader's own numbers may come out of a model file.
    if (report.number != ERR_FILE_IO && report.number != ERR_OUT_OF_MEMORY &&
        report.number != ERR_OUT_OF_BOUNDS && report.number != ERR_NULL_POINTER)
      __builtin_trap();
  }
  UNLOAD_OBJ(model);
  return 0;
}
