// The pieces of the OBJ reader. Two formats come in: the counted one, whose
// "Vertices:" and "Faces:" comment lines size the arrays before the records
// come (counted_reader), and ordinary Wavefront OBJ, whose records are counted
// by a first pass over the file (obj_scan) before the arrays are made and
// filled (plain_reader). A file that names either count is read as a counted
// file until its first faces show it was written as ordinary OBJ under count
// comments, as exporters write them; it is then read again as such.
#pragma once
#include <cstdint>
#include <cstdlib>
#include <future>
#include <string>
#include <string_view>
#include <vector>

#include "base/fail.h"
#include "base/file_lookup.h"
#include "base/file_notes.h"
#include "base/text_file.h"
#include "model/model.h"

// ---------------------------------------------------------------- arrays
// COUNT zero-filled entries, or null when the memory cannot be had. An empty
// array still gets one entry, so a declared count of 0 is told apart from no
// header at all (null).
template <class T>
T* allocate_zeroed(uint64_t count) {
  if (count == 0) count = 1;
  if (count > SIZE_MAX / sizeof(T)) return nullptr;
  return static_cast<T*>(std::calloc(size_t(count), sizeof(T)));
}

// Starts making the pages of a large ARRAY of BYTES (that is to be written
// from end to end) present on a second thread, so that writing it later takes
// no page faults; the future is done when they are. Invalid when there is
// nothing to gain or no thread to be had.
std::future<void> touch_ahead(void* array, uint64_t bytes);

template <class T>
void release(T*& array) {
  std::free(array);
  array = nullptr;
}

// ---------------------------------------------------------------- lines
// The face colour from columns 12, 16 and 20 (counted from 1) of a "usemtl"
// line; a short line reads 0 there. Values beyond 32 bits are clamped.
RGB_STRUCT colour_columns(const std::string& line);
// True when those columns hold three-digit fields, as in "usemtl mat_170_096_070".
bool has_colour_columns(const std::string& line);

// The next field of LINE at or after POS, fields being separated by blanks and
// tabs. False at the end of the line. Inline: it runs for every field of a
// file of millions of lines.
inline bool next_field(const std::string& line, size_t& pos, std::string_view& field) {
  const char* data = line.data();
  const size_t size = line.size();
  size_t p = pos;
  while (p < size && (data[p] == ' ' || data[p] == '\t')) ++p;
  const size_t start = p;
  while (p < size && data[p] != ' ' && data[p] != '\t') ++p;
  pos = p;
  if (p == start) return false;
  field = std::string_view(data + start, p - start);
  return true;
}
// The number a field of LINE starts with (the text-to-number conversion: the
// longest numeric prefix, 0 when there is none).
double field_number(const std::string& line, std::string_view field);

// The next line of FILE, lines that end in a backslash joined with the one
// after them (the backslash becomes a blank); NUMBER counts the lines read.
// False when the file cannot be read.
bool read_obj_line(TextFile* file, std::string& line, uint64_t& number);
// LINE from POS on, without leading and trailing blanks and tabs.
std::string rest_of_line(const std::string& line, size_t pos);

// The failure note: "FILE: line N: CAUSE", or "FILE: CAUSE" for line 0.
std::string obj_note(const std::string& filename, uint64_t line, const std::string& cause);

// ---------------------------------------------------------------- corners
// A face corner as written: "v", "v/vt", "v//vn" or "v/vt/vn", each an integer,
// 1-based, or negative to count back from the last one read.
struct Corner {
  int64_t vertex = 0;
  bool has_texture = false;
  int64_t texture = 0;
};
// False when TEXT is not one of the four forms.
bool parse_corner(std::string_view text, Corner& corner);
// The 0-based index that WRITTEN names, with SEEN entries read so far and TOTAL
// in the file, or -1 when it names none.
int64_t resolve_index(int64_t written, uint64_t seen, uint64_t total);

// ---------------------------------------------------------------- the first pass
// What the first pass over a file learns: whether it names its counts, and
// for an ordinary file the number of each record, every texture coordinate
// (faces may name one that comes later in the file) and its material
// libraries as written.
struct ObjScan {
  bool counted = false;
  uint64_t vertices = 0;
  uint64_t triangles = 0;           // after fanning faces of more than three corners
  std::vector<NMATHF::VEC2F> uvs;   // u and v flipped, as they go into TCOORD
  std::vector<std::string> libraries;
};
// Reads FILE to its end or, when STOP_AT_COUNTS, to the first line that names a count.
ObjScan scan_obj(TextFile* file, bool stop_at_counts);

// ---------------------------------------------------------------- materials
// The materials of the library at PATH appended to LIST: "newmtl", "Kd" and
// "map_Kd" (its file looked for next to the library). False, with the cause in
// WHY, when the library cannot be opened.
bool read_material_library(const std::string& path, std::vector<ObjMaterial>& list, std::string& why);

// ---------------------------------------------------------------- derived geometry
// SET_POLY_NEIGHBORS's search, false (the connections unfinished) when memory
// runs out, so that the loader can name the file it was reading.
bool connect_edges(MODEL_STRUCT& model);

// ---------------------------------------------------------------- the readers
// The counted format, one line at a time. Every failure stops with a report
// from LOAD_OBJ and a note naming the file and the line.
class CountedReader {
 public:
  CountedReader(MODEL_STRUCT& model, const std::string& filename, int64_t file_size)
      : model_(model), filename_(filename), file_size_(file_size) {}
  // False at a face that shows the file was written as ordinary OBJ (of
  // other than three corners, after more than three texture coordinates, or
  // in a file that named a material library) while no face so far had the
  // counted form's three texture coordinates right before it.
  bool line_read(const std::string& line, uint64_t number);
  // After the last line: every texture coordinate belongs to a face and every
  // corner names an existing vertex.
  void finish() const;
  // Triangles (the format's faces) read into the present triangle array: a
  // later "Faces:" line makes a fresh array and drops what was read before it.
  uint32_t triangles_read() const { return faces_in_array_; }

 private:
  uint32_t header_count(const std::string& line, size_t from, const char* what) const;
  void vertex_header(const std::string& line, size_t at);
  void face_header(const std::string& line, size_t at);
  void vertex(const std::string& line);
  void texture_coord(const std::string& line);
  void face(const std::string& line);
  std::string note(const std::string& cause) const { return obj_note(filename_, line_number_, cause); }

  MODEL_STRUCT& model_;
  const std::string& filename_;
  int64_t file_size_;
  uint64_t line_number_ = 0;
  uint32_t vertex_counter_ = 0;   // next vertex to fill
  uint32_t triangle_counter_ = 0; // next triangle to fill
  uint32_t faces_in_array_ = 0;
  uint32_t uv_counter_ = 0;       // 1, 2, 3, 1, ... over the file's vt lines
  RGB_STRUCT colour_{0, 0, 0};
  bool uv_pending_ = false;       // vt lines seen since the last face
  uint64_t uvs_before_face_ = 0;  // the same, counted
  bool three_uvs_before_a_face_ = false;
  bool library_named_ = false;    // an "mtllib" line was read
};

// Ordinary Wavefront OBJ, the second pass: makes the arrays at the sizes the
// first pass counted and fills them.
class PlainReader {
 public:
  // MATERIALS, when given, holds the libraries' materials; the reader notes
  // which one each triangle uses.
  PlainReader(MODEL_STRUCT& model, const std::string& filename, const ObjScan& scan,
              ObjMaterials* materials);
  bool line_read(const std::string& line, uint64_t number);
  // After the last line: the file held what the first pass counted.
  void finish() const;
  uint32_t triangles_read() const { return triangle_counter_; }

 private:
  void vertex(const std::string& line);
  void face(const std::string& line);
  void use_material(const std::string& name);
  std::string note(const std::string& cause) const { return obj_note(filename_, line_number_, cause); }

  struct Resolved {
    uint32_t vertex;
    int64_t texture;  // -1: none
  };
  MODEL_STRUCT& model_;
  const std::string& filename_;
  const ObjScan& scan_;
  uint64_t line_number_ = 0;
  uint32_t vertex_counter_ = 0;
  uint32_t triangle_counter_ = 0;
  uint64_t uv_counter_ = 0;
  RGB_STRUCT colour_{0, 0, 0};
  std::vector<Resolved> corners_;  // of the face being read
  ObjMaterials* materials_;
  int32_t material_ = -1;          // of the faces that follow
  bool check_names_ = false;       // a name no library defines is a problem
  std::future<void> triangle_pages_;  // made present while the vertices are read
};
