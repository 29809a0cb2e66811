// The counted format: "Vertices:" and "Faces:" comment lines size the arrays,
// then colours, vertices, texture coordinates and faces fill them, one line at
// a time.
//
// Files are read as the format describes them (fixed columns, one blank as the
// only separator). Whatever a file holds, nothing is read or written outside
// the arrays: every line that would index past them stops with a failure report.
#include <cmath>
#include <string>

#include "base/numbers.h"
#include "obj_reader.h"

using NMATHF::VEC2F;
using NMATHF::VEC3F;
using NMATHF::VEC4F;

namespace {

// The shortest line that can hold each record, line end ("\n") included: a
// vertex line may be "v " alone (coordinates left out read 0), and a face line
// needs one corner that names a vertex, "f 1" (corners left out name vertex
// 1). The last line may lack its line end, so a file of S bytes holds at most
// (S + 1) / 3 vertices and (S + 1) / 4 faces. A count above that is not what
// the file holds, and is refused before anything is allocated.
constexpr uint64_t SHORTEST_VERTEX_LINE = 3;
constexpr uint64_t SHORTEST_FACE_LINE = 4;

uint64_t most_records(int64_t file_size, uint64_t shortest_line) {
  return file_size < 0 ? UINT64_MAX : (uint64_t(file_size) + 1) / shortest_line;
}

// Does TEXT hold a number at FROM (after leading blanks)?
bool starts_number(const std::string& text, size_t from) {
  size_t p = from;
  while (p < text.size() && text[p] == ' ') ++p;
  if (p < text.size() && (text[p] == '+' || text[p] == '-')) ++p;
  if (p < text.size() && text[p] == '.') ++p;
  return p < text.size() && text[p] >= '0' && text[p] <= '9';
}

// Exporters write "Vertices:" and "Faces:" comments above ordinary OBJ too.
// The face LINE shows it, unless the three texture coordinates of the counted
// form come right before it: when it follows more than three, when it has
// other than three corners, or when the file named a material library.
bool face_written_as_ordinary_obj(const std::string& line, uint64_t uvs_before, bool library_named) {
  if (uvs_before == 3) return false;
  if (uvs_before > 3 || library_named) return true;
  size_t pos = 0;
  std::string_view field;
  next_field(line, pos, field);  // the keyword
  int corners = 0;
  while (next_field(line, pos, field)) ++corners;
  return corners != 3;
}

bool blank_from(const std::string& text, size_t from) {
  for (size_t p = from; p < text.size(); ++p)
    if (text[p] != ' ') return false;
  return true;
}

}  // namespace

// A header count read from FROM on, rounded to the nearest integer. Nothing (or
// only blanks) there reads 0; text that is no number, a negative count or one
// too large for the arrays cannot be allocated: out of memory.
uint32_t CountedReader::header_count(const std::string& line, size_t from, const char* what) const {
  if (blank_from(line, from)) return 0;
  if (!starts_number(line, from))
    RUNTIME_FAIL_NOTE(ERR_OUT_OF_MEMORY, "LOAD_OBJ", note(std::string("the ") + what + " count is not a number").c_str());
  const double count = std::nearbyint(val(line, from));
  if (!(count >= 0.0 && count <= double(MAX_MODEL_COUNT)))
    RUNTIME_FAIL_NOTE(ERR_OUT_OF_MEMORY, "LOAD_OBJ",
                      note(std::string("the ") + what + " count is outside 0 to " +
                           std::to_string(MAX_MODEL_COUNT)).c_str());
  return uint32_t(count);
}

// A second header replaces the arrays: the old ones are released first and
// the counters keep their values.
void CountedReader::vertex_header(const std::string& line, size_t at) {
  const uint32_t count = header_count(line, at + 10, "vertex");
  const uint64_t most = most_records(file_size_, SHORTEST_VERTEX_LINE);
  if (count > most)
    RUNTIME_FAIL_NOTE(ERR_OUT_OF_MEMORY, "LOAD_OBJ",
                      note(std::to_string(count) + " vertices counted, but a file of " +
                           std::to_string(file_size_) + " bytes holds at most " + std::to_string(most)).c_str());
  release(model_.VERTICES);
  release(model_.RVERTICES);
  release(model_.TVERTICES);
  release(model_.PVERTICES);
  model_.MAX_VERTICES = 0;
  const uint64_t doubled = 2 * uint64_t(count);
  model_.VERTICES = allocate_zeroed<VEC3F>(count);
  model_.RVERTICES = allocate_zeroed<VEC4F>(doubled);
  model_.TVERTICES = allocate_zeroed<VEC4F>(count);
  model_.PVERTICES = allocate_zeroed<VEC3F>(doubled);
  if (!model_.VERTICES || !model_.RVERTICES || !model_.TVERTICES || !model_.PVERTICES)
    RUNTIME_FAIL_NOTE(ERR_OUT_OF_MEMORY, "LOAD_OBJ", note("no memory for " + std::to_string(count) + " vertices").c_str());
  model_.MAX_VERTICES = count;
}

void CountedReader::face_header(const std::string& line, size_t at) {
  const uint32_t count = header_count(line, at + 7, "face");
  const uint64_t most = most_records(file_size_, SHORTEST_FACE_LINE);
  if (count > most)
    RUNTIME_FAIL_NOTE(ERR_OUT_OF_MEMORY, "LOAD_OBJ",
                      note(std::to_string(count) + " faces counted, but a file of " +
                           std::to_string(file_size_) + " bytes holds at most " + std::to_string(most)).c_str());
  release(model_.TRIANGLES);
  release(model_.RTRIANGLES);
  model_.MAX_TRIANGLES = 0;
  model_.TRIANGLES = allocate_zeroed<TRIANGLE_STRUCT>(count);
  model_.RTRIANGLES = allocate_zeroed<TRIANGLE_STRUCT>(2 * uint64_t(count));
  if (!model_.TRIANGLES || !model_.RTRIANGLES)
    RUNTIME_FAIL_NOTE(ERR_OUT_OF_MEMORY, "LOAD_OBJ", note("no memory for " + std::to_string(count) + " faces").c_str());
  model_.MAX_TRIANGLES = count;
  faces_in_array_ = 0;
}

// X, Y, Z after the first three blanks; later blanks are ignored.
void CountedReader::vertex(const std::string& line) {
  if (!model_.VERTICES)
    RUNTIME_FAIL_NOTE(ERR_NULL_POINTER, "LOAD_OBJ", note("a vertex before the \"Vertices:\" count").c_str());
  if (vertex_counter_ >= model_.MAX_VERTICES)
    RUNTIME_FAIL_NOTE(ERR_OUT_OF_BOUNDS, "LOAD_OBJ",
                      note("more vertices than the count of " + std::to_string(model_.MAX_VERTICES)).c_str());
  VEC3F& v = model_.VERTICES[vertex_counter_];
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
  ++vertex_counter_;
}

// The vt lines of a face fill its corners 3, 2, 1; v is flipped (in double).
void CountedReader::texture_coord(const std::string& line) {
  if (!model_.TRIANGLES)
    RUNTIME_FAIL_NOTE(ERR_NULL_POINTER, "LOAD_OBJ", note("a texture coordinate before the \"Faces:\" count").c_str());
  if (triangle_counter_ >= model_.MAX_TRIANGLES)
    RUNTIME_FAIL_NOTE(ERR_OUT_OF_BOUNDS, "LOAD_OBJ",
                      note("a texture coordinate after the last of " + std::to_string(model_.MAX_TRIANGLES) +
                           " counted faces").c_str());
  uv_counter_ = uv_counter_ % 3 + 1;
  VEC2F& t = model_.TRIANGLES[triangle_counter_].TCOORD(4 - uv_counter_);
  uint32_t space_counter = 0;
  const size_t length = line.size();
  for (size_t i = 0; i < length && space_counter < 2; ++i) {
    if (line[i] != ' ') continue;
    ++space_counter;
    if (space_counter == 1) t.X = float(val(line, i + 1));
    if (space_counter == 2) t.Y = float(1.0 - val(line, i + 1));
  }
  uv_pending_ = true;
  ++uvs_before_face_;
}

// Three corners, each the number before its first slash, 1-based in the
// file. Whether a corner names an existing vertex is checked once the whole
// file is read, since the vertex header may still change.
void CountedReader::face(const std::string& line) {
  if (!model_.TRIANGLES)
    RUNTIME_FAIL_NOTE(ERR_NULL_POINTER, "LOAD_OBJ", note("a face before the \"Faces:\" count").c_str());
  if (triangle_counter_ >= model_.MAX_TRIANGLES)
    RUNTIME_FAIL_NOTE(ERR_OUT_OF_BOUNDS, "LOAD_OBJ",
                      note("more faces than the count of " + std::to_string(model_.MAX_TRIANGLES)).c_str());
  TRIANGLE_STRUCT& t = model_.TRIANGLES[triangle_counter_];
  t.COL = colour_;
  uint32_t space_counter = 0;
  const size_t length = line.size();
  for (size_t i = 0; i < length; ++i) {
    if (line[i] != ' ') continue;
    ++space_counter;
    if (space_counter > 3)
      RUNTIME_FAIL_NOTE(ERR_OUT_OF_BOUNDS, "LOAD_OBJ",
                        note("a face of more than three corners (or a blank after the last)").c_str());
    const double index = std::nearbyint(val(line, i + 1) - 1.0);
    if (!(index >= 0.0 && index < double(MAX_MODEL_COUNT)))
      RUNTIME_FAIL_NOTE(ERR_OUT_OF_BOUNDS, "LOAD_OBJ",
                        note("corner " + std::to_string(space_counter) + " names no vertex").c_str());
    t.POINT_ID(space_counter) = uint32_t(index);
  }
  ++triangle_counter_;
  ++faces_in_array_;
  uv_pending_ = false;
  uvs_before_face_ = 0;
}

// Every test is made on every line, in this order.
bool CountedReader::line_read(const std::string& line, uint64_t number) {
  line_number_ = number;
  if (line.starts_with("mtllib")) library_named_ = true;
  if (line.starts_with("f ") && !three_uvs_before_a_face_ &&
      face_written_as_ordinary_obj(line, uvs_before_face_, library_named_))
    return false;
  const size_t vertices_at = line.find("Vertices:");
  if (vertices_at != std::string::npos) vertex_header(line, vertices_at);
  const size_t faces_at = line.find("Faces:");
  if (faces_at != std::string::npos) face_header(line, faces_at);
  if (line.starts_with("usemtl")) colour_ = colour_columns(line);
  if (line.starts_with("v ")) vertex(line);
  if (line.starts_with("vt")) texture_coord(line);
  if (line.starts_with("f ")) {
    if (uvs_before_face_ == 3) three_uvs_before_a_face_ = true;
    face(line);
  }
  return true;
}

// Corners of triangles the file never filled name vertex 0, which must exist too.
void CountedReader::finish() const {
  if (uv_pending_)
    RUNTIME_FAIL_NOTE(ERR_OUT_OF_BOUNDS, "LOAD_OBJ",
                      obj_note(filename_, 0, "texture coordinates after the last face").c_str());
  for (uint32_t i = 0; i < model_.MAX_TRIANGLES; ++i) {
    const uint32_t* corner = model_.TRIANGLES[i].POINT_ID.data();
    for (int k = 0; k < 3; ++k)
      if (corner[k] >= model_.MAX_VERTICES)
        RUNTIME_FAIL_NOTE(ERR_OUT_OF_BOUNDS, "LOAD_OBJ",
                          obj_note(filename_, 0,
                                   "face " + std::to_string(i + 1) + " names vertex " + std::to_string(corner[k] + 1) +
                                       " of " + std::to_string(model_.MAX_VERTICES)).c_str());
  }
}
