// The OBJ reader: header counts, colours, vertices, texture coordinates and
// faces, one line at a time, into the arrays of a MODEL_STRUCT.
//
// Files are read as the subset describes them (fixed columns, one blank as the
// only separator). Whatever a file holds, nothing is read or written outside the
// arrays: every line that would index past them stops with a failure report.
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "model/model.h"

using NMATHF::VEC2F;
using NMATHF::VEC3F;
using NMATHF::VEC4F;

namespace {

// Closes the file when a failure report unwinds through the reader (a test
// harness's failure handler may throw); the normal close is made and checked
// by the reader itself.
struct OpenFile {
  TextFile* handle = nullptr;
  ~OpenFile() {
    if (handle) file_close(handle);
  }
};

// COUNT zero-filled entries, or null when the memory cannot be had. An empty
// array still gets one entry, so a declared count of 0 is told apart from no
// header at all (null).
template <class T>
T* allocate_zeroed(uint64_t count) {
  if (count == 0) count = 1;
  if (count > SIZE_MAX / sizeof(T)) return nullptr;
  return static_cast<T*>(std::calloc(size_t(count), sizeof(T)));
}

template <class T>
void release(T*& array) {
  std::free(array);
  array = nullptr;
}

// Does TEXT hold a number at FROM (after leading blanks)?
bool starts_number(const std::string& text, size_t from) {
  size_t p = from;
  while (p < text.size() && text[p] == ' ') ++p;
  if (p < text.size() && (text[p] == '+' || text[p] == '-')) ++p;
  if (p < text.size() && text[p] == '.') ++p;
  return p < text.size() && text[p] >= '0' && text[p] <= '9';
}

bool blank_from(const std::string& text, size_t from) {
  for (size_t p = from; p < text.size(); ++p)
    if (text[p] != ' ') return false;
  return true;
}

// A header count read from FROM on, rounded to the nearest integer. Nothing (or
// only blanks) there reads 0; text that is no number, a negative count or one
// too large for the arrays cannot be allocated: out of memory.
uint32_t header_count(const std::string& line, size_t from) {
  if (blank_from(line, from)) return 0;
  if (!starts_number(line, from)) RUNTIME_FAIL(ERR_OUT_OF_MEMORY, "LOAD_OBJ");
  const double count = std::nearbyint(val(line, from));
  if (!(count >= 0.0 && count <= double(MAX_MODEL_COUNT))) RUNTIME_FAIL(ERR_OUT_OF_MEMORY, "LOAD_OBJ");
  return uint32_t(count);
}

// A colour channel rounded to the nearest integer; values outside what a
// 32-bit unsigned holds are clamped to it.
uint32_t channel(double value) {
  const double rounded = std::nearbyint(value);
  if (!(rounded > 0.0)) return 0;
  if (rounded >= 4294967295.0) return UINT32_MAX;
  return uint32_t(rounded);
}

bool starts_with(const std::string& line, const char* prefix) {
  const size_t n = std::strlen(prefix);
  return line.size() >= n && line.compare(0, n, prefix) == 0;
}

// The reader's state between lines.
struct ObjReader {
  MODEL_STRUCT& model;
  uint32_t vertex_counter = 0;   // next vertex to fill
  uint32_t triangle_counter = 0; // next triangle to fill
  uint32_t uv_counter = 0;       // 1, 2, 3, 1, ... over the file's vt lines
  uint32_t red = 0, green = 0, blue = 0;
  bool uv_pending = false;       // vt lines seen since the last face

  // A second header replaces the arrays: the old ones are released first and
  // the counters keep their values.
  void vertex_header(const std::string& line, size_t at) {
    const uint32_t count = header_count(line, at + 10);
    release(model.VERTICES);
    release(model.RVERTICES);
    release(model.TVERTICES);
    release(model.PVERTICES);
    model.MAX_VERTICES = 0;
    const uint64_t doubled = 2 * uint64_t(count);
    model.VERTICES = allocate_zeroed<VEC3F>(count);
    model.RVERTICES = allocate_zeroed<VEC4F>(doubled);
    model.TVERTICES = allocate_zeroed<VEC4F>(count);
    model.PVERTICES = allocate_zeroed<VEC3F>(doubled);
    if (!model.VERTICES || !model.RVERTICES || !model.TVERTICES || !model.PVERTICES)
      RUNTIME_FAIL(ERR_OUT_OF_MEMORY, "LOAD_OBJ");
    model.MAX_VERTICES = count;
  }

  void face_header(const std::string& line, size_t at) {
    const uint32_t count = header_count(line, at + 7);
    release(model.TRIANGLES);
    release(model.RTRIANGLES);
    model.MAX_TRIANGLES = 0;
    model.TRIANGLES = allocate_zeroed<TRIANGLE_STRUCT>(count);
    model.RTRIANGLES = allocate_zeroed<TRIANGLE_STRUCT>(2 * uint64_t(count));
    if (!model.TRIANGLES || !model.RTRIANGLES) RUNTIME_FAIL(ERR_OUT_OF_MEMORY, "LOAD_OBJ");
    model.MAX_TRIANGLES = count;
  }

  // Columns 12, 16 and 20 (counted from 1); a short line reads 0 there.
  void material(const std::string& line) {
    red = channel(val(line, 11));
    green = channel(val(line, 15));
    blue = channel(val(line, 19));
  }

  // X, Y, Z after the first three blanks; later blanks are ignored.
  void vertex(const std::string& line) {
    if (!model.VERTICES) RUNTIME_FAIL(ERR_NULL_POINTER, "LOAD_OBJ");
    if (vertex_counter >= model.MAX_VERTICES) RUNTIME_FAIL(ERR_OUT_OF_BOUNDS, "LOAD_OBJ");
    VEC3F& v = model.VERTICES[vertex_counter];
    uint32_t space_counter = 0;
    const size_t length = line.size();
    for (size_t i = 0; i < length && space_counter < 3; ++i) {
      if (line[i] != ' ') continue;
      ++space_counter;
      const float value = float(val(line, i + 1));
      if (space_counter == 1) v.X = value;
      if (space_counter == 2) v.Y = value;
      if (space_counter == 3) v.Z = value;
    }
    ++vertex_counter;
  }

  // The vt lines of a face fill its corners 3, 2, 1; v is flipped (in double).
  void texture_coord(const std::string& line) {
    if (!model.TRIANGLES) RUNTIME_FAIL(ERR_NULL_POINTER, "LOAD_OBJ");
    if (triangle_counter >= model.MAX_TRIANGLES) RUNTIME_FAIL(ERR_OUT_OF_BOUNDS, "LOAD_OBJ");
    uv_counter = uv_counter % 3 + 1;
    VEC2F& t = model.TRIANGLES[triangle_counter].TCOORD(4 - uv_counter);
    uint32_t space_counter = 0;
    const size_t length = line.size();
    for (size_t i = 0; i < length && space_counter < 2; ++i) {
      if (line[i] != ' ') continue;
      ++space_counter;
      if (space_counter == 1) t.X = float(val(line, i + 1));
      if (space_counter == 2) t.Y = float(1.0 - val(line, i + 1));
    }
    uv_pending = true;
  }

  // Three corners, each the number before its first slash, 1-based in the
  // file. Whether a corner names an existing vertex is checked once the whole
  // file is read, since the vertex header may still change.
  void face(const std::string& line) {
    if (!model.TRIANGLES) RUNTIME_FAIL(ERR_NULL_POINTER, "LOAD_OBJ");
    if (triangle_counter >= model.MAX_TRIANGLES) RUNTIME_FAIL(ERR_OUT_OF_BOUNDS, "LOAD_OBJ");
    TRIANGLE_STRUCT& t = model.TRIANGLES[triangle_counter];
    t.COL = RGB_STRUCT{red, green, blue};
    uint32_t space_counter = 0;
    const size_t length = line.size();
    for (size_t i = 0; i < length; ++i) {
      if (line[i] != ' ') continue;
      ++space_counter;
      if (space_counter > 3) RUNTIME_FAIL(ERR_OUT_OF_BOUNDS, "LOAD_OBJ");
      const double index = std::nearbyint(val(line, i + 1) - 1.0);
      if (!(index >= 0.0 && index < double(MAX_MODEL_COUNT))) RUNTIME_FAIL(ERR_OUT_OF_BOUNDS, "LOAD_OBJ");
      t.POINT_ID(space_counter) = uint32_t(index);
    }
    ++triangle_counter;
    uv_pending = false;
  }

  // Every test is made on every line, in this order.
  void line_read(const std::string& line) {
    const size_t vertices_at = line.find("Vertices:");
    if (vertices_at != std::string::npos) vertex_header(line, vertices_at);
    const size_t faces_at = line.find("Faces:");
    if (faces_at != std::string::npos) face_header(line, faces_at);
    if (starts_with(line, "usemtl")) material(line);
    if (starts_with(line, "v ")) vertex(line);
    if (starts_with(line, "vt")) texture_coord(line);
    if (starts_with(line, "f ")) face(line);
  }

  // After the last line: texture coordinates must belong to a face, and every
  // corner (including those of triangles the file never filled, which name
  // vertex 0) must name an existing vertex.
  void check_complete() const {
    if (uv_pending) RUNTIME_FAIL(ERR_OUT_OF_BOUNDS, "LOAD_OBJ");
    for (uint32_t i = 0; i < model.MAX_TRIANGLES; ++i) {
      const uint32_t* corner = model.TRIANGLES[i].POINT_ID.data();
      for (int k = 0; k < 3; ++k)
        if (corner[k] >= model.MAX_VERTICES) RUNTIME_FAIL(ERR_OUT_OF_BOUNDS, "LOAD_OBJ");
    }
  }
};

}  // namespace

void LOAD_OBJ(const std::string& filename, MODEL_STRUCT*& model) {
  if (!model) RUNTIME_FAIL(ERR_NULL_POINTER, "LOAD_OBJ");
  ObjReader reader{*model};

  OpenFile file;
  if (file_open(filename.c_str(), file.handle) != 0) RUNTIME_FAIL(ERR_FILE_NOT_FOUND, "LOAD_OBJ");
  std::string filerec;
  while (!file_eof(file.handle)) {
    if (file_read_line(file.handle, filerec) != 0) RUNTIME_FAIL(ERR_FILE_IO, "LOAD_OBJ");
    reader.line_read(filerec);
  }
  if (file_close(file.handle) != 0) RUNTIME_FAIL(ERR_FILE_IO, "LOAD_OBJ");

  reader.check_complete();
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
