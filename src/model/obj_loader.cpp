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

// Every line of FILE through READER, then the file closed (a failed close is
// a failure) and what was read checked; the triangles read.
template <class Reader>
uint32_t read_file(TextFile*& file, Reader&& reader) {
  std::string line;
  uint64_t number = 0;
  while (!file_eof(file)) {
    if (file_read_line(file, line) != 0) RUNTIME_FAIL(ERR_FILE_IO, "LOAD_OBJ");
    reader.line_read(line, ++number);
  }
  if (file_close(file) != 0) RUNTIME_FAIL(ERR_FILE_IO, "LOAD_OBJ");
  reader.finish();
  return reader.triangles_read();
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

  const uint32_t triangles =
      scan.counted ? read_file(file.handle, CountedReader(m, filename, file_size(file.handle)))
                   : read_file(file.handle, PlainReader(m, filename, scan));
  // An empty, cut-short or faceless file would give an empty world.
  if (triangles == 0)
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
