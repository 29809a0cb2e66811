// The first pass over a model file: which format it is in, and for ordinary
// OBJ how many vertices and triangles it holds and its texture coordinates.
// Nothing here fails on what a line holds: what is wrong with a line is
// reported by the reader that fills the arrays, in its own terms.
#include "obj_reader.h"

namespace {
// The texture coordinate of a "vt" line, v flipped (in double): (u, 1 - v).
NMATHF::VEC2F flipped_uv(double u, double v) {
  return NMATHF::VEC2F{float(u), float(1.0 - v)};
}
}  // namespace

ObjScan scan_obj(TextFile* file) {
  ObjScan scan;
  std::string line;
  while (!file_eof(file)) {
    if (file_read_line(file, line) != 0) RUNTIME_FAIL(ERR_FILE_IO, "LOAD_OBJ");
    if (line.find("Vertices:") != std::string::npos || line.find("Faces:") != std::string::npos) {
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
    }
  }
  return scan;
}
