// LOAD_OBJ and UNLOAD_OBJ: open the file, tell its format, read it into the
// record, check what was read, then derive planes, normals and connections.
#include <string>

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

template <class Reader>
void read_lines(TextFile* file, Reader& reader) {
  std::string line;
  uint64_t number = 0;
  while (!file_eof(file)) {
    if (file_read_line(file, line) != 0) RUNTIME_FAIL(ERR_FILE_IO, "LOAD_OBJ");
    reader.line_read(line, ++number);
  }
}

}  // namespace

void LOAD_OBJ(const std::string& filename, MODEL_STRUCT*& model) {
  if (!model) RUNTIME_FAIL(ERR_NULL_POINTER, "LOAD_OBJ");
  MODEL_STRUCT& m = *model;

  OpenFile file;
  // The note of the failed open names the path as tried and why.
  if (file_open(filename.c_str(), file.handle) != 0) RUNTIME_FAIL(ERR_FILE_NOT_FOUND, "LOAD_OBJ");
  const ObjScan scan = scan_obj(file.handle);
  if (file_rewind(file.handle) != 0) RUNTIME_FAIL(ERR_FILE_IO, "LOAD_OBJ");

  uint32_t faces = 0;
  if (scan.counted) {
    CountedReader reader(m, filename, file_size(file.handle));
    read_lines(file.handle, reader);
    if (file_close(file.handle) != 0) RUNTIME_FAIL(ERR_FILE_IO, "LOAD_OBJ");
    reader.finish();
    faces = reader.faces_read();
  } else {
    PlainReader reader(m, filename, scan);
    read_lines(file.handle, reader);
    if (file_close(file.handle) != 0) RUNTIME_FAIL(ERR_FILE_IO, "LOAD_OBJ");
    reader.finish();
    faces = reader.triangles_read();
  }
  // An empty, cut-short or faceless file would give an empty world.
  if (faces == 0)
    RUNTIME_FAIL_NOTE(ERR_FILE_IO, "LOAD_OBJ", obj_note(filename, 0, "no triangles in the file").c_str());

  CALC_PLANES(model);
  CALC_NORMALS(model);
  SET_POLY_NEIGHBORS(model);
}

void UNLOAD_OBJ(MODEL_STRUCT*& model) {
  if (!model) RUNTIME_FAIL(ERR_NULL_POINTER, "UNLOAD_OBJ");
  model->MAX_VERTICES = 0;
  model->MAX_TRIANGLES = 0;
  release(model->VERTICES);
  release(model->RVERTICES);
  release(model->TVERTICES);
  release(model->PVERTICES);
  release(model->TRIANGLES);
  release(model->RTRIANGLES);
}
