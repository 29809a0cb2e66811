// LOAD_OBJ and UNLOAD_OBJ: open the file, tell its format, read it into the
// record (and the materials of an ordinary OBJ file), check what was read,
// then derive planes, normals and connections.
#include <string>

#include "base/side_by_side.h"
#include "obj_reader.h"

namespace {

// Closes the file when a failure report unwinds through the reader (a test
// harness's failure handler may throw); the normal close is made and checked
// by LOAD_OBJ itself.
struct OpenFile {
  TextFile* handle = nullptr;
  ~OpenFile() {
    if (handle) file_close(handle);
  }
};

// Lines of FILE through READER, joined where they end in a backslash when
// JOIN_CONTINUED; false when the reader stopped early (see CountedReader).
template <class Reader>
bool read_lines(TextFile* file, Reader& reader, bool join_continued) {
  std::string line;
  uint64_t number = 0;
  while (!file_eof(file)) {
    const uint64_t first = number + 1;
    const bool read = join_continued ? read_obj_line(file, line, number)
                                     : (++number, file_read_line(file, line) == 0);
    if (!read) RUNTIME_FAIL(ERR_FILE_IO, "LOAD_OBJ");
    if (!reader.line_read(line, first)) return false;
  }
  return true;
}

// The file closed (a failed close is a failure), then what was read checked.
template <class Reader>
void finish_file(TextFile*& file, const Reader& reader) {
  if (file_close(file) != 0) RUNTIME_FAIL(ERR_FILE_IO, "LOAD_OBJ");
  reader.finish();
}

void release_arrays(MODEL_STRUCT& m) {
  m.MAX_VERTICES = 0;
  m.MAX_TRIANGLES = 0;
  release(m.VERTICES);
  release(m.RVERTICES);
  release(m.TVERTICES);
  release(m.PVERTICES);
  release(m.TRIANGLES);
  release(m.RTRIANGLES);
}

// Every library of SCAN, from the folder of FILENAME; what cannot be read is a problem, not a failure.
void read_libraries(const std::string& filename, const ObjScan& scan, ObjMaterials& materials) {
  const std::string folder = folder_of(filename);
  for (const std::string& written : scan.libraries) {
    std::string path = find_written_file(folder, written), why;
    if (path.empty()) {
      path = folder.empty() ? written : folder + "/" + written;
      why = "no such file";
    } else if (read_material_library(path, materials.list, why)) {
      continue;
    }
    materials.problems.push_back(path_as_tried(path.c_str()) + ": " + why +
                                 "; its materials are left out");
  }
}

// Planes, normals and edge connections. With BESIDE the connections are
// found on a second thread while the planes and normals, then BESIDE, are made
// on this one: the search shares no field with them.
void derive_geometry(const std::string& filename, MODEL_STRUCT*& model, const BesideNeighborSearch& beside) {
  const auto planes_and_normals = [&model] {
    CALC_PLANES(model);
    CALC_NORMALS(model);
  };
  const auto neighbors = [&] {
    if (!connect_edges(*model))
      RUNTIME_FAIL_NOTE(ERR_OUT_OF_MEMORY, "SET_POLY_NEIGHBORS",
                        obj_note(filename, 0, "no memory to connect the edges of " +
                                                  std::to_string(model->MAX_TRIANGLES) + " triangles").c_str());
  };
  if (!beside) {
    planes_and_normals();
    neighbors();
    return;
  }
  side_by_side(
      [&] {
        planes_and_normals();
        beside(*model);
      },
      neighbors);
}

void load(const std::string& filename, MODEL_STRUCT*& model, ObjMaterials* materials,
          const BesideNeighborSearch& beside) {
  if (!model) RUNTIME_FAIL(ERR_NULL_POINTER, "LOAD_OBJ");
  MODEL_STRUCT& m = *model;

  OpenFile file;
  // The note of the failed open names the path as tried and why.
  if (file_open(filename.c_str(), file.handle) != 0) RUNTIME_FAIL(ERR_FILE_NOT_FOUND, "LOAD_OBJ");
  ObjScan scan = scan_obj(file.handle, true);
  if (file_rewind(file.handle) != 0) RUNTIME_FAIL(ERR_FILE_IO, "LOAD_OBJ");

  bool plain = !scan.counted;
  if (scan.counted) {
    CountedReader reader(m, filename, file_size(file.handle));
    if (read_lines(file.handle, reader, false)) {
      // Count lines without a face after them leave no triangle.
      if (reader.triangles_read() == 0) m.MAX_TRIANGLES = 0;
      finish_file(file.handle, reader);
    } else {
      // Ordinary OBJ under count comments: read again as such.
      release_arrays(m);
      if (file_rewind(file.handle) != 0) RUNTIME_FAIL(ERR_FILE_IO, "LOAD_OBJ");
      scan = scan_obj(file.handle, false);
      if (file_rewind(file.handle) != 0) RUNTIME_FAIL(ERR_FILE_IO, "LOAD_OBJ");
      plain = true;
    }
  }
  if (plain) {
    if (materials) read_libraries(filename, scan, *materials);
    PlainReader reader(m, filename, scan, materials);
    read_lines(file.handle, reader, true);
    finish_file(file.handle, reader);
  }

  derive_geometry(filename, model, beside);
}

}  // namespace

void LOAD_OBJ(const std::string& filename, MODEL_STRUCT*& model) {
  load(filename, model, nullptr, nullptr);
}

void LOAD_OBJ(const std::string& filename, MODEL_STRUCT*& model, ObjMaterials& materials) {
  materials = ObjMaterials{};
  load(filename, model, &materials, nullptr);
}

void LOAD_OBJ(const std::string& filename, MODEL_STRUCT*& model, ObjMaterials& materials,
              const BesideNeighborSearch& beside) {
  materials = ObjMaterials{};
  load(filename, model, &materials, beside);
}

void UNLOAD_OBJ(MODEL_STRUCT*& model) {
  if (!model) RUNTIME_FAIL(ERR_NULL_POINTER, "UNLOAD_OBJ");
  release_arrays(*model);
}
