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
struct OPEN_FILE {
  TEXT_FILE* HANDLE = nullptr;
  ~OPEN_FILE() {
    if (HANDLE) FILE_CLOSE(HANDLE);
  }
};

// COUNT zero-filled entries, or null when the memory cannot be had. An empty
// array still gets one entry, so a declared count of 0 is told apart from no
// header at all (null).
template <class T>
T* ALLOCATE_ZEROED(uint64_t COUNT) {
  if (COUNT == 0) COUNT = 1;
  if (COUNT > SIZE_MAX / sizeof(T)) return nullptr;
  return static_cast<T*>(std::calloc(size_t(COUNT), sizeof(T)));
}

template <class T>
void RELEASE(T*& ARRAY) {
  std::free(ARRAY);
  ARRAY = nullptr;
}

// Does TEXT hold a number at FROM (after leading blanks)?
bool STARTS_NUMBER(const std::string& TEXT, size_t FROM) {
  size_t P = FROM;
  while (P < TEXT.size() && TEXT[P] == ' ') ++P;
  if (P < TEXT.size() && (TEXT[P] == '+' || TEXT[P] == '-')) ++P;
  if (P < TEXT.size() && TEXT[P] == '.') ++P;
  return P < TEXT.size() && TEXT[P] >= '0' && TEXT[P] <= '9';
}

bool BLANK_FROM(const std::string& TEXT, size_t FROM) {
  for (size_t P = FROM; P < TEXT.size(); ++P)
    if (TEXT[P] != ' ') return false;
  return true;
}

// A header count read from FROM on, rounded to the nearest integer. Nothing (or
// only blanks) there reads 0; text that is no number, a negative count or one
// too large for the arrays cannot be allocated: out of memory.
uint32_t HEADER_COUNT(const std::string& LINE, size_t FROM) {
  if (BLANK_FROM(LINE, FROM)) return 0;
  if (!STARTS_NUMBER(LINE, FROM)) FAIL(ERR_OUT_OF_MEMORY, "LOAD_OBJ");
  const double COUNT = std::nearbyint(VAL(LINE, FROM));
  if (!(COUNT >= 0.0 && COUNT <= double(MAX_MODEL_COUNT))) FAIL(ERR_OUT_OF_MEMORY, "LOAD_OBJ");
  return uint32_t(COUNT);
}

// A colour channel rounded to the nearest integer; values outside what a
// 32-bit unsigned holds are clamped to it.
uint32_t CHANNEL(double VALUE) {
  const double ROUNDED = std::nearbyint(VALUE);
  if (!(ROUNDED > 0.0)) return 0;
  if (ROUNDED >= 4294967295.0) return UINT32_MAX;
  return uint32_t(ROUNDED);
}

bool STARTS_WITH(const std::string& LINE, const char* PREFIX) {
  const size_t N = std::strlen(PREFIX);
  return LINE.size() >= N && LINE.compare(0, N, PREFIX) == 0;
}

// The reader's state between lines.
struct OBJ_READER {
  MODEL_STRUCT& MODEL;
  uint32_t VERTEX_COUNTER = 0;   // next vertex to fill
  uint32_t TRIANGLE_COUNTER = 0; // next triangle to fill
  uint32_t UV_COUNTER = 0;       // 1, 2, 3, 1, ... over the file's vt lines
  uint32_t RED = 0, GREEN = 0, BLUE = 0;
  bool UV_PENDING = false;       // vt lines seen since the last face

  // A second header replaces the arrays: the old ones are released first and
  // the counters keep their values.
  void VERTEX_HEADER(const std::string& LINE, size_t AT) {
    const uint32_t COUNT = HEADER_COUNT(LINE, AT + 10);
    RELEASE(MODEL.VERTICES);
    RELEASE(MODEL.RVERTICES);
    RELEASE(MODEL.TVERTICES);
    RELEASE(MODEL.PVERTICES);
    MODEL.MAX_VERTICES = 0;
    const uint64_t DOUBLE = 2 * uint64_t(COUNT);
    MODEL.VERTICES = ALLOCATE_ZEROED<VEC3F>(COUNT);
    MODEL.RVERTICES = ALLOCATE_ZEROED<VEC4F>(DOUBLE);
    MODEL.TVERTICES = ALLOCATE_ZEROED<VEC4F>(COUNT);
    MODEL.PVERTICES = ALLOCATE_ZEROED<VEC3F>(DOUBLE);
    if (!MODEL.VERTICES || !MODEL.RVERTICES || !MODEL.TVERTICES || !MODEL.PVERTICES)
      FAIL(ERR_OUT_OF_MEMORY, "LOAD_OBJ");
    MODEL.MAX_VERTICES = COUNT;
  }

  void FACE_HEADER(const std::string& LINE, size_t AT) {
    const uint32_t COUNT = HEADER_COUNT(LINE, AT + 7);
    RELEASE(MODEL.TRIANGLES);
    RELEASE(MODEL.RTRIANGLES);
    MODEL.MAX_TRIANGLES = 0;
    MODEL.TRIANGLES = ALLOCATE_ZEROED<TRIANGLE_STRUCT>(COUNT);
    MODEL.RTRIANGLES = ALLOCATE_ZEROED<TRIANGLE_STRUCT>(2 * uint64_t(COUNT));
    if (!MODEL.TRIANGLES || !MODEL.RTRIANGLES) FAIL(ERR_OUT_OF_MEMORY, "LOAD_OBJ");
    MODEL.MAX_TRIANGLES = COUNT;
  }

  // Columns 12, 16 and 20 (counted from 1); a short line reads 0 there.
  void MATERIAL(const std::string& LINE) {
    RED = CHANNEL(VAL(LINE, 11));
    GREEN = CHANNEL(VAL(LINE, 15));
    BLUE = CHANNEL(VAL(LINE, 19));
  }

  // X, Y, Z after the first three blanks; later blanks are ignored.
  void VERTEX(const std::string& LINE) {
    if (!MODEL.VERTICES) FAIL(ERR_NULL_POINTER, "LOAD_OBJ");
    if (VERTEX_COUNTER >= MODEL.MAX_VERTICES) FAIL(ERR_OUT_OF_BOUNDS, "LOAD_OBJ");
    VEC3F& V = MODEL.VERTICES[VERTEX_COUNTER];
    uint32_t SPACE_COUNTER = 0;
    const size_t LENGTH = LINE.size();
    for (size_t I = 0; I < LENGTH && SPACE_COUNTER < 3; ++I) {
      if (LINE[I] != ' ') continue;
      ++SPACE_COUNTER;
      const float VALUE = float(VAL(LINE, I + 1));
      if (SPACE_COUNTER == 1) V.X = VALUE;
      if (SPACE_COUNTER == 2) V.Y = VALUE;
      if (SPACE_COUNTER == 3) V.Z = VALUE;
    }
    ++VERTEX_COUNTER;
  }

  // The vt lines of a face fill its corners 3, 2, 1; v is flipped (in double).
  void TEXTURE_COORD(const std::string& LINE) {
    if (!MODEL.TRIANGLES) FAIL(ERR_NULL_POINTER, "LOAD_OBJ");
    if (TRIANGLE_COUNTER >= MODEL.MAX_TRIANGLES) FAIL(ERR_OUT_OF_BOUNDS, "LOAD_OBJ");
    UV_COUNTER = UV_COUNTER % 3 + 1;
    VEC2F& T = MODEL.TRIANGLES[TRIANGLE_COUNTER].TCOORD(4 - UV_COUNTER);
    uint32_t SPACE_COUNTER = 0;
    const size_t LENGTH = LINE.size();
    for (size_t I = 0; I < LENGTH && SPACE_COUNTER < 2; ++I) {
      if (LINE[I] != ' ') continue;
      ++SPACE_COUNTER;
      if (SPACE_COUNTER == 1) T.X = float(VAL(LINE, I + 1));
      if (SPACE_COUNTER == 2) T.Y = float(1.0 - VAL(LINE, I + 1));
    }
    UV_PENDING = true;
  }

  // Three corners, each the number before its first slash, 1-based in the
  // file. Whether a corner names an existing vertex is checked once the whole
  // file is read, since the vertex header may still change.
  void FACE(const std::string& LINE) {
    if (!MODEL.TRIANGLES) FAIL(ERR_NULL_POINTER, "LOAD_OBJ");
    if (TRIANGLE_COUNTER >= MODEL.MAX_TRIANGLES) FAIL(ERR_OUT_OF_BOUNDS, "LOAD_OBJ");
    TRIANGLE_STRUCT& T = MODEL.TRIANGLES[TRIANGLE_COUNTER];
    T.COL = RGB_STRUCT{RED, GREEN, BLUE};
    uint32_t SPACE_COUNTER = 0;
    const size_t LENGTH = LINE.size();
    for (size_t I = 0; I < LENGTH; ++I) {
      if (LINE[I] != ' ') continue;
      ++SPACE_COUNTER;
      if (SPACE_COUNTER > 3) FAIL(ERR_OUT_OF_BOUNDS, "LOAD_OBJ");
      const double INDEX = std::nearbyint(VAL(LINE, I + 1) - 1.0);
      if (!(INDEX >= 0.0 && INDEX < double(MAX_MODEL_COUNT))) FAIL(ERR_OUT_OF_BOUNDS, "LOAD_OBJ");
      T.POINT_ID(SPACE_COUNTER) = uint32_t(INDEX);
    }
    ++TRIANGLE_COUNTER;
    UV_PENDING = false;
  }

  // Every test is made on every line, in this order.
  void LINE_READ(const std::string& LINE) {
    const size_t VERTICES_AT = LINE.find("Vertices:");
    if (VERTICES_AT != std::string::npos) VERTEX_HEADER(LINE, VERTICES_AT);
    const size_t FACES_AT = LINE.find("Faces:");
    if (FACES_AT != std::string::npos) FACE_HEADER(LINE, FACES_AT);
    if (STARTS_WITH(LINE, "usemtl")) MATERIAL(LINE);
    if (STARTS_WITH(LINE, "v ")) VERTEX(LINE);
    if (STARTS_WITH(LINE, "vt")) TEXTURE_COORD(LINE);
    if (STARTS_WITH(LINE, "f ")) FACE(LINE);
  }

  // After the last line: texture coordinates must belong to a face, and every
  // corner (including those of triangles the file never filled, which name
  // vertex 0) must name an existing vertex.
  void CHECK_COMPLETE() const {
    if (UV_PENDING) FAIL(ERR_OUT_OF_BOUNDS, "LOAD_OBJ");
    for (uint32_t I = 0; I < MODEL.MAX_TRIANGLES; ++I) {
      const uint32_t* CORNER = MODEL.TRIANGLES[I].POINT_ID.DATA();
      for (int K = 0; K < 3; ++K)
        if (CORNER[K] >= MODEL.MAX_VERTICES) FAIL(ERR_OUT_OF_BOUNDS, "LOAD_OBJ");
    }
  }
};

}  // namespace

void LOAD_OBJ(const std::string& FILENAME, MODEL_STRUCT*& MODEL) {
  if (!MODEL) FAIL(ERR_NULL_POINTER, "LOAD_OBJ");
  OBJ_READER READER{*MODEL};

  OPEN_FILE FILE;
  if (FILE_OPEN(FILENAME.c_str(), FILE.HANDLE) != 0) FAIL(ERR_FILE_NOT_FOUND, "LOAD_OBJ");
  std::string FILEREC;
  while (!FILE_EOF(FILE.HANDLE)) {
    if (FILE_READ_LINE(FILE.HANDLE, FILEREC) != 0) FAIL(ERR_FILE_IO, "LOAD_OBJ");
    READER.LINE_READ(FILEREC);
  }
  if (FILE_CLOSE(FILE.HANDLE) != 0) FAIL(ERR_FILE_IO, "LOAD_OBJ");

  READER.CHECK_COMPLETE();
  CALC_PLANES(MODEL);
  CALC_NORMALS(MODEL);
  SET_POLY_NEIGHBORS(MODEL);
}

void UNLOAD_OBJ(MODEL_STRUCT*& MODEL) {
  if (!MODEL) FAIL(ERR_NULL_POINTER, "UNLOAD_OBJ");
  MODEL->MAX_VERTICES = 0;
  MODEL->MAX_TRIANGLES = 0;
  RELEASE(MODEL->VERTICES);
  RELEASE(MODEL->RVERTICES);
  RELEASE(MODEL->TVERTICES);
  RELEASE(MODEL->PVERTICES);
  RELEASE(MODEL->TRIANGLES);
  RELEASE(MODEL->RTRIANGLES);
}
