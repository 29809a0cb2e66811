// The first pass over a model file: which format it is in, and for ordinary
// OBJ how many vertices and triangles it holds, its texture coordinates and
// its material libraries. Nothing here fails on what a line holds: what is
// wrong with a line is reported by the reader that fills the arrays, in its
// own terms.
#include "obj_reader.h"

namespace {
// The texture coordinate of a "vt" line, v flipped (in double): (u, 1 - v).
NMATHF::VEC2F flipped_uv(double u, double v) {
  return NMATHF::VEC2F{float(u), float(1.0 - v)};
}

// Leading and trailing blanks and tabs dropped.
std::string trimmed(std::string_view text) {
  const size_t first = text.find_first_not_of(" \t");
  if (first == std::string_view::npos) return {};
  const size_t last = text.find_last_not_of(" \t");
  return std::string(text.substr(first, last - first + 1));
}
}  // namespace

bool read_obj_line(TextFile* file, std::string& line, uint64_t& number) {
  if (file_read_line(file, line) != 0) return false;
  ++number;
  std::string next;
  while (!line.empty() && line.back() == '\\' && !file_eof(file)) {
    line.back() = ' ';
    if (file_read_line(file, next) != 0) return false;
    ++number;
    line += next;
  }
  return true;
}

std::string rest_of_line(const std::string& line, size_t pos) {
  return pos < line.size() ? trimmed(std::string_view(line).substr(pos)) : std::string();
}

ObjScan scan_obj(TextFile* file, bool stop_at_counts) {
  ObjScan scan;
  std::string line;
  uint64_t number = 0;
  while (!file_eof(file)) {
    if (!read_obj_line(file, line, number)) RUNTIME_FAIL(ERR_FILE_IO, "LOAD_OBJ");
    // Both count names end in a colon, which few lines have.
    if (stop_at_counts && line.find(':') != std::string::npos &&
        (line.find("Vertices:") != std::string::npos || line.find("Faces:") != std::string::npos)) {
      scan.counted = true;
      return scan;
    }
    size_t pos = 0;
    std::string_view keyword;
    if (!next_field(line, pos, keyword)) continue;
    if (keyword == "v") {
      ++scan.vertices;
    } else if (keyword == "vt") {
      // Left-out numbers read 0, as malformed ones do.
      std::string_view u, v;
      const double u_value = next_field(line, pos, u) ? field_number(line, u) : 0.0;
      const double v_value = next_field(line, pos, v) ? field_number(line, v) : 0.0;
      scan.uvs.push_back(flipped_uv(u_value, v_value));
    } else if (keyword == "f") {
      uint64_t corners = 0;
      std::string_view corner;
      while (next_field(line, pos, corner)) ++corners;
      if (corners >= 3) scan.triangles += corners - 2;
    } else if (keyword == "mtllib") {
      const std::string library = rest_of_line(line, pos);
      if (!library.empty()) scan.libraries.push_back(library);
    }
  }
  return scan;
}
