#include "app/maze_materials.h"

#include "base/file_lookup.h"
#include "base/file_notes.h"
#include "base/image_file.h"

#include <filesystem>
#include <map>
#include <utility>

MazeMaterials& MazeMaterials::operator=(MazeMaterials&& other) noexcept {
  if (this == &other) return *this;
  release();
  materials = std::move(other.materials);
  texture_of = std::move(other.texture_of);
  owned = std::move(other.owned);
  other.texture_of.clear();
  other.owned.clear();
  return *this;
}

void MazeMaterials::release() {
  for (IMAGE* image : owned) image_destroy(image);
  owned.clear();
  texture_of.clear();
}

namespace {
// Squares of 8 x 8 texels, magenta and black, as textures that are missing look.
IMAGE* make_checker() {
  IMAGE* checker = image_create(CHECKER_SIDE, CHECKER_SIDE);
  if (!checker) return nullptr;
  for (uint32_t y = 0; y < CHECKER_SIDE; ++y)
    for (uint32_t x = 0; x < CHECKER_SIDE; ++x)
      checker->row(y)[x] = ((x / 8 + y / 8) % 2) ? 0xFF000000u : TRANSPARENT_COLOR;
  return checker;
}
}  // namespace

void load_material_textures(MazeMaterials& maze, std::FILE* warnings) {
  for (const std::string& problem : maze.materials.problems)
    std::fprintf(warnings, "mazewalk: warning: %s\n", problem.c_str());
  std::map<std::string, IMAGE*> by_path;
  IMAGE* checker = nullptr;
  maze.texture_of.assign(maze.materials.list.size(), nullptr);
  for (size_t i = 0; i < maze.materials.list.size(); ++i) {
    const std::string& path = maze.materials.list[i].texture;
    if (path.empty()) continue;
    auto known = by_path.find(path);
    if (known == by_path.end()) {
      int32_t error = 0;
      IMAGE* image = load_image_file(path.c_str(), error);
      if (image) {
        maze.owned.push_back(image);
      } else {
        // The note of a missing file would add how --res finds the program's data.
        std::error_code ec;
        const std::string why = std::filesystem::exists(path, ec)
                                    ? std::string(failure_note())
                                    : path_as_tried(path.c_str()) + ": no such file";
        std::fprintf(warnings, "mazewalk: warning: %s; drawn with a checker instead\n", why.c_str());
        set_failure_note("");
        if (!checker) {
          checker = make_checker();
          if (checker) maze.owned.push_back(checker);
        }
        image = checker;
      }
      known = by_path.emplace(path, image).first;
    }
    maze.texture_of[i] = known->second;
  }
}

bool is_flat_material(const MazeMaterials& maze, int32_t material) {
  if (material < 0 || size_t(material) >= maze.materials.list.size()) return false;
  const ObjMaterial& m = maze.materials.list[size_t(material)];
  return m.texture.empty() && m.has_colour;
}
