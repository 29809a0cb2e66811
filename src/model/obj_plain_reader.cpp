// Ordinary Wavefront OBJ, second pass: vertices, texture coordinates and faces
// of three or more corners (fanned into triangles from the first corner), with
// indices 1-based or negative (counting back from the last one read). Normals,
// objects, groups, smoothing, material libraries and any other statement are
// read past; a "usemtl" line colours the faces after it when its name carries
// the colour columns of the counted format, and names the material of the
// faces after it.
#include <string>

#include "obj_reader.h"

using NMATHF::VEC2F;
using NMATHF::VEC3F;
using NMATHF::VEC4F;

PlainReader::PlainReader(MODEL_STRUCT& model, const std::string& filename, const ObjScan& scan,
                         ObjMaterials* materials)
    : model_(model), filename_(filename), scan_(scan), materials_(materials) {
  if (scan.vertices > MAX_MODEL_COUNT || scan.triangles > MAX_MODEL_COUNT)
    RUNTIME_FAIL_NOTE(ERR_OUT_OF_MEMORY, "LOAD_OBJ",
                      obj_note(filename, 0, std::to_string(scan.vertices) + " vertices and " +
                                                std::to_string(scan.triangles) + " triangles are more than " +
                                                std::to_string(MAX_MODEL_COUNT) + " of either").c_str());
  const uint64_t vertices = scan.vertices, triangles = scan.triangles;
  model.VERTICES = allocate_zeroed<VEC3F>(vertices);
  model.RVERTICES = allocate_zeroed<VEC4F>(2 * vertices);
  model.TVERTICES = allocate_zeroed<VEC4F>(vertices);
  model.PVERTICES = allocate_zeroed<VEC3F>(2 * vertices);
  model.TRIANGLES = allocate_zeroed<TRIANGLE_STRUCT>(triangles);
  model.RTRIANGLES = allocate_zeroed<TRIANGLE_STRUCT>(2 * triangles);
  if (!model.VERTICES || !model.RVERTICES || !model.TVERTICES || !model.PVERTICES || !model.TRIANGLES ||
      !model.RTRIANGLES)
    RUNTIME_FAIL_NOTE(ERR_OUT_OF_MEMORY, "LOAD_OBJ",
                      obj_note(filename, 0, "no memory for " + std::to_string(vertices) + " vertices and " +
                                                std::to_string(triangles) + " triangles").c_str());
  model.MAX_VERTICES = uint32_t(vertices);
  model.MAX_TRIANGLES = uint32_t(triangles);
  triangle_pages_ = touch_ahead(model.TRIANGLES, triangles * sizeof(TRIANGLE_STRUCT));
  if (!materials_) return;
  materials_->of_triangle.assign(size_t(triangles), -1);
  // Names are checked against libraries that were all read: those of a
  // missing library are its problem, and a file without libraries may name
  // colours the counted way.
  check_names_ = !scan.libraries.empty() && materials_->problems.empty();
}

// The material of the faces that follow; a name no library defines leaves
// them without one, noted once.
void PlainReader::use_material(const std::string& name) {
  if (!materials_) return;
  const std::vector<ObjMaterial>& list = materials_->list;
  for (size_t i = 0; i < list.size(); ++i)
    if (list[i].name == name) {
      material_ = int32_t(i);
      return;
    }
  material_ = -1;
  if (!check_names_) return;
  const std::string problem = obj_note(filename_, 0, "no library defines the material \"" + name + "\"");
  for (const std::string& p : materials_->problems)
    if (p == problem) return;
  materials_->problems.push_back(problem);
}

// X, Y and Z; a fourth number (w) is read past, left-out ones read 0.
void PlainReader::vertex(const std::string& line) {
  if (vertex_counter_ >= model_.MAX_VERTICES)
    RUNTIME_FAIL_NOTE(ERR_FILE_IO, "LOAD_OBJ", note("the file changed while it was read").c_str());
  VEC3F& v = model_.VERTICES[vertex_counter_++];
  size_t pos = 0;
  std::string_view field;
  next_field(line, pos, field);  // the keyword
  float* xyz[3] = {&v.X, &v.Y, &v.Z};
  for (float* coordinate : xyz)
    if (next_field(line, pos, field)) *coordinate = float(field_number(line, field));
}

// Every corner is resolved first, so that a bad one stops the load before any
// triangle of its face is written.
void PlainReader::face(const std::string& line) {
  size_t pos = 0;
  std::string_view field;
  next_field(line, pos, field);  // the keyword
  corners_.clear();
  while (next_field(line, pos, field)) {
    const auto number = [&] { return std::to_string(corners_.size() + 1); };
    Corner c;
    if (!parse_corner(field, c))
      RUNTIME_FAIL_NOTE(ERR_OUT_OF_BOUNDS, "LOAD_OBJ",
                        note("corner " + number() + " (\"" + std::string(field) + "\") is not v, v/vt, v//vn or v/vt/vn").c_str());
    const int64_t vertex = resolve_index(c.vertex, vertex_counter_, model_.MAX_VERTICES);
    if (vertex < 0)
      RUNTIME_FAIL_NOTE(ERR_OUT_OF_BOUNDS, "LOAD_OBJ",
                        note("corner " + number() + " names vertex " + std::to_string(c.vertex) + " of " +
                             std::to_string(model_.MAX_VERTICES) + " (" + std::to_string(vertex_counter_) +
                             " read so far)").c_str());
    int64_t texture = -1;
    if (c.has_texture) {
      texture = resolve_index(c.texture, uv_counter_, scan_.uvs.size());
      if (texture < 0)
        RUNTIME_FAIL_NOTE(ERR_OUT_OF_BOUNDS, "LOAD_OBJ",
                          note("corner " + number() + " names texture coordinate " + std::to_string(c.texture) +
                               " of " + std::to_string(scan_.uvs.size()) + " (" + std::to_string(uv_counter_) +
                               " read so far)").c_str());
    }
    corners_.push_back(Resolved{uint32_t(vertex), texture});
  }
  if (corners_.size() < 3)
    RUNTIME_FAIL_NOTE(ERR_FILE_IO, "LOAD_OBJ",
                      note("a face of " + std::to_string(corners_.size()) + " corners; it needs three or more").c_str());
  if (model_.MAX_TRIANGLES - triangle_counter_ < corners_.size() - 2)
    RUNTIME_FAIL_NOTE(ERR_FILE_IO, "LOAD_OBJ", note("the file changed while it was read").c_str());

  for (size_t k = 1; k + 1 < corners_.size(); ++k) {
    if (materials_) materials_->of_triangle[triangle_counter_] = material_;
    TRIANGLE_STRUCT& t = model_.TRIANGLES[triangle_counter_++];
    t.COL = colour_;
    const Resolved* fan[3] = {&corners_[0], &corners_[k], &corners_[k + 1]};
    for (uint32_t i = 0; i < 3; ++i) {
      t.POINT_ID(i + 1) = fan[i]->vertex;
      if (fan[i]->texture >= 0) t.TCOORD(i + 1) = scan_.uvs[size_t(fan[i]->texture)];
    }
  }
}

bool PlainReader::line_read(const std::string& line, uint64_t number) {
  line_number_ = number;
  size_t pos = 0;
  std::string_view keyword;
  if (!next_field(line, pos, keyword)) return true;
  if (keyword == "v") {
    vertex(line);
  } else if (keyword == "vt") {
    if (uv_counter_ >= scan_.uvs.size())
      RUNTIME_FAIL_NOTE(ERR_FILE_IO, "LOAD_OBJ", note("the file changed while it was read").c_str());
    ++uv_counter_;
  } else if (keyword == "f") {
    face(line);
  } else if (line.starts_with("usemtl")) {
    if (has_colour_columns(line)) colour_ = colour_columns(line);
    if (keyword == "usemtl") use_material(rest_of_line(line, pos));
  }
  return true;
}

void PlainReader::finish() const {
  if (vertex_counter_ != model_.MAX_VERTICES || triangle_counter_ != model_.MAX_TRIANGLES ||
      uv_counter_ != scan_.uvs.size())
    RUNTIME_FAIL_NOTE(ERR_FILE_IO, "LOAD_OBJ", obj_note(filename_, 0, "the file changed while it was read").c_str());
}
